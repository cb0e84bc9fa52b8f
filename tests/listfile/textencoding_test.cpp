// Byte-order marks and the encodings they name, with their odd corners, read
// through the whole-file reference; files that cannot be read; splitting.

#include "listfile/textencoding.h"
#include "tests/support/errors.h"
#include "tests/support/privileges.h"
#include "tests/support/tempfolder.h"
#include "tests/support/wholefilereader.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace tonfang;

// The units as written; QString::fromUtf16 would drop a leading U+FEFF.
QString units(const std::u16string &text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
}

// Bytes from hexadecimal digits; blanks only group them.
QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
}

struct DecodeCase {
    const char *name;
    QByteArray bytes;
    std::u16string text;
};

class TextEncodingTest : public TempFolderTest {
protected:
    // The message of the FileError that `action` throws, or "<none>".
    static std::string fileError(const auto &action) { return errorOf<FileError>(action); }
    // Each case's bytes, written to a file of their own, load as its text.
    void expectLoads(std::initializer_list<DecodeCase> cases) const
    {
        for (const DecodeCase &c : cases)
            EXPECT_EQ(LoadWideTextFile(write(QString::fromLatin1(c.name), c.bytes)), units(c.text))
                << c.name;
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

TEST_F(TextEncodingTest, DetectsTheEncodingByMarkInOrder)
{
    const std::pair<QByteArray, TextEncoding> cases[] = {
        {{}, TextEncoding::Ansi},
        {hex("ff"), TextEncoding::Ansi},
        {hex("ff fe"), TextEncoding::Utf16LE},
        {hex("fe ff"), TextEncoding::Utf16BE},
        {hex("ff fe 41 00"), TextEncoding::Utf16LE},
        {hex("ff fe 00"), TextEncoding::Utf16LE},
        {hex("ff fe 00 00"), TextEncoding::Utf32LE},
        {hex("00 00 fe ff"), TextEncoding::Utf32BE},
        {hex("00 00 fe"), TextEncoding::Ansi},
        {hex("ef bb bf"), TextEncoding::Utf8},
        {hex("ef bb"), TextEncoding::Ansi},
        {QByteArray("+/v8-abc"), TextEncoding::Utf7},
        {QByteArray("+/v9"), TextEncoding::Ansi},
        {QByteArray("FFFFFF\r\n"), TextEncoding::Ansi},
    };
    int n = 0;
    for (const auto &[bytes, expected] : cases) {
        const QString file = write(QString::number(n++), bytes);
        EXPECT_EQ(encodingOfFile(file), expected) << bytes.toHex(' ').toStdString();
    }
}

// ---- decoding ----------------------------------------------------------------

TEST_F(TextEncodingTest, LoadsEachEncodingToTheSameText)
{
    // "A", u-umlaut and an emoji outside the basic plane, in every encoding.
    const std::u16string text = u"A\u00FC\xD83D\xDE00\r\n";
    expectLoads({
        {"locale", hex("41 c3 bc f0 9f 98 80 0d 0a"), text},
        {"utf-8", hex("ef bb bf 41 c3 bc f0 9f 98 80 0d 0a"), text},
        {"utf-7", QByteArray("+/v8-A+APzYPd4A-\r\n"), text},
        {"utf-16le", hex("fffe 4100 fc00 3dd8 00de 0d00 0a00"), text},
        {"utf-16be", hex("feff 0041 00fc d83d de00 000d 000a"), text},
        {"utf-32le", hex("fffe0000 41000000 fc000000 00f60100 0d000000 0a000000"), text},
        {"utf-32be", hex("0000feff 00000041 000000fc 0001f600 0000000d 0000000a"), text},
    });
}

TEST_F(TextEncodingTest, HandlesTheOddCornersOfEachEncoding)
{
    expectLoads({
        // A UTF-16 LE text beginning with U+0000 carries the UTF-32 LE mark.
        {"utf-16le starting with nul", hex("ff fe 00 00 41 00"), u""},
        {"utf-16le starting with nul, longer", hex("ff fe 00 00 41 00 42 00"), u"?"},
        {"utf-16le odd trailing byte", hex("ff fe 41 00 42"), u"A"},
        {"utf-16le mark only", hex("ff fe"), u""},
        {"utf-16le one byte after the mark", hex("ff fe 41"), u""},
        {"utf-16be lone surrogate kept", hex("fe ff d8 00"), u"\xD800"},
        {"utf-32le trailing bytes", hex("ff fe 00 00 41 00 00 00 42"), u"A"},
        {"utf-32be surrogate value", hex("00 00 fe ff 00 00 d8 00"), u"?"},
        {"utf-32be above the last code point", hex("00 00 fe ff 00 11 00 00"), u"?"},
        {"utf-8 broken continuation", hex("ef bb bf 41 c3 41"), u""},
        {"utf-8 cut at the end", hex("ef bb bf 41 e2 82"), u""},
        {"utf-8 stray continuation byte", hex("ef bb bf 41 80"), u""},
        {"utf-8 second mark kept", hex("ef bb bf ef bb bf 41"), u"\uFEFFA"},
        {"utf-7 mark only", QByteArray("+/v8"), u""},
        {"utf-7 plus-minus is a plus", QByteArray("+/v8-1+-2"), u"1+2"},
        {"single byte file", QByteArray("A"), u"A"},
        {"locale bytes that are no characters", hex("41 ff 42"), u"A\uFFFDB"},
    });
}

TEST_F(TextEncodingTest, RefusesMalformedUtf7)
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
        EXPECT_EQ(fileError([&] { LoadWideTextFile(file); }), "Invalid UTF7") << bytes.toStdString();
    }
}

TEST_F(TextEncodingTest, NamesTheFileAndTheReasonWhenItCannotBeOpened)
{
    const QString missing = path("missing.txt");
    const std::string expected =
        "Cannot open file \"" + missing.toStdString() + "\". No such file or directory";
    EXPECT_EQ(fileError([&] { LoadWideTextFile(missing); }), expected);
    EXPECT_EQ(fileError([&] { encodingOfFile(missing); }), expected);

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.txt"));
    const QString folder = path("folder.txt");
    EXPECT_EQ(fileError([&] { LoadWideTextFile(folder); }),
              "Cannot open file \"" + folder.toStdString() + "\". Is a directory");

    // A relative name is reported with its full path.
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_EQ(fileError([&] { LoadWideTextFile(QStringLiteral("missing.txt")); }), expected);
    QDir::setCurrent(current);
}

TEST_F(TextEncodingTest, ReportsAFileWithoutReadPermission)
{
    const QString file = write("locked.txt", "FFFFFF\r\n");
    ASSERT_TRUE(QFile::setPermissions(file, {}));
    const WithoutPermissionOverrides asUser;
    EXPECT_EQ(fileError([&] { LoadWideTextFile(file); }),
              "Cannot open file \"" + file.toStdString() + "\". Permission denied");
}

} // namespace
