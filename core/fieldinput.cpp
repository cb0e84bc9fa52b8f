#include "core/fieldinput.h"

#include "core/conversions.h"
#include "core/numbertext.h"

#include <array>
#include <cmath>

namespace tonfang {

namespace {

using Extended = long double;

// Reads every text with the float rule, in order; nothing if one fails.
template <std::size_t N>
std::optional<std::array<Extended, N>> readFloats(const std::array<std::string_view, N> &texts,
                                                  std::string_view sep)
{
    std::array<Extended, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = parseFloat(texts[i], sep);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return values;
}

bool within(double value, double lowest, double highest)
{
    return !(value < lowest) && !(value > highest);
}

// A value divided by its display scale and stored, as the models hold it.
double unscaled(Extended value, Extended scale)
{
    return static_cast<double>(value / scale);
}

} // namespace

std::optional<Rgb> rgbFromHexInput(std::string_view text)
{
    std::string digits;
    for (const char c : text)
        if (c != '#')
            digits.push_back(c);
    if (digits.size() != 6)
        return std::nullopt;

    std::array<std::uint8_t, 3> components{};
    for (std::size_t i = 0; i < 3; ++i) {
        // "$" + pair under the integer rule: two hex digits of either case.
        const auto value = parseInt("$" + digits.substr(2 * i, 2));
        if (!value)
            return std::nullopt;
        components[i] = static_cast<std::uint8_t>(*value);
    }
    return Rgb{components[0], components[1], components[2]};
}

std::optional<Rgb> rgbFromTColorInput(std::string_view text)
{
    const auto colour = parseInt(text);
    if (!colour)
        return std::nullopt;
    return TColorToRGB(*colour);
}

std::optional<Rgb> rgbFromRgbInput(std::string_view red, std::string_view green,
                                   std::string_view blue)
{
    std::array<std::uint8_t, 3> components{};
    const std::array<std::string_view, 3> texts{red, green, blue};
    std::array<std::int32_t, 3> values{};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto value = parseInt(texts[i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (values[i] < 0 || values[i] > 255)
            return std::nullopt;
        components[i] = static_cast<std::uint8_t>(values[i]);
    }
    return Rgb{components[0], components[1], components[2]};
}

std::optional<Rgb> rgbFromPercentInput(std::string_view red, std::string_view green,
                                       std::string_view blue, std::string_view sep)
{
    const auto values = readFloats<3>({red, green, blue}, sep);
    if (!values)
        return std::nullopt;
    std::array<std::uint8_t, 3> components{};
    for (std::size_t i = 0; i < 3; ++i) {
        // Ties go to the even neighbour: 50 % is 127.5 and gives 128.
        const Extended component = std::nearbyint((*values)[i] / 100 * 255);
        if (!within(static_cast<double>(component), 0, 255))
            return std::nullopt;
        components[i] = static_cast<std::uint8_t>(component);
    }
    return Rgb{components[0], components[1], components[2]};
}

std::optional<Rgb> rgbFromHsvInput(std::string_view h, std::string_view s, std::string_view v,
                                   std::string_view sep)
{
    const auto values = readFloats<3>({h, s, v}, sep);
    if (!values)
        return std::nullopt;
    const Hsv hsv{unscaled((*values)[0], 360), unscaled((*values)[1], 100),
                  unscaled((*values)[2], 100)};
    if (!within(hsv.h, 0, 1) || !within(hsv.s, 0, 1) || !within(hsv.v, 0, 1))
        return std::nullopt;
    return HSVtoRGB(hsv);
}

std::optional<Rgb> rgbFromCmyInput(std::string_view c, std::string_view m, std::string_view y,
                                   std::string_view sep)
{
    const auto values = readFloats<3>({c, m, y}, sep);
    if (!values)
        return std::nullopt;
    const Cmy cmy{unscaled((*values)[0], 100), unscaled((*values)[1], 100),
                  unscaled((*values)[2], 100)};
    if (!within(cmy.c, 0, 1) || !within(cmy.m, 0, 1) || !within(cmy.y, 0, 1))
        return std::nullopt;
    return CMYtoRGB(cmy);
}

std::optional<Rgb> rgbFromCmykInput(std::string_view c, std::string_view m, std::string_view y,
                                    std::string_view k, std::string_view sep)
{
    const auto values = readFloats<4>({c, m, y, k}, sep);
    if (!values)
        return std::nullopt;
    const Cmyk cmyk{unscaled((*values)[0], 100), unscaled((*values)[1], 100),
                    unscaled((*values)[2], 100), unscaled((*values)[3], 100)};
    if (!within(cmyk.c, 0, 1) || !within(cmyk.m, 0, 1) || !within(cmyk.y, 0, 1) ||
        !within(cmyk.k, 0, 1))
        return std::nullopt;
    return CMYtoRGB(CMYKtoCMY(cmyk));
}

std::optional<Rgb> rgbFromXyzInput(std::string_view X, std::string_view Y, std::string_view Z,
                                   std::string_view sep)
{
    const auto values = readFloats<3>({X, Y, Z}, sep);
    if (!values)
        return std::nullopt;
    // Compared as stored doubles, so that 95.047 typed is exactly the bound.
    const Xyz xyz{static_cast<double>((*values)[0]), static_cast<double>((*values)[1]),
                  static_cast<double>((*values)[2])};
    if (!within(xyz.X, 0, 95.047) || !within(xyz.Y, 0, 100) || !within(xyz.Z, 0, 108.883))
        return std::nullopt;
    return XYZtoRGB(xyz);
}

std::optional<ChromaticityInput> rgbFromChromaticityInput(std::string_view x, std::string_view y,
                                                          std::string_view Y,
                                                          std::string_view sep)
{
    const auto values = readFloats<3>({x, y, Y}, sep);
    if (!values)
        return std::nullopt;
    const double cx = static_cast<double>((*values)[0]);
    const double cy = static_cast<double>((*values)[1]);
    const double luminance = static_cast<double>((*values)[2]);
    if (!within(cx, 0, 1) || !within(cy, 0, 1) || !within(luminance, 0, 100))
        return std::nullopt;
    if (cy == 0)
        return ChromaticityInput{Rgb{0, 0, 0}, 0};

    const Extended cz = 1 - static_cast<Extended>(cx) - cy;
    const Xyz xyz{static_cast<double>(cx * static_cast<Extended>(luminance) / cy),
                  luminance,
                  static_cast<double>(cz * luminance / cy)};
    return ChromaticityInput{XYZtoRGB(xyz), cz};
}

} // namespace tonfang
