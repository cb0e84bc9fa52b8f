#pragma once
// How numbers are read from and written into text fields. The decimal separator
// is always a parameter (UTF-8 text, usually "." or ","), never read from a global.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tonfang {

// Raised by the converting forms; what() is the message the user sees,
// e.g. "'$5G' is not a valid integer value".
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Integer text rule: blanks, sign, then decimal or "$"/"x"/"0x" hex; 32 bits.
std::optional<std::int32_t> parseInt(std::string_view text);
std::int32_t StrToInt(std::string_view text);  // throws ConversionError
bool IsInt(std::string_view text);
std::string integerText(std::int64_t value);

// Float text rule, computed in extended precision.
std::optional<long double> parseFloat(std::string_view text, std::string_view decimalSeparator);
long double StrToFloat(std::string_view text, std::string_view decimalSeparator); // throws
bool IsFloat(std::string_view text, std::string_view decimalSeparator);

// The display number format: `significantDigits` (P, clamped to 2..18) and
// at least `exponentDigits` (D) exponent digits in scientific notation.
std::string formatNumber(long double value, int significantDigits, int exponentDigits,
                         std::string_view decimalSeparator);
// A value with at most `decimals` (0..15) digits after ".", rounded half away
// from zero, without trailing zeros, never "-0"; "0" for NaN and infinities.
std::string decimalText(long double value, int decimals);
// What the model fields show with n decimal places: P = n + 2, D = n.
std::string formatDisplayNumber(long double value, int places, std::string_view decimalSeparator);

} // namespace tonfang
