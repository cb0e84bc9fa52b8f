// A Wayland pick's arithmetic: which stored pixel of a capture the output
// shows where, the device pixel under a logical position, how wl_shm formats
// hold a colour, what the overlay draws, and the choice TONFANG_WAYLAND_PICKER
// makes.

#include "picking/capturemapping.h"
#include "picking/captureoverlay.h"
#include "picking/sessiontype.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <string>

using tonfang::OutputTransform;
using tonfang::PixelPoint;
using tonfang::PixelSize;

namespace {

constexpr std::uint32_t fourcc(const char (&c)[5])
{
    return std::uint32_t(c[0]) | std::uint32_t(c[1]) << 8 | std::uint32_t(c[2]) << 16
           | std::uint32_t(c[3]) << 24;
}

} // namespace

TEST(CaptureMapping, EveryTransformAndYInversionShowsTheCaptureTurnedAsTheOutputShowsIt)
{
    // A capture of 3 x 2 pixels "abc/def"; the pictures read as shown, row by
    // row (checked against grim under sway for the quarter turns).
    const std::string stored = "abcdef";
    const PixelSize capture{3, 2};
    const struct {
        OutputTransform transform;
        bool yInverted;
        const char *shown;
    } cases[] = {
        {OutputTransform::Normal, false, "abc/def"},
        {OutputTransform::Turned90, false, "da/eb/fc"},
        {OutputTransform::Turned180, false, "fed/cba"},
        {OutputTransform::Turned270, false, "cf/be/ad"},
        {OutputTransform::Flipped, false, "cba/fed"},
        {OutputTransform::Flipped90, false, "ad/be/cf"},
        {OutputTransform::Flipped180, false, "def/abc"},
        {OutputTransform::Flipped270, false, "fc/eb/da"},
        {OutputTransform::Normal, true, "def/abc"},
        {OutputTransform::Turned90, true, "ad/be/cf"},
    };
    for (const auto &c : cases) {
        const PixelSize size = tonfang::shownSize(capture, c.transform);
        std::string shown;
        for (int y = 0; y < size.height; ++y) {
            if (y)
                shown += '/';
            for (int x = 0; x < size.width; ++x) {
                const PixelPoint p =
                    tonfang::capturedPixel({x, y}, capture, c.transform, c.yInverted);
                ASSERT_TRUE(p.x >= 0 && p.x < 3 && p.y >= 0 && p.y < 2) << c.shown;
                shown += stored[std::size_t(p.y * 3 + p.x)];
            }
        }
        EXPECT_EQ(shown, c.shown) << int(c.transform) << " inverted " << c.yInverted;
    }
}

