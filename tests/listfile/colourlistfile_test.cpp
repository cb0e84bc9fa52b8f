// The colour list file: the exact bytes written, which lines count when
// reading, where a bad line stops, and the same list in every encoding.

#include "listfile/colourlistfile.h"

#include "core/numbertext.h"
#include "editor/colourlist.h"
#include "editor/languagecode.h"
#include "tests/support/colourlisttesting.h"
#include "tests/support/errors.h"
#include "tests/support/tempfolder.h"
#include "tests/support/wholefilereader.h"

#include <QFile>

#include <gtest/gtest.h>

using tonfang::ColourBlock;
using tonfang::ColourListEntry;

// Beside the entry type, so that comparisons of whole lists find them.
// Beside the entry's type, where the comparisons look for them.
namespace tonfang {
inline bool operator==(const ColourListEntry &a, const ColourListEntry &b)
{
    return a.label == b.label && a.colour == b.colour;
}

inline void PrintTo(const ColourListEntry &entry, std::ostream *out)
{
    *out << entry.label.toStdString() << " " << entry.colour;
}
} // namespace tonfang

namespace {

using namespace tonfang;

const ColourListEntry white{QStringLiteral("(255 255 255)"), 0xFFFFFF};
const ColourListEntry black{QStringLiteral("(000 000 000)"), 0};

std::string failureText(const ColourListReading &reading)
{
    if (!reading.failure)
        return "<none>";
    try {
        std::rethrow_exception(reading.failure);
    } catch (const std::exception &error) {
        return error.what();
    }
}

using ColourListFileTest = TempFolderTest;

TEST_F(ColourListFileTest, WritesUpperCaseHexLinesEachEndedWithCrLf)
{
    const QString file = path("list.txt");
    ASSERT_TRUE(saveColourListFile(snapshotOf({white, black}), file));
    EXPECT_EQ(read(file), QByteArray("FFFFFF\r\n000000\r\n"));

    // Red comes first; only the low three bytes of the colour number count,
    // and the label is not stored.
    ASSERT_TRUE(saveColourListFile(snapshotOf({{QStringLiteral("anything"), 0x7F0A0BFF},
                                               {QStringLiteral("(001 002 003)"), 0x030201}}),
                                   file));
    EXPECT_EQ(read(file), QByteArray("FF0B0A\r\n010203\r\n"));

    ASSERT_TRUE(saveColourListFile(snapshotOf({}), file));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(read(file), QByteArray());

    EXPECT_FALSE(saveColourListFile(snapshotOf({white}), path("list.JPEG")));
    EXPECT_FALSE(QFile::exists(path("list.JPEG")));
}

struct ReadCase {
    const char *name;
    const char16_t *text;
    std::vector<ColourListEntry> entries;
};

TEST(ColourListText, TakesOnlySixUnitPiecesBetweenCrLf)
{
    const ColourListEntry red{QStringLiteral("(255 000 000)"), 255};
    const ColourListEntry mixed{QStringLiteral("(161 178 195)"), 161 + 178 * 256 + 195 * 65536};
    const ReadCase cases[] = {
        {"two lines", u"FFFFFF\r\n000000\r\n", {white, black}},
        {"no final line end", u"ff0000", {red}},
        {"line feeds only", u"ff0000\n00ff00", {}},
        {"carriage returns only", u"ff0000\r00ff00\r", {}},
        {"lower case", u"a1b2c3\r\n", {mixed}},
        {"leading hash", u"#a1b2c3\r\n", {}},
        {"leading blank", u" a1b2c3\r\n", {}},
        {"trailing blank", u"a1b2c3 \r\n", {}},
        {"blank lines between", u"\r\n\r\nff0000\r\n\r\n", {red}},
        {"empty", u"", {}},
        {"five and seven digits", u"FFFFF\r\nFFFFFFF\r\n", {}},
        {"duplicates kept in order", u"ff0000\r\nFFFFFF\r\nFF0000\r\n", {red, white, red}},
    };
    for (const ReadCase &c : cases) {
        const ColourListReading reading = readColourListText(QString::fromUtf16(c.text));
        EXPECT_EQ(reading.entries, c.entries) << c.name;
        EXPECT_FALSE(reading.failure) << c.name;
    }
}

struct BadLineCase {
    const char16_t *text;
    std::vector<ColourListEntry> before;
    const char *message;
};

TEST(ColourListText, StopsAtTheFirstBadPairKeepingTheLinesBefore)
{
    const BadLineCase cases[] = {
        {u"FFFFFF\r\n12345G\r\n000000\r\n", {white}, "'$5G' is not a valid integer value"},
        {u"GG0000\r\nFFFFFF\r\n", {}, "'$GG' is not a valid integer value"},
        {u"FFFFFF\r\n000000\r\n00-123", {white, black}, "'$-1' is not a valid integer value"},
        {u"12\u00E4\u00E456", {}, "'$\u00E4\u00E4' is not a valid integer value"},
        {u"\u00E41 2 3", {}, "'$\u00E41' is not a valid integer value"},
        {u"12 345\r\n", {}, "'$ 3' is not a valid integer value"},
    };
    for (const BadLineCase &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const ColourListReading reading = readColourListText(text);
        EXPECT_EQ(reading.entries, c.before) << text.toStdString();
        EXPECT_EQ(failureText(reading), c.message) << text.toStdString();
    }
}

TEST_F(ColourListFileTest, AppendsAfterTheEntriesAlreadyInTheList)
{
    ColourListModel model;
    model.append(QStringLiteral("(001 002 003)"), 0x030201);
    appendColourListFile(model, write("list.txt", "FFFFFF\r\n000000\r\n"));
    ASSERT_EQ(model.count(), 3);
    EXPECT_EQ(model.entry(0).label, QStringLiteral("(001 002 003)"));
    EXPECT_EQ(model.entry(1), white);
    EXPECT_EQ(model.entry(2), black);
}

TEST_F(ColourListFileTest, AppendsTheLinesBeforeABadOneThenFails)
{
    ColourListModel model;
    const QString file = write("list.txt", "FFFFFF\r\n12345G\r\n000000\r\n");
    EXPECT_EQ(errorOf<tonfang::ConversionError>([&] { appendColourListFile(model, file); }),
              "'$5G' is not a valid integer value");
    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(model.entry(0), white);
}

TEST_F(ColourListFileTest, AddsNothingWhenTheFileCannotBeReadOrDecoded)
{
    ColourListModel model;
    model.append(white.label, white.colour);
    EXPECT_THROW(appendColourListFile(model, path("missing.txt")), FileError);
    EXPECT_THROW(appendColourListFile(model, write("bad7.txt", "+/v8-FFFFFF\r\n+AG-\r\n")),
                 FileError);
    EXPECT_EQ(model.count(), 1);
    // Broken UTF-8 reads as an empty text: nothing to add and nothing to say.
    EXPECT_NO_THROW(appendColourListFile(
        model, write("bad8.txt", QByteArray("\xEF\xBB\xBF" "FFFFFF\r\n\xC3(\r\n"))));
    EXPECT_EQ(model.count(), 1);
}

// ASCII text in an encoding, mark included. In the wide encodings the mark is
// U+FEFF written like every other unit.
QByteArray encoded(const QByteArray &ascii, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Ansi:
        return ascii;
    case TextEncoding::Utf8:
        return "\xEF\xBB\xBF" + ascii;
    case TextEncoding::Utf7:
        return "+/v8-" + ascii;
    default:
        break;
    }
    const bool big = encoding == TextEncoding::Utf16BE || encoding == TextEncoding::Utf32BE;
    const int width = encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE ? 2 : 4;
    QByteArray bytes;
    const auto put = [&](std::uint32_t unit) {
        for (int i = 0; i < width; ++i)
            bytes += char(unit >> 8 * (big ? width - 1 - i : i));
    };
    put(0xFEFF);
    for (const char c : ascii)
        put(std::uint8_t(c));
    return bytes;
}

