#include "core/colourformats.h"
#include "core/numbertext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

using namespace tonfang;
using L = long double;

namespace {

// The reference works differently from the code: decimals by scaling to an
// integer, the two matrices to LMS multiplied together first, powers and cube
// roots through exp/log, the hue by the half-angle formula, HSL from integers.
std::string fixed(L value, int decimals)
{
    std::string digits = std::to_string(std::llround(std::fabs(value) * std::pow(10.0L, decimals)));
    digits.insert(0, std::max(0, decimals + 1 - int(digits.size())), '0');
    std::string text = digits.insert(digits.size() - decimals, ".");
    text.erase(text.find_last_not_of("0") + 1);
    if (text.back() == '.')
        text.pop_back();
    return (value < 0 && text != "0" ? "-" : "") + text;
}

std::string hue(L degrees, int n) { return fixed(degrees, n) == "360" ? "0" : fixed(degrees, n); }

std::string referenceOklch(Rgb rgb, int n)
{
    const L xyz[9] = {506752.0L / 1228815, 87881.0L / 245763, 12673.0L / 70218, 87098.0L / 409605, 175762.0L / 245763,
                      12673.0L / 175545, 7918.0L / 409605, 87881.0L / 737289, 1001167.0L / 1053270};
    const L lms[9] = {0.8190224379967030L, 0.3619062600528904L, -0.1288737815209879L, 0.0329836539323885L,
                      0.9292868615863434L, 0.0361446663506424L, 0.0481771893596242L, 0.2642395317527308L,
                      0.6335478284694309L};
    const L lab[9] = {0.2104542683093140L, 0.7936177747023054L, -0.0040720430116193L, 1.9779985324311684L,
                      -2.4285922420485799L, 0.4505937096174110L, 0.0259040424655478L, 0.7827717124575296L,
                      -0.8086757549230774L};
    const int bytes[3] = {rgb.red, rgb.green, rgb.blue};
    L linear[3], root[3], out[3] = {};
    for (int i = 0; i < 3; ++i) {
        const L v = bytes[i] / 255.0L;
        linear[i] = v <= 0.04045L ? v / 12.92L : std::exp(2.4L * std::log((v + 0.055L) / 1.055L));
    }
    for (int i = 0; i < 3; ++i) {
        L sum = 0;
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                sum += lms[3 * i + k] * xyz[3 * k + j] * linear[j];
        root[i] = sum > 0 ? std::exp(std::log(sum) / 3) : 0;
    }
    for (int i = 0; i < 9; ++i)
        out[i / 3] += lab[i] * root[i % 3];
    const bool grey = bytes[0] == bytes[1] && bytes[1] == bytes[2];
    const L chroma = grey ? 0 : std::sqrt(out[1] * out[1] + out[2] * out[2]);
    const L angle = 2 * std::atan(out[2] / (chroma + out[1])) * 180 / std::numbers::pi_v<L>;
    const std::string c = fixed(chroma, std::min(n + 3, 15)); // texts stop at 15 decimals
    return "oklch(" + fixed(out[0] * 100, n) + "% " + c + ' ' + (c == "0" ? "0" : hue(angle + (angle < 0) * 360, n)) + ')';
}

std::string referenceHsl(Rgb rgb, int n)
{
    const int r = rgb.red, g = rgb.green, b = rgb.blue;
    const int max = std::max({r, g, b}), min = std::min({r, g, b}), d = max - min, sum = max + min;
    const std::string l = fixed(sum * 100.0L / 510, n);
    const std::string s = d == 0 ? "0" : fixed(d * 100.0L / (sum <= 255 ? sum : 510 - sum), n);
    const int sixths = d == 0 ? 0 : max == r ? (g - b + 6 * d) % (6 * d) : max == g ? b - r + 2 * d : r - g + 4 * d;
    const bool powerless = s == "0" || l == "0" || l == "100";
    return "hsl(" + (powerless ? "0" : hue(sixths * 60.0L / std::max(d, 1), n)) + ' ' + s + "% " + l + "%)";
}

} // namespace

