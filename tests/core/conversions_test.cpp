#include "core/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tonfang;

namespace {

constexpr double tight = 1e-12;

TEST(RoundToByte, TiesGoToTheEvenNeighbourAndTheRangeIsClamped)
{
    const std::pair<long double, int> cases[] = {
        {127.5L, 128}, {126.5L, 126}, {0.5L, 0},    {1.5L, 2},     {254.5L, 254},
        {254.6L, 255}, {255.4L, 255}, {-0.4L, 0},   {-3033, 0},    {416, 255},
        {1e30L, 255},  {-1e30L, 0},   {std::numeric_limits<long double>::quiet_NaN(), 0},
        {std::numeric_limits<long double>::infinity(), 255},
    };
    for (const auto &[value, byte] : cases)
        EXPECT_EQ(roundToByte(value), byte) << static_cast<double>(value);
}

TEST(Hsv, PrimariesGreysAndOrange)
{
    struct Case {
        Rgb rgb;
        double h, s, v;
    };
    const Case cases[] = {
        {{255, 255, 255}, 0, 0, 1},
        {{0, 0, 0}, 0, 0, 0},
        {{128, 128, 128}, 0, 0, 128 / 255.0},
        {{255, 0, 0}, 0, 1, 1},
        {{0, 255, 0}, 1 / 3.0, 1, 1},
        {{0, 0, 255}, 2 / 3.0, 1, 1},
        {{255, 128, 0}, 0.0836601307189542, 1, 1},
        {{255, 0, 255}, 5 / 6.0, 1, 1},      // h below 0 wraps round
        {{255, 255, 0}, 1 / 6.0, 1, 1},      // red and green share the maximum
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.rgb.red) << "," << int(c.rgb.green) << ","
                                        << int(c.rgb.blue));
        const Hsv hsv = RGBToHSV(c.rgb);
        EXPECT_NEAR(hsv.h, c.h, tight);
        EXPECT_NEAR(hsv.s, c.s, tight);
        EXPECT_NEAR(hsv.v, c.v, tight);
        EXPECT_EQ(HSVtoRGB(hsv), c.rgb);
    }
}

TEST(Hsv, IntoRgb)
{
    EXPECT_EQ(HSVtoRGB({1, 1, 1}), (Rgb{255, 0, 0}));       // hue 1 is hue 0
    EXPECT_EQ(HSVtoRGB({0, 1, 1}), (Rgb{255, 0, 0}));
    EXPECT_EQ(HSVtoRGB({0.5, 1, 0.5}), (Rgb{0, 128, 128}));
    EXPECT_EQ(HSVtoRGB({0.3, 0, 0.5}), (Rgb{128, 128, 128}));
    EXPECT_EQ(HSVtoRGB({0, 0, 0}), (Rgb{0, 0, 0}));
    // Nonsense from outside the accepted ranges must still give some triple.
    EXPECT_EQ(HSVtoRGB({0, 1, 7}), (Rgb{255, 0, 0}));
}

TEST(Cmyk, ThroughCmy)
{
    const Cmy orange = RGBtoCMY({255, 128, 0});
    EXPECT_EQ(orange.c, 0);
    EXPECT_NEAR(orange.m, 0.498039215686275, tight);
    EXPECT_EQ(orange.y, 1);
    const Cmyk orangeK = CMYtoCMYK(orange);
    EXPECT_EQ(orangeK.c, 0);
    EXPECT_NEAR(orangeK.m, 0.498039215686275, tight);
    EXPECT_EQ(orangeK.y, 1);
    EXPECT_EQ(orangeK.k, 0);

    const Cmyk grey = CMYtoCMYK(RGBtoCMY({128, 128, 128}));
    EXPECT_EQ(grey.c, 0);
    EXPECT_NEAR(grey.k, 0.498039215686275, tight);

    const Cmyk black = CMYtoCMYK({1, 1, 1});
    EXPECT_EQ(black.c, 0);
    EXPECT_EQ(black.m, 0);
    EXPECT_EQ(black.y, 0);
    EXPECT_EQ(black.k, 1);

    const Cmy backToBlack = CMYKtoCMY({0, 0, 0, 1});
    EXPECT_EQ(backToBlack.c, 1);
    EXPECT_EQ(backToBlack.m, 1);
    EXPECT_EQ(backToBlack.y, 1);

    EXPECT_EQ(CMYtoRGB({0, 0, 0}), (Rgb{255, 255, 255}));
    EXPECT_EQ(CMYtoRGB(CMYKtoCMY({0, 0.5, 1, 0})), (Rgb{255, 128, 0}));
}

