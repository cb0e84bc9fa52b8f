// The synchroniser: the texts it writes, what a tag leaves alone, the guard
// flag, and that an unchanged colour writes nothing.
#include "tprog_testing.h"

#include <QLocale>
#include <QStyle>

#include <clocale>

namespace {

using Texts = std::vector<QString>;

const Texts orangeAt2 = {"#FF8000", "33023", "255",  "128",   "0",     "100",  "50.2", "0",
                         "30.12",   "100",   "100",  "0",     "49.8",  "100",  "0",    "49.8",
                         "100",     "0",     "48.96", "36.7", "4.503", "0.543", "0.407", "0.04994"};
const Texts orangeAt0 = {"#FF8000", "33023", "255", "128", "0",   "1E2", "50",   "0",
                         "30",      "1E2",   "1E2", "0",   "50",  "1E2", "0",    "50",
                         "1E2",     "0",     "49",  "37",  "4.5", "0.54", "0.41", "0.05"};

Texts withSeparator(Texts texts, const QString &separator)
{
    for (QString &text : texts)
        text.replace(QLatin1Char('.'), separator);
    return texts;
}

} // namespace

TEST_F(TprogTest, WritesEveryModelOfOrangeAtTwoAndZeroPlaces)
{
    if (window->decimalSeparator() != ".")
        GTEST_SKIP() << "the table is written with a decimal point";
    window->RGBtoALL({255, 128, 0});
    EXPECT_EQ(allTexts(), orangeAt2);
    EXPECT_EQ(window->farbfeld->colour(), 33023);
    window->setDecimalPlaces(0);
    window->RGBtoALL({255, 128, 0});
    EXPECT_EQ(allTexts(), orangeAt0);
}

// Run with LC_ALL=de_DE.UTF-8 (second ctest entry): reading and writing use ",".
TEST_F(TprogTest, CommaLocaleWritesAndReadsWithComma)
{
    if (QLocale::system().decimalPoint() != ",")
        GTEST_SKIP() << "needs a locale with a decimal comma";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "the C library stayed in another locale";
    EXPECT_EQ(window->decimalSeparator(), ",");
    window->RGBtoALL({255, 128, 0});
    EXPECT_EQ(allTexts(), withSeparator(orangeAt2, ","));

    type("e_pr", "50,2");
    EXPECT_EQ(text("e_red"), "128");
    paste("e_pg", "50.2");
    EXPECT_EQ(text("e_hex"), "#808000") << "a point is no decimal sign here";
    click("ud_pb");
    EXPECT_EQ(text("e_pb"), "1");
    paste("e_pb", "12,5");
    click("ud_pb");
    EXPECT_EQ(text("e_pb"), "13,5");
}

TEST_F(TprogTest, TagLeavesOnlyItsOwnModelAlone)
{
    const std::vector<std::pair<QString, std::vector<const char *>>> tags = {
        {"HEX", {"e_hex"}},
        {"TCOL", {"e_tcolor"}},
        {"RGB", {"e_red", "e_green", "e_blue"}},
        {"PROZENT", {"e_pr", "e_pg", "e_pb"}},
        {"HSV", {"e_hsvH", "e_hsvS", "e_hsvV"}},
        {"CMY", {"e_cyan", "e_magenta", "e_yellow"}},
        {"CMYK", {"e_c", "e_m", "e_y", "e_k"}},
        {"XYZ", {"e_x", "e_yy", "e_z"}},
        {"xyz", {"e_kx", "e_ky", "e_kz"}},
        {"rgb", {}}, // not a tag: rewrites everything
        {"", {}},
    };
    const Texts expected = withSeparator(orangeAt2, window->decimalSeparator());
    for (const auto &[tag, kept] : tags) {
        window->RGBtoALL({0, 0, 0});
        window->setGuardFlag(true);
        for (const char *name : kept)
            edit(name)->setText("mine");
        window->setGuardFlag(false);

        window->RGBtoALLAusnahme(tag, {255, 128, 0});
        EXPECT_EQ(window->farbfeld->colour(), 33023) << tag.toStdString();
        for (int index = 0; index < tonfang::fieldCount; ++index) {
            const QLineEdit *field = window->field(tonfang::Field(index));
            const bool isKept = std::any_of(kept.begin(), kept.end(), [&](const char *name) {
                return field->objectName() == name;
            });
            EXPECT_EQ(field->text(), isKept ? "mine" : expected[std::size_t(index)])
                << tag.toStdString() << ": " << field->objectName().toStdString();
        }
    }
}

