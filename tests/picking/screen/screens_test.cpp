// Reading the exact device pixel on the screens people use: scaled desktops,
// 16-, 24- and 30-bit screens, and several monitors.

#include "pickingfixture.h"

#include "editor/swatch.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <xcb/xcb.h>

#include <map>

using namespace screentest;

// Run with QT_SCALE_FACTOR at 2 and at 1.5.
class HiDpi : public PickingScreen {};

TEST_F(HiDpi, EveryDevicePixelOfTheGridIsReadExactly)
{
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    ASSERT_DOUBLE_EQ(pattern->devicePixelRatioF(), factor) << "the scale factor took effect";

    pointAtPickButton();
    press();
    // Every pixel, so odd rows and columns are reached at every factor.
    for (int row = 0; row < gridArea.height(); ++row)
        for (int column = 0; column < gridArea.width(); ++column) {
            dragTo(at(gridArea.topLeft() + QPoint(column, row)));
            ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(gridColour(column, row)));
        }
    release();
    EXPECT_EQ(prog->farbfeld->colour(), tonfang::RGBToTColor(gridColour(7, 7)));
}

// Run on 16-, 24- and 30-bit screens.
class ScreenDepth : public PickingScreen {};

TEST_F(ScreenDepth, ColoursAreReadAsTheScreenShowsThem)
{
    xcb_connection_t *c =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const int depth = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root_depth;

    // At 16 bits the screen keeps 5, 6 and 5 bits of #123456.
    const std::map<int, tonfang::Rgb> shownSample = {
        {16, {0x10, 0x34, 0x52}}, {24, sample}, {30, sample}};
    ASSERT_TRUE(shownSample.contains(depth)) << "depth " << depth;
    // A grid pixel, whose neighbours on every side differ from it.
    const tonfang::Rgb grid = gridColour(2, 1);
    const std::map<int, tonfang::Rgb> shownGrid = {
        {16, {0x52, 0x34, 0xF7}}, {24, grid}, {30, grid}};

    struct Case {
        QPoint where;
        tonfang::Rgb shown;
    };
    const Case cases[] = {
        {centreOf(sampleArea), shownSample.at(depth)},
        {centreOf(redArea), red},
        {at(QPoint(100, 80)), background},
        {centreOf(sampleArea) + QPoint(2, 0), shownSample.at(depth)},
        {at(gridArea.topLeft() + QPoint(2, 1)), shownGrid.at(depth)},
    };
    // With the magnifier the centre comes from a square of pixels, whose rows
    // the server pads to whole words.
    for (const bool magnified : {false, true}) {
        pointAtPickButton();
        press();
        if (magnified)
            key("z");
        for (const Case &c : cases) {
            dragTo(c.where);
            ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(c.shown));
        }
        release();
    }
}

// Run on two monitors side by side, the primary on the right, with a strip
// below them that no monitor shows.
class Monitors : public PickingScreen {};

TEST_F(Monitors, PicksOnTheMonitorLeftOfThePrimary)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    ASSERT_NE(pattern->screen(), primary);
    ASSERT_LT(pattern->screen()->geometry().right(), primary->geometry().left());

    pointAtPickButton();
    press();
    dragTo(centreOf(sampleArea));
    ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(sample));
    dragTo(at(gridArea.topLeft() + QPoint(3, 5)));
    ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(gridColour(3, 5)));
    dragTo(centreOf(redArea));
    ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(red));
    const int entriesBefore = listCount();
    release();
    ASSERT_EQ(listCount(), entriesBefore + 1);
    EXPECT_EQ(lastEntry().label, QStringLiteral("(255 000 000)"));
}

TEST_F(Monitors, MovesOffEveryMonitorChangeNothing)
{
    const QPoint offEveryMonitor(100, 650);
    for (const QScreen *screen : QGuiApplication::screens())
        ASSERT_FALSE(screen->geometry().contains(offEveryMonitor)) << "the strip is shown";

    prog->m_add_bewegen->setChecked(true);
    const int entriesBefore = listCount();
    pointAtPickButton();
    press();
    dragTo(centreOf(redArea));
    ASSERT_EVENTUALLY_EQ(listCount(), entriesBefore + 1);
    dragTo(offEveryMonitor);
    EXPECT_EQ(prog->e_hex->text(), hexText(red));
    dragTo(centreOf(sampleArea));
    ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(sample));
    dragTo(offEveryMonitor + QPoint(5, 5));
    EXPECT_EQ(prog->e_hex->text(), hexText(sample));
    EXPECT_EQ(prog->farbfeld->colour(), tonfang::RGBToTColor(sample));
    release();

    // One entry per readable move and one for the release, all from real pixels.
    ASSERT_EQ(listCount(), entriesBefore + 3);
    EXPECT_EQ(lastEntry().label, QStringLiteral("(018 052 086)"));
    EXPECT_EQ(prog->farbfeld->colour(), tonfang::RGBToTColor(sample));
    EXPECT_EQ(eyedropper->pickedColour(), tonfang::RGBToTColor(sample));
}
