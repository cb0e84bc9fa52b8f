#include "core/numbertext.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tonfang {

namespace {

constexpr std::string_view defaultSeparator = ".";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// An empty separator would match everywhere; fall back to the one the
// program uses when the system reports none.
std::string_view effectiveSeparator(std::string_view separator)
{
    return separator.empty() ? defaultSeparator : separator;
}

// The x87 format has encodings that arithmetic never produces but a bit
// pattern can hold. A pseudo-denormal (exponent field 0, explicit integer bit
// set) is worth what the same pattern with exponent field 1 is worth; printf
// would read it as a far smaller denormal, so it is rewritten first.
long double canonical(long double value)
{
#if LDBL_MANT_DIG == 64
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof value);
    std::uint64_t mantissa = 0;
    std::uint16_t signAndExponent = 0;
    std::memcpy(&mantissa, bytes, 8);
    std::memcpy(&signAndExponent, bytes + 8, 2);
    if ((signAndExponent & 0x7FFF) == 0 && (mantissa >> 63) != 0) {
        signAndExponent = static_cast<std::uint16_t>(signAndExponent | 1);
        std::memcpy(bytes + 8, &signAndExponent, 2);
        std::memcpy(&value, bytes, sizeof value);
    }
#endif
    return value;
}


// A finite value's magnitude as 0.d1d2...d18 x 10^exponent: the exact binary
// value rounded to 18 significant digits, ties to even. Both number formats
// start from these digits, so that a value like 12.345 that binary holds as
// 12.34499... still rounds up. A nineteenth digit "0" lets rounding to 18
// drop nothing.
struct SignificantDigits {
    char digits[19];
    int exponent;
};

bool toSignificantDigits(long double value, SignificantDigits &out)
{
    // to_chars, unlike printf, writes "." whatever the C locale is (Qt
    // switches it to the user's at start-up).
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer - 1,
                                       std::fabs(canonical(value)),
                                       std::chars_format::scientific, 17);
    *written.ptr = '\0';
    const int length = written.ec == std::errc{} ? int(written.ptr - buffer) : 0;
    // "d.ddddddddddddddddde+XX": anything else is an encoding the FPU treats as NaN.
    if (length < 23 || !isDigit(buffer[0]) || buffer[1] != '.' || buffer[19] != 'e')
        return false;
    out.digits[0] = buffer[0];
    for (int i = 1; i < 18; ++i)
        out.digits[i] = buffer[i + 1];
    out.digits[18] = '0';
    out.exponent = std::atoi(buffer + 20) + 1;
    return true;
}

// Rounds half away from zero to the first `count` (0..18) digits and zeroes
// the rest; a carry out of the first digit gives "1000..." one power higher.
void roundToDigits(SignificantDigits &number, int count)
{
    const bool up = number.digits[count] >= '5';
    std::memset(number.digits + count, '0', sizeof number.digits - std::size_t(count));
    if (!up)
        return;
    int i = count - 1;
    while (i >= 0 && number.digits[i] == '9')
        number.digits[i--] = '0';
    if (i >= 0) {
        ++number.digits[i];
    } else {
        number.digits[0] = '1';
        ++number.exponent;
    }
}
} // namespace

// ---------------------------------------------------------------- integers

