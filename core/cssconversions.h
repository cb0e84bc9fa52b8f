#pragma once
// The colour spaces that CSS Color 4 writes: HSL and OKLCH, from sRGB bytes.
// OKLab goes through linear light and XYZ D65 with the matrices of that
// sample code of CSS Color 4, so that white comes out as L 1, a 0, b 0.

#include "core/colour.h"

namespace tonfang {

struct Hsl { long double h = 0, s = 0, l = 0; };   // h in degrees 0..<360, s and l 0..1
struct Oklab { long double L = 0, a = 0, b = 0; }; // L 0..1 for sRGB colours
struct Oklch { long double L = 0, C = 0, h = 0; }; // h in degrees 0..<360

Hsl RGBToHSL(Rgb rgb);           // hue 0 and saturation 0 for greys
long double srgbToLinear(std::uint8_t channel);
Oklab RGBToOklab(Rgb rgb);
Oklch RGBToOklch(Rgb rgb);       // hue 0 when a and b are both 0

} // namespace tonfang
