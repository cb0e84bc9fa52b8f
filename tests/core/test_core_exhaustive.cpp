// Every colour through every round trip. A failure here means the arithmetic
// has drifted: each model must give back exactly the triple it came from.

#include "core/colour.h"
#include "core/conversions.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
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