TEST_F(TprogTest, GuardIsOffAfterEveryCallAndHandlersStayQuietDuringIt)
{
    int handlerRuns = 0;
    // A second handler on a field sees the guard as the field handlers do.
    QObject::connect(edit("e_red"), &QLineEdit::textChanged, window.get(),
                     [&] { handlerRuns += window->guardFlag() ? 0 : 1; });
    window->setGuardFlag(true);
    window->RGBtoALL({1, 2, 3});
    EXPECT_FALSE(window->guardFlag());
    window->setGuardFlag(true);
    window->RGBtoALLAusnahme("RGB", {4, 5, 6});
    EXPECT_FALSE(window->guardFlag());
    EXPECT_EQ(handlerRuns, 0);
    EXPECT_EQ(text("e_red"), "1") << "the RGB row was left alone";
    EXPECT_EQ(text("e_hex"), "#040506");
}

TEST_F(TprogTest, SameColourAgainWritesNothing)
{
    window->RGBtoALL({200, 100, 50});
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int index = 0; index < tonfang::fieldCount; ++index)
        spies.push_back(std::make_unique<QSignalSpy>(window->field(tonfang::Field(index)),
                                                     &QLineEdit::textChanged));
    window->RGBtoALL({200, 100, 50});
    window->RGBtoALLAusnahme("HSV", {200, 100, 50});
    for (int index = 0; index < tonfang::fieldCount; ++index)
        EXPECT_EQ(spies[std::size_t(index)]->count(), 0) << index;

    // A different colour writes only the texts that change.
    window->RGBtoALL({200, 100, 51});
    EXPECT_EQ(spies[std::size_t(tonfang::Field::Red)]->count(), 0);
    EXPECT_EQ(spies[std::size_t(tonfang::Field::Blue)]->count(), 1);
}

// Long texts the program writes read from their first character, in a field
// the user is not in: the left end of what the field paints must be what a
// field holding only the first characters paints there.
TEST_F(TprogTest, FieldsTheProgramWritesShowTheirFirstCharacter)
{
    const auto showsItsStart = [](QLineEdit *field) {
        QLineEdit start(field->text().left(4), field->parentWidget());
        start.setGeometry(field->geometry());
        start.setEnabled(field->isEnabled());
        const int margin = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
        const int twoCharacters = field->fontMetrics().horizontalAdvance(field->text().left(2));
        const QRect head(0, 0, margin + twoCharacters, field->height());
        return field->grab(head).toImage() == start.grab(head).toImage();
    };
    for (TFloatUpDown *control : window->spinControls())
        control->setPrecision(13);
    window->setDecimalPlaces(13);
    window->RGBtoALL({255, 128, 0});
    click("ud_m");  // the spin control writes its own field
    ASSERT_TRUE(text("e_m").startsWith("50" + window->decimalSeparator() + "80392156"))
        << text("e_m").toStdString();
    for (const char *name : {"e_hsvH", "e_pg", "e_m", "e_magenta", "e_x", "e_kx", "e_kz"}) {
        ASSERT_GT(edit(name)->fontMetrics().horizontalAdvance(text(name)), edit(name)->width())
            << name;
        EXPECT_TRUE(showsItsStart(edit(name))) << name << " shows " << text(name).toStdString();
    }
    // The field the user is in keeps its cursor where typing goes on.
    edit("e_x")->setFocus();
    QTest::keyClick(edit("e_x"), Qt::Key_Up);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    EXPECT_EQ(edit("e_x")->cursorPosition(), text("e_x").size());
}
