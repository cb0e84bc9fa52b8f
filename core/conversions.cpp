#include "core/conversions.h"

#include <array>
#include <cmath>

namespace tonfang {

// Arithmetic runs in long double (the 64-bit mantissa of the x87 format);
// assigning to a double is the "stored" rounding the displays are built on.
using Extended = long double;

std::uint8_t roundToByte(Extended value)
{
    if (!(value > 0)) // negative, zero and NaN
        return 0;
    if (value >= 255)
        return 255;
    return static_cast<std::uint8_t>(std::rint(value)); // ties to even in the default mode
}

Hsv RGBToHSV(Rgb rgb)
{
    const double r = rgb.red / 255.0L;
    const double g = rgb.green / 255.0L;
    const double b = rgb.blue / 255.0L;

    double minimum = r < g ? r : g;
    if (b < minimum)
        minimum = b;
    double maximum = r > g ? r : g;
    if (b > maximum)
        maximum = b;

    Hsv hsv;
    const double delta = static_cast<Extended>(maximum) - minimum;
    hsv.v = maximum;
    if (delta == 0)
        return hsv;

    hsv.s = static_cast<Extended>(delta) / maximum;
    const auto share = [&](double channel) -> double {
        return ((static_cast<Extended>(maximum) - channel) / 6 + static_cast<Extended>(delta) / 2) / delta;
    };
    const double dr = share(r);
    const double dg = share(g);
    const double db = share(b);

    // When two channels share the maximum, red wins over green over blue.
    if (r == maximum)
        hsv.h = static_cast<Extended>(db) - dg;
    else if (g == maximum)
        hsv.h = 1.0L / 3 + dr - db;
    else
        hsv.h = 2.0L / 3 + dg - dr;

    if (hsv.h < 0)
        hsv.h = static_cast<Extended>(hsv.h) + 1;
    if (hsv.h > 1)
        hsv.h = static_cast<Extended>(hsv.h) - 1;
    return hsv;
}

Rgb HSVtoRGB(Hsv hsv)
{
    const Extended v = hsv.v;
    const Extended s = hsv.s;
    if (hsv.s == 0) {
        const std::uint8_t grey = roundToByte(v * 255);
        return {grey, grey, grey};
    }

    Extended t = hsv.h * 6.0L;
    if (t == 6)
        t = 0; // a hue of 1 is the same as 0
    const Extended i = std::floor(t);
    const Extended f = t - i;
    const Extended p = (1 - s) * v;
    const Extended q = (1 - s * f) * v;
    const Extended u = (1 - s * (1 - f)) * v;

    Extended red, green, blue;
    if (i == 0) {
        red = v; green = u; blue = p;
    } else if (i == 1) {
        red = q; green = v; blue = p;
    } else if (i == 2) {
        red = p; green = v; blue = u;
    } else if (i == 3) {
        red = p; green = q; blue = v;
    } else if (i == 4) {
        red = u; green = p; blue = v;
    } else {
        red = v; green = p; blue = q;
    }
    return {roundToByte(red * 255), roundToByte(green * 255), roundToByte(blue * 255)};
}

Cmy RGBtoCMY(Rgb rgb)
{
    return {static_cast<double>(1 - rgb.red / 255.0L), static_cast<double>(1 - rgb.green / 255.0L),
            static_cast<double>(1 - rgb.blue / 255.0L)};
}

Cmyk CMYtoCMYK(Cmy cmy)
{
    double k = 1;
    if (cmy.c < k)
        k = cmy.c;
    if (cmy.m < k)
        k = cmy.m;
    if (cmy.y < k)
        k = cmy.y;
    if (k == 1)
        return {0, 0, 0, 1};
    const Extended rest = 1 - static_cast<Extended>(k);
    return {static_cast<double>((cmy.c - static_cast<Extended>(k)) / rest),
            static_cast<double>((cmy.m - static_cast<Extended>(k)) / rest),
            static_cast<double>((cmy.y - static_cast<Extended>(k)) / rest), k};
}

Cmy CMYKtoCMY(Cmyk cmyk)
{
    const Extended k = cmyk.k;
    return {static_cast<double>((1 - k) * cmyk.c + k), static_cast<double>((1 - k) * cmyk.m + k),
            static_cast<double>((1 - k) * cmyk.y + k)};
}

Rgb CMYtoRGB(Cmy cmy)
{
    return {roundToByte((1 - static_cast<Extended>(cmy.c)) * 255),
            roundToByte((1 - static_cast<Extended>(cmy.m)) * 255),
            roundToByte((1 - static_cast<Extended>(cmy.y)) * 255)};
}

namespace {

// sRGB channel byte to linear light on the 0..100 scale, each step stored.
double linearise(std::uint8_t channel)
{
    const double v = channel / 255.0L;
    const double linear = v <= 0.04045L ? v / 12.92L : std::pow((v + 0.055L) / 1.055L, 2.4L);
    const double scaled = linear * 100.0L;
    return scaled;
}

// The synchroniser converts at every pointer move; 256 channel values are
// all there is, so the powers are taken once.
double linearChannel(std::uint8_t channel)
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int i = 0; i < 256; ++i)
            values[static_cast<std::size_t>(i)] = linearise(static_cast<std::uint8_t>(i));
        return values;
    }();
    return table[channel];
}

// Linear light (0..1, possibly outside) back to a gamma-encoded byte. Values at
// or below the threshold take the linear branch, so pow never sees a negative base.
std::uint8_t gammaByte(Extended value)
{
    const Extended encoded = value <= 0.0031308L
                                 ? 12.92L * value
                                 : 1.055L * std::pow(value, 1.0L / 2.4L) - 0.055L;
    return roundToByte(encoded * 255);
}

} // namespace

Xyz RGBtoXYZ(Rgb rgb)
{
    const double R = linearChannel(rgb.red);
    const double G = linearChannel(rgb.green);
    const double B = linearChannel(rgb.blue);
    return {static_cast<double>(0.4124L * R + 0.3576L * G + 0.1805L * B),
            static_cast<double>(0.2126L * R + 0.7152L * G + 0.0722L * B),
            static_cast<double>(0.0193L * R + 0.1192L * G + 0.9505L * B)};
}

Rgb XYZtoRGB(Xyz xyz)
{
    const double x = xyz.X / 100.0L;
    const double y = xyz.Y / 100.0L;
    const double z = xyz.Z / 100.0L;
    const Extended r = 3.2406L * x - 1.5372L * y - 0.4986L * z;
    const Extended g = -0.9689L * x + 1.8758L * y + 0.0415L * z;
    const Extended b = 0.0557L * x - 0.2040L * y + 1.0570L * z;
    // Out of gamut the components are clamped: taking the low byte instead
    // would turn a too-bright red into a dark one.
    return {gammaByte(r), gammaByte(g), gammaByte(b)};
}

Chromaticity chromaticity(Xyz xyz)
{
    const double sum = static_cast<Extended>(xyz.X) + xyz.Y + xyz.Z;
    if (sum == 0)
        return {};
    return {static_cast<double>(xyz.X / static_cast<Extended>(sum)),
            static_cast<double>(xyz.Y / static_cast<Extended>(sum)),
            static_cast<double>(xyz.Z / static_cast<Extended>(sum))};
}

} // namespace tonfang
