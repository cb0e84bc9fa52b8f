// The magnifier and the arrow keys of a pick, on the tiled root pattern: what
// the magnifier window shows is read back from the screen, cell by cell.

#include "pickingfixture.h"

#include "picking/magnifier.h"
#include "picking/pickaids.h"
#include "picking/screenpixel.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

using tonfang::Magnifier;

using namespace screentest;
using tonfang::PixelSquare;
using tonfang::ScreenPixelReader;

// Waits until the magnifier shows the square around the pointer, and says why not.
#define EXPECT_EVENTUALLY_SHOWS(pointer) \
    do { \
        static_cast<void>(TONFANG_WAIT_FOR(showsSquareAround(pointer))); \
        EXPECT_TRUE(showsSquareAround(pointer)); \
    } while (false)

// Run at scale factors 1, 1.5 and 2.
class Magnifying : public PickingScreen {
protected:
    static const Magnifier *magnifier() { return eyedropper->pickAids()->magnifier(); }
    static bool magnifierShown() { return magnifier() && magnifier()->isVisible(); }

    // The screens in device pixels: Qt keeps each one's top-left corner, and
    // its logical size is rounded, so the root bounds the scaled one.
    static std::vector<QRect> deviceScreens()
    {
        std::vector<QRect> screens;
        for (const QScreen *screen : QGuiApplication::screens()) {
            const QRect g = screen->geometry();
            screens.push_back(QRect(g.topLeft(), (QSizeF(g.size()) * screen->devicePixelRatio())
                                                     .toSize())
                                  .intersected(QRect(QPoint(0, 0), rootSize())));
        }
        return screens;
    }

    // The magnifier stands on the pointer's screen, off the square around the
    // pointer, and shows that square exactly: the root pattern where the
    // square is on a screen, empty cells elsewhere.
    static ::testing::AssertionResult showsSquareAround(QPoint pointer)
    {
        if (!magnifierShown())
            return ::testing::AssertionFailure() << "no magnifier";
        const std::vector<QRect> screens = deviceScreens();
        const auto onScreen = [&screens](QPoint p) {
            return std::any_of(screens.begin(), screens.end(),
                               [p](const QRect &s) { return s.contains(p); });
        };
        const QRect window = deviceRect(magnifier());
        const int r = PixelSquare::radius;
        const QRect square(pointer - QPoint(r, r), QSize(2 * r + 1, 2 * r + 1));
        if (!std::any_of(screens.begin(), screens.end(),
                         [&](const QRect &s) { return s.contains(pointer) && s.contains(window); })
            || window.intersects(square))
            return ::testing::AssertionFailure() << "misplaced at " << window.x() << ","
                                                 << window.y() << " for " << pointer.x() << ","
                                                 << pointer.y();
        static const auto reader = ScreenPixelReader::forApplication();
        const tonfang::Rgb emptyCell = Magnifier::emptyCellColour;
        for (int row = 0; row < PixelSquare::side; ++row)
            for (int column = 0; column < PixelSquare::side; ++column) {
                const QPoint pixel = square.topLeft() + QPoint(column, row);
                const tonfang::Rgb expected =
                    onScreen(pixel) ? rootPatternColour(pixel) : emptyCell;
                const QPoint shown = window.topLeft() + magnifier()->cellRect(column, row).center();
                const std::optional<tonfang::Rgb> actual = reader->pixelAt(shown.x(), shown.y());
                if (actual != expected)
                    return ::testing::AssertionFailure()
                           << "cell " << column << "," << row << " shows "
                           << (actual ? hexText(*actual).toStdString() : "nothing")
                           << ", expected " << hexText(expected).toStdString();
            }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(Magnifying, WithTheDefaultsAPickShowsNoExtraWindow)
{
    const auto visibleWindows = [] {
        int count = 0;
        for (const QWindow *window : QGuiApplication::topLevelWindows())
            count += window->isVisible();
        return count;
    };
    const int before = visibleWindows();
    pointAtPickButton();
    press();
    const QPoint where(rootSize().width() - 150, rootSize().height() / 2);
    dragTo(where);
    ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(rootPatternColour(where)));
    EXPECT_EQ(visibleWindows(), before);
    EXPECT_FALSE(magnifierShown());
    release();
}

TEST_F(Magnifying, ShowsTheSquareAroundThePointerExactlyUpToEveryEdge)
{
    const int w = rootSize().width(), h = rootSize().height();
    pointAtPickButton();
    press();
    const QString shownBefore = prog->e_hex->text();
    key("z");
    ASSERT_EVENTUALLY(magnifierShown());
    EXPECT_EQ(prog->e_hex->text(), shownBefore) << "showing the magnifier is not a move";

    // Away from the edges, then every corner and edge, then just inside one.
    const QPoint stops[] = {{w - 150, h / 2}, {0, 0},         {w - 1, 0},      {w - 1, h - 1},
                            {0, h - 1},       {0, h / 2},     {w - 1, h / 2},  {w - 150, 0},
                            {w - 150, h - 1}, {w - 4, h - 3}, {3, 2}};
    for (const QPoint stop : stops) {
        SCOPED_TRACE(testing::Message() << stop.x() << "," << stop.y());
        dragTo(stop);
        ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(rootPatternColour(stop)));
        EXPECT_EVENTUALLY_SHOWS(stop);
    }
    release();
    EXPECT_FALSE(magnifierShown());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr) << "the keys are free again";

    // The choice holds: the next pick shows it at once, and Z hides it.
    pointAtPickButton();
    press();
    EXPECT_TRUE(magnifierShown());
    key("z");
    ASSERT_EVENTUALLY(!magnifierShown());
    dragTo({w - 150, h / 2});
    EXPECT_FALSE(magnifierShown());
    release();
}

