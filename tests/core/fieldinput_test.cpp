#include "core/fieldinput.h"

#include <gtest/gtest.h>

using namespace tonfang;

namespace {

const Rgb orange{255, 128, 0};
const Rgb white{255, 255, 255};
const Rgb black{0, 0, 0};

TEST(HexInput, HashesAnywhereAndEitherCase)
{
    for (const char *text : {"#FF8000", "FF8000", "#FF#80#00", "ff8000", "FF8000#", "##ff80##00"})
        EXPECT_EQ(rgbFromHexInput(text), orange) << text;
    for (const char *text : {"$FF8000", "FF80", "", "#", "FF80000", "FF 800", "+F8000", "0x8000",
                             "GG8000", "FF-100"})
        EXPECT_EQ(rgbFromHexInput(text), std::nullopt) << text;
}

TEST(TColorInput, AnyThirtyTwoBitNumber)
{
    const std::pair<const char *, std::optional<Rgb>> cases[] = {
        {"33023", orange},  {"-1", white},      {"16777216", black}, {"2147483647", white},
        {"$FF", Rgb{255, 0, 0}}, {" 0", black}, {"2147483648", {}},  {"", {}},
        {"1.0", {}},
    };
    for (const auto &[text, rgb] : cases)
        EXPECT_EQ(rgbFromTColorInput(text), rgb) << text;
}

TEST(RgbInput, IntegersFrom0To255)
{
    EXPECT_EQ(rgbFromRgbInput("255", "128", "0"), orange);
    EXPECT_EQ(rgbFromRgbInput("$FF", "x80", " 0"), orange);
    EXPECT_EQ(rgbFromRgbInput("256", "128", "0"), std::nullopt);
    EXPECT_EQ(rgbFromRgbInput("255", "-1", "0"), std::nullopt);
    EXPECT_EQ(rgbFromRgbInput("12 ", "0", "0"), std::nullopt);
    EXPECT_EQ(rgbFromRgbInput("255", "128", ""), std::nullopt);
}

TEST(PercentInput, RoundsHalvesToEven)
{
    struct Case {
        const char *r, *g, *b, *sep;
        std::optional<Rgb> rgb;
    };
    const Case cases[] = {
        {"50", "0", "0", ".", Rgb{128, 0, 0}},   // 127.5
        {"30", "70", "0", ".", Rgb{76, 178, 0}}, // 76.5 and 178.5
        {"100", "50.2", "0", ".", orange},
        {"100", "50,2", "0", ",", orange},
        {"100", "100", "100", ".", white},
        {"101", "0", "0", ".", std::nullopt},     // 257.55
        {"100.1", "0", "0", ".", Rgb{255, 0, 0}}, // 255.255 still rounds into range
        {"-0.1", "0", "0", ".", Rgb{0, 0, 0}},
        {"-0.2", "0", "0", ".", std::nullopt},
        {"100", "50.2", "0", ",", std::nullopt},  // wrong separator
        {"", "0", "0", ".", std::nullopt},
        {"1e400", "0", "0", ".", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(rgbFromPercentInput(c.r, c.g, c.b, c.sep), c.rgb)
            << c.r << " " << c.g << " " << c.b;
}

TEST(HsvInput, DegreesAndPercentWithInclusiveBounds)
{
    EXPECT_EQ(rgbFromHsvInput("360", "100", "100", "."), (Rgb{255, 0, 0}));
    EXPECT_EQ(rgbFromHsvInput("0", "100", "100", "."), (Rgb{255, 0, 0}));
    EXPECT_EQ(rgbFromHsvInput("30.12", "100", "100", "."), orange);
    EXPECT_EQ(rgbFromHsvInput("180", "100", "50", "."), (Rgb{0, 128, 128}));
    EXPECT_EQ(rgbFromHsvInput("360.5", "100", "100", "."), std::nullopt);
    EXPECT_EQ(rgbFromHsvInput("0", "100.01", "100", "."), std::nullopt);
    EXPECT_EQ(rgbFromHsvInput("-1", "100", "100", "."), std::nullopt);
}

TEST(CmyAndCmykInput, PercentFrom0To100)
{
    EXPECT_EQ(rgbFromCmyInput("0", "49.8", "100", "."), orange);
    EXPECT_EQ(rgbFromCmyInput("100", "100", "100", "."), black);
    EXPECT_EQ(rgbFromCmyInput("0", "0", "100.5", "."), std::nullopt);

    EXPECT_EQ(rgbFromCmykInput("0", "0", "0", "0", "."), white);
    EXPECT_EQ(rgbFromCmykInput("0", "0", "0", "100", "."), black);
    EXPECT_EQ(rgbFromCmykInput("0", "49,8", "100", "0", ","), orange);
    EXPECT_EQ(rgbFromCmykInput("0", "0", "0", "-1", "."), std::nullopt);
    EXPECT_EQ(rgbFromCmykInput("0", "0", "0", "x", "."), std::nullopt);
}

TEST(XyzInput, BoundsAreInclusiveAndExact)
{
    EXPECT_EQ(rgbFromXyzInput("95.047", "100", "108.883", "."), white);
    EXPECT_EQ(rgbFromXyzInput("95.048", "100", "108.883", "."), std::nullopt);
    EXPECT_EQ(rgbFromXyzInput("95.047", "100.001", "108.883", "."), std::nullopt);
    EXPECT_EQ(rgbFromXyzInput("95.047", "100", "108.884", "."), std::nullopt);
    // White as displayed lies above two bounds: editing one field alone is refused.
    EXPECT_EQ(rgbFromXyzInput("95.05", "100", "108.9", "."), std::nullopt);
    EXPECT_EQ(rgbFromXyzInput("0", "0", "0", "."), black);
    EXPECT_EQ(rgbFromXyzInput("-0.1", "0", "0", "."), std::nullopt);
    // Inside the bounds but out of gamut: clamped, not wrapped.
    EXPECT_EQ(rgbFromXyzInput("95", "0", "0", "."), (Rgb{255, 0, 65}));
}

TEST(ChromaticityInput, FromXyAndTheLuminanceField)
{
    const auto whitePoint = rgbFromChromaticityInput("0.3127", "0.329", "100", ".");
    ASSERT_TRUE(whitePoint.has_value());
    EXPECT_EQ(whitePoint->rgb, white);
    EXPECT_NEAR(static_cast<double>(whitePoint->z), 0.3583, 1e-15);

    // y = 0 gives black and z = 0, whatever x and Y are.
    const auto zeroY = rgbFromChromaticityInput("0.7", "0", "55", ".");
    ASSERT_TRUE(zeroY.has_value());
    EXPECT_EQ(zeroY->rgb, black);
    EXPECT_EQ(zeroY->z, 0);

    const auto comma = rgbFromChromaticityInput("0,3127", "0,329", "100", ",");
    ASSERT_TRUE(comma.has_value());
    EXPECT_EQ(comma->rgb, white);

    // x = 1 and a tiny y give an enormous X that clamps rather than wraps.
    const auto extreme = rgbFromChromaticityInput("1", "0.001", "100", ".");
    ASSERT_TRUE(extreme.has_value());
    EXPECT_EQ(extreme->rgb.red, 255);

    EXPECT_FALSE(rgbFromChromaticityInput("1.1", "0.3", "50", "."));
    EXPECT_FALSE(rgbFromChromaticityInput("0.3", "-0.1", "50", "."));
    EXPECT_FALSE(rgbFromChromaticityInput("0.3", "0.3", "100.5", "."));
    EXPECT_FALSE(rgbFromChromaticityInput("0.3", "", "50", "."));
}

} // namespace
