// layer: core
// The integer text rule: the checking and the converting forms always agree,
// and every value read writes back to a text that reads the same value.

#include "core/numbertext.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace tonfang;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto value = parseInt(text);
    bool threw = false;
    std::int32_t converted = 0;
    try {
        converted = StrToInt(text);
    } catch (const ConversionError &) {
        threw = true;
    }
    if (IsInt(text) != value.has_value() || threw == value.has_value())
        std::abort();
    if (value) {
        if (converted != *value)
            std::abort();
        if (parseInt(integerText(*value)) != value)
            std::abort();
        // No trailing blank is ever accepted.
        if (parseInt(std::string(text) + " "))
            std::abort();
    }
    return 0;
}