TEST(CaptureMapping, ALogicalPositionFallsOnTheDevicePixelOfTheCapturesOwnRatio)
{
    const PixelSize device{1280, 800};
    const struct {
        PixelSize logical;
        double x, y;
        std::optional<PixelPoint> pixel;
    } cases[] = {
        {{1280, 800}, 0, 0, PixelPoint{0, 0}},
        {{1280, 800}, 1279.99, 799.5, PixelPoint{1279, 799}},
        {{640, 400}, 10.5, 3.25, PixelPoint{21, 6}},           // scale 2
        {{853, 533}, 100, 100, PixelPoint{150, 150}},           // scale 1.5, reported as 2
        {{853, 533}, 852.99, 532.99, PixelPoint{1279, 799}},
        {{853, 533}, -0.01, 0, std::nullopt},
        {{853, 533}, 853, 10, std::nullopt},
        {{853, 533}, std::nan(""), 10, std::nullopt},
        {{0, 0}, 0, 0, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(tonfang::devicePixelAt(c.x, c.y, c.logical, device), c.pixel)
            << c.logical.width << " " << c.x << "," << c.y;
}

TEST(CaptureMapping, EveryRgbShmFormatGivesTheColourAndTenBitsKeepTheirTopEight)
{
    const struct {
        std::uint32_t format;
        std::uint32_t word;
        tonfang::Rgb colour;
    } cases[] = {
        {0, 0xff112233, {0x11, 0x22, 0x33}},              // ARGB8888
        {1, 0x00112233, {0x11, 0x22, 0x33}},              // XRGB8888
        {fourcc("XB24"), 0x00332211, {0x11, 0x22, 0x33}},
        {fourcc("AB24"), 0xff332211, {0x11, 0x22, 0x33}},
        {fourcc("RX24"), 0x11223300, {0x11, 0x22, 0x33}},
        {fourcc("BX24"), 0x33221100, {0x11, 0x22, 0x33}},
        {fourcc("XR30"), 0x3ff << 20 | 0x1ff << 10 | 0x003, {0xff, 0x7f, 0x00}},
        {fourcc("AR30"), 0xc0000000 | 0x3ff << 20, {0xff, 0x00, 0x00}},
        {fourcc("XB30"), 0x3ff << 20 | 0x1ff << 10 | 0x003, {0x00, 0x7f, 0xff}},
        {fourcc("AB30"), 0x200, {0x80, 0x00, 0x00}},
    };
    for (const auto &c : cases) {
        const auto layout = tonfang::shmFormatLayout(c.format);
        ASSERT_TRUE(layout) << std::hex << c.format;
        EXPECT_EQ(tonfang::decodeTrueColour(*layout, c.word), c.colour) << std::hex << c.format;
    }
    EXPECT_FALSE(tonfang::shmFormatLayout(fourcc("RG16"))); // 16-bit: no capture offers it to us
    EXPECT_FALSE(tonfang::shmFormatLayout(fourcc("NV12")));
}

TEST(WaylandPickerChoice, PortalAndNativeOverrideAndAnythingElseIsNamedAndChoosesAutomatically)
{
    const struct {
        const char *value;
        tonfang::WaylandPicker choice;
        bool unknown;
    } cases[] = {
        {"", tonfang::WaylandPicker::Automatic, false},
        {"portal", tonfang::WaylandPicker::Portal, false},
        {"native", tonfang::WaylandPicker::Native, false},
        {"Native", tonfang::WaylandPicker::Automatic, true},
        {"x11", tonfang::WaylandPicker::Automatic, true},
    };
    for (const auto &c : cases) {
        bool unknown = !c.unknown;
        EXPECT_EQ(tonfang::waylandPickerChoice(QString::fromLatin1(c.value), &unknown), c.choice)
            << c.value;
        EXPECT_EQ(unknown, c.unknown) << c.value;
    }
}

TEST(CaptureOverlay, TheCopiedAndTheMappedPathGiveTheSamePictureAndTheMarksLeaveThePixelFree)
{
    // Stored as XRGB8888 (read in place) and as XBGR8888 (mapped pixel by
    // pixel), with a stride wider than the rows.
    const std::uint32_t xrgb[] = {0x112233, 0x445566, 0x778899, 0, 0xaabbcc, 0xddeeff, 0x010203, 0};
    std::uint32_t xbgr[8];
    for (int i = 0; i < 8; ++i)
        xbgr[i] = (xrgb[i] >> 16 & 0xff) | (xrgb[i] & 0xff00) | (xrgb[i] & 0xff) << 16;
    const auto shown = [](const std::uint32_t *words, std::uint32_t format) {
        return tonfang::shownCapture(reinterpret_cast<const std::uint8_t *>(words), {3, 2}, 16,
                                     *tonfang::shmFormatLayout(format), OutputTransform::Normal,
                                     false);
    };
    const QImage copied = shown(xrgb, 1), mapped = shown(xbgr, fourcc("XB24"));
    ASSERT_EQ(copied.size(), QSize(3, 2));
    EXPECT_EQ(copied.pixel(2, 1), qRgb(0x01, 0x02, 0x03));
    EXPECT_EQ(copied, mapped);
    // Qt's own words are read in place; others are turned into a copy.
    EXPECT_EQ(copied.constBits(), reinterpret_cast<const uchar *>(xrgb));
    EXPECT_NE(mapped.constBits(), reinterpret_cast<const uchar *>(xbgr));

    // Near every corner, at scale 1 and 2, the label and the magnifier are
    // drawn whole (as much of their dark panel shows as in the middle), and
    // nothing covers the pixel they show.
    QImage screen(640, 480, QImage::Format_RGB32);
    tonfang::PixelSquare square;
    const auto panelPixels = [&] {
        int count = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                count += screen.pixel(x, y) == qRgb(0x20, 0x22, 0x26);
        return count;
    };
    for (const qreal ratio : {1.0, 2.0}) {
        int whole = -1;
        for (const PixelPoint at : {PixelPoint{320, 240}, PixelPoint{0, 0}, PixelPoint{639, 0},
                                    PixelPoint{0, 479}, PixelPoint{639, 479}}) {
            screen.fill(qRgb(1, 2, 3));
            QPainter painter(&screen);
            const QRect drawn = tonfang::drawPickMarks(painter, screen.rect(), at, ratio,
                                                       tonfang::Rgb{1, 2, 3}, square);
            painter.end();
            if (whole < 0)
                whole = panelPixels();
            EXPECT_GT(whole, 0);
            EXPECT_EQ(panelPixels(), whole) << at.x << "," << at.y << " " << ratio;
            EXPECT_TRUE(drawn.contains(at.x, at.y));
            EXPECT_EQ(screen.pixel(at.x, at.y), qRgb(1, 2, 3)) << at.x << "," << at.y;
        }
    }
}
