// The native pick on sway, from `tonfang --pick`: every output transform and
// scale over a picture of four coloured quadrants, the exact device pixel
// with the arrow steps and the magnifier, each way a pick ends, two outputs.

#include "waylandsession.h"

#include "editor/languagecode.h"
#include "picking/pickingtexts.h"

#include <csignal>
#include <signal.h>

using namespace waylandtest;

namespace {

QRect layoutOf(const QString &name)
{
    for (const Output &o : outputs())
        if (o.name == name)
            return o.layout;
    return {};
}

// A point a quarter of the way into a quadrant's corner, of an output.
QPoint inQuadrant(const QRect &layout, int quadrant)
{
    return layout.topLeft() + QPoint(layout.width() * (1 + 2 * (quadrant % 2)) / 4,
                                     layout.height() * (1 + 2 * (quadrant / 2)) / 4);
}

// The centre of a device pixel of an output at an integer scale and no transform.
QPointF centreOf(QPoint device, const QRect &layout, int scale)
{
    return QPointF(layout.topLeft()) + (QPointF(device) + QPointF(0.5, 0.5)) / scale;
}

} // namespace

class Native : public ::testing::Test {
protected:
    void SetUp() override { tonfang::setLanguageCode(tonfang::languageEnglish); }

    // One pick: the overlay up with the pointer at a layout point, then the hand.
    int pick(QPointF at, const std::function<bool()> &hand, QString *output, QString *error,
             const QStringList &arguments = {})
    {
        QProcess process;
        if (!startsOverlay(pointer, at.toPoint(), [&] { startPick(process, arguments); }))
            ADD_FAILURE() << "no overlay at " << at.x() << "," << at.y();
        // The crosshair on the device pixel asked for, not on the rounded point.
        else if (!pointer.moveTo(at) || !hand())
            ADD_FAILURE() << "the hand failed";
        return finished(process, output, error);
    }

    Pointer pointer;
};

