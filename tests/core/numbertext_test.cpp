#include "core/numbertext.h"
#include "tests/support/errors.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string>

using namespace tonfang;

namespace {

struct IntCase {
    const char *text;
    std::optional<std::int32_t> value;
};

TEST(IntegerTextRule, ReadsDecimalAndHexadecimalNumbers)
{
    const IntCase cases[] = {
        {"12", 12},
        {" 12", 12},
        {"   -12", -12},
        {"+7", 7},
        {"-0", 0},
        {"007", 7},
        {"$ff", 255},
        {"$FF", 255},
        {"0x1A", 26},
        {"0X1a", 26},
        {"x10", 16},
        {"X10", 16},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"$000000000000FF", 255},
        {"$80000000", -2147483647 - 1},
        {"-$80000000", -2147483647 - 1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseInt(c.text), c.value);
        EXPECT_TRUE(IsInt(c.text));
        EXPECT_EQ(StrToInt(c.text), *c.value);
    }
}

TEST(IntegerTextRule, RejectsEverythingElse)
{
    const char *const cases[] = {
        "12 ", "", " ", "2147483648", "-2147483649", "1.0", "1e3", "$", "0x", "x", "-", "+",
        "$100000000", "$-1", "$ g", "0x 1", "--1", "+-1", "1 2", "12a", "00x1", "$$1",
        "\t1", "١",
    };
    for (const char *text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseInt(text).has_value());
        EXPECT_FALSE(IsInt(text));
    }
}

TEST(IntegerTextRule, ConvertingFormNamesTheWholeText)
{
    EXPECT_EQ(errorOf<ConversionError>([] { StrToInt(" 12 "); }),
              "' 12 ' is not a valid integer value");
}

TEST(IntegerText, WritesPlainDecimal)
{
    EXPECT_EQ(integerText(0), "0");
    EXPECT_EQ(integerText(33023), "33023");
    EXPECT_EQ(integerText(-2147483648LL), "-2147483648");
}

struct FloatCase {
    const char *text;
    const char *separator;
    std::optional<long double> value;
};

TEST(FloatTextRule, ReadsNumbersWithTheGivenSeparator)
{
    const FloatCase cases[] = {
        {"1.5", ".", 1.5L},
        {".5", ".", 0.5L},
        {"5.", ".", 5},
        {".", ".", 0},
        {"-.", ".", 0},
        {"1e3", ".", 1000},
        {"1E", ".", 1},
        {"1e+", ".", 1},
        {"2.5E-1", ".", 0.25L},
        {" 2 ", ".", 2},
        {"+0", ".", 0},
        {"-12.25", ".", -12.25L},
        {"1,5", ",", 1.5L},
        {"0,04994", ",", 0.04994L},
        {"1٫5", "٫", 1.5L}, // a separator of more than one byte
        {"1e0000000003", ".", 1000},
        {"1e500", ".", 1e500L},   // still inside the extended range
        {"1e-4999", ".", 0},      // underflow is not an error
        {"0.1", ".", 0.1L},       // rounded once, to the 64-bit mantissa
        {"95.047", ".", 95.047L},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " with " + c.separator);
        const auto value = parseFloat(c.text, c.separator);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, *c.value);
        EXPECT_TRUE(IsFloat(c.text, c.separator));
        EXPECT_EQ(StrToFloat(c.text, c.separator), *c.value);
    }
    EXPECT_TRUE(std::signbit(*parseFloat("-.", ".")));
}

TEST(FloatTextRule, RejectsEverythingElse)
{
    const FloatCase cases[] = {
        {"", ".", {}},       {" ", ".", {}},      {"-", ".", {}},      {"1,5", ".", {}},
        {"1.5", ",", {}},    {"1.5.3", ".", {}},  {"1e5000", ".", {}}, {"e5", ".", {}},
        {"1e4999", ".", {}}, {"1e-5000", ".", {}}, {"1 2", ".", {}},   {"1e3.5", ".", {}},
        {"inf", ".", {}},    {"nan", ".", {}},    {"0x10", ".", {}},   {"--1", ".", {}},
        {"1e--1", ".", {}},  {"\t1", ".", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " with " + c.separator);
        EXPECT_FALSE(parseFloat(c.text, c.separator).has_value());
        EXPECT_FALSE(IsFloat(c.text, c.separator));
    }
    // Five thousand nines overflow even the extended range.
    EXPECT_FALSE(IsFloat(std::string(5000, '9'), "."));
}

TEST(FloatTextRule, ConvertingFormNamesTheWholeText)
{
    EXPECT_EQ(errorOf<ConversionError>([] { StrToFloat("1,5", "."); }),
              "'1,5' is not a valid floating point value");
}

struct FormatRow {
    long double value;
    const char *places[5]; // 0, 1, 2, 3 and 5 decimal places
};