TEST(Xyz, PrimariesAndWhite)
{
    struct Case {
        Rgb rgb;
        double X, Y, Z;
    };
    const Case cases[] = {
        {{255, 255, 255}, 95.05, 100, 108.9},
        {{0, 0, 0}, 0, 0, 0},
        {{255, 0, 0}, 41.24, 21.26, 1.93},
        {{0, 255, 0}, 35.76, 71.52, 11.92},
        {{0, 0, 255}, 18.05, 7.22, 95.05},
        // 10 takes the linear branch, 11 the power branch.
        {{10, 0, 0}, 0.4124 * 100 * (10 / 255.0) / 12.92, 0.2126 * 100 * (10 / 255.0) / 12.92,
         0.0193 * 100 * (10 / 255.0) / 12.92},
        {{11, 0, 0}, 0.4124 * 100 * std::pow((11 / 255.0 + 0.055) / 1.055, 2.4),
         0.2126 * 100 * std::pow((11 / 255.0 + 0.055) / 1.055, 2.4),
         0.0193 * 100 * std::pow((11 / 255.0 + 0.055) / 1.055, 2.4)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.rgb.red) << "," << int(c.rgb.green) << ","
                                        << int(c.rgb.blue));
        const Xyz xyz = RGBtoXYZ(c.rgb);
        EXPECT_NEAR(xyz.X, c.X, 1e-9);
        EXPECT_NEAR(xyz.Y, c.Y, 1e-9);
        EXPECT_NEAR(xyz.Z, c.Z, 1e-9);
        EXPECT_EQ(XYZtoRGB(xyz), c.rgb);
    }
}

TEST(Xyz, IntoRgb)
{
    EXPECT_EQ(XYZtoRGB({95.047, 100, 108.883}), (Rgb{255, 255, 255}));
    EXPECT_EQ(XYZtoRGB({0, 0, 0}), (Rgb{0, 0, 0}));
    EXPECT_EQ(XYZtoRGB({41.24, 21.26, 1.93}), (Rgb{255, 0, 0}));
}

TEST(Xyz, OutOfGamutIsClampedNotWrapped)
{
    // Red 416, green -3033, blue 65 before clamping: a too-bright red stays
    // fully red instead of wrapping round to a dark one.
    EXPECT_EQ(XYZtoRGB({95, 0, 0}), (Rgb{255, 0, 65}));
    EXPECT_EQ(XYZtoRGB({0, 100, 0}), (Rgb{0, 255, 0}));
    EXPECT_EQ(XYZtoRGB({0, 0, 108.883}), (Rgb{0, 60, 255}));
    EXPECT_EQ(XYZtoRGB({NAN, 50, 50}), (Rgb{0, 0, 0}));
    EXPECT_EQ(XYZtoRGB({1e308, 0, 0}), (Rgb{255, 0, 255}));
}

TEST(Chromaticity, SumsToOneAndIsZeroForBlack)
{
    const Chromaticity white = chromaticity(RGBtoXYZ({255, 255, 255}));
    EXPECT_NEAR(white.x, 0.3127159, 1e-7);
    EXPECT_NEAR(white.y, 0.3290014, 1e-7);
    EXPECT_NEAR(white.z, 0.3582826, 1e-7);
    EXPECT_NEAR(white.x + white.y + white.z, 1, tight);

    const Chromaticity black = chromaticity({0, 0, 0});
    EXPECT_EQ(black.x, 0);
    EXPECT_EQ(black.y, 0);
    EXPECT_EQ(black.z, 0);
}

} // namespace
