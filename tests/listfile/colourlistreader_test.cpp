// The colour list file read as a stream: the same colours and messages as
// reading it whole, however the reads divide it; bounded on an endless file;
// the entry limit.

#include "listfile/colourlistreader.h"

#include "tests/support/colourlistoutcome.h"
#include "tests/support/tempfolder.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <future>

#include <malloc.h>
#include <sys/stat.h>
#include <iconv.h>

using tonfang::ColourBlock;

namespace {

using namespace tonfang;

// A text in an encoding, mark included; nothing when the encoding cannot hold
// it (UTF-7 and UTF-8 have no unpaired surrogates).
std::optional<QByteArray> encoded(const QString &text, TextEncoding encoding)
{
    const bool unpaired = !QStringView(text).isValidUtf16();
    QByteArray bytes;
    switch (encoding) {
    case TextEncoding::Ansi:
    case TextEncoding::Utf8:
        if (unpaired)
            return std::nullopt;
        return (encoding == TextEncoding::Utf8 ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
    case TextEncoding::Utf7: {
        const iconv_t utf7 = iconv_open("UTF-7", "UTF-16LE");
        QByteArray in(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        QByteArray out(text.size() * 8 + 16, '\0');
        char *inPointer = in.data(), *outPointer = out.data();
        std::size_t inLeft = std::size_t(in.size()), outLeft = std::size_t(out.size());
        const bool done = iconv(utf7, &inPointer, &inLeft, &outPointer, &outLeft) != std::size_t(-1)
                          && iconv(utf7, nullptr, nullptr, &outPointer, &outLeft) != std::size_t(-1);
        iconv_close(utf7);
        if (!done)
            return std::nullopt;
        return "+/v8-" + out.first(outPointer - out.data());
    }
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        for (const QChar unit : QString(QChar(0xFEFF)) + text) {
            char pair[2];
            encoding == TextEncoding::Utf16BE ? qToBigEndian(unit.unicode(), pair)
                                        : qToLittleEndian(unit.unicode(), pair);
            bytes.append(pair, 2);
        }
        return bytes;
    default:
        for (const char32_t codePoint : (QString(QChar(0xFEFF)) + text).toUcs4()) {
            char unit[4];
            encoding == TextEncoding::Utf32BE ? qToBigEndian(std::uint32_t(codePoint), unit)
                                        : qToLittleEndian(std::uint32_t(codePoint), unit);
            bytes.append(unit, 4);
        }
        return bytes;
    }
}

// Texts whose boundaries fall in every place of some read: CR LF, sequences
// and surrogate pairs, UTF-7 shifts, bad lines, marks inside the text.
const char16_t *const texts[] = {
    u"FFFFFF\r\na1b2c3\r\n",
    u"ff0000",
    u"ff0000\r\r\n00ff00\n\r\n\r",
    u"FFFFFF\r\n12345G\r\n000000\r\n",
    (u"\xFEFF" u"FF0000\r\n\xFEFF" u"00FF00\r\n\xFEFF\xFEFF"),
    u"12\u00E4\u00E456\r\n\u00E4\u00E4\u00E4\u00E4\u00E4\u00E4\r\n",
    u"0000ff\r\nab\U0001F600cd\r\n",
    (u"0000ff\r\n12\xD800" u"456\r\n"),
    u"a\xDC00\r\n12345\xD800\r\n",
    u"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\r\nFFFFFFF\r\n00000\u00E9\r\n",
    u"0000ff\r\n12 345\r\nFFFFFF",
    u"",
};

// Files that no text gives: short files, odd tails, broken sequences.
using namespace std::string_view_literals;
const std::string_view rawFiles[] = {
    ""sv, "F"sv, "FF"sv, "\xFF\xFE"sv, "\xFF\xFE\x00"sv, "\xFE\xFF\x00"sv, "\xFF\xFE\x00\x00"sv,
    "\xEF\xBB"sv, "\xEF\xBB\xBF"sv, "+/v8"sv, "+/v8-"sv, "\x00\x00\xFE\xFF\x00\x00\x00"sv,
    ("\xEF\xBB\xBF" "FFFFFF\r\n12345G\r\n\xC3(\r\n"),
    ("\xEF\xBB\xBF" "FFFFFF\r\n\xC3(\r\n12345G\r\n"),
    ("\xEF\xBB\xBF" "FFFFFF\r\n12345G\r\n\xE2\x82"),
    ("\xEF\xBB\xBF" "FFFFFF\r\n\xF0\x9F\x98\x80" "FF\r\n\xED\xA0\x80" "FFFF\r\n"),
    ("FF\xC3" "000\r\nFF\xE2\x82\xAC" "00\r\n\xE0\x80\x80" "FFF\r\n\xF4\x90\x80\x80" "FF\r\n\x80\x80\x80\x80\x80\x80"),
    "FFFFFF\r\n\xF0\x9F\x98",
    "+/v8-FFFFFF\r\n12345G\r\n+AG-\r\n",
    "+/v8-+AGEAMQBi-b2c3\r\n+AGE-",
    "+/v8-FFFFFF\r\n+2D3eAA-\r\n"sv,
};

struct EncodedFile {
    std::string name;
    QByteArray bytes;
};

// Some thousand lines, plain ones among odd ones, and a bad one last: longer
// than the stretches in which odd lines are decoded.
QString longMixedText()
{
    QString text;
    for (int line = 0; line < 1500; ++line)
        text += line % 7 == 0 ? u"\u00E4bc\r\n" : line % 11 == 0 ? u"\r\n\n" : u"a1b2c3\r\n";
    text += u"12345G\r\n";
    return text;
}

std::vector<EncodedFile> generatedFiles()
{
    std::vector<EncodedFile> files;
    for (const std::string_view raw : rawFiles) {
        const QByteArray bytes(raw.data(), qsizetype(raw.size()));
        files.push_back({"raw " + bytes.toHex().toStdString(), bytes});
    }
    for (const TextEncoding encoding : {TextEncoding::Ansi, TextEncoding::Utf8, TextEncoding::Utf7, TextEncoding::Utf16LE,
                               TextEncoding::Utf16BE, TextEncoding::Utf32LE, TextEncoding::Utf32BE}) {
        std::vector<QString> unicodeTexts{longMixedText()};
        for (const char16_t *const text : texts) // not fromUtf16(), which drops a leading U+FEFF
            unicodeTexts.push_back(QStringView(text).toString());
        for (const QString &unicode : unicodeTexts) {
            const std::optional<QByteArray> bytes = encoded(unicode, encoding);
            if (!bytes)
                continue;
            const std::string name = std::to_string(int(encoding)) + " "
                                     + unicode.toUtf8().toHex().left(80).toStdString();
            files.push_back({name, *bytes});
            // A final odd byte, or a unit cut short.
            files.push_back({name + " + 3 bytes", *bytes + QByteArray("\x0D\x0A\x00", 3)});
        }
    }
    return files;
}

using ColourListReaderTest = TempFolderTest;

TEST_F(ColourListReaderTest, GivesWhatReadingTheWholeFileGivesHoweverTheReadsDivideIt)
{
    int compared = 0;
    for (const EncodedFile &file : generatedFiles()) {
        const QString name = write(QStringLiteral("list.txt"), file.bytes);
        const ColourListOutcome whole = wholeFileOutcome(name);
        for (const qsizetype readBytes : {1, 2, 3, 4, 5, 6, 7, 8, 13, 4096, 65536}) {
            for (const std::size_t blockEntries : {std::size_t(1), std::size_t(2), std::size_t(1) << 16}) {
                const ColourListOutcome streamed = streamedOutcome(name, {readBytes, blockEntries});
                ASSERT_EQ(streamed, whole) << file.name << ", reads of " << readBytes
                                           << ", blocks of " << blockEntries << ": "
                                           << streamed.message << " / " << whole.message;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 2000);
}

// Plain colour lines are read from the bytes directly: every byte in every
// digit's place must still give what the decoded text gives.
TEST_F(ColourListReaderTest, TakesEveryByteInEveryDigitPlaceAsTheTextDoes)
{
    for (int place = 0; place < 6; ++place) {
        for (int byte = 0; byte < 256; ++byte) {
            QByteArray line("0a0F00\r\n");
            line[place] = char(byte);
            const QString name = write(QStringLiteral("line.txt"), line + line);
            ASSERT_EQ(streamedOutcome(name, {}), wholeFileOutcome(name)) << place << " " << byte;
        }
    }
}

TEST_F(ColourListReaderTest, RefusesWhatCannotBeOpenedWithTheSameMessage)
{
    for (const QString &name : {path(QStringLiteral("missing.txt")), dir.path(), QStringLiteral("/dev/zero")}) {
        const ColourListOutcome whole = wholeFileOutcome(name);
        EXPECT_NE(whole.message, "") << name.toStdString();
        EXPECT_EQ(streamedOutcome(name, {}), whole) << name.toStdString();
    }
}

TEST_F(ColourListReaderTest, RefusesAPipePutInTheFilesPlaceWithoutWaitingForIt)
{
    const QString name = write(QStringLiteral("list.txt"), "FFFFFF\r\n");
    ColourListReadHooks hooks;
    hooks.beforeOpen = [&] { QFile::remove(name), mkfifo(QFile::encodeName(name), 0600); };
    auto reading = std::async(std::launch::async, [&] { return readColourListFile(name, hooks); });
    if (reading.wait_for(std::chrono::seconds(30)) == std::future_status::timeout)
        ADD_FAILURE(), QFile(name).open(QIODevice::WriteOnly); // lets the waiting open go
    EXPECT_EQ(messageOf(reading.get().error),
              "file: Cannot open file \"" + name.toStdString() + "\". Not a regular file");
}

// At most `maxEntries` colour lines are taken; one more stops the reading.
TEST_F(ColourListReaderTest, StopsAtTheFirstColourLinePastTheLimit)
{
    struct Case {
        const char *text;
        std::uint64_t maxEntries;
        ColourListReadResult::Status status;
    };
    using Status = ColourListReadResult::Status;
    const Case cases[] = {
        {"FFFFFF\r\n000000\r\nFF0000\r\n", 2, Status::TooMany},
        {"FFFFFF\r\n000000\r\nFF0000\r\n", 3, Status::Finished},
        {"FFFFFF\r\n000000\r\nFF0000", 2, Status::TooMany},
        {"FFFFFF\r\n000000\r\n12345G\r\nFF0000\r\n", 2, Status::Finished},
        {"FFFFFF\r\n\r\n#000000\r\n", 1, Status::Finished},
        {"FFFFFF\r\n", 0, Status::TooMany},
    };
    for (const Case &c : cases) {
        std::size_t delivered = 0;
        ColourListReadHooks hooks;
        hooks.deliver = [&delivered](ColourBlock &&block) { delivered += block.size(); };
        const ColourListReadResult result = readColourListFile(write(QStringLiteral("list.txt"), c.text),
                                                               hooks, {3, 1, c.maxEntries});
        EXPECT_EQ(result.status, c.status) << c.text << " " << c.maxEntries;
        EXPECT_LE(delivered, c.maxEntries) << c.text;
    }
}

// A regular file of size 0 that never ends: reading it holds nothing of it and
// stops when asked.
TEST(ColourListReader, ReadsAnEndlessFileInBoundedMemoryUntilCancelled)
{
    const QString endless = QStringLiteral("/proc/self/pagemap");
    QFile probe(endless);
    if (!probe.open(QIODevice::ReadOnly) || probe.read(8).size() != 8)
        GTEST_SKIP() << "/proc/self/pagemap cannot be read here";

    constexpr qint64 readBeforeCancel = 64 << 20;
    qint64 read = 0;
    std::size_t delivered = 0;
    // Allocated on the heap, and in blocks of their own.
    const auto held = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
    const std::size_t heldBefore = held();
    std::size_t mostHeld = heldBefore;
    ColourListReadHooks hooks;
    hooks.deliver = [&delivered](ColourBlock &&block) { delivered += block.size(); };
    hooks.progress = [&read](qint64 bytesRead, qint64) { read = bytesRead; };
    hooks.cancelRequested = [&] {
        mostHeld = std::max(mostHeld, held());
        return read >= readBeforeCancel;
    };
    const ColourListReadResult result = readColourListFile(endless, hooks, {1 << 16});
    EXPECT_EQ(result.status, ColourListReadResult::Status::Cancelled);
    EXPECT_GE(read, readBeforeCancel);
    EXPECT_EQ(delivered, 0u);
    // One read and its text, not the file.
    EXPECT_LT(mostHeld - heldBefore, std::size_t(4) << 20);
}

} // namespace
