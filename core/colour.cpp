#include "core/colour.h"

#include "core/numbertext.h"

namespace tonfang {

ColourNumber RGBToTColor(Rgb rgb)
{
    return rgb.red + 256 * rgb.green + 65536 * rgb.blue;
}

Rgb TColorToRGB(std::int64_t colour)
{
    const auto bits = static_cast<std::uint64_t>(colour);
    return {static_cast<std::uint8_t>(bits & 0xFF), static_cast<std::uint8_t>((bits >> 8) & 0xFF),
            static_cast<std::uint8_t>((bits >> 16) & 0xFF)};
}

std::string TColorToHex(ColourNumber colour)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const Rgb rgb = TColorToRGB(colour);
    std::string text(6, '0');
    int i = 0;
    for (const std::uint8_t component : {rgb.red, rgb.green, rgb.blue}) {
        text[i++] = digits[component >> 4];
        text[i++] = digits[component & 0xF];
    }
    return text;
}

ColourNumber HexToTColor(std::string_view text)
{
    // Each pair goes through the integer text rule as "$" + pair, so a pair
    // that is not two hex digits fails with the message the user sees.
    ColourNumber colour = 0;
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const std::string_view digits =
            2 * pair < text.size() ? text.substr(2 * pair, 2) : std::string_view();
        const std::int32_t value = StrToInt("$" + std::string(digits));
        colour |= (value & 0xFF) << (8 * pair);
    }
    return colour;
}

std::string LaengeDrei(std::string_view text)
{
    // Count characters, not UTF-8 bytes: a field may hold any text.
    std::size_t characters = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++characters;
    if (characters == 3)
        return std::string(text);
    if (characters == 2)
        return "0" + std::string(text);
    return "00" + std::string(text);
}

std::string listEntryLabel(std::string_view red, std::string_view green, std::string_view blue)
{
    return "(" + LaengeDrei(red) + " " + LaengeDrei(green) + " " + LaengeDrei(blue) + ")";
}

std::string listEntryLabel(Rgb rgb)
{
    return listEntryLabel(integerText(rgb.red), integerText(rgb.green), integerText(rgb.blue));
}

} // namespace tonfang
