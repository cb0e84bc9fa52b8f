// Every colour through every round trip. A failure here means the arithmetic
// has drifted: each model must give back exactly the triple it came from.

#include "core/colour.h"
#include "core/colourformats.h"
#include "core/conversions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <thread>
#include <vector>

using namespace tonfang;

namespace {

enum RoundTrip { ViaHsv, ViaCmy, ViaCmyk, ViaXyz, ViaHex, roundTripCount };
constexpr const char *roundTripNames[] = {"HSV", "CMY", "CMY -> CMYK -> CMY", "XYZ", "hex text"};

struct Tally {
    std::array<std::uint64_t, roundTripCount> failures{};
    std::array<std::optional<ColourNumber>, roundTripCount> firstFailure{};

    void fail(RoundTrip trip, ColourNumber colour)
    {
        if (failures[trip]++ == 0)
            firstFailure[trip] = colour;
    }
};

// Colours first..last-1 (as colour numbers).
Tally checkRange(ColourNumber first, ColourNumber last)
{
    Tally tally;
    for (ColourNumber colour = first; colour < last; ++colour) {
        const Rgb rgb = TColorToRGB(colour);
        if (HSVtoRGB(RGBToHSV(rgb)) != rgb)
            tally.fail(ViaHsv, colour);
        const Cmy cmy = RGBtoCMY(rgb);
        if (CMYtoRGB(cmy) != rgb)
            tally.fail(ViaCmy, colour);
        if (CMYtoRGB(CMYKtoCMY(CMYtoCMYK(cmy))) != rgb)
            tally.fail(ViaCmyk, colour);
        if (XYZtoRGB(RGBtoXYZ(rgb)) != rgb)
            tally.fail(ViaXyz, colour);
        if (HexToTColor(TColorToHex(colour)) != colour)
            tally.fail(ViaHex, colour);
    }
    return tally;
}

TEST(EveryColour, SurvivesEveryRoundTrip)
{
    constexpr ColourNumber colours = 1 << 24;
    constexpr unsigned threads = 2; // the test machine has two cores
    std::vector<Tally> tallies(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        const ColourNumber first = static_cast<ColourNumber>(colours / threads * t);
        const ColourNumber last =
            t + 1 == threads ? colours : static_cast<ColourNumber>(colours / threads * (t + 1));
        workers.emplace_back([&tallies, t, first, last] { tallies[t] = checkRange(first, last); });
    }
    for (auto &worker : workers)
        worker.join();

    for (int trip = 0; trip < roundTripCount; ++trip) {
        std::uint64_t failures = 0;
        std::optional<ColourNumber> example;
        for (const Tally &tally : tallies) {
            failures += tally.failures[trip];
            if (!example)
                example = tally.firstFailure[trip];
        }
        EXPECT_EQ(failures, 0u) << "round trip via " << roundTripNames[trip] << " fails for "
                                << failures << " colours, the first being #"
                                << TColorToHex(example.value_or(0));
    }
}

} // namespace

namespace {

// An oklch() text decoded as CSS Color 4's sample code does, in double:
// OKLCH to OKLab to LMS to XYZ D65 to linear sRGB, sRGB's transfer function,
// then x255 rounded to the nearest and clamped.
std::optional<Rgb> decodeOklch(const std::string &text)
{
    double lightness = 0, chroma = 0, hue = 0;
    const char *at = text.data(), *end = text.data() + text.size();
    for (auto [value, before] : {std::pair{&lightness, "oklch("}, {&chroma, "% "}, {&hue, " "}}) {
        const std::string_view expected(before);
        if (std::string_view(at, end).substr(0, expected.size()) != expected)
            return std::nullopt;
        const auto read = std::from_chars(at + expected.size(), end, *value);
        if (read.ec != std::errc{})
            return std::nullopt;
        at = read.ptr;
    }
    if (std::string_view(at, end) != ")")
        return std::nullopt;
    const double pi = 3.14159265358979323846, L = lightness / 100;
    const double a = chroma * std::cos(hue * pi / 180), b = chroma * std::sin(hue * pi / 180);
    const double lms[3] = {std::pow(L + 0.3963377773761749 * a + 0.2158037573099136 * b, 3),
                           std::pow(L - 0.1055613458156586 * a - 0.0638541728258133 * b, 3),
                           std::pow(L - 0.0894841775298119 * a - 1.2914855480194092 * b, 3)};
    constexpr double toXyz[3][3] = {{1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
                                    {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
                                    {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816}};
    constexpr double toLinear[3][3] = {{12831 / 3959.0, -329 / 214.0, -1974 / 3959.0},
                                       {-851781 / 878810.0, 1648619 / 878810.0, 36519 / 878810.0},
                                       {705 / 12673.0, -2585 / 12673.0, 705 / 667.0}};
    double xyz[3] = {}, bytes[3] = {};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            xyz[i] += toXyz[i][k] * lms[k];
    for (int i = 0; i < 3; ++i) {
        double v = 0;
        for (int k = 0; k < 3; ++k)
            v += toLinear[i][k] * xyz[k];
        const double magnitude = std::fabs(v);
        v = magnitude > 0.0031308 ? std::copysign(1.055 * std::pow(magnitude, 1 / 2.4) - 0.055, v) : 12.92 * v;
        bytes[i] = std::clamp(std::round(v * 255), 0.0, 255.0);
    }
    return Rgb{static_cast<std::uint8_t>(bytes[0]), static_cast<std::uint8_t>(bytes[1]),
               static_cast<std::uint8_t>(bytes[2])};
}

} // namespace

// Each colour's oklch() text names that colour, not a neighbour, from two places
// on. Two is the hardest case: more places only add digits to each number.
TEST(EveryColour, OklchTextDecodesBackToItsColour)
{
    for (const int places : {2}) {
        std::atomic<std::uint64_t> failures{0};
        std::atomic<ColourNumber> example{0};
        const unsigned threads = std::max(2u, std::thread::hardware_concurrency());
        std::vector<std::thread> workers;
        for (unsigned t = 0; t < threads; ++t)
            workers.emplace_back([&, t] {
                for (ColourNumber colour = ColourNumber(t); colour < (1 << 24); colour += ColourNumber(threads)) {
                    const Rgb rgb = TColorToRGB(colour);
                    if (decodeOklch(formatColour(rgb, ColourFormat::Oklch, places)) != rgb &&
                        failures++ == 0)
                        example = colour;
                }
            });
        for (auto &worker : workers)
            worker.join();
        EXPECT_EQ(failures, 0u) << "at " << places << " places, for example "
                                << formatColour(TColorToRGB(example), ColourFormat::Oklch, places);
    }
}