TEST_F(Magnifying, ArrowKeysStepByDevicePixelsAndTheDisplaysFollow)
{
    // The keys must come to the pick also when the desktop gives them to the
    // window under the pointer.
    focusFollowsPointer();
    // Each step is one ordinary move: one list entry each.
    prog->m_add_bewegen->setChecked(true);
    const QPoint start(rootSize().width() - 150, rootSize().height() / 2);
    for (const bool magnified : {false, true}) {
        SCOPED_TRACE(magnified ? "with the magnifier" : "without the magnifier");
        pointAtPickButton();
        press();
        if (magnified)
            key("z");
        dragTo(start);
        const struct {
            const char *key;
            QPoint step;
        } steps[] = {{"Right", {1, 0}},       {"Right", {1, 0}},      {"Down", {0, 1}},
                     {"shift+Left", {-10, 0}}, {"shift+Up", {0, -10}}, {"Up", {0, -1}},
                     {"Left", {-1, 0}},        {"shift+Down", {0, 10}}, {"shift+Right", {10, 0}}};
        // Esc mid-drag does not close the program (its menu shortcut); the
        // keys after it still steer.
        key("Escape");
        QPoint expected = start;
        int entries = listCount();
        for (const auto &step : steps) {
            SCOPED_TRACE(step.key);
            key(step.key);
            expected += step.step;
            ASSERT_EVENTUALLY_EQ(pointerPosition(), expected);
            ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(rootPatternColour(expected)));
            ++entries;
            ASSERT_EVENTUALLY_EQ(listCount(), entries);
            EXPECT_EQ(lastEntry().colour, tonfang::RGBToTColor(rootPatternColour(expected)));
            if (magnified) {
                EXPECT_EVENTUALLY_SHOWS(expected);
            }
        }
        EXPECT_TRUE(prog->isVisible());
        release();
    }
}

