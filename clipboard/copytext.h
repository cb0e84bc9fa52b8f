#pragma once
// The text a copy button puts on the clipboard. With units off, one model's
// field texts as they stand, joined by single blanks; with units on, the same
// texts interleaved with that model's unit affixes: the first affix before the
// first value, one between each two values, the last after the last value.
// Nothing is parsed, converted or checked: what the fields show is copied.

#include "core/displaytexts.h"

#include <QString>

#include <array>

namespace tonfang {

// One row per copy button; the chromaticity button copies either the xyz row
// or Y (of XYZ) with x and y.
enum class CopyRow { Hex, Rgb, Percent, Cmyk, Cmy, Hsv, TColor, Xyz, Chromaticity, Yxy };
inline constexpr int copyRowCount = 10;

// The unit affixes of all rows, row by row in the order above and left to
// right within a row: a row of n values has n + 1 of them.
inline constexpr int affixCount = 37;
using AffixTexts = std::array<QString, affixCount>;

// The texts of the main window's model fields, indexed by Field.
using FieldTexts = std::array<QString, fieldCount>;

// The affixes a fresh start begins with: a "#" before the hex digits, "%"
// after percentages, a degree sign after the hue, blanks between the others.
AffixTexts defaultAffixes();

QString copyText(CopyRow row, const FieldTexts &fields, const AffixTexts &affixes,
                 bool withUnits);

} // namespace tonfang
