// The native pick on sway from `tonfang --pick`: every transform and scale,
// the device pixel under the crosshair and its steps, the live swatch and the
// magnifier on the overlay, each way a pick ends, two outputs.

#include "waylandsession.h"

#include "editor/languagecode.h"
#include "picking/pickingtexts.h"

#include <signal.h>

using namespace waylandtest;

class Native : public ::testing::Test {
protected:
    void SetUp() override { tonfang::setLanguageCode(tonfang::languageEnglish); }

    // A pick whose overlay is up with the crosshair at a layout point before the hand acts.
    int pick(QPointF at, const std::function<bool()> &hand, QString *output,
             const QStringList &arguments = {})
    {
        QProcess process;
        const bool acted = startsOverlay(pointer, at.toPoint(), [&] { startPick(process, arguments); })
                           && pointer.moveTo(at) && hand();
        EXPECT_TRUE(acted) << "no overlay, or the hand failed";
        QString error;
        const int exitCode = finished(process, output, &error);
        EXPECT_EQ(error, QString());
        return exitCode;
    }

    // A point a quarter into a quadrant of an output, away from the edges.
    static QPoint inQuadrant(const QRect &r, int q)
    {
        return r.topLeft() + QPoint(r.width() * (1 + q % 2 * 2) / 4, r.height() * (1 + q / 2 * 2) / 4);
    }

    Pointer pointer;
};

TEST_F(Native, EveryTransformAndScalePicksThePixelUnderThePointer)
{
    const char *cases[][2] = {
        {"normal", "1"}, {"90", "1"},     {"180", "1"},         {"270", "1"},
        {"flipped", "1"}, {"flipped-90", "1"}, {"flipped-180", "1"}, {"flipped-270", "1"},
        {"normal", "1.5"}, {"90", "1.5"}, {"normal", "2"},      {"flipped-270", "2"},
    };
    ASSERT_TRUE(sway("output HEADLESS-1 bg " + picture(true) + " stretch"));
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c[0]) + " scale " + c[1]);
        ASSERT_TRUE(sway(QStringLiteral("output HEADLESS-1 transform %1 scale %2").arg(c[0], c[1])));
        // Two quadrants side by side tell every transform from every other.
        for (const int q : {0, 1}) {
            const QPoint at = inQuadrant(layoutOf(QStringLiteral("HEADLESS-1")), q);
            ASSERT_EVENTUALLY(grabPixel(at) == quadrantColours[q]);
            QString output;
            EXPECT_EQ(pick(at, [&] { return pointer.click(); }, &output), 0);
            EXPECT_EQ(output, hex(quadrantColours[q]) + '\n');
        }
    }
}

TEST_F(Native, TheHandPicksStepsByDevicePixelsOrCancels)
{
    // At scale 2 the pattern shows unscaled, a colour to each device pixel.
    ASSERT_TRUE(sway("output HEADLESS-1 transform normal scale 2 bg " + picture(false) + " stretch"));
    const QPoint start(700, 432); // device pixels, even: grim's pixel at its logical point
    ASSERT_EVENTUALLY(grabPixel(start / 2) == patternColour(start));
    const auto line = [&](QPoint step) { return hex(patternColour(start + step)) + '\n'; };
    const tonfang::Rgb c0 = patternColour(start);
    const struct {
        QStringList arguments;
        const char *hand; // keys for wtype, then maybe a click
        int exitCode;
        QString output;
    } cases[] = {
        {{}, "click", 0, line({0, 0})},
        {{"--format", "css-rgb"}, "click", 0, QStringLiteral("rgb(%1 %2 %3)\n").arg(c0.red).arg(c0.green).arg(c0.blue)},
        {{"--copy"}, "click", 0, line({0, 0})},
        {{}, "Escape", 1, {}},
        {{}, "rightclick", 1, {}},
        {{}, "Right Return", 0, line({1, 0})},
        {{}, "shift+Up Left space", 0, line({-1, -10})},
        {{}, "z Up click", 0, line({0, -1})},
        {{"--magnifier"}, "Down KP_Enter", 0, line({0, 1})},
        {{"--magnifier"}, "z shift+Right click", 0, line({10, 0})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + " " + c.hand);
        const QString words = QString::fromLatin1(c.hand);
        const bool click = words.endsWith(QLatin1String("click"));
        const QString keys = click ? words.section(' ', 0, -2) : words;
        const auto hand = [&] {
            return (keys.isEmpty() || typeKeys(keys))
                   && (!click || pointer.click(words.endsWith("rightclick") ? Pointer::rightButton
                                                                            : Pointer::leftButton));
        };
        QString output;
        EXPECT_EQ(pick((QPointF(start) + QPointF(0.5, 0.5)) / 2, hand, &output, c.arguments), c.exitCode);
        EXPECT_EQ(output, c.output);
        QByteArray pasted;
        if (c.arguments.contains(QStringLiteral("--copy"))) {
            EXPECT_TRUE(run(QStringLiteral("wl-paste"), {QStringLiteral("-n")}, &pasted));
            EXPECT_EQ(pasted + '\n', c.output);
        }
    }
    QProcess wrong; // a wrong command line never opens the overlay
    QString output, error;
    startPick(wrong, {QStringLiteral("--places"), QStringLiteral("14")});
    EXPECT_EQ(finished(wrong, &output, &error), 2);
}

