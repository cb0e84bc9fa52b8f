#pragma once
// The 24 texts that the main window's model fields show for one colour.

#include "core/colour.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tonfang {

// The fields in the order in which the synchroniser writes them.
enum class Field {
    Hex, TColor,
    Red, Green, Blue,
    PercentRed, PercentGreen, PercentBlue,
    HsvH, HsvS, HsvV,
    Cyan, Magenta, Yellow,
    CmykC, CmykM, CmykY, CmykK,
    X, Y, Z,
    ChromaX, ChromaY, ChromaZ,
};
inline constexpr int fieldCount = 24;

// The groups of fields, named by the tags "HEX", "TCOL", "RGB", "PROZENT",
// "HSV", "CMY", "CMYK", "XYZ" and "xyz" (compared case-sensitively).
enum class Model { Hex, TColor, Rgb, Percent, Hsv, Cmy, Cmyk, Xyz, Chromaticity };

std::optional<Model> modelFromTag(std::string_view tag);
Model modelOf(Field field);

using DisplayTexts = std::array<std::string, fieldCount>;

// All 24 texts for one colour with n decimal places (0..13).
DisplayTexts displayTexts(Rgb rgb, int places, std::string_view decimalSeparator);

} // namespace tonfang
