// The wide text file routines: splitting, byte-order marks, the seven
// encodings with their odd corners, and files that cannot be read or written.

#include "picking/widefunc.h"
#include "tests/support/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The units as written; QString::fromUtf16 would drop a leading U+FEFF.
QString units(const std::u16string &text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
}

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value));
    return bytes;
}

class WideFileTest : public TempFolderTest {
protected:
    // The message of the WideFileError that `action` throws, or "<none>".
    template <typename Action>
    static std::string errorOf(Action action)
    {
        try {
            action();
        } catch (const WideFileError &error) {
            return error.what();
        }
        return "<none>";
    }
};

// ---- splitting ---------------------------------------------------------------

struct SplitCase {
    const char16_t *text;
    const char16_t *separator;
    QStringList parts;
};

TEST(SplitWide, SplitsOnlyAtTheWholeSeparator)
{
    const SplitCase cases[] = {
        {u"FFFFFF\r\n000000\r\n", u"\r\n", {"FFFFFF", "000000", ""}},
        {u"", u"\r\n", {""}},
        {u"\r\n", u"\r\n", {"", ""}},
        {u"ff0000\n00ff00", u"\r\n", {"ff0000\n00ff00"}},
        {u"a\rb\r\n\r\nc", u"\r\n", {"a\rb", "", "c"}},
        {u"ab\r", u"\r\n", {"ab\r"}},
        {u"a;b", u"", {"a;b"}}, // an empty separator must not loop for ever
        {u"aaa", u"aa", {"", "a"}}, // matches never overlap, nor does the count
    };
    for (const SplitCase &c : cases) {
        QStringList parts;
        const qsizetype count =
            SplitWide(parts, QStringView(c.separator), QStringView(c.text));
        EXPECT_EQ(parts, c.parts) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(count, c.parts.size());
    }
}

// ---- code points -------------------------------------------------------------

TEST(CodePointToWide, GivesOneUnitOrASurrogatePairOrAQuestionMark)
{
    const std::pair<std::uint32_t, std::u16string> cases[] = {
        {0x41, u"A"},
        {0xFC, u"\u00FC"},
        {0xFFFF, u"\uFFFF"},
        {0x10000, u"\xD800\xDC00"},
        {0x1F600, u"\xD83D\xDE00"},
        {0x10FFFF, u"\xDBFF\xDFFF"},
        {0xD800, u"?"},
        {0xDFFF, u"?"},
        {0x110000, u"?"},
        {0xFFFFFFFF, u"?"},
    };
    for (const auto &[codePoint, expected] : cases)
        EXPECT_EQ(CodePointToWide(codePoint), units(expected))
            << std::hex << codePoint;
}

// ---- byte-order marks --------------------------------------------------------

TEST_F(WideFileTest, DetectsTheEncodingByMarkInOrder)
{
    const std::pair<QByteArray, int> cases[] = {
        {{}, EncodingAnsi},
        {bytesOf({0xFF}), EncodingAnsi},
        {bytesOf({0xFF, 0xFE}), EncodingUtf16LE},
        {bytesOf({0xFE, 0xFF}), EncodingUtf16BE},
        {bytesOf({0xFF, 0xFE, 0x41, 0x00}), EncodingUtf16LE},
        {bytesOf({0xFF, 0xFE, 0x00}), EncodingUtf16LE},
        {bytesOf({0xFF, 0xFE, 0x00, 0x00}), EncodingUtf32LE},
        {bytesOf({0x00, 0x00, 0xFE, 0xFF}), EncodingUtf32BE},
        {bytesOf({0x00, 0x00, 0xFE}), EncodingAnsi},
        {bytesOf({0xEF, 0xBB, 0xBF}), EncodingUtf8},
        {bytesOf({0xEF, 0xBB}), EncodingAnsi},
        {QByteArray("+/v8-abc"), EncodingUtf7},
        {QByteArray("+/v9"), EncodingAnsi},
        {QByteArray("FFFFFF\r\n"), EncodingAnsi},
    };
    int n = 0;
    for (const auto &[bytes, expected] : cases) {
        const QString file = write(QString::number(n++), bytes);
        EXPECT_EQ(DetectTextEncoding(file), expected) << bytes.toHex(' ').toStdString();
    }
}

