// Typing into the model fields: valid input moves every other model, anything
// incomplete, malformed or out of range leaves the colour alone.
#include "tprog_testing.h"

namespace {

struct Input {
    std::vector<std::pair<const char *, QString>> fields; // typed in this order
    const char *hex;                                     // e_hex afterwards
};

void PrintTo(const Input &input, std::ostream *out)
{
    for (const auto &[name, text] : input.fields)
        *out << name << "='" << text.toStdString() << "' ";
}

class TprogInputTest : public TprogTest, public ::testing::WithParamInterface<Input> {};

// Starts from black, or from white where a case needs other fields non-zero.
const std::vector<Input> accepted = {
    {{{"e_hex", "#FF8000"}}, "#FF8000"},
    {{{"e_red", "255"}}, "#FF0000"},
    {{{"e_red", "$FF"}}, "#FF0000"},
    {{{"e_red", " 12"}}, "#0C0000"},
    {{{"e_pr", "50"}}, "#800000"}, // 127.5 rounds to the even 128
    {{{"e_pr", "100"}}, "#FF0000"},
    {{{"e_hsvS", "100"}, {"e_hsvV", "100"}, {"e_hsvH", "360"}}, "#FF0000"},
    {{{"e_hsvS", "100"}, {"e_hsvV", "100"}, {"e_hsvH", "120"}}, "#00FF00"},
    {{{"e_cyan", "0"}, {"e_magenta", "0"}, {"e_yellow", "0"}}, "#FFFFFF"},
    {{{"e_k", "0"}}, "#FFFFFF"},
    {{{"e_c", "100"}, {"e_k", "0"}}, "#00FFFF"},
    {{{"e_tcolor", "33023"}}, "#FF8000"},
    {{{"e_tcolor", "-1"}}, "#FFFFFF"},
    {{{"e_tcolor", "2147483647"}}, "#FFFFFF"},
    {{{"e_yy", "100"}, {"e_x", "95.047"}, {"e_z", "108.883"}}, "#FFFFFF"},
};

} // namespace

TEST_P(TprogInputTest, TypedModelMovesTheOthers)
{
    for (const auto &[name, text] : GetParam().fields)
        type(name, text);
    EXPECT_EQ(text("e_hex"), GetParam().hex);
    EXPECT_EQ(window->farbfeld->colour(),
              tonfang::HexToTColor(GetParam().hex + 1));
    EXPECT_FALSE(window->guardFlag());
}
INSTANTIATE_TEST_SUITE_P(Models, TprogInputTest, ::testing::ValuesIn(accepted));

TEST_F(TprogTest, HexFormsAndTheUntouchedField)
{
    for (const QString hex : {"#FF8000", "FF8000", "#FF#80#00", "ff8000"}) {
        window->RGBtoALL({0, 0, 0});
        paste("e_hex", hex);
        EXPECT_EQ(text("e_tcolor"), "33023") << hex.toStdString();
        EXPECT_EQ(text("e_red"), "255");
        EXPECT_EQ(text("e_green"), "128");
        EXPECT_EQ(window->farbfeld->colour(), 33023);
        // The user's own text stays as typed until another model moves the colour.
        EXPECT_EQ(text("e_hex"), hex);
    }
    type("e_red", "0");
    EXPECT_EQ(text("e_hex"), "#008000");
}

TEST_F(TprogTest, RejectedInputChangesNothing)
{
    const std::vector<std::pair<const char *, QString>> rejected = {
        {"e_hex", "$FF8000"}, {"e_hex", "FF80"},     {"e_hex", "#GG8000"}, {"e_red", "256"},
        {"e_red", "-1"},      {"e_red", "12 "},     {"e_red", ""},        {"e_pr", "101"},
        {"e_pr", "5O"},       {"e_hsvH", "360.5"}, {"e_hsvS", "-0.1"},   {"e_c", "100.01"},
        {"e_cyan", "1e3"},    {"e_x", "95.048"},   {"e_yy", "100.5"},    {"e_tcolor", "1.5"},
        {"e_tcolor", "2147483648"}};
    window->RGBtoALL({10, 20, 30});
    const Tprog &shown = *window;
    for (const auto &[name, input] : rejected) {
        std::vector<QString> before = allTexts();
        paste(name, input);
        for (int index = 0; index < tonfang::fieldCount; ++index) {
            QLineEdit *field = shown.field(tonfang::Field(index));
            if (field->objectName() == name)
                continue;
            EXPECT_EQ(field->text(), before[std::size_t(index)])
                << name << " = '" << input.toStdString() << "' changed "
                << field->objectName().toStdString();
        }
        EXPECT_EQ(shown.farbfeld->colour(), 10 + 20 * 256 + 30 * 65536);
        window->RGBtoALL({10, 20, 30}); // puts the rejected text right again
    }
}

TEST_F(TprogTest, AnIncompleteModelBlocksUntilItIsANumberAgain)
{
    type("e_green", "");
    type("e_red", "200");
    EXPECT_EQ(text("e_hex"), "#000000");
    type("e_green", "100");
    EXPECT_EQ(text("e_hex"), "#C86400");
}

TEST_F(TprogTest, WhiteXyzRowCannotBeEditedFieldByField)
{
    window->RGBtoALL({255, 255, 255});
    ASSERT_EQ(text("e_x"), "95.05");
    ASSERT_EQ(text("e_z"), "108.9");
    type("e_yy", "50");
    EXPECT_EQ(text("e_hex"), "#FFFFFF") << "X and Z still stand above their bounds";
    type("e_x", "95");
    type("e_z", "100");
    EXPECT_NE(text("e_hex"), "#FFFFFF");
}

TEST_F(TprogTest, ChromaticityRowTakesLuminanceFromTheXyzRow)
{
    window->RGBtoALL({255, 255, 255});
    ASSERT_EQ(text("e_kx"), "0.3127");
    ASSERT_EQ(text("e_ky"), "0.329");
    ASSERT_EQ(text("e_yy"), "100");
    window->RGBtoALL({0, 0, 0});
    window->setGuardFlag(true);
    edit("e_yy")->setText("100");
    edit("e_kx")->setText("0.3127");
    window->setGuardFlag(false);
    edit("e_ky")->setText("0.329");
    EXPECT_EQ(text("e_hex"), "#FFFFFF");
    EXPECT_EQ(text("e_kz"), "0.3583");

    // Stepping y down to 0 gives black, whatever x and Y are.
    click("ud_ky", false);
    EXPECT_EQ(text("e_ky"), "0");
    EXPECT_EQ(text("e_hex"), "#000000");
    EXPECT_EQ(text("e_kz"), "0");
    EXPECT_EQ(text("e_kx"), "0.3127");
}