TEST(DisplayNumberFormat, FollowsTheTableOfPlaces)
{
    const FormatRow rows[] = {
        {100, {"1E2", "100", "100", "100", "100"}},
        {240, {"2.4E2", "240", "240", "240", "240"}},
        {359.5L, {"3.6E2", "360", "359.5", "359.5", "359.5"}},
        {128 / 255.0L * 100, {"50", "50.2", "50.2", "50.196", "50.19608"}},
        {12.5L, {"13", "12.5", "12.5", "12.5", "12.5"}},
        {0.05L, {"0.05", "0.05", "0.05", "0.05", "0.05"}},
        {0.0001L, {"0.0001", "0.0001", "0.0001", "0.0001", "0.0001"}},
        {0.00005L, {"5E-5", "5E-5", "5E-05", "5E-005", "5E-5"}},
        {0, {"0", "0", "0", "0", "0"}},
    };
    const int placesOf[5] = {0, 1, 2, 3, 5};
    for (const auto &row : rows) {
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(std::to_string(static_cast<double>(row.value)) + " at " +
                         std::to_string(placesOf[i]) + " places");
            EXPECT_EQ(formatDisplayNumber(row.value, placesOf[i], "."), row.places[i]);
        }
    }
}

TEST(DisplayNumberFormat, UsesTheSeparatorItIsGiven)
{
    EXPECT_EQ(formatDisplayNumber(240, 0, ","), "2,4E2");
    EXPECT_EQ(formatDisplayNumber(128 / 255.0L * 100, 2, ","), "50,2");
    EXPECT_EQ(formatDisplayNumber(0.04994L, 2, ","), "0,04994");
    EXPECT_EQ(formatDisplayNumber(1.25L, 2, "٫"), "1٫25");
}

// The program runs with the C library in the user's locale (Qt sets it at
// start-up); a German one must change neither writing nor reading.
TEST(NumberTexts, DoNotDependOnTheCLibrarysLocale)
{
    const char *name = std::getenv("TONFANG_COMMA_LOCALE");
    ASSERT_NE(name, nullptr) << "run through ctest, which provides the locale";
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, name), nullptr) << name << " is missing (LOCPATH)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(formatDisplayNumber(240, 0, ","), "2,4E2");
    EXPECT_EQ(formatDisplayNumber(128.0L / 255 * 100, 2, "."), "50.2");
    EXPECT_EQ(formatNumber(0.333333333333333333L, 15, 0, "."), "0.333333333333333");
    EXPECT_EQ(parseFloat("12,5", ","), 12.5L);
    EXPECT_EQ(parseFloat("1.5e3", "."), 1500.0L);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(DisplayNumberFormat, EdgesOfNotationAndRounding)
{
    struct Case {
        long double value;
        int p, d;
        const char *text;
    };
    const Case cases[] = {
        {-0.0L, 4, 2, "0"},
        {-50.196L, 4, 2, "-50.2"},
        {-0.00005L, 4, 2, "-5E-05"},
        {99.96L, 3, 1, "100"},          // the carry adds a digit
        {99.96L, 2, 0, "1E2"},          // ... which can push it out of fixed notation
        {99.94L, 3, 1, "99.9"},
        {9.9996L, 4, 2, "10"},
        {33.333L, 4, 2, "33.33"},
        {0.000999L, 4, 2, "0.000999"},  // E = -3 is still fixed
        {0.0009999L, 3, 1, "0.001"},    // rounding up moves it into fixed notation
        {1234.5L, 4, 2, "1235"},        // half away from zero
        {0.125L, 2, 0, "0.13"},
        {12345, 4, 2, "1.235E04"},
        {12345, 4, 4, "1.235E0004"},
        {12345, 4, 5, "1.235E4"},       // five or more: no padding
        {1e300L, 15, 0, "1E300"},
        {1.5e-300L, 15, 0, "1.5E-300"},
        {7, 1, 0, "7"},                 // P below 2 counts as 2
        {1.23456789012345678901L, 40, 0, "1.23456789012345679"}, // above 18 counts as 18
        {0.1L + 0.2L, 15, 0, "0.3"},
        // 1.0035 and 2.675 lie slightly below their decimal texts in binary;
        // rounding the exact value to 18 digits first turns them into exact
        // halves, which then go up.
        {1.0035L, 4, 0, "1.004"},
        {2.675L, 3, 0, "2.68"},
        // Non-finite values have a text too.
        {NAN, 4, 2, "NAN"},
        {INFINITY, 4, 2, "INF"},
        {-INFINITY, 4, 2, "-INF"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatNumber(c.value, c.p, c.d, "."), c.text);
    }
}

long double fromBits(std::uint64_t mantissa, std::uint16_t signAndExponent)
{
    unsigned char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, &mantissa, 8);
    std::memcpy(bytes + 8, &signAndExponent, 2);
    long double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

TEST(DisplayNumberFormat, OddX87EncodingsAreWrittenByWhatTheyAreWorth)
{
    // A pseudo-denormal counts as 2^-16382 in arithmetic; printf alone would
    // read it as a denormal eighteen decades smaller.
    const long double pseudoDenormal = fromBits(0x8000000000000000u, 0);
    EXPECT_EQ(formatNumber(pseudoDenormal, 15, 0, "."), "3.36210314311209E-4932");
    EXPECT_EQ(formatNumber(-pseudoDenormal, 15, 0, "."), "-3.36210314311209E-4932");
    // An unnormal (exponent set, integer bit clear) is no number at all.
    EXPECT_EQ(formatNumber(fromBits(0x4000000000000000u, 100), 4, 2, "."), "NAN");
    EXPECT_EQ(formatNumber(fromBits(1, 0), 4, 2, "."), "3.645E-4951"); // smallest denormal
}

} // namespace
