// The clipboard text of every copy row, with units off and on, with the
// default affixes and with edited ones.
#include "clipboard/copytext.h"

#include "tests/support/eventually.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <utility>

using namespace Qt::Literals::StringLiterals;
using tonfang::AffixTexts;
using tonfang::CopyRow;
using tonfang::Field;
using tonfang::FieldTexts;

namespace {

// The fields as the main window shows #FF8000 with two decimal places, in the
// order of Field.
FieldTexts orangeFields()
{
    const QStringList texts = u"#FF8000 33023 255 128 0 100 50.2 0 30.12 100 100 0 49.8 100 "
                              u"0 49.8 100 0 48.96 36.7 4.503 0.543 0.407 0.04994"_s.split(u' ');
    FieldTexts fields;
    std::copy(texts.begin(), texts.end(), fields.begin());
    return fields;
}

// Affix k reads "<k>", so that every slot shows where it landed.
AffixTexts numberedAffixes()
{
    AffixTexts affixes;
    for (std::size_t index = 0; index < affixes.size(); ++index)
        affixes[index] = QStringLiteral("<%1>").arg(index);
    return affixes;
}

TEST(CopyText, EveryRowWithUnitsOffAndOn)
{
    const struct {
        CopyRow row;
        QString off, defaults, numbered;
    } cases[] = {
        {CopyRow::Hex, u"#FF8000"_s, u"#FF8000"_s, u"<0>FF8000<1>"_s},
        {CopyRow::Rgb, u"255 128 0"_s, u"255 128 0"_s, u"<2>255<3>128<4>0<5>"_s},
        {CopyRow::Percent, u"100 50.2 0"_s, u"100% 50.2% 0%"_s, u"<6>100<7>50.2<8>0<9>"_s},
        {CopyRow::Cmyk, u"0 49.8 100 0"_s, u"0% 49.8% 100% 0%"_s,
         u"<10>0<11>49.8<12>100<13>0<14>"_s},
        {CopyRow::Cmy, u"0 49.8 100"_s, u"0% 49.8% 100%"_s, u"<15>0<16>49.8<17>100<18>"_s},
        {CopyRow::Hsv, u"30.12 100 100"_s, u"30.12\u00B0 100% 100%"_s,
         u"<19>30.12<20>100<21>100<22>"_s},
        {CopyRow::TColor, u"33023"_s, u"33023"_s, u"<23>33023<24>"_s},
        {CopyRow::Xyz, u"48.96 36.7 4.503"_s, u"48.96% 36.7% 4.503%"_s,
         u"<25>48.96<26>36.7<27>4.503<28>"_s},
        {CopyRow::Chromaticity, u"0.543 0.407 0.04994"_s, u"0.543 0.407 0.04994"_s,
         u"<29>0.543<30>0.407<31>0.04994<32>"_s},
        {CopyRow::Yxy, u"36.7 0.543 0.407"_s, u"36.7% 0.543 0.407"_s,
         u"<33>36.7<34>0.543<35>0.407<36>"_s},
    };
    const FieldTexts fields = orangeFields();
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.row));
        EXPECT_EQ(copyText(c.row, fields, tonfang::defaultAffixes(), false), c.off);
        EXPECT_EQ(copyText(c.row, fields, numberedAffixes(), false), c.off);
        EXPECT_EQ(copyText(c.row, fields, tonfang::defaultAffixes(), true), c.defaults);
        EXPECT_EQ(copyText(c.row, fields, numberedAffixes(), true), c.numbered);
    }
}

TEST(CopyText, FieldsAndAffixesAreTakenAsTheyStand)
{
    const struct {
        const char *what;
        CopyRow row;
        std::initializer_list<std::pair<Field, QString>> fields;
        std::initializer_list<std::pair<int, QString>> affixes;  // index into the defaults
        bool units;
        QString expected;
    } cases[] = {
        {"no # before the hex digits", CopyRow::Hex, {}, {{0, {}}}, true, u"FF8000"_s},
        {"a semicolon after them", CopyRow::Hex, {}, {{1, u";"_s}}, true, u"#FF8000;"_s},
        {"every # of a typed hex text goes", CopyRow::Hex, {{Field::Hex, u"##F#F"_s}}, {},
         true, u"#FF"_s},
        {"a typed hex text keeps its # without units", CopyRow::Hex,
         {{Field::Hex, u"##F#F"_s}}, {}, false, u"##F#F"_s},
        {"text that is no number", CopyRow::Rgb, {{Field::Green, u"1x2,5"_s}}, {}, false,
         u"255 1x2,5 0"_s},
        {"empty fields give empty parts", CopyRow::Cmyk,
         {{Field::CmykC, {}}, {Field::CmykY, {}}}, {}, false, u" 49.8  0"_s},
        {"empty fields with units", CopyRow::Percent, {{Field::PercentGreen, {}}}, {}, true,
         u"100% % 0%"_s},
        {"any characters as affixes", CopyRow::Hsv, {},
         {{19, u"→ "_s}, {20, u" µ\t"_s}, {22, u"\u00A0%\n"_s}}, true,
         u"→ 30.12 µ\t100% 100\u00A0%\n"_s},
        {"the Yxy form takes Y from the XYZ row", CopyRow::Yxy, {{Field::Y, u"7"_s}}, {}, true,
         u"7% 0.543 0.407"_s},
    };
    for (const auto &c : cases) {
        FieldTexts fields = orangeFields();
        for (const auto &[field, text] : c.fields)
            fields[std::size_t(field)] = text;
        AffixTexts affixes = tonfang::defaultAffixes();
        for (const auto &[index, text] : c.affixes)
            affixes[std::size_t(index)] = text;
        EXPECT_EQ(copyText(c.row, fields, affixes, c.units), c.expected) << c.what;
    }
}

} // namespace