TEST(ColourFormats, CssFormsMatchAnIndependentComputation)
{
    const Rgb colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {128, 128, 128},
                           {255, 128, 0}, {255, 0, 1}, {0x30, 1, 0x15}, {128, 128, 129}, {10, 11, 12},
                           {18, 52, 86}, {1, 0, 0}, {254, 255, 255}, {0x1D, 0, 0x0A}, {200, 100, 250}};
    for (const Rgb rgb : colours)
        for (const int n : {0, 2, 13}) {
            SCOPED_TRACE(formatColour(rgb, ColourFormat::Hex, n) + " at " + std::to_string(n));
            EXPECT_EQ(formatColour(rgb, ColourFormat::Oklch, n), referenceOklch(rgb, n));
            EXPECT_EQ(formatColour(rgb, ColourFormat::CssHsl, n), referenceHsl(rgb, n));
        }
}

TEST(ColourFormats, KnownTexts)
{
    const struct { Rgb rgb; const char *format; int places; const char *text; } cases[] = {
        {{255, 128, 0}, "hex", 2, "#FF8000"},          {{255, 128, 0}, "rgb", 2, "255 128 0"},
        {{255, 128, 0}, "rgb%", 0, "1E2 50 0"},        {{255, 128, 0}, "cmyk", 2, "0 49.8 100 0"},
        {{255, 128, 0}, "cmy", 2, "0 49.8 100"},       {{255, 128, 0}, "hsv", 2, "30.12 100 100"},
        {{255, 128, 0}, "tcolor", 2, "33023"},         {{255, 128, 0}, "ciexyz", 2, "48.96 36.7 4.503"},
        {{255, 128, 0}, "xyz", 2, "0.543 0.407 0.04994"}, {{255, 128, 0}, "yxy", 2, "36.7 0.543 0.407"},
        {{255, 128, 0}, "css-rgb", 13, "rgb(255 128 0)"}, {{255, 128, 0}, "css-hsl", 2, "hsl(30.12 100% 50%)"},
        {{255, 128, 0}, "oklch", 2, "oklch(73.19% 0.1858 52.98)"},
        {{255, 255, 255}, "oklch", 13, "oklch(100% 0 0)"},       // no chroma of 1e-16 for white
        {{0, 0, 255}, "oklch", 2, "oklch(45.2% 0.31321 264.05)"},
        {{255, 0, 1}, "css-hsl", 0, "hsl(0 100% 50%)"},          // hue 359.76 rounds to a full turn
        {{0x30, 1, 0x15}, "oklch", 2, "oklch(20.21% 0.07918 0)"}, // hue 359.999
        {{128, 128, 129}, "oklch", 0, "oklch(60% 0.001 286)"},   // chroma 0.0015
        {{8, 214, 170}, "oklch", 2, "oklch(78.01% 0.15225 170.83)"}, // 0.1523 would decode to red 7.49
        {{128, 128, 129}, "css-hsl", 0, "hsl(0 0% 50%)"},        {{128, 128, 129}, "css-hsl", 2, "hsl(240 0.4% 50.39%)"},
    };
    for (const auto &c : cases) {
        const auto format = parseColourFormat(c.format);
        ASSERT_TRUE(format) << c.format;
        EXPECT_EQ(formatColour(c.rgb, *format, c.places), c.text) << c.format;
    }
    EXPECT_EQ(colourFormatNames().size(), 13u);
    for (const char *bad : {"", "HEX", "rgb %", "oklch ", "css"})
        EXPECT_FALSE(parseColourFormat(bad)) << bad;
    const struct { L value; int decimals; const char *text; } numbers[] = {
        {12.345L, 2, "12.35"}, {0.5L, 0, "1"}, {-0.001L, 2, "0"}, {99.995L, 2, "100"}, {0.049999L, 0, "0"},
        {0.000123L, 13, "0.000123"}, {1e-20L, 13, "0"}, {-2.5L, 0, "-3"}, {100, 0, "100"}, {0.96L, 1, "1"}};
    for (const auto &c : numbers)
        EXPECT_EQ(decimalText(c.value, c.decimals), c.text) << double(c.value) << " at " << c.decimals;
}