TEST_F(Native, TheOverlayShowsTheLiveColourBesideTheCrosshairAndZTheMagnifier)
{
    ASSERT_TRUE(sway("output HEADLESS-1 transform normal scale 1 bg " + picture(true) + " stretch"));
    // Just off the centre: what is drawn right of and below the crosshair is
    // on the bottom right quadrant.
    const QPoint topLeft(637, 397), topRight(643, 397);
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
        ASSERT_TRUE(typeKeys(QStringLiteral("z")));
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
    ASSERT_TRUE(run(QStringLiteral("swaymsg"), {QStringLiteral("create_output")}));
    ASSERT_TRUE(sway(QStringLiteral("output HEADLESS-2 resolution 1280x800 position 1280 0 scale 2 "
                                    "bg #5080B0 solid_color")));
    const QPoint first = inQuadrant(layoutOf(QStringLiteral("HEADLESS-1")), 3);
    const QPoint second = layoutOf(QStringLiteral("HEADLESS-2")).center();
    const QString firstLine = hex(quadrantColours[3]) + '\n', secondLine = QStringLiteral("#5080B0\n");
    ASSERT_EVENTUALLY(grabPixel(first) == quadrantColours[3] && hex(grabPixel(second)) + '\n' == secondLine);
    const struct {
        QPoint start, end; // the crosshair follows the pointer from one overlay to the other
        int exitCode;
        QString output;
    } cases[] = {
        {first, first, 0, firstLine}, {second, second, 0, secondLine},
        {second, first, 0, firstLine}, {first, second, 0, secondLine},
        {first, {}, 1, {}}, // an output comes; sway 1.7 keeps a disabled headless one
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto hand = [&] {
            return c.end.isNull() ? run(QStringLiteral("swaymsg"), {QStringLiteral("create_output")})
                                  : pointer.moveTo(c.end) && pointer.click();
        };
        QString output;
        EXPECT_EQ(pick(c.start, hand, &output), c.exitCode);
        EXPECT_EQ(output, c.output);
    }
}

TEST_F(Native, ATerminationSignalEndsThePickWithoutAColour)
{
    QProcess process;
    ASSERT_TRUE(startsOverlay(pointer, {400, 300}, [&] { startPick(process, {}); }));
    ASSERT_EQ(::kill(pid_t(process.processId()), SIGTERM), 0);
    QString output, error;
    EXPECT_EQ(finished(process, &output, &error), 1);
    EXPECT_EQ(output + error, QString());
}

// Each row ends its compositor; run_wayland.sh starts one for each.
class CompositorGone : public ::testing::TestWithParam<const char *> {};
INSTANTIATE_TEST_SUITE_P(Environments, CompositorGone,
                         ::testing::Values("", "QT_QPA_PLATFORM=wayland")); // as sway desktops often set

TEST_P(CompositorGone, APickEndsWithOneLine)
{
    tonfang::setLanguageCode(tonfang::languageEnglish);
    Pointer pointer;
    QProcess pick;
    const QStringList environment = QString(GetParam()).split(' ', Qt::SkipEmptyParts);
    ASSERT_TRUE(startsOverlay(pointer, {400, 300}, [&] { startPick(pick, {}, environment); }));
    ASSERT_EQ(::kill(qEnvironmentVariableIntValue("TONFANG_WAYLAND_COMPOSITOR_PID"), SIGTERM), 0);
    QString output, error;
    EXPECT_EQ(finished(pick, &output, &error), 3);
    EXPECT_EQ(output, QString());
    EXPECT_EQ(error, tonfang::compositorLostLine());
}