TEST_F(Magnifying, AMoveOntoTheMagnifierNeverPicksItsPixels)
{
    prog->m_add_bewegen->setChecked(true);
    const int entriesBefore = listCount();
    pointAtPickButton();
    press();
    key("z");
    const QPoint first(rootSize().width() - 10, rootSize().height() / 2);
    dragTo(first);
    EXPECT_EVENTUALLY_SHOWS(first);

    // One jump into the middle of where the magnifier stands.
    const QPoint onto = deviceRect(magnifier()).center();
    dragTo(onto);
    ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(rootPatternColour(onto)));
    EXPECT_EVENTUALLY_SHOWS(onto);
    release();

    // Every entry added on the way is a pixel of the screen itself.
    const ColourListModel *model = prog->ColorListBox1->colourModel();
    ASSERT_GE(model->count(), entriesBefore + 2);
    for (int i = entriesBefore; i < model->count(); ++i) {
        const tonfang::ColourNumber colour = model->entry(i).colour;
        EXPECT_TRUE(colour == tonfang::RGBToTColor(rootPatternColour(first))
                    || colour == tonfang::RGBToTColor(rootPatternColour(onto)))
            << "entry " << i << " holds " << colour;
    }
}

// Over a plain colour the centre cell stands out: around it, a one-pixel
// ring's worth of pixels differs strongly both from the colour and from the
// same place around an ordinary cell, with its grid lines.
TEST_F(Magnifying, TheCentreStandsOutOnWhiteBlackAndGrey)
{
    static const auto reader = ScreenPixelReader::forApplication();
    const auto far = [](tonfang::Rgb a, tonfang::Rgb b) {
        return std::max({std::abs(a.red - b.red), std::abs(a.green - b.green),
                         std::abs(a.blue - b.blue)}) >= 100;
    };
    const int r = PixelSquare::radius;
    for (const int level : {255, 0, 128}) {
        SCOPED_TRACE(level);
        const auto grey = std::uint8_t(level);
        PixelSquare square{rootSize().width() / 2, rootSize().height() / 2, {}};
        square.cells.fill(tonfang::Rgb{grey, grey, grey});
        Magnifier shown;
        shown.showSquare(square);
        ASSERT_EVENTUALLY(shown.isExposed());
        const QRect centre = shown.cellRect(r, r);
        const QPoint toOrdinary = shown.cellRect(r - 3, r).topLeft() - centre.topLeft();
        const int reach = (shown.cellRect(r + 1, r).left() - centre.left()) / 2 - 1;
        const QRect band = centre.adjusted(-reach, -reach, reach, reach)
                               .translated(deviceRect(&shown).topLeft());
        int standingOut = 0;
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x) {
                const auto here = reader->pixelAt(x, y);
                const auto ordinary = reader->pixelAt(x + toOrdinary.x(), y + toOrdinary.y());
                ASSERT_TRUE(here && ordinary);
                standingOut += far(*here, *square.centre()) && far(*here, *ordinary);
            }
        EXPECT_GE(standingOut, 4 * (centre.width() - 1));
    }
}

// Run on two monitors side by side with a strip below them that no monitor
// shows.
class MagnifyingMonitors : public Magnifying {};

TEST_F(MagnifyingMonitors, ArrowKeysCrossMonitorsAndStopAtTheirEdge)
{
    ASSERT_EQ(pattern->screen()->geometry(), QRect(0, 0, 800, 600)) << "the monitor on the left";
    pointAtPickButton();
    press();
    key("z");
    QPoint expected(795, 594);
    dragTo(expected);
    EXPECT_EVENTUALLY_SHOWS(expected); // nothing below the monitors

    // A ten-pixel step stops at the bottom edge; the one after it goes nowhere,
    // so the step to the left starts from that edge.
    const struct {
        const char *key;
        QPoint to;
    } steps[] = {{"shift+Right", {805, 594}}, {"shift+Down", {805, 599}},
                 {"Down", {805, 599}},        {"Left", {804, 599}},
                 {"shift+Left", {794, 599}}};
    for (const auto &step : steps) {
        SCOPED_TRACE(step.key);
        key(step.key);
        if (step.to == expected)
            continue;
        expected = step.to;
        ASSERT_EVENTUALLY_EQ(pointerPosition(), expected);
        ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(rootPatternColour(expected)));
        EXPECT_EVENTUALLY_SHOWS(expected);
    }
    release();
}
