// layer: core
// Hex texts: HexToTColor raises exactly when one of its three pairs is not a
// pair of hex digits, the hex field input agrees with it, and every colour
// number it gives writes back to the same six digits.

#include "core/colour.h"
#include "core/fieldinput.h"
#include "core/numbertext.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tonfang;

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// What the pairs should say, worked out without the integer text rule.
std::optional<ColourNumber> expectedColour(std::string_view text)
{
    ColourNumber colour = 0;
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const std::string_view digits =
            2 * pair < text.size() ? text.substr(2 * pair, 2) : std::string_view();
        if (digits.empty())
            return std::nullopt;
        int value = 0;
        for (const char c : digits) {
            if (!isHexDigit(c))
                return std::nullopt;
            value = value * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
        }
        colour |= value << (8 * pair);
    }
    return colour;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto expected = expectedColour(text);
    std::optional<ColourNumber> colour;
    try {
        colour = HexToTColor(text);
    } catch (const ConversionError &) {
    }
    if (colour != expected)
        std::abort();
    if (colour && text.size() >= 6) {
        std::string upper(text.substr(0, 6));
        for (char &c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (TColorToHex(*colour) != upper)
            std::abort();
    }

    // The field drops every "#" and wants exactly six hex digits.
    std::string withoutHashes;
    for (const char c : text)
        if (c != '#')
            withoutHashes.push_back(c);
    const auto fromField = rgbFromHexInput(text);
    const auto fieldExpected = withoutHashes.size() == 6 ? expectedColour(withoutHashes) : std::nullopt;
    if (fromField.has_value() != fieldExpected.has_value())
        std::abort();
    if (fromField && RGBToTColor(*fromField) != *fieldExpected)
        std::abort();
    return 0;
}
