#include "core/colour.h"
#include "core/numbertext.h"

#include <gtest/gtest.h>

using namespace tonfang;

namespace {

TEST(ColourNumber, PacksRedIntoTheLowByte)
{
    EXPECT_EQ(RGBToTColor({255, 128, 0}), 33023);
    EXPECT_EQ(RGBToTColor({18, 52, 86}), 5649426);
    EXPECT_EQ(RGBToTColor({255, 255, 255}), 16777215);
    EXPECT_EQ(TColorToRGB(33023), (Rgb{255, 128, 0}));
    EXPECT_EQ(TColorToRGB(5649426), (Rgb{18, 52, 86}));
}

TEST(ColourNumber, IgnoresTheTopByte)
{
    EXPECT_EQ(TColorToRGB(-1), (Rgb{255, 255, 255}));
    EXPECT_EQ(TColorToRGB(16777216), (Rgb{0, 0, 0}));
    EXPECT_EQ(TColorToRGB(0x7F123456), (Rgb{0x56, 0x34, 0x12}));
    EXPECT_EQ(TColorToRGB(-2147483648LL), (Rgb{0, 0, 0}));
}

TEST(HexText, WritesRedFirstInUpperCase)
{
    const std::pair<ColourNumber, const char *> cases[] = {
        {0, "000000"},        {255, "FF0000"},      {65280, "00FF00"},
        {16711680, "0000FF"}, {16777215, "FFFFFF"}, {33023, "FF8000"},
        {0x00ABCDEF, "EFCDAB"}, {-1, "FFFFFF"},
    };
    for (const auto &[colour, hex] : cases) {
        EXPECT_EQ(TColorToHex(colour), hex) << colour;
        EXPECT_EQ(HexToTColor(hex), colour & 0xFFFFFF) << hex;
    }
}

TEST(HexText, ReadsEitherCaseAndIgnoresWhatFollows)
{
    EXPECT_EQ(HexToTColor("ff8000"), 33023);
    EXPECT_EQ(HexToTColor("Ff8000"), 33023);
    EXPECT_EQ(HexToTColor("FF8000FF"), 33023);
    EXPECT_EQ(HexToTColor("FF8000 junk"), 33023);
}

TEST(HexText, BadPairRaisesTheIntegerErrorForThatPair)
{
    const std::pair<const char *, const char *> cases[] = {
        {"12345G", "'$5G' is not a valid integer value"},
        {"G10000", "'$G1' is not a valid integer value"},
        {"#FF800", "'$#F' is not a valid integer value"},
        {"FF 800", "'$ 8' is not a valid integer value"},
        {"FF-100", "'$-1' is not a valid integer value"},
        {"FF80", "'$' is not a valid integer value"},
        {"", "'$' is not a valid integer value"},
    };
    for (const auto &[text, message] : cases) {
        SCOPED_TRACE(text);
        try {
            HexToTColor(text);
            ADD_FAILURE() << "no error raised";
        } catch (const ConversionError &error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

TEST(ListEntryLabel, PadsEachComponentToThreeCharacters)
{
    const std::pair<const char *, const char *> padding[] = {
        {"7", "007"}, {"42", "042"}, {"255", "255"}, {"", "00"},
        {"1234", "001234"}, {"-5", "0-5"}, {"äö", "0äö"}, {"abc", "abc"},
    };
    for (const auto &[text, padded] : padding)
        EXPECT_EQ(LaengeDrei(text), padded) << text;

    EXPECT_EQ(listEntryLabel(Rgb{7, 42, 200}), "(007 042 200)");
    EXPECT_EQ(listEntryLabel(Rgb{255, 255, 255}), "(255 255 255)");
    EXPECT_EQ(listEntryLabel("12", "", "x"), "(012 00 00x)");
}

} // namespace
