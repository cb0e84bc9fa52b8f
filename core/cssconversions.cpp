#include "core/cssconversions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tonfang {

Hsl RGBToHSL(Rgb rgb)
{
    // Differences of bytes are exact, so only the final quotients round.
    const int r = rgb.red, g = rgb.green, b = rgb.blue;
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    const int delta = max - min;
    Hsl hsl;
    hsl.l = (max + min) / 510.0L;
    if (delta == 0)
        return hsl;
    const int sum = max + min;
    hsl.s = static_cast<long double>(delta) / (sum <= 255 ? sum : 510 - sum);
    // Sixths of the circle: red's sector straddles 0, so wrap its negative side.
    long double sixths = 0;
    if (max == r)
        sixths = static_cast<long double>(g - b) / delta + (g < b ? 6 : 0);
    else if (max == g)
        sixths = static_cast<long double>(b - r) / delta + 2;
    else
        sixths = static_cast<long double>(r - g) / delta + 4;
    hsl.h = sixths * 60;
    return hsl;
}

namespace {

// Not a lambda: one would be constexpr, and the compiler could then fill the
// table with its own powers, which differ from the library's in the last bit.
std::array<long double, 256> linearTable()
{
    std::array<long double, 256> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const long double v = static_cast<long double>(i) / 255.0L;
        values[i] = v <= 0.04045L ? v / 12.92L : std::pow((v + 0.055L) / 1.055L, 2.4L);
    }
    return values;
}

} // namespace

long double srgbToLinear(std::uint8_t channel)
{
    // Only 256 inputs: a table spares three long double powers per colour.
    static const std::array<long double, 256> table = linearTable();
    return table[channel];
}

Oklab RGBToOklab(Rgb rgb)
{
    using L = long double;
    const L r = srgbToLinear(rgb.red), g = srgbToLinear(rgb.green), b = srgbToLinear(rgb.blue);

    // Linear sRGB to XYZ D65, as exact fractions.
    const L x = 506752.0L / 1228815 * r + 87881.0L / 245763 * g + 12673.0L / 70218 * b;
    const L y = 87098.0L / 409605 * r + 175762.0L / 245763 * g + 12673.0L / 175545 * b;
    const L z = 7918.0L / 409605 * r + 87881.0L / 737289 * g + 1001167.0L / 1053270 * b;

    const L l = 0.8190224379967030L * x + 0.3619062600528904L * y - 0.1288737815209879L * z;
    const L m = 0.0329836539323885L * x + 0.9292868615863434L * y + 0.0361446663506424L * z;
    const L s = 0.0481771893596242L * x + 0.2642395317527308L * y + 0.6335478284694309L * z;
    const L l3 = std::cbrt(l), m3 = std::cbrt(m), s3 = std::cbrt(s);

    Oklab lab;
    lab.L = 0.2104542683093140L * l3 + 0.7936177747023054L * m3 - 0.0040720430116193L * s3;
    lab.a = 1.9779985324311684L * l3 - 2.4285922420485799L * m3 + 0.4505937096174110L * s3;
    lab.b = 0.0259040424655478L * l3 + 0.7827717124575296L * m3 - 0.8086757549230774L * s3;
    // A grey is achromatic by construction; the matrices' last digits would
    // leave a chroma of about 1e-16 that shows at 15 decimals.
    if (rgb.red == rgb.green && rgb.green == rgb.blue)
        lab.a = lab.b = 0;
    return lab;
}

Oklch RGBToOklch(Rgb rgb)
{
    const Oklab lab = RGBToOklab(rgb);
    Oklch lch;
    lch.L = lab.L;
    lch.C = std::hypot(lab.a, lab.b);
    if (lch.C != 0) {
        lch.h = std::atan2(lab.b, lab.a) * 180 / std::numbers::pi_v<long double>;
        if (lch.h < 0)
            lch.h += 360;
    }
    return lch;
}

} // namespace tonfang