TEST_F(ColourListFileTest, ReadsTheSameListInEveryEncoding)
{
    const ColourListEntry mixed{QStringLiteral("(161 178 195)"), 161 + 178 * 256 + 195 * 65536};
    for (const TextEncoding encoding : {TextEncoding::Ansi, TextEncoding::Utf8, TextEncoding::Utf7, TextEncoding::Utf16LE,
                               TextEncoding::Utf16BE, TextEncoding::Utf32LE, TextEncoding::Utf32BE}) {
        const QString file = write(QString::number(int(encoding)),
                                   encoded("FFFFFF\r\na1b2c3\r\n", encoding));
        ASSERT_EQ(encodingOfFile(file), encoding);
        ColourListModel model;
        appendColourListFile(model, file);
        EXPECT_EQ(entriesOf(model), (std::vector<ColourListEntry>{white, mixed})) << int(encoding);
    }
}

TEST_F(ColourListFileTest, WritesEveryLineOfAListHeldInPieces)
{
    // The first piece of the list ends just where a piece of the file does.
    constexpr int full = int(ColourListModel::blockCapacity);
    ColourListModel model;
    model.appendBlocks({ColourBlock(full, 0x030201), ColourBlock(3, 0x0C0B0A),
                        ColourBlock(20000, 0xFFFFFF)});
    const QString file = path("pieces.txt");
    ASSERT_TRUE(saveColourListFile(model.snapshot(), file));
    const QByteArray text = read(file);
    ASSERT_EQ(text.size(), 8 * (full + 3 + 20000));
    EXPECT_EQ(text.mid(8 * (full - 1), 32),
              QByteArray("010203\r\n0A0B0C\r\n0A0B0C\r\n0A0B0C\r\n"));
    EXPECT_EQ(text.mid(8 * (full + 3), 8), QByteArray("FFFFFF\r\n"));
}

