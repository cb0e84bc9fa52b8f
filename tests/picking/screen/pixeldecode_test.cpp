// Turning what the X server and the portal send into the bytes of the colour
// as shown: no display needed.

#include "picking/colourportal.h"
#include "picking/screenpixel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using tonfang::PixelLayout;
using tonfang::Rgb;

TEST(PixelValue, ReadsTheServersByteOrderAndPixelSize)
{
    const std::vector<std::uint8_t> bytes{0x11, 0x22, 0x33, 0x44};
    struct Case {
        int bits;
        bool msbFirst;
        std::uint32_t value;
    };
    for (const Case c : {Case{32, false, 0x44332211}, Case{32, true, 0x11223344},
                         Case{24, false, 0x332211}, Case{24, true, 0x112233},
                         Case{16, false, 0x2211}, Case{16, true, 0x1122},
                         Case{8, false, 0x11}}) {
        PixelLayout layout;
        layout.bitsPerPixel = c.bits;
        layout.mostSignificantFirst = c.msbFirst;
        EXPECT_EQ(tonfang::pixelValue(layout, bytes), c.value) << c.bits << " " << c.msbFirst;
    }
}

TEST(PixelValue, RefusesShortDataAndUnusualSizes)
{
    PixelLayout layout;
    const std::vector<std::uint8_t> three{1, 2, 3};
    EXPECT_FALSE(tonfang::pixelValue(layout, three)); // 32 bits need four bytes
    EXPECT_FALSE(tonfang::pixelValue(layout, {}));
    for (const int bits : {0, 1, 4, 12, 64}) {
        layout.bitsPerPixel = bits;
        EXPECT_FALSE(tonfang::pixelValue(layout, three)) << bits;
    }
}

TEST(BytesPerRow, RowsArePaddedToTheServersUnit)
{
    struct Case {
        int width, bits, pad;
        std::size_t bytes;
    };
    for (const Case c : {Case{1, 32, 32, 4}, Case{11, 32, 32, 44}, Case{11, 16, 32, 24},
                         Case{11, 24, 32, 36}, Case{11, 8, 32, 12}, Case{11, 16, 8, 22},
                         Case{12, 16, 32, 24}, Case{0, 32, 32, 0}}) {
        PixelLayout layout;
        layout.bitsPerPixel = c.bits;
        layout.scanlinePad = c.pad;
        EXPECT_EQ(tonfang::bytesPerRow(layout, c.width), c.bytes)
            << c.width << " x " << c.bits << " bits, pad " << c.pad;
    }
}

TEST(ChannelToByte, KnownSteps)
{
    struct Case {
        std::uint32_t value;
        int bits;
        int byte;
    };
    for (const Case c : {Case{2, 5, 0x10}, Case{10, 5, 0x52}, Case{16, 5, 132}, Case{31, 5, 255},
                         Case{13, 6, 0x34}, Case{63, 6, 255}, Case{0x48, 10, 0x12},
                         Case{1023, 10, 255}, Case{0x1234, 16, 0x12}, Case{1, 1, 255},
                         Case{5, 3, 0xB6}, Case{200, 8, 200}}) {
        EXPECT_EQ(tonfang::channelToByte(c.value, c.bits), c.byte)
            << c.value << " in " << c.bits << " bits";
    }
}

TEST(ChannelToByte, EveryWidthSpansTheWholeByteInOrder)
{
    for (int bits = 1; bits <= 16; ++bits) {
        const std::uint32_t top = (1u << bits) - 1;
        EXPECT_EQ(tonfang::channelToByte(0, bits), 0) << bits;
        EXPECT_EQ(tonfang::channelToByte(top, bits), 255) << bits;
        for (std::uint32_t v = 1; v <= top; ++v)
            ASSERT_LE(tonfang::channelToByte(v - 1, bits), tonfang::channelToByte(v, bits))
                << v << " in " << bits << " bits";
    }
    // A byte drawn on a deeper screen reads back as itself.
    for (int byte = 0; byte < 256; ++byte)
        ASSERT_EQ(tonfang::channelToByte(std::uint32_t(byte << 2 | byte >> 6), 10), byte);
}

