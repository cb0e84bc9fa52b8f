// The native pick from the main window, which is on Wayland itself: the press
// on the pick button opens the overlay; a drag released away from the button
// picks there, a click on the button leaves the overlay open for a click, the
// keys or a cancel. The colours are those of a second output.

#include "waylandsession.h"

#include "editor/colourlist.h"
#include "editor/tprog.h"
#include "picking/eyedropper.h"

#include <QAction>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

using namespace waylandtest;

namespace {

// This process's window in sway's tree, in layout pixels.
QRect ownWindow(const QJsonObject &node)
{
    if (node.value(QStringLiteral("pid")).toInteger() == QCoreApplication::applicationPid()) {
        const QJsonObject r = node.value(QStringLiteral("rect")).toObject();
        return QRect(r.value("x").toInt(), r.value("y").toInt(), r.value("width").toInt(),
                     r.value("height").toInt());
    }
    for (const char *children : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node.value(QLatin1String(children)).toArray())
            if (const QRect found = ownWindow(child.toObject()); found.isValid())
                return found;
    return {};
}

QRect ownWindow()
{
    QByteArray tree;
    run(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"),
                                    QStringLiteral("get_tree")},
        &tree);
    return ownWindow(QJsonDocument::fromJson(tree).object());
}

} // namespace

class NativeWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(run(QStringLiteral("swaymsg"), {QStringLiteral("create_output")}));
        ASSERT_TRUE(sway(QStringLiteral("output HEADLESS-2 resolution 1280x800 position 1280 0 "
                                        "scale 1 bg ")
                         + pixelPatternPicture({1280, 800}) + " stretch"));
        ASSERT_EVENTUALLY(grabPixel(target) == pixelPatternColour(target - QPoint(1280, 0)));
        prog = std::make_unique<Tprog>();
        eyedropper = new Eyedropper(*prog);
        prog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(prog.get()));
        // Sway lists the window once it has drawn it.
        ASSERT_EVENTUALLY(sway(QStringLiteral("[pid=%1] move position 0 0")
                                   .arg(QCoreApplication::applicationPid())));
        ASSERT_EVENTUALLY(ownWindow().topLeft() == QPoint(0, 0));
        prog->m_add_auto->setChecked(true);
    }
    static void TearDownTestSuite() { prog.reset(); }

    static QPoint pickButton()
    {
        return ownWindow().topLeft()
               + prog->Button1->mapTo(prog.get(), prog->Button1->rect().center());
    }
    static int listCount() { return prog->ColorListBox1->colourModel()->count(); }

    static inline const QPoint target{1280 + 523, 377}; // on the second output
    static inline std::unique_ptr<Tprog> prog;
    static inline Eyedropper *eyedropper = nullptr;
    Pointer pointer;
};

TEST_F(NativeWindow, TheButtonOpensTheOverlayThatPicksAddsOrCancels)
{
    const tonfang::Rgb before{0x12, 0x34, 0x56};
    const auto colourAt = [](QPoint step) { return pixelPatternColour(target - QPoint(1280, 0) + step); };
    const auto keys = [](const char *names) {
        return [names] { return typeKeys(QString::fromLatin1(names).split(' ')); };
    };
    const struct {
        bool drag; // else a click on the button, then the hand over the overlay
        std::function<bool()> hand;
        std::optional<tonfang::Rgb> picked;
    } cases[] = {
        {true, {}, colourAt({0, 0})},
        {false, [&] { return pointer.click(); }, colourAt({0, 0})},
        {false, keys("Left shift+Down Return"), colourAt({-1, 10})},
        {false, keys("Escape"), std::nullopt},
        {false, [&] { return pointer.click(Pointer::rightButton); }, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        prog->RGBtoALL(before);
        const int entries = listCount();
        const QRect around(target - QPoint(24, 24), QSize(49, 49));
        const QImage still = grab(around);
        ASSERT_TRUE(pointer.moveTo(pickButton()));
        ASSERT_EVENTUALLY(prog->isActiveWindow());
        if (c.drag) {
            // The overlay takes the keyboard once it is up.
            ASSERT_TRUE(pointer.button(Pointer::leftButton, true));
            ASSERT_EVENTUALLY(!prog->isActiveWindow());
            ASSERT_TRUE(pointer.moveTo(target));
            ASSERT_TRUE(pointer.button(Pointer::leftButton, false));
        } else {
            ASSERT_TRUE(startsOverlay(pointer, target, [&] { pointer.click(); }));
            ASSERT_EVENTUALLY(!prog->isActiveWindow());
            ASSERT_TRUE(c.hand());
        }
        // The overlay has gone, and the window has the colour.
        ASSERT_EVENTUALLY(grab(around) == still);
        EXPECT_EVENTUALLY_EQ(prog->e_hex->text(), hex(c.picked.value_or(before)));
        EXPECT_EQ(listCount(), entries + c.picked.has_value());
    }
}