TEST_F(ColourListFileTest, ReadsBackWhatItWrote)
{
    // Enough lines to be written in several pieces.
    std::vector<ColourListEntry> entries;
    for (int i = 0; i < 40'000; ++i) {
        const int red = i % 256, green = (i * 7) % 256, blue = (i * 13) % 256;
        char label[16];
        std::snprintf(label, sizeof label, "(%03d %03d %03d)", red, green, blue);
        entries.push_back({QString::fromLatin1(label), red + 256 * green + 65536 * blue});
    }
    const QString file = path("round.txt");
    ASSERT_TRUE(saveColourListFile(snapshotOf(entries), file));
    EXPECT_EQ(QFile(file).size(), 8 * 40'000);
    ColourListModel model;
    appendColourListFile(model, file);
    EXPECT_EQ(entriesOf(model), entries);
}

} // namespace

// What each outcome of a reading leaves in the list and tells the user.
TEST(ColourListOpening, SettlesEachOutcomeAsReadingItWholeDid)
{
    using Status = ColourListReadResult::Status;
    const auto badLine = std::make_exception_ptr(tonfang::ConversionError("bad line"));
    const auto unreadable = std::make_exception_ptr(FileError("unreadable"));
    struct Case {
        Status status;
        bool discard;
        std::exception_ptr error;
        const char *language;
        int appended;
        std::string message;
    };
    const Case cases[] = {
        {Status::Finished, false, nullptr, "de", 2, "<none>"},
        {Status::Finished, false, badLine, "de", 2, "bad line"},
        {Status::Finished, true, unreadable, "de", 0, "unreadable"},
        {Status::Finished, true, nullptr, "de", 0, "<none>"}, // a void UTF-8 text
        {Status::Cancelled, false, badLine, "de", 0, "<none>"},
        {Status::TooMany, false, nullptr, "de", 0,
         "Die Farbliste kann höchstens 100.000.000 Einträge aufnehmen."},
        {Status::TooMany, false, nullptr, "en", 0,
         "The color list can hold at most 100,000,000 entries."},
    };
    for (const Case &c : cases) {
        tonfang::setLanguageCode(QString::fromLatin1(c.language));
        ColourListModel model;
        model.append(white.label, white.colour);
        ColourListReadResult result;
        result.status = c.status;
        result.discardEntries = c.discard;
        result.error = c.error;
        EXPECT_EQ(colourListReadOptions(model).maxEntries, tonfang::colourListCapacity - 1);
        std::vector<ColourBlock> blocks{{0xFFFFFF}, {0}};
        EXPECT_EQ(errorOf([&] { settleColourListOpening(model, std::move(blocks), result); }),
                  c.message);
        EXPECT_EQ(model.count(), 1 + c.appended) << c.message;
    }
    tonfang::setLanguageCode(tonfang::languageGerman);
}