TEST(DecodeTrueColour, SplitsByTheVisualsMasks)
{
    struct Case {
        const char *name;
        PixelLayout layout;
        std::uint32_t pixel;
        Rgb expected;
    };
    const Case cases[] = {
        {"24 bit", {32, false, 0xff0000, 0x00ff00, 0x0000ff}, 0x00123456, {0x12, 0x34, 0x56}},
        {"24 bit, blue high", {32, false, 0x0000ff, 0x00ff00, 0xff0000}, 0x00563412,
         {0x12, 0x34, 0x56}},
        {"16 bit", {16, false, 0xf800, 0x07e0, 0x001f}, 2u << 11 | 13u << 5 | 10u,
         {0x10, 0x34, 0x52}},
        {"16 bit white", {16, false, 0xf800, 0x07e0, 0x001f}, 0xffff, {255, 255, 255}},
        {"30 bit", {32, false, 0x3ff00000, 0x000ffc00, 0x000003ff},
         0x48u << 20 | 0xD0u << 10 | 0x159u, {0x12, 0x34, 0x56}},
        {"30 bit white", {32, false, 0x3ff00000, 0x000ffc00, 0x000003ff}, 0x3fffffff,
         {255, 255, 255}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(tonfang::decodeTrueColour(c.layout, c.pixel), c.expected) << c.name;
}

TEST(EncodeTrueColour, DrawsWhatTheScreenThenShows)
{
    // Encoding for drawing and decoding what is read back meet: exactly on 24-
    // and 30-bit screens, as the 16-bit screen rounds down on 16-bit ones.
    const PixelLayout layouts[] = {{32, false, 0xff0000, 0x00ff00, 0x0000ff},
                                   {32, false, 0x0000ff, 0x00ff00, 0xff0000},
                                   {32, false, 0x3ff00000, 0x000ffc00, 0x000003ff},
                                   {16, false, 0xf800, 0x07e0, 0x001f}};
    for (const PixelLayout &layout : layouts)
        for (const Rgb c : {Rgb{0, 0, 0}, Rgb{255, 255, 255}, Rgb{0x12, 0x34, 0x56},
                            Rgb{0x80, 0x7f, 0x01}}) {
            const Rgb shown = layout.bitsPerPixel == 16
                                  ? Rgb{tonfang::channelToByte(c.red >> 3, 5),
                                        tonfang::channelToByte(c.green >> 2, 6),
                                        tonfang::channelToByte(c.blue >> 3, 5)}
                                  : c;
            EXPECT_EQ(tonfang::decodeTrueColour(layout, tonfang::encodeTrueColour(layout, c)),
                      shown)
                << std::hex << layout.redMask << " " << int(c.red) << "," << int(c.green) << ","
                << int(c.blue);
        }
}

TEST(StorePixelValue, WritesWhatPixelValueReads)
{
    for (const int bits : {8, 16, 24, 32})
        for (const bool msbFirst : {false, true}) {
            PixelLayout layout;
            layout.bitsPerPixel = bits;
            layout.mostSignificantFirst = msbFirst;
            const std::uint32_t value = 0x89abcdefu >> (32 - bits);
            std::vector<std::uint8_t> bytes(4, 0);
            ASSERT_TRUE(tonfang::storePixelValue(layout, value, bytes));
            EXPECT_EQ(tonfang::pixelValue(layout, bytes), value) << bits << " " << msbFirst;
            const auto tooShort = std::span(bytes).first(std::size_t(bits / 8 - 1));
            EXPECT_FALSE(tonfang::storePixelValue(layout, value, tooShort));
        }
}

TEST(PortalColour, RoundsEachChannelToTheNearestByte)
{
    struct Case {
        double value;
        int byte;
    };
    for (const Case c : {Case{0.0705882352941, 0x12}, Case{0.5, 128}, Case{1.0, 255},
                         Case{0.0, 0}, Case{0.00196, 0}, Case{0.002, 1}, Case{-0.25, 0},
                         Case{1.75, 255}}) {
        const auto rgb = tonfang::portalColour(c.value, 0.0, 1.0);
        ASSERT_TRUE(rgb) << c.value;
        EXPECT_EQ(rgb->red, c.byte) << c.value;
        EXPECT_EQ(rgb->green, 0);
        EXPECT_EQ(rgb->blue, 255);
    }
}

TEST(PortalColour, RefusesValuesThatAreNoNumbers)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(tonfang::portalColour(nan, 0, 0));
    EXPECT_FALSE(tonfang::portalColour(0, inf, 0));
    EXPECT_FALSE(tonfang::portalColour(0, 0, -inf));
    EXPECT_FALSE(tonfang::portalColour(QVariantMap{}));
    EXPECT_FALSE(tonfang::portalColour(QVariantMap{{"color", QStringLiteral("red")}}));
}
