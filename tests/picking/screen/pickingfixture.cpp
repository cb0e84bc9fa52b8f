#include "pickingfixture.h"

#include "editor/swatch.h"
#include "picking/pickaids.h"
#include "picking/screenpixel.h"

#include <QAction>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using tonfang::ColourListEntry;

using tonfang::ScreenPixelReader;

using namespace screentest;

namespace {

// The screen the pattern window goes on: the one the test configuration names,
// or the primary.
QScreen *patternScreen()
{
    const QString name = qEnvironmentVariable("TONFANG_PATTERN_SCREEN");
    for (QScreen *screen : QGuiApplication::screens())
        if (!name.isEmpty() && screen->name() == name)
            return screen;
    return QGuiApplication::primaryScreen();
}

} // namespace

void PickingScreen::SetUpTestSuite()
{
    pattern = std::make_unique<PatternWindow>();
    pattern->move(patternScreen()->geometry().topLeft() + QPoint(10, 10));
    pattern->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pattern.get()));
    createMainWindow();

    paintRootPattern();

    // The pattern is on the screen once its red corner can be read back.
    auto reader = ScreenPixelReader::forApplication();
    ASSERT_TRUE(reader);
    const QPoint corner = at(QPoint(0, 0));
    ASSERT_EVENTUALLY(reader->pixelAt(corner.x(), corner.y()) == red);
}

void PickingScreen::TearDownTestSuite()
{
    prog.reset();
    pattern.reset();
}

void PickingScreen::createMainWindow()
{
    prog.reset();
    prog = std::make_unique<Tprog>();
    moves = new MoveCounter(prog->Button1);
    eyedropper = new Eyedropper(*prog);
    prog->move(QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(150, 10));
    prog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(prog.get()));
}

void PickingScreen::SetUp()
{
    ASSERT_FALSE(eyedropper->isPicking());
    eyedropper->pickAids()->setMagnifierOn(false);
    prog->m_add_bewegen->setChecked(false);
    prog->m_add_auto->setChecked(true);
}

void PickingScreen::TearDown()
{
    if (!eyedropper || !eyedropper->isPicking())
        return;
    for (const char *button : {"1", "2", "3"})
        xdotool({QStringLiteral("mouseup"), QString::fromLatin1(button)});
    ASSERT_EVENTUALLY(!eyedropper->isPicking());
}

QPoint PickingScreen::at(QPoint patternPixel)
{
    return deviceOrigin(pattern.get()) + patternPixel;
}

QPoint PickingScreen::centreOf(const QRect &patternArea)
{
    return at(patternArea.center());
}

void PickingScreen::pointAtPickButton()
{
    if (HasFatalFailure())
        return;
    // Moving onto the button from elsewhere is a move it receives (it tracks
    // the mouse); a second position inside it makes sure the pointer moved.
    const QPoint centre = deviceCentre(prog->Button1);
    for (const QPoint offset : {QPoint(-3, 0), QPoint(0, 0)}) {
        const int before = moves->moves;
        ASSERT_TRUE(movePointer(centre + offset));
        ASSERT_EVENTUALLY(moves->moves > before);
    }
}

void PickingScreen::key(const char *name)
{
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QString::fromLatin1(name)}));
}

void PickingScreen::press(int button)
{
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(xdotool({QStringLiteral("mousedown"), QString::number(button)}));
    ASSERT_EVENTUALLY(eyedropper->isPicking());
}

void PickingScreen::release(int button)
{
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(xdotool({QStringLiteral("mouseup"), QString::number(button)}));
    ASSERT_EVENTUALLY(!eyedropper->isPicking());
}

void PickingScreen::dragTo(QPoint device)
{
    if (HasFatalFailure())
        return;
    const int before = moves->moves;
    ASSERT_TRUE(movePointer(device));
    ASSERT_EVENTUALLY_EQ(moves->moves, before + 1);
}

int PickingScreen::listCount()
{
    return prog->ColorListBox1->colourModel()->count();
}

ColourListEntry PickingScreen::lastEntry()
{
    const ColourListModel *model = prog->ColorListBox1->colourModel();
    return model->entry(model->count() - 1);
}
