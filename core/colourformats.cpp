#include "core/colourformats.h"

#include "core/cssconversions.h"
#include "core/displaytexts.h"
#include "core/numbertext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace tonfang {

namespace {

constexpr std::array<std::pair<std::string_view, ColourFormat>, 13> formatNames{{
    {"hex", ColourFormat::Hex},       {"rgb", ColourFormat::Rgb},
    {"rgb%", ColourFormat::RgbPercent}, {"cmyk", ColourFormat::Cmyk},
    {"cmy", ColourFormat::Cmy},       {"hsv", ColourFormat::Hsv},
    {"tcolor", ColourFormat::TColor}, {"ciexyz", ColourFormat::CieXyz},
    {"xyz", ColourFormat::Xyz},       {"yxy", ColourFormat::Yxy},
    {"css-rgb", ColourFormat::CssRgb}, {"css-hsl", ColourFormat::CssHsl},
    {"oklch", ColourFormat::Oklch},
}};

std::string joinedFields(const DisplayTexts &texts, std::initializer_list<Field> fields)
{
    std::string line;
    for (const Field field : fields) {
        if (!line.empty())
            line += ' ';
        line += texts[static_cast<std::size_t>(field)];
    }
    return line;
}

std::string modelRow(Rgb rgb, ColourFormat format, int places)
{
    const DisplayTexts t = displayTexts(rgb, places, ".");
    using F = Field;
    switch (format) {
    case ColourFormat::Rgb: return joinedFields(t, {F::Red, F::Green, F::Blue});
    case ColourFormat::RgbPercent: return joinedFields(t, {F::PercentRed, F::PercentGreen, F::PercentBlue});
    case ColourFormat::Cmyk: return joinedFields(t, {F::CmykC, F::CmykM, F::CmykY, F::CmykK});
    case ColourFormat::Cmy: return joinedFields(t, {F::Cyan, F::Magenta, F::Yellow});
    case ColourFormat::Hsv: return joinedFields(t, {F::HsvH, F::HsvS, F::HsvV});
    case ColourFormat::TColor: return joinedFields(t, {F::TColor});
    case ColourFormat::CieXyz: return joinedFields(t, {F::X, F::Y, F::Z});
    case ColourFormat::Xyz: return joinedFields(t, {F::ChromaX, F::ChromaY, F::ChromaZ});
    case ColourFormat::Yxy: return joinedFields(t, {F::Y, F::ChromaX, F::ChromaY});
    default: return joinedFields(t, {F::Hex});
    }
}

// An angle written at `decimals`; one that rounds up to a full turn is 0.
std::string hueText(long double degrees, int decimals)
{
    std::string text = decimalText(degrees, decimals);
    return text == "360" ? "0" : text;
}

std::string cssHsl(Rgb rgb, int places)
{
    const Hsl hsl = RGBToHSL(rgb);
    const std::string s = decimalText(hsl.s * 100, places);
    const std::string l = decimalText(hsl.l * 100, places);
    // As in CSS, the hue means nothing once saturation is 0 or lightness is
    // at either end; write 0 then so that equal colours give equal texts.
    const bool powerless = s == "0" || l == "0" || l == "100";
    const std::string h = powerless ? "0" : hueText(hsl.h, places);
    return "hsl(" + h + ' ' + s + "% " + l + "%)";
}

std::string cssOklch(Rgb rgb, int places)
{
    const Oklch lch = RGBToOklch(rgb);
    // Chroma carries three more places than lightness (at most 15): with two,
    // some texts decode to a neighbour of the colour they were written from.
    const std::string c = decimalText(lch.C, places + 3);
    const std::string h = c == "0" ? "0" : hueText(lch.h, places);
    return "oklch(" + decimalText(lch.L * 100, places) + "% " + c + ' ' + h + ')';
}

} // namespace

std::optional<ColourFormat> parseColourFormat(std::string_view name)
{
    for (const auto &[text, format] : formatNames)
        if (text == name)
            return format;
    return std::nullopt;
}

std::vector<std::string_view> colourFormatNames()
{
    std::vector<std::string_view> names;
    for (const auto &entry : formatNames)
        names.push_back(entry.first);
    return names;
}

std::string formatColour(Rgb rgb, ColourFormat format, int places)
{
    places = std::clamp(places, 0, 13);
    switch (format) {
    case ColourFormat::Hex: return '#' + TColorToHex(RGBToTColor(rgb));
    case ColourFormat::CssRgb:
        return "rgb(" + std::to_string(rgb.red) + ' ' + std::to_string(rgb.green) + ' ' +
               std::to_string(rgb.blue) + ')';
    case ColourFormat::CssHsl: return cssHsl(rgb, places);
    case ColourFormat::Oklch: return cssOklch(rgb, places);
    default: return modelRow(rgb, format, places);
    }
}

} // namespace tonfang