// ---- decoding ----------------------------------------------------------------

struct DecodeCase {
    const char *name;
    QByteArray bytes;
    std::u16string text;
};

TEST_F(WideFileTest, LoadsEachEncodingToTheSameText)
{
    // "A", u-umlaut and an emoji outside the basic plane, in every encoding.
    const std::u16string text = u"A\u00FC\xD83D\xDE00\r\n";
    const DecodeCase cases[] = {
        {"locale", bytesOf({0x41, 0xC3, 0xBC, 0xF0, 0x9F, 0x98, 0x80, 13, 10}), text},
        {"utf-8", bytesOf({0xEF, 0xBB, 0xBF, 0x41, 0xC3, 0xBC, 0xF0, 0x9F, 0x98, 0x80, 13, 10}),
         text},
        {"utf-7", QByteArray("+/v8-A+APzYPd4A-\r\n"), text},
        {"utf-16le", bytesOf({0xFF, 0xFE, 0x41, 0, 0xFC, 0, 0x3D, 0xD8, 0x00, 0xDE, 13, 0, 10, 0}),
         text},
        {"utf-16be", bytesOf({0xFE, 0xFF, 0, 0x41, 0, 0xFC, 0xD8, 0x3D, 0xDE, 0x00, 0, 13, 0, 10}),
         text},
        {"utf-32le", bytesOf({0xFF, 0xFE, 0, 0, 0x41, 0, 0, 0, 0xFC, 0, 0, 0, 0x00, 0xF6, 0x01, 0,
                              13, 0, 0, 0, 10, 0, 0, 0}),
         text},
        {"utf-32be", bytesOf({0, 0, 0xFE, 0xFF, 0, 0, 0, 0x41, 0, 0, 0, 0xFC, 0, 0x01, 0xF6, 0x00,
                              0, 0, 0, 13, 0, 0, 0, 10}),
         text},
    };
    for (const DecodeCase &c : cases)
        EXPECT_EQ(LoadWideTextFile(write(QString::fromLatin1(c.name), c.bytes)),
                  units(c.text))
            << c.name;
}

TEST_F(WideFileTest, HandlesTheOddCornersOfEachEncoding)
{
    const DecodeCase cases[] = {
        // A UTF-16 LE text beginning with U+0000 carries the UTF-32 LE mark.
        {"utf-16le starting with nul", bytesOf({0xFF, 0xFE, 0, 0, 0x41, 0}), u""},
        {"utf-16le starting with nul, longer", bytesOf({0xFF, 0xFE, 0, 0, 0x41, 0, 0x42, 0}), u"?"},
        {"utf-16le odd trailing byte", bytesOf({0xFF, 0xFE, 0x41, 0, 0x42}), u"A"},
        {"utf-16le mark only", bytesOf({0xFF, 0xFE}), u""},
        {"utf-16le one byte after the mark", bytesOf({0xFF, 0xFE, 0x41}), u""},
        {"utf-16be lone surrogate kept", bytesOf({0xFE, 0xFF, 0xD8, 0x00}), u"\xD800"},
        {"utf-32le trailing bytes", bytesOf({0xFF, 0xFE, 0, 0, 0x41, 0, 0, 0, 0x42}), u"A"},
        {"utf-32be surrogate value", bytesOf({0, 0, 0xFE, 0xFF, 0, 0, 0xD8, 0}), u"?"},
        {"utf-32be above the last code point", bytesOf({0, 0, 0xFE, 0xFF, 0, 0x11, 0, 0}), u"?"},
        {"utf-8 broken continuation", bytesOf({0xEF, 0xBB, 0xBF, 0x41, 0xC3, 0x41}), u""},
        {"utf-8 cut at the end", bytesOf({0xEF, 0xBB, 0xBF, 0x41, 0xE2, 0x82}), u""},
        {"utf-8 stray continuation byte", bytesOf({0xEF, 0xBB, 0xBF, 0x41, 0x80}), u""},
        {"utf-8 second mark kept", bytesOf({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 0x41}),
         u"\uFEFFA"},
        {"utf-7 mark only", QByteArray("+/v8"), u""},
        {"utf-7 plus-minus is a plus", QByteArray("+/v8-1+-2"), u"1+2"},
        {"single byte file", QByteArray("A"), u"A"},
        {"locale bytes that are no characters", bytesOf({0x41, 0xFF, 0x42}), u"A\uFFFDB"},
    };
    for (const DecodeCase &c : cases)
        EXPECT_EQ(LoadWideTextFile(write(QString::fromLatin1(c.name), c.bytes)),
                  units(c.text))
            << c.name;
}

