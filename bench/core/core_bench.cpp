// Time per colour of each conversion, of the display number format and of the
// 24 display texts that the synchroniser writes at every pointer move while
// picking. The colour changes from iteration to iteration, as it does then.

#include "core/colour.h"
#include "core/conversions.h"
#include "core/displaytexts.h"
#include "core/numbertext.h"

#include <benchmark/benchmark.h>

#include <cstdint>

using namespace tonfang;

namespace {

// Walks through the colour cube in big odd steps so that neighbouring
// iterations share no channel value.
struct ColourWalk {
    std::uint32_t colour = 0;
    Rgb next()
    {
        colour = (colour + 0x9E3779u) & 0xFFFFFF;
        return TColorToRGB(colour);
    }
};

void RgbToHsv(benchmark::State &state)
{
    ColourWalk walk;
    for (auto _ : state)
        benchmark::DoNotOptimize(RGBToHSV(walk.next()));
}
BENCHMARK(RgbToHsv);

void HsvToRgb(benchmark::State &state)
{
    ColourWalk walk;
    for (auto _ : state) {
        const Rgb rgb = walk.next();
        const Hsv hsv{rgb.red / 255.0, rgb.green / 255.0, rgb.blue / 255.0};
        benchmark::DoNotOptimize(HSVtoRGB(hsv));
    }
}
BENCHMARK(HsvToRgb);

void RgbToCmyToCmyk(benchmark::State &state)
{
    ColourWalk walk;
    for (auto _ : state)
        benchmark::DoNotOptimize(CMYtoCMYK(RGBtoCMY(walk.next())));
}
BENCHMARK(RgbToCmyToCmyk);

void CmykToCmyToRgb(benchmark::State &state)
{
    ColourWalk walk;
    for (auto _ : state) {
        const Rgb rgb = walk.next();
        const Cmyk cmyk{rgb.red / 255.0, rgb.green / 255.0, rgb.blue / 255.0, 0.25};
        benchmark::DoNotOptimize(CMYtoRGB(CMYKtoCMY(cmyk)));
    }
}
BENCHMARK(CmykToCmyToRgb);

void RgbToXyz(benchmark::State &state)
{
    ColourWalk walk;
    for (auto _ : state)
        benchmark::DoNotOptimize(RGBtoXYZ(walk.next()));
}
BENCHMARK(RgbToXyz);

void XyzToRgb(benchmark::State &state)
{
    ColourWalk walk;
    for (auto _ : state) {
        const Rgb rgb = walk.next();
        const Xyz xyz{rgb.red / 2.7, rgb.green / 2.55, rgb.blue / 2.4};
        benchmark::DoNotOptimize(XYZtoRGB(xyz));
    }
}
BENCHMARK(XyzToRgb);

void HexRoundTrip(benchmark::State &state)
{
    ColourWalk walk;
    for (auto _ : state)
        benchmark::DoNotOptimize(HexToTColor(TColorToHex(RGBToTColor(walk.next()))));
}
BENCHMARK(HexRoundTrip);

void DisplayNumberFormat(benchmark::State &state)
{
    ColourWalk walk;
    for (auto _ : state) {
        const Rgb rgb = walk.next();
        benchmark::DoNotOptimize(formatDisplayNumber(rgb.green / 255.0L * 100, 2, "."));
    }
}
BENCHMARK(DisplayNumberFormat);

void ParseFloat(benchmark::State &state)
{
    static const char *const texts[] = {"50.2", "0.04994", "108.9", "1E2", "30.1176470588235"};
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(parseFloat(texts[i++ % 5], "."));
}
BENCHMARK(ParseFloat);

// Everything the synchroniser computes for one colour.
void AllDisplayTexts(benchmark::State &state)
{
    ColourWalk walk;
    const int places = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(displayTexts(walk.next(), places, "."));
}
BENCHMARK(AllDisplayTexts)->Arg(2)->Arg(13);

} // namespace
