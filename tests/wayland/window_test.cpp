// The native pick from the main window, itself on Wayland: the press on the
// pick button opens the overlay; a drag released away from the button picks
// there, a click leaves the overlay open for a click or the keys, or a cancel.

#include "waylandsession.h"

#include "editor/colourlist.h"
#include "editor/tprog.h"
#include "picking/eyedropper.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

using namespace waylandtest;

// This process's window in sway's tree, in layout pixels.
static QRect ownWindow(const QJsonValue &node)
{
    QRect found = node["pid"].toInteger() == QCoreApplication::applicationPid() ? rectOf(node) : QRect();
    for (const char *children : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node[QLatin1String(children)].toArray())
            found |= ownWindow(child);
    return found;
}

TEST(NativeWindow, TheButtonOpensTheOverlayThatPicksAddsOrCancels)
{
    // The colours are a second output's, each device pixel its own.
    ASSERT_TRUE(run(QStringLiteral("swaymsg"), {QStringLiteral("create_output")}));
    ASSERT_TRUE(sway("output HEADLESS-2 resolution 1280x800 position 1280 0 bg " + picture(false) + " stretch"));
    const QPoint target(1280 + 523, 377);
    const auto colourAt = [&](QPoint step) { return patternColour(target - QPoint(1280, 0) + step); };
    ASSERT_EVENTUALLY(grabPixel(target) == colourAt({0, 0}));
    Tprog prog;
    new Eyedropper(prog);
    prog.m_add_auto->setChecked(true);
    prog.show();
    const QString own = QStringLiteral("[pid=%1] ").arg(QCoreApplication::applicationPid());
    ASSERT_EVENTUALLY(sway(own + "move position 0 0")); // once sway lists it
    const auto tree = [] { return ownWindow(swayReply({"-t", "get_tree"})); };
    ASSERT_EVENTUALLY(tree().topLeft() == QPoint(0, 0));
    const QPoint button = prog.Button1->mapTo(&prog, prog.Button1->rect().center());

    const tonfang::Rgb before{0x12, 0x34, 0x56};
    const struct {
        const char *hand; // after a click on the button; "drag" drags from it instead
        std::optional<tonfang::Rgb> picked;
    } cases[] = {
        {"drag", colourAt({0, 0})},     {"click", colourAt({0, 0})},
        {"Left shift+Down Return", colourAt({-1, 10})},
        {"Escape", std::nullopt},       {"rightclick", std::nullopt},
    };
    Pointer pointer;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.hand);
        const QString hand = QString::fromLatin1(c.hand);
        prog.RGBtoALL(before);
        const int entries = prog.ColorListBox1->colourModel()->count();
        const QRect around(target - QPoint(24, 24), QSize(49, 49));
        const QImage still = grab(around);
        // From off the window onto it: Qt takes no button without an enter first.
        ASSERT_TRUE(pointer.moveTo(target) && pointer.moveTo(button));
        ASSERT_EVENTUALLY(prog.isActiveWindow());
        if (hand == QLatin1String("drag")) {
            // The overlay takes the keyboard once it is up; the first one, loading
            // its font, can take seconds on a busy machine.
            ASSERT_TRUE(pointer.button(Pointer::leftButton, true));
            ASSERT_TRUE(QTest::qWaitFor([&] { return !prog.isActiveWindow(); }, 20000));
            ASSERT_TRUE(pointer.moveTo(target) && pointer.button(Pointer::leftButton, false));
        } else {
            ASSERT_TRUE(startsOverlay(pointer, target, [&] { pointer.click(); }));
            ASSERT_TRUE(hand.endsWith("click") ? pointer.click(hand == "click" ? Pointer::leftButton
                                                                                : Pointer::rightButton)
                                               : typeKeys(hand));
        }
        // The overlay has gone; the window has the colour.
        ASSERT_EVENTUALLY(grab(around) == still);
        EXPECT_EVENTUALLY_EQ(prog.e_hex->text(), hex(c.picked.value_or(before)));
        EXPECT_EQ(prog.ColorListBox1->colourModel()->count(), entries + c.picked.has_value());
    }
}
