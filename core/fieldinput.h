#pragma once
// Turning the texts of one model's fields into a colour. Each function answers
// nothing when a text is not a number or a value is out of range: the user may
// type freely, and the colour follows once the fields form a valid colour.

#include "core/colour.h"

#include <optional>
#include <string_view>

namespace tonfang {

std::optional<Rgb> rgbFromHexInput(std::string_view text); // "#" anywhere is dropped
std::optional<Rgb> rgbFromTColorInput(std::string_view text);
std::optional<Rgb> rgbFromRgbInput(std::string_view red, std::string_view green,
                                   std::string_view blue);
std::optional<Rgb> rgbFromPercentInput(std::string_view red, std::string_view green,
                                       std::string_view blue, std::string_view sep);
std::optional<Rgb> rgbFromHsvInput(std::string_view h, std::string_view s,
                                   std::string_view v, std::string_view sep);
std::optional<Rgb> rgbFromCmyInput(std::string_view c, std::string_view m,
                                   std::string_view y, std::string_view sep);
std::optional<Rgb> rgbFromCmykInput(std::string_view c, std::string_view m,
                                    std::string_view y, std::string_view k,
                                    std::string_view sep);
std::optional<Rgb> rgbFromXyzInput(std::string_view X, std::string_view Y,
                                   std::string_view Z, std::string_view sep);

// The chromaticity row takes x and y from its fields and Y from the XYZ row.
// z is the value its third field then shows (0 when y is 0, which gives black).
struct ChromaticityInput {
    Rgb rgb;
    long double z = 0;
};
std::optional<ChromaticityInput> rgbFromChromaticityInput(std::string_view x,
                                                          std::string_view y,
                                                          std::string_view Y,
                                                          std::string_view sep);

} // namespace tonfang
