#include "core/gimppalette.h"

#include <cstdio>

namespace tonfang {

std::string gimpPaletteHeader(std::string_view name)
{
    std::string header = "GIMP Palette\nName: ";
    for (const char c : name)
        header += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    header += "\nColumns: 0\n";
    return header;
}

std::string gimpPaletteRow(Rgb rgb)
{
    char row[32];
    const int length = std::snprintf(row, sizeof row, "%3d %3d %3d\t#", rgb.red, rgb.green, rgb.blue);
    return std::string(row, static_cast<std::size_t>(length)) + TColorToHex(RGBToTColor(rgb)) + '\n';
}

std::string gimpPaletteText(std::string_view name, const std::vector<Rgb> &colours)
{
    std::string text = gimpPaletteHeader(name);
    for (const Rgb rgb : colours)
        text += gimpPaletteRow(rgb);
    return text;
}

} // namespace tonfang