std::optional<std::int32_t> parseInt(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    const std::string_view rest = text.substr(pos);
    std::size_t prefix = 0;
    if (rest.starts_with("0x") || rest.starts_with("0X"))
        prefix = 2;
    else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X'))
        prefix = 1;

    if (prefix != 0) {
        // Hexadecimal: a 32-bit pattern, so $FFFFFFFF reads as -1.
        const std::string_view digits = rest.substr(prefix);
        if (digits.empty())
            return std::nullopt;
        std::uint64_t value = 0;
        for (char c : digits) {
            const int digit = hexDigitValue(c);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        auto pattern = static_cast<std::uint32_t>(value);
        if (negative)
            pattern = 0u - pattern;
        return static_cast<std::int32_t>(pattern);
    }

    if (rest.empty())
        return std::nullopt;
    std::int64_t magnitude = 0;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (char c : rest) {
        if (!isDigit(c))
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t StrToInt(std::string_view text)
{
    if (const auto value = parseInt(text))
        return *value;
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

bool IsInt(std::string_view text)
{
    return parseInt(text).has_value();
}

std::string integerText(std::int64_t value)
{
    return std::to_string(value);
}

// ------------------------------------------------------------------ floats

std::optional<long double> parseFloat(std::string_view text, std::string_view decimalSeparator)
{
    const std::string_view separator = effectiveSeparator(decimalSeparator);
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (pos < size && text[pos] == ' ')
        ++pos;

    bool negative = false;
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    // The significant digits are collected without a decimal point so that
    // strtold never depends on the C locale; the point moves into the exponent.
    std::string mantissa;
    bool tookSomething = false;
    while (pos < size && isDigit(text[pos])) {
        if (!(mantissa.empty() && text[pos] == '0'))
            mantissa.push_back(text[pos]);
        ++pos;
        tookSomething = true;
    }
    long long fractionDigits = 0;
    if (text.substr(pos).starts_with(separator)) {
        pos += separator.size();
        tookSomething = true;
        while (pos < size && isDigit(text[pos])) {
            // A leading zero of the fraction only shifts the exponent.
            if (!(mantissa.empty() && text[pos] == '0'))
                mantissa.push_back(text[pos]);
            ++fractionDigits;
            ++pos;
        }
    }
    if (!tookSomething)
        return std::nullopt;

    long long exponent = 0;
    if (pos < size && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool exponentNegative = false;
        if (pos < size && (text[pos] == '+' || text[pos] == '-')) {
            exponentNegative = text[pos] == '-';
            ++pos;
        }
        // Reading stops once the exponent has reached 500; a digit left over
        // then fails the end-of-text test below.
        while (pos < size && isDigit(text[pos]) && exponent < 500) {
            exponent = exponent * 10 + (text[pos] - '0');
            ++pos;
        }
        if (exponentNegative)
            exponent = -exponent;
    }

    while (pos < size && text[pos] == ' ')
        ++pos;
    if (pos != size)
        return std::nullopt;

    if (mantissa.empty())
        return negative ? -0.0L : 0.0L;

    mantissa.push_back('e');
    mantissa += std::to_string(exponent - fractionDigits);
    // strtold rounds correctly to the 64-bit mantissa; ERANGE on underflow is fine.
    const int savedErrno = errno;
    const long double value = std::strtold(mantissa.c_str(), nullptr);
    errno = savedErrno;
    if (std::isinf(value))
        return std::nullopt;
    return negative ? -value : value;
}

long double StrToFloat(std::string_view text, std::string_view decimalSeparator)
{
    if (const auto value = parseFloat(text, decimalSeparator))
        return *value;
    throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

bool IsFloat(std::string_view text, std::string_view decimalSeparator)
{
    return parseFloat(text, decimalSeparator).has_value();
}

// -------------------------------------------------- display number format

std::string formatNumber(long double value, int significantDigits, int exponentDigits,
                         std::string_view decimalSeparator)
{
    const std::string_view separator = effectiveSeparator(decimalSeparator);
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    const int precision = significantDigits < 2 ? 2 : (significantDigits > 18 ? 18 : significantDigits);

    SignificantDigits digits;
    if (!toSignificantDigits(value, digits))
        return "NAN";
    roundToDigits(digits, precision);
    int count = precision;
    while (count > 1 && digits.digits[count - 1] == '0')
        --count;
    const int exponent = digits.exponent;
    const std::string_view kept(digits.digits, static_cast<std::size_t>(count));

    std::string text;
    if (value < 0)
        text.push_back('-');

    if (exponent >= -3 && exponent <= precision) {
        if (exponent <= 0) {
            text.push_back('0');
            text += separator;
            text.append(static_cast<std::size_t>(-exponent), '0');
            text += kept;
        } else if (count <= exponent) {
            text += kept;
            text.append(static_cast<std::size_t>(exponent - count), '0');
        } else {
            text += kept.substr(0, static_cast<std::size_t>(exponent));
            text += separator;
            text += kept.substr(static_cast<std::size_t>(exponent));
        }
        return text;
    }

    text.push_back(kept[0]);
    if (count > 1) {
        text += separator;
        text += kept.substr(1);
    }
    text.push_back('E');
    const int shown = exponent - 1;
    if (shown < 0)
        text.push_back('-');
    std::string magnitude = std::to_string(shown < 0 ? -shown : shown);
    if (exponentDigits <= 4 && static_cast<int>(magnitude.size()) < exponentDigits)
        text.append(static_cast<std::size_t>(exponentDigits) - magnitude.size(), '0');
    text += magnitude;
    return text;
}

std::string decimalText(long double value, int decimals)
{
    decimals = std::clamp(decimals, 0, 15);
    SignificantDigits number;
    if (!std::isfinite(value) || !toSignificantDigits(value, number))
        return "0";
    // Kept digits: those down to 10^-decimals.
    const int kept = number.exponent + decimals;
    if (kept < 0)
        return "0";
    roundToDigits(number, std::min(kept, 18));
    const int point = number.exponent; // digits before the point; 0 or less for "0.xxx"
    const auto digit = [&number](int i) { return i >= 0 && i < 18 ? number.digits[i] : '0'; };
    int begin = 0;
    while (begin < point && digit(begin) == '0')
        ++begin;
    int end = point + decimals;
    while (end > point && digit(end - 1) == '0')
        --end;
    if (begin >= point && end == point)
        return "0";
    std::string text;
    if (value < 0)
        text += '-';
    if (begin >= point)
        text += '0';
    for (int i = begin; i < point; ++i)
        text += digit(i);
    if (end > point)
        text += '.';
    for (int i = point; i < end; ++i)
        text += digit(i);
    return text;
}

std::string formatDisplayNumber(long double value, int places, std::string_view decimalSeparator)
{
    const int significant = places > 16 ? 18 : places + 2; // no overflow for absurd settings
    return formatNumber(value, significant, places, decimalSeparator);
}

} // namespace tonfang