TEST_F(Native, EveryTransformAndScalePicksThePixelUnderThePointer)
{
    ASSERT_TRUE(sway("output HEADLESS-1 bg " + quadrantPicture() + " stretch"));
    const struct {
        const char *transform;
        const char *scale;
    } cases[] = {
        {"normal", "1"},     {"90", "1"},         {"180", "1"},         {"270", "1"},
        {"flipped", "1"},    {"flipped-90", "1"}, {"flipped-180", "1"}, {"flipped-270", "1"},
        {"normal", "1.5"},   {"90", "1.5"},       {"normal", "2"},      {"flipped-270", "2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.transform) + " scale " + c.scale);
        ASSERT_TRUE(sway(QStringLiteral("output HEADLESS-1 transform %1 scale %2")
                             .arg(QLatin1String(c.transform), QLatin1String(c.scale))));
        const QRect layout = layoutOf(QStringLiteral("HEADLESS-1"));
        // Two quadrants side by side tell every transform from every other.
        for (const int quadrant : {0, 1}) {
            const QPoint at = inQuadrant(layout, quadrant);
            ASSERT_EVENTUALLY(grabPixel(at) == quadrantColours[quadrant]);
            QString output, error;
            EXPECT_EQ(pick(at, [&] { return pointer.click(); }, &output, &error), 0) << error.toStdString();
            EXPECT_EQ(output, hex(quadrantColours[quadrant]) + '\n');
        }
    }
    ASSERT_TRUE(sway(QStringLiteral("output HEADLESS-1 transform normal scale 1")));
}

TEST_F(Native, TheHandPicksStepsByDevicePixelsOrCancels)
{
    // A picture of the output's device size shows unfiltered at any integer
    // scale: each of its pixels is one device pixel.
    ASSERT_TRUE(sway(QStringLiteral("output HEADLESS-1 transform normal scale 2 bg ")
                     + pixelPatternPicture({1280, 800}) + " stretch"));
    const QRect layout = layoutOf(QStringLiteral("HEADLESS-1"));
    const QPoint start(701, 433); // device pixels
    ASSERT_EVENTUALLY(rgbOf(grabOutput(QStringLiteral("HEADLESS-1")).pixel(start))
                      == pixelPatternColour(start));
    const auto line = [&](QPoint step) { return hex(pixelPatternColour(start + step)) + '\n'; };
    const auto click = [&](int button) { return [&, button] { return pointer.click(button); }; };
    const auto keys = [](const char *names) {
        return [names] { return typeKeys(QString::fromLatin1(names).split(' ')); };
    };
    const auto clickAfter = [&](const char *names) {
        return [&, names] { return keys(names)() && pointer.click(); };
    };
    const struct {
        QStringList arguments;
        std::function<bool()> hand; // none: the overlay never opens
        int exitCode;
        QString output;
    } cases[] = {
        {{}, click(Pointer::leftButton), 0, line({0, 0})},
        {{"--format", "css-rgb"}, click(Pointer::leftButton), 0,
         QStringLiteral("rgb(%1 %2 %3)\n")
             .arg(pixelPatternColour(start).red)
             .arg(pixelPatternColour(start).green)
             .arg(pixelPatternColour(start).blue)},
        {{"--copy"}, click(Pointer::leftButton), 0, line({0, 0})},
        {{}, keys("Escape"), 1, {}},
        {{}, click(Pointer::rightButton), 1, {}},
        {{}, keys("Right Return"), 0, line({1, 0})},
        {{}, keys("shift+Up Left space"), 0, line({-1, -10})},
        {{}, clickAfter("z Up"), 0, line({0, -1})},
        {{"--magnifier"}, keys("Down KP_Enter"), 0, line({0, 1})},
        {{"--magnifier"}, clickAfter("z shift+Right"), 0, line({10, 0})},
        {{"--places", "14"}, {}, 2, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + " row " + std::to_string(&c - cases));
        QString output, error;
        int exitCode;
        if (c.hand) {
            exitCode = pick(centreOf(start, layout, 2), c.hand, &output, &error, c.arguments);
        } else {
            QProcess process;
            startPick(process, c.arguments);
            exitCode = finished(process, &output, &error);
        }
        EXPECT_EQ(exitCode, c.exitCode) << error.toStdString();
        EXPECT_EQ(output, c.output);
        if (c.arguments.contains(QStringLiteral("--copy"))) {
            QByteArray pasted;
            EXPECT_TRUE(run(QStringLiteral("wl-paste"), {QStringLiteral("-n")}, &pasted));
            EXPECT_EQ(QString::fromUtf8(pasted), c.output.trimmed());
        }
    }
}

TEST_F(Native, TheOverlayShowsTheLiveColourBesideTheCrosshairAndZTheMagnifier)
{
    ASSERT_TRUE(sway("output HEADLESS-1 transform normal scale 1 bg " + quadrantPicture() + " stretch"));
    const QPoint centre = layoutOf(QStringLiteral("HEADLESS-1")).center();
    // Just off the centre, so that what is drawn right of and below the
    // crosshair lies on the bottom right quadrant.
    const QPoint topLeft = centre - QPoint(3, 3), topRight = centre + QPoint(3, -3);
    ASSERT_EVENTUALLY(grabPixel(topLeft) == quadrantColours[0]);
    const auto shown = [&](QPoint at, tonfang::Rgb colour) {
        const QImage beside = grab(QRect(at + QPoint(8, 8), QSize(250, 250)));
        int count = 0;
        for (int y = 0; y < beside.height(); ++y)
            for (int x = 0; x < beside.width(); ++x)
                count += rgbOf(beside.pixel(x, y)) == colour;
        return count;
    };
    // The swatch is at least its inside, 12 by 12; the magnifier shows the
    // top left quadrant around the crosshair, large.
    const auto magnified = [&] { return shown(topLeft, quadrantColours[0]) > 4 * 144; };
    for (const bool magnifierAtStart : {false, true}) {
        SCOPED_TRACE(magnifierAtStart);
        QProcess process;
        ASSERT_TRUE(startsOverlay(pointer, topLeft, [&] {
            startPick(process, magnifierAtStart ? QStringList{"--magnifier"} : QStringList{});
        }));
        ASSERT_EVENTUALLY(shown(topLeft, quadrantColours[0]) >= 144);
        EXPECT_EQ(magnified(), magnifierAtStart);
        ASSERT_TRUE(typeKeys({QStringLiteral("z")}));
        ASSERT_EVENTUALLY(magnified() != magnifierAtStart);
        ASSERT_TRUE(pointer.moveTo(topRight));
        ASSERT_EVENTUALLY(shown(topRight, quadrantColours[1]) >= 144);
        ASSERT_TRUE(pointer.click());
        QString output, error;
        EXPECT_EQ(finished(process, &output, &error), 0);
        EXPECT_EQ(output, hex(quadrantColours[1]) + '\n');
    }
}

TEST_F(Native, EachOutputPicksItsOwnPixelsAndAnOutputComingCancels)
{
    // A second output of scale 2 right of the first.
    ASSERT_TRUE(run(QStringLiteral("swaymsg"), {QStringLiteral("create_output")}));
    ASSERT_TRUE(sway("output HEADLESS-1 transform normal scale 1 bg " + quadrantPicture() + " stretch"));
    ASSERT_TRUE(sway(QStringLiteral("output HEADLESS-2 resolution 1280x800 position 1280 0 scale 2 "
                                    "bg #5080B0 solid_color")));
    const tonfang::Rgb second{0x50, 0x80, 0xB0};
    const QPoint onFirst = inQuadrant(layoutOf(QStringLiteral("HEADLESS-1")), 3);
    const QPoint onSecond = layoutOf(QStringLiteral("HEADLESS-2")).center();
    ASSERT_EVENTUALLY(grabPixel(onFirst) == quadrantColours[3] && grabPixel(onSecond) == second);
    const struct {
        QPoint start;
        std::function<bool()> hand;
        int exitCode;
        QString output;
    } cases[] = {
        {onFirst, [&] { return pointer.click(); }, 0, hex(quadrantColours[3]) + '\n'},
        {onSecond, [&] { return pointer.click(); }, 0, hex(second) + '\n'},
        // The crosshair follows the pointer from one output's overlay to the other's.
        {onSecond, [&] { return pointer.moveTo(onFirst) && pointer.click(); }, 0,
         hex(quadrantColours[3]) + '\n'},
        {onFirst, [&] { return pointer.moveTo(onSecond) && pointer.click(); }, 0, hex(second) + '\n'},
        // An output coming mid-pick; sway 1.7 keeps a disabled headless one.
        {onFirst, [&] { return run(QStringLiteral("swaymsg"), {QStringLiteral("create_output")}); },
         1, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        QString output, error;
        EXPECT_EQ(pick(c.start, c.hand, &output, &error), c.exitCode) << error.toStdString();
        EXPECT_EQ(output, c.output);
    }
}

TEST(CompositorGone, APickEndsWithOneLine)
{
    tonfang::setLanguageCode(tonfang::languageEnglish);
    Pointer pointer;
    QProcess pick;
    ASSERT_TRUE(startsOverlay(pointer, {400, 300}, [&] { startPick(pick, {}); }));
    ASSERT_EQ(::kill(qEnvironmentVariableIntValue("TONFANG_WAYLAND_COMPOSITOR_PID"), SIGTERM), 0);
    QString output, error;
    EXPECT_EQ(finished(pick, &output, &error), 3);
    EXPECT_EQ(output, QString());
    EXPECT_EQ(error, tonfang::compositorLostLine());
}
