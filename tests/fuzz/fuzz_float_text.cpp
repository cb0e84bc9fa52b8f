// layer: core
// The float text rule under "." and ",": the checking and converting forms
// agree, every accepted text reads as a finite value, and that value written
// with 18 digits reads back as the same value.

#include "core/numbertext.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

using namespace tonfang;

namespace {

void check(std::string_view text, std::string_view separator)
{
    const auto value = parseFloat(text, separator);
    bool threw = false;
    long double converted = 0;
    try {
        converted = StrToFloat(text, separator);
    } catch (const ConversionError &) {
        threw = true;
    }
    if (IsFloat(text, separator) != value.has_value() || threw == value.has_value())
        std::abort();
    if (!value)
        return;
    if (!std::isfinite(*value) || converted != *value)
        std::abort();
    // Eighteen significant digits are enough to tell any two long doubles
    // apart except in the denormal range, where the spacing is absolute.
    const auto again = parseFloat(formatNumber(*value, 18, 0, separator), separator);
    if (!again)
        std::abort();
    if (std::fabs(*again - *value) > std::fabs(*value) * 1e-17L + 4 * std::numeric_limits<long double>::denorm_min())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    check(text, ".");
    check(text, ",");
    check(text, "\xD9\xAB"); // the Arabic decimal separator, two bytes in UTF-8
    return 0;
}