TEST_F(WideFileTest, RefusesMalformedUtf7)
{
    const QByteArray cases[] = {
        "+/v8-+AG-",         // a unit cut short
        "+/v8-+AGF-",        // padding bits that are not zero
        "+/v8-a~b",          // a character UTF-7 never writes directly
        "+/v8-a\xC3\xBC",    // eight-bit bytes
        "+/v8-+2D0-",        // half a surrogate pair
    };
    int n = 0;
    for (const QByteArray &bytes : cases) {
        const QString file = write(QString::number(n++), bytes);
        EXPECT_EQ(errorOf([&] { LoadWideTextFile(file); }), "Invalid UTF7") << bytes.toStdString();
    }
}

TEST_F(WideFileTest, NamesTheFileAndTheReasonWhenItCannotBeOpened)
{
    const QString missing = path("missing.txt");
    const std::string expected =
        "Cannot open file \"" + missing.toStdString() + "\". No such file or directory";
    EXPECT_EQ(errorOf([&] { LoadWideTextFile(missing); }), expected);
    EXPECT_EQ(errorOf([&] { DetectTextEncoding(missing); }), expected);

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.txt"));
    const QString folder = path("folder.txt");
    EXPECT_EQ(errorOf([&] { LoadWideTextFile(folder); }),
              "Cannot open file \"" + folder.toStdString() + "\". Is a directory");

    // A relative name is reported with its full path.
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_EQ(errorOf([&] { LoadWideTextFile(QStringLiteral("missing.txt")); }), expected);
    QDir::setCurrent(current);
}

TEST_F(WideFileTest, ReportsAFileWithoutReadPermission)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads a file whatever its permissions";
    const QString file = write("locked.txt", "FFFFFF\r\n");
    ASSERT_TRUE(QFile::setPermissions(file, {}));
    EXPECT_EQ(errorOf([&] { LoadWideTextFile(file); }),
              "Cannot open file \"" + file.toStdString() + "\". Permission denied");
}

// ---- saving ------------------------------------------------------------------

TEST_F(WideFileTest, SavesInTheLocaleEncodingWithoutAMark)
{
    const QString file = path("list.txt");
    EXPECT_TRUE(SaveWideTextFile(QStringLiteral("FFFFFF\r\n000000\r\n"), file, EncodingAnsi));
    EXPECT_EQ(read(file), QByteArray("FFFFFF\r\n000000\r\n"));

    // Saving over a file replaces it whole.
    EXPECT_TRUE(SaveWideTextFile(QStringLiteral("A"), file, EncodingAnsi));
    EXPECT_EQ(read(file), QByteArray("A"));

    EXPECT_TRUE(SaveWideTextFile(QString(), file, EncodingAnsi));
    EXPECT_EQ(read(file), QByteArray());

    // No other encoding is written, and nothing is touched trying.
    for (const int encoding : {EncodingUtf8, EncodingUtf7, EncodingUtf16LE, EncodingUtf32BE})
        EXPECT_FALSE(SaveWideTextFile(QStringLiteral("B"), file, encoding)) << encoding;
    EXPECT_EQ(read(file), QByteArray());
}

