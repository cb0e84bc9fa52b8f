#pragma once
// One colour as the program holds it: an RGB triple, or the packed colour number
// (red + 256 * green + 65536 * blue) that the TColor field shows.

#include <cstdint>
#include <string>
#include <string_view>

namespace tonfang {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// A colour number. Bits 24 to 31 are carried but never looked at.
using ColourNumber = std::int32_t;

ColourNumber RGBToTColor(Rgb rgb);
Rgb TColorToRGB(std::int64_t colour);       // only the low three bytes count
std::string TColorToHex(ColourNumber colour); // "FF8000" for red 255, green 128
// Reads characters 1-6 as three hex pairs; throws ConversionError for a bad pair.
ColourNumber HexToTColor(std::string_view text);

// Pads a component text to three characters: "7" -> "007", "42" -> "042".
std::string LaengeDrei(std::string_view text);
// "(255 128 000)": the label of a colour list entry.
std::string listEntryLabel(std::string_view red, std::string_view green, std::string_view blue);
std::string listEntryLabel(Rgb rgb);

} // namespace tonfang
