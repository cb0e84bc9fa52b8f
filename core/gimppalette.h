#pragma once
// A GIMP palette (.gpl), the palette format that GIMP, Inkscape, Krita and
// Scribus read: a header, then one "R G B<TAB>name" row per colour, each
// component right-aligned in three columns. UTF-8 with LF line ends.

#include "core/colour.h"

#include <string>
#include <string_view>
#include <vector>

namespace tonfang {

// "GIMP Palette", "Name: " + name, "Columns: 0", each line ended by LF.
// Line breaks and other control characters in the name become blanks, since
// they would end the header line early.
std::string gimpPaletteHeader(std::string_view name);
// "255 128   0\t#FF8000\n"
std::string gimpPaletteRow(Rgb rgb);
std::string gimpPaletteText(std::string_view name, const std::vector<Rgb> &colours);

} // namespace tonfang
