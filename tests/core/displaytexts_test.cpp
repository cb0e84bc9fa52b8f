#include "core/displaytexts.h"

#include <gtest/gtest.h>

using namespace tonfang;

namespace {

DisplayTexts expected(std::initializer_list<const char *> texts)
{
    DisplayTexts result;
    std::size_t i = 0;
    for (const char *text : texts)
        result.at(i++) = text;
    EXPECT_EQ(i, result.size());
    return result;
}

struct TextsCase {
    Rgb rgb;
    int places;
    const char *separator;
    DisplayTexts texts;
};

TEST(DisplayTexts, AllTwentyFourFieldsForKnownColours)
{
    const TextsCase cases[] = {
        {{255, 128, 0}, 2, ".",
         expected({"#FF8000", "33023", "255", "128", "0", "100", "50.2", "0", "30.12", "100",
                   "100", "0", "49.8", "100", "0", "49.8", "100", "0", "48.96", "36.7", "4.503",
                   "0.543", "0.407", "0.04994"})},
        {{255, 128, 0}, 0, ".",
         expected({"#FF8000", "33023", "255", "128", "0", "1E2", "50", "0", "30", "1E2", "1E2",
                   "0", "50", "1E2", "0", "50", "1E2", "0", "49", "37", "4.5", "0.54", "0.41",
                   "0.05"})},
        {{255, 128, 0}, 2, ",",
         expected({"#FF8000", "33023", "255", "128", "0", "100", "50,2", "0", "30,12", "100",
                   "100", "0", "49,8", "100", "0", "49,8", "100", "0", "48,96", "36,7", "4,503",
                   "0,543", "0,407", "0,04994"})},
        {{255, 255, 255}, 2, ".",
         expected({"#FFFFFF", "16777215", "255", "255", "255", "100", "100", "100", "0", "0",
                   "100", "0", "0", "0", "0", "0", "0", "0", "95.05", "100", "108.9", "0.3127",
                   "0.329", "0.3583"})},
        {{255, 255, 255}, 0, ".",
         expected({"#FFFFFF", "16777215", "255", "255", "255", "1E2", "1E2", "1E2", "0", "0",
                   "1E2", "0", "0", "0", "0", "0", "0", "0", "95", "1E2", "1.1E2", "0.31", "0.33",
                   "0.36"})},
        {{0, 0, 0}, 2, ".",
         expected({"#000000", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "100", "100",
                   "100", "0", "0", "0", "100", "0", "0", "0", "0", "0", "0"})},
        {{0, 0, 0}, 0, ",",
         expected({"#000000", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1E2", "1E2",
                   "1E2", "0", "0", "0", "1E2", "0", "0", "0", "0", "0", "0"})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.rgb.red) << "," << int(c.rgb.green) << ","
                                        << int(c.rgb.blue) << " at " << c.places << " places with '"
                                        << c.separator << "'");
        const DisplayTexts texts = displayTexts(c.rgb, c.places, c.separator);
        for (std::size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(texts[i], c.texts[i]) << "field " << i;
    }
}

TEST(DisplayTexts, ManyPlacesStayFinite)
{
    const DisplayTexts texts = displayTexts({255, 128, 0}, 13, ".");
    EXPECT_EQ(texts[static_cast<std::size_t>(Field::PercentGreen)], "50.1960784313725");
    for (const auto &text : texts)
        EXPECT_EQ(text.find_first_of("NI"), std::string::npos) << text;
}

TEST(ModelTags, AreCaseSensitiveAndCoverEveryField)
{
    const std::pair<const char *, Model> tags[] = {
        {"HEX", Model::Hex}, {"TCOL", Model::TColor},  {"RGB", Model::Rgb},
        {"PROZENT", Model::Percent}, {"HSV", Model::Hsv}, {"CMY", Model::Cmy},
        {"CMYK", Model::Cmyk}, {"XYZ", Model::Xyz},    {"xyz", Model::Chromaticity},
    };
    for (const auto &[tag, model] : tags)
        EXPECT_EQ(modelFromTag(tag), model) << tag;
    for (const char *other : {"rgb", "Xyz", "", "HEX ", "PERCENT"})
        EXPECT_EQ(modelFromTag(other), std::nullopt) << other;

    EXPECT_EQ(modelOf(Field::Hex), Model::Hex);
    EXPECT_EQ(modelOf(Field::TColor), Model::TColor);
    EXPECT_EQ(modelOf(Field::Blue), Model::Rgb);
    EXPECT_EQ(modelOf(Field::PercentRed), Model::Percent);
    EXPECT_EQ(modelOf(Field::HsvV), Model::Hsv);
    EXPECT_EQ(modelOf(Field::Yellow), Model::Cmy);
    EXPECT_EQ(modelOf(Field::CmykK), Model::Cmyk);
    EXPECT_EQ(modelOf(Field::Y), Model::Xyz);
    EXPECT_EQ(modelOf(Field::ChromaZ), Model::Chromaticity);
}

} // namespace
