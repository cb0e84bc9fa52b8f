#pragma once
// Arithmetic between RGB and the other colour models, in extended precision.
// Values marked "stored" in the algorithms are rounded to double.

#include "core/colour.h"

namespace tonfang {

struct Hsv { double h = 0, s = 0, v = 0; };          // each 0..1
struct Cmy { double c = 0, m = 0, y = 0; };          // each 0..1
struct Cmyk { double c = 0, m = 0, y = 0, k = 0; };  // each 0..1
struct Xyz { double X = 0, Y = 0, Z = 0; };          // white has Y = 100
struct Chromaticity { double x = 0, y = 0, z = 0; }; // all 0 when X + Y + Z = 0

// Nearest integer, ties to even, clamped to 0..255.
std::uint8_t roundToByte(long double value);

Hsv RGBToHSV(Rgb rgb);
Rgb HSVtoRGB(Hsv hsv);
Cmy RGBtoCMY(Rgb rgb);
Cmyk CMYtoCMYK(Cmy cmy);
Cmy CMYKtoCMY(Cmyk cmyk);
Rgb CMYtoRGB(Cmy cmy);
Xyz RGBtoXYZ(Rgb rgb);
Rgb XYZtoRGB(Xyz xyz);          // out-of-gamut components are clamped to 0..255
Chromaticity chromaticity(Xyz xyz);

} // namespace tonfang
