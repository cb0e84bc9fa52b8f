#pragma once
// One colour as one line of text in the forms that other tools read: the hex
// text, the main window's model rows as their copy buttons give them with
// units off, and the CSS Color 4 functions rgb(), hsl() and oklch().

#include "core/colour.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonfang {

enum class ColourFormat { Hex, Rgb, RgbPercent, Cmyk, Cmy, Hsv, TColor, CieXyz, Xyz, Yxy, CssRgb, CssHsl, Oklch };
// "hex", "rgb", "rgb%", "cmyk", "cmy", "hsv", "tcolor", "ciexyz", "xyz", "yxy", "css-rgb", "css-hsl", "oklch"
std::optional<ColourFormat> parseColourFormat(std::string_view name);
std::vector<std::string_view> colourFormatNames();   // in that order, for usage texts and completion
// One line without a line end. Decimal separator always ".", places 0..13.
std::string formatColour(Rgb rgb, ColourFormat format, int places);

} // namespace tonfang