TEST_F(WideFileTest, SavesATextMadeInPiecesAsOneText)
{
    // The emoji's surrogate pair is split between two pieces.
    const std::u16string pieces[] = {u"A\xD83D", u"\xDE00", u"", u"B"};
    std::size_t next = 0;
    const QString file = path("pieces.txt");
    ASSERT_TRUE(saveWideTextPieces(
        [&](QString &piece) {
            piece += units(pieces[next++]);
            return next < std::size(pieces);
        },
        file, EncodingAnsi));
    EXPECT_EQ(read(file), QByteArray("A\xF0\x9F\x98\x80" "B"));
}

TEST_F(WideFileTest, RefusesPictureNamesWithoutTouchingAnything)
{
    for (const char *name : {"a.bmp", "a.BMP", "a.gif", "a.Gif", "a.jpg", "a.JPG", "a.jpeg",
                             "a.JpEg", "a.txt.jpg", ".jpg"}) {
        EXPECT_FALSE(SaveWideTextFile(QStringLiteral("FFFFFF\r\n"), path(name), EncodingAnsi))
            << name;
        EXPECT_FALSE(QFile::exists(path(name))) << name;
    }
    const QString picture = write("old.jpg", "picture");
    EXPECT_FALSE(SaveWideTextFile(QStringLiteral("FFFFFF\r\n"), picture, EncodingAnsi));
    EXPECT_EQ(read(picture), QByteArray("picture"));

    // Only the file's own extension counts, not a dot in a folder name.
    ASSERT_TRUE(QDir(dir.path()).mkdir("pictures.jpg"));
    for (const char *name : {"a.jpg.txt", "a.jpgx", "pictures.jpg/list"}) {
        EXPECT_TRUE(SaveWideTextFile(QStringLiteral("FFFFFF\r\n"), path(name), EncodingAnsi))
            << name;
        EXPECT_EQ(read(path(name)), QByteArray("FFFFFF\r\n")) << name;
    }
}

TEST_F(WideFileTest, ReportsAFileThatCannotBeCreated)
{
    const QString notAFolder = write("plain", "plain");
    const QString file = notAFolder + "/list.txt";
    const std::string error =
        errorOf([&] { SaveWideTextFile(QStringLiteral("FFFFFF\r\n"), file, EncodingAnsi); });
    EXPECT_EQ(error.rfind("Cannot create file \"" + file.toStdString() + "\". ", 0), 0u) << error;
    EXPECT_EQ(read(notAFolder), QByteArray("plain"));
}

TEST_F(WideFileTest, InAReadOnlyFolderReplacesOnlyAWritableFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into a read-only folder";
    // No temporary file can be made beside these files: a writable file is
    // still replaced in place, a read-only one is reported and kept.
    const QString writable = write("list.txt", "OLD\r\n");
    const QString locked = write("locked.txt", "OLD\r\n");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const std::string replaced =
        errorOf([&] { SaveWideTextFile(QStringLiteral("FFFFFF\r\n"), writable, EncodingAnsi); });
    const std::string refused =
        errorOf([&] { SaveWideTextFile(QStringLiteral("FFFFFF\r\n"), locked, EncodingAnsi); });
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(replaced, "<none>");
    EXPECT_EQ(read(writable), QByteArray("FFFFFF\r\n"));
    EXPECT_EQ(refused.rfind("Cannot create file \"" + locked.toStdString() + "\". ", 0), 0u) << refused;
    EXPECT_EQ(read(locked), QByteArray("OLD\r\n"));
}

TEST_F(WideFileTest, KeepsTheOldFileWhenWritingFailsHalfway)
{
    // A file size limit makes the write fail part of the way through, as a
    // full disk would; the old file must come through whole. A short text
    // fails in the final flush, a long one in the write itself.
    const QString file = write("list.txt", "OLD\r\n");
    for (const qsizetype lines : {qsizetype(2), qsizetype(100'000)}) {
        const QString text = QStringLiteral("FFFFFF\r\n").repeated(lines);
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 4;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const std::string error = errorOf([&] { SaveWideTextFile(text, file, EncodingAnsi); });
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        EXPECT_EQ(error.rfind("Cannot create file \"" + file.toStdString() + "\". ", 0), 0u)
            << error;
        EXPECT_EQ(read(file), QByteArray("OLD\r\n")) << lines;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"list.txt"});
    }
}

} // namespace
