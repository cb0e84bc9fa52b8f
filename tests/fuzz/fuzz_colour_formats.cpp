// layer: core
// Every colour in every format at any places count gives one line of printable
// ASCII; the CSS forms end in ")" and have no minus sign.

#include "core/colourformats.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace tonfang;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Three colour bytes, one format byte, four bytes of places.
    if (size < 8)
        return 0;
    const Rgb rgb{data[0], data[1], data[2]};
    const auto names = colourFormatNames();
    const auto format = parseColourFormat(names[data[3] % names.size()]);
    std::int32_t places = 0;
    std::memcpy(&places, data + 4, 4);
    if (!format)
        std::abort();

    const std::string text = formatColour(rgb, *format, places);
    if (text.empty())
        std::abort();
    for (const char c : text)
        if (c < ' ' || c > '~')
            std::abort();
    if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos)
        std::abort();
    const bool css = *format == ColourFormat::CssHsl || *format == ColourFormat::Oklch;
    if (css && (text.back() != ')' || text.find('-') != std::string::npos))
        std::abort();
    return 0;
}
