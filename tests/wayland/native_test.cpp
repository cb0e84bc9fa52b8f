// The native pick on sway, from `tonfang --pick`: every output transform and
// scale over a picture of four coloured quadrants, the exact device pixel
// with the arrow steps and the magnifier, each way a pick ends, two outputs.

#include "waylandsession.h"

#include "editor/languagecode.h"
#include "picking/pickingtexts.h"

#include <csignal>

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
