// layer: core
// The display number format takes any long double bit pattern and any digit
// counts without failing, writes only the characters of a number, and what it
// writes for a finite value reads back close to that value.

#include "core/numbertext.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

using namespace tonfang;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // 10 bytes of the x87 value, 4 of P, 4 of D, 1 choosing the separator.
    if (size < 19)
        return 0;
    long double value = 0;
    std::memcpy(&value, data, 10);
    std::int32_t significant = 0;
    std::int32_t exponentDigits = 0;
    std::memcpy(&significant, data + 10, 4);
    std::memcpy(&exponentDigits, data + 14, 4);
    static constexpr std::string_view separators[] = {".", ",", "\xD9\xAB"};
    const std::string_view separator = separators[data[18] % 3];

    const std::string text = formatNumber(value, significant, exponentDigits, separator);
    // The display form of the places setting must never fail either.
    (void)formatDisplayNumber(value, exponentDigits, separator);

    if (std::isnan(value)) {
        if (text != "NAN")
            std::abort();
        return 0;
    }
    if (std::isinf(value)) {
        if (text != (value < 0 ? "-INF" : "INF"))
            std::abort();
        return 0;
    }

    const int p = significant < 2 ? 2 : (significant > 18 ? 18 : significant);
    const auto again = parseFloat(text, separator);
    if (!again) {
        // Only rounding up past the largest long double may leave the range.
        const long double largest = std::numeric_limits<long double>::max();
        if (std::fabs(value) < largest / (1 + std::pow(10.0L, 1 - p)))
            std::abort();
        return 0;
    }
    const long double tolerance =
        std::fabs(value) * std::pow(10.0L, 1 - p) + 2 * std::numeric_limits<long double>::denorm_min();
    if (std::fabs(*again - value) > tolerance)
        std::abort();
    if (value == 0 && text != "0")
        std::abort();
    return 0;
}
