// The wide text file routines: splitting, byte-order marks, the seven
// encodings with their odd corners, and files that cannot be read or written.

#include "listfile/safesave.h"
#include "listfile/textencoding.h"
#include "tests/support/errors.h"
#include "tests/support/privileges.h"
#include "tests/support/tempfolder.h"
#include "tests/support/wholefilereader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <iostream>
#include <optional>
#include <tuple>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

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

class WideFileTest : public TempFolderTest {
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
    // Every file of the folder, hidden ones too: that is where a temporary file
    // would be left.
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    // Saves so many lines, one a piece, counting the pieces into `pieces`;
    // `sizeKnown` tells the size beforehand.
    static bool saveLines(const QString &file, qint64 lines, bool sizeKnown,
                          const SaveControl &control = {}, int *pieces = nullptr)
    {
        qint64 made = 0;
        return saveBytesAtomically(file, [&](QByteArray &piece) {
            piece = "FFFFFF\r\n";
            if (pieces)
                ++*pieces;
            return ++made < lines;
        }, sizeKnown ? 8 * lines : -1, control);
    }
    // A text saved in one piece, as the list's save does it.
    static bool saveText(const QString &text, const QString &file, TextEncoding encoding)
    {
        return saveWideTextPieces([&](QString &piece) { return piece = text, false; }, file, encoding);
    }
    static std::string cannotCreate(const QString &file)
    {
        return "Cannot create file \"" + file.toStdString() + "\". ";
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

TEST_F(WideFileTest, LoadsEachEncodingToTheSameText)
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

TEST_F(WideFileTest, HandlesTheOddCornersOfEachEncoding)
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
        EXPECT_EQ(fileError([&] { LoadWideTextFile(file); }), "Invalid UTF7") << bytes.toStdString();
    }
}

TEST_F(WideFileTest, NamesTheFileAndTheReasonWhenItCannotBeOpened)
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

TEST_F(WideFileTest, ReportsAFileWithoutReadPermission)
{
    const QString file = write("locked.txt", "FFFFFF\r\n");
    ASSERT_TRUE(QFile::setPermissions(file, {}));
    const WithoutPermissionOverrides asUser;
    EXPECT_EQ(fileError([&] { LoadWideTextFile(file); }),
              "Cannot open file \"" + file.toStdString() + "\". Permission denied");
}

// ---- saving ------------------------------------------------------------------

TEST_F(WideFileTest, SavesInTheLocaleEncodingWithoutAMark)
{
    const QString file = path("list.txt");
    EXPECT_TRUE(saveText(QStringLiteral("FFFFFF\r\n000000\r\n"), file, TextEncoding::Ansi));
    EXPECT_EQ(read(file), QByteArray("FFFFFF\r\n000000\r\n"));

    // Saving over a file replaces it whole.
    EXPECT_TRUE(saveText(QStringLiteral("A"), file, TextEncoding::Ansi));
    EXPECT_EQ(read(file), QByteArray("A"));

    EXPECT_TRUE(saveText(QString(), file, TextEncoding::Ansi));
    EXPECT_EQ(read(file), QByteArray());

    // No other encoding is written, and nothing is touched trying.
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf7, TextEncoding::Utf16LE, TextEncoding::Utf32BE})
        EXPECT_FALSE(saveText(QStringLiteral("B"), file, encoding)) << int(encoding);
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
        file, TextEncoding::Ansi));
    EXPECT_EQ(read(file), QByteArray("A\xF0\x9F\x98\x80" "B"));
}

TEST_F(WideFileTest, RefusesPictureNamesWithoutTouchingAnything)
{
    for (const char *name : {"a.bmp", "a.BMP", "a.gif", "a.Gif", "a.jpg", "a.JPG", "a.jpeg",
                             "a.JpEg", "a.txt.jpg", ".jpg"}) {
        EXPECT_FALSE(saveText(QStringLiteral("FFFFFF\r\n"), path(name), TextEncoding::Ansi))
            << name;
        EXPECT_FALSE(QFile::exists(path(name))) << name;
    }
    const QString picture = write("old.jpg", "picture");
    EXPECT_FALSE(saveText(QStringLiteral("FFFFFF\r\n"), picture, TextEncoding::Ansi));
    EXPECT_EQ(read(picture), QByteArray("picture"));

    // Only the file's own extension counts, not a dot in a folder name.
    ASSERT_TRUE(QDir(dir.path()).mkdir("pictures.jpg"));
    for (const char *name : {"a.jpg.txt", "a.jpgx", "pictures.jpg/list"}) {
        EXPECT_TRUE(saveText(QStringLiteral("FFFFFF\r\n"), path(name), TextEncoding::Ansi))
            << name;
        EXPECT_EQ(read(path(name)), QByteArray("FFFFFF\r\n")) << name;
    }
}

TEST_F(WideFileTest, ReportsAFileThatCannotBeCreated)
{
    const QString notAFolder = write("plain", "plain");
    const QString file = notAFolder + "/list.txt";
    const std::string error =
        fileError([&] { saveText(QStringLiteral("FFFFFF\r\n"), file, TextEncoding::Ansi); });
    EXPECT_TRUE(error.starts_with(cannotCreate(file))) << error;
    EXPECT_EQ(read(notAFolder), QByteArray("plain"));
}

const QByteArray line = "FFFFFF\r\n";

TEST_F(WideFileTest, InAReadOnlyFolderReplacesOnlyAWritableFileOfKnownSize)
{
    // No temporary file fits beside these: a writable file is replaced in
    // place once its new size is reserved; a read-only one, or one of unknown
    // new size, is reported and kept.
    const QString writable = write("list.txt", "OLD"), locked = write("locked.txt", "OLD"),
                  unsized = write("unsized.txt", "OLD");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    std::string errors[3];
    {
        const WithoutPermissionOverrides asUser;
        errors[0] = fileError([&] { saveLines(writable, 1, true); });
        errors[1] = fileError([&] { saveLines(locked, 1, true); });
        errors[2] = fileError([&] { saveLines(unsized, 1, false); });
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(errors[0], "<none>");
    EXPECT_EQ(read(writable), line);
    for (const QString &file : {locked, unsized})
        EXPECT_EQ(read(file), QByteArray("OLD"));
    EXPECT_EQ(errors[1], cannotCreate(locked) + "Permission denied");
    EXPECT_EQ(errors[2], cannotCreate(unsized) + "Permission denied");
    EXPECT_EQ(files(), (QStringList{"list.txt", "locked.txt", "unsized.txt"}));
}

TEST_F(WideFileTest, KeepsTheOldFileAtTheFileSizeLimit)
{
    // Its signal would end the program; the save must see to that itself.
    const QString file = write("list.txt", "OLD");
    for (const qint64 lines : {2, 100'000}) {
        for (const bool sizeKnown : {true, false}) {
            rlimit saved{};
            ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit small = saved;
            small.rlim_cur = 4;
            ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
            const std::string error = fileError([&] { saveLines(file, lines, sizeKnown); });
            setrlimit(RLIMIT_FSIZE, &saved);
            EXPECT_EQ(error, cannotCreate(file) + "File too large") << lines << sizeKnown;
            EXPECT_EQ(read(file), QByteArray("OLD"));
            EXPECT_EQ(files(), QStringList{"list.txt"});
        }
    }
}

TEST_F(WideFileTest, ACancelledSaveLeavesTheOldFileAndProgressCountsBytes)
{
    const QString file = write("list.txt", "OLD");
    for (const int cancelAt : {0, 2, -1}) {
        int pieces = 0;
        std::vector<qint64> progress;
        const bool saved = saveLines(file, 3, true,
                                     {[&] { return pieces == cancelAt; },
                                      [&](qint64 written) { progress.push_back(written); }},
                                     &pieces);
        const std::vector<qint64> all{8, 16, 24};
        EXPECT_EQ(saved, cancelAt < 0);
        EXPECT_EQ(read(file), saved ? line.repeated(3) : QByteArray("OLD"));
        EXPECT_EQ(progress, std::vector(all.begin(), saved ? all.end() : all.begin() + cancelAt));
        EXPECT_EQ(files(), QStringList{"list.txt"});
    }
}

TEST_F(WideFileTest, ASaveThatDoesNotFitLeavesTheOldFile)
{
    // Two inodes are the root folder and the old file: no temporary file fits.
    constexpr auto noInode = "size=16k,nr_inodes=2", inodes = "size=16k,nr_inodes=16";
    const struct {
        const char *options;
        bool readOnly;
        qint64 oldSize, newLines;
        bool sizeKnown;
        const char *reason; // null: saved
    } cases[] = {
        {inodes, false, 5, 12'500, true, "No space left on device"},
        {inodes, false, 5, 1'000, true, nullptr},
        {inodes, true, 5, 2, true, "Read-only file system"},
        {noInode, false, 5, 12'500, true, "No space left on device"},
        {noInode, false, 5, 2, false, "No space left on device"},
        {noInode, false, 10'000, 2, true, nullptr},
        {noInode, false, 16, 1'000, true, nullptr},
    };
    const QString folder = path("disk"), file = folder + "/list.txt";
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const auto &c : cases) {
        if (const std::string why = mountTmpfs(folder, c.options); !why.empty()) {
            GTEST_SKIP() << "No file system of the test's own: " << why;
        }
        const QByteArray old(c.oldSize, 'o');
        QFile oldFile(file);
        ASSERT_TRUE(oldFile.open(QIODevice::WriteOnly) && oldFile.write(old) == c.oldSize);
        oldFile.close();
        if (c.readOnly) {
            ASSERT_EQ(mount(nullptr, QFile::encodeName(folder).constData(), nullptr,
                            MS_REMOUNT | MS_RDONLY, c.options), 0);
        }
        // Written in place, a cancel after the first piece comes too late.
        int pieces = 0;
        const SaveControl cancelLate{[&] { return c.options == noInode && pieces > 0; }, {}};
        const std::string error =
            fileError([&] { saveLines(file, c.newLines, c.sizeKnown, cancelLate, &pieces); });
        EXPECT_EQ(error, c.reason ? cannotCreate(file) + c.reason : "<none>") << c.options;
        EXPECT_TRUE(read(file) == (c.reason ? old : line.repeated(c.newLines))) << c.options;
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});
        umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    }
}

struct stat statOf(const QString &file)
{
    struct stat info {};
    return ::stat(QFile::encodeName(file).constData(), &info), info;
}

// The file's ACL and the attribute the test gives it, as one text.
QByteArray attributesOf(const QString &file)
{
    QByteArray all;
    for (const char *name : {"system.posix_acl_access", "user.colour"}) {
        QByteArray value(4096, '\0');
        all += value.left(getxattr(QFile::encodeName(file), name, value.data(), 4096)) + '|';
    }
    return all;
}

TEST_F(WideFileTest, ASaveKeepsTheOldFilesAccessAndWritesInPlaceWhereItMust)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "Needs root to act as another user";
    const QString folder = path("f"), cjk = QString(80, QChar(0x8272)) + ".txt";
    const uid_t nobody = AsNobody::id;
    const auto make = [&](const QString &name, mode_t mode, uid_t owner, gid_t group = 0) {
        const QByteArray file = QFile::encodeName(write("f/" + name, "OLD"));
        EXPECT_TRUE(chown(file, owner, group) == 0 && chmod(file, mode) == 0);
        return QFile::decodeName(file);
    };
    const auto link = [&](const QString &target, const QString &name = "l") {
        EXPECT_TRUE(QFile::link(target, folder + "/" + name));
        return folder + "/" + name;
    };
    const auto withAcl = [&](const QString &file) {
        EXPECT_EQ(QProcess::execute("setfacl", {"-m", "u:daemon:rw", file}), 0);
        if (setxattr(QFile::encodeName(file), "user.colour", "red", 3, 0) != 0)
            std::cout << "No user.* attributes here (tmpfs before Linux 6.6): ACL only\n";
        return file;
    };
    const auto toDaemon = [&] {
        AsNobody::asRoot([&] { EXPECT_EQ(chown(QFile::encodeName(folder + "/a"), 1, 1), 0); });
    };
    const struct {
        mode_t folderMode;
        std::function<QString()> oldFile; // gives the name saved
        bool asNobody, inPlace;
        const char *reason; // null: saved
        std::function<void()> whileTemporary = {};
    } cases[] = {
        {0755, [&] { return make("a", 0600, 0); }, false, false, nullptr},
        {0755, [&] { return make("a", 0640, 0); }, false, false, nullptr},
        {0755, [&] { return make("a", 0755, 0); }, false, false, nullptr},
        {0755, [&] { return folder + "/new"; }, false, false, nullptr},
        {0755, [&] { return make("t", 0644, 0), link(folder + "/t"); }, false, false, nullptr},
        {0755, [&] { return withAcl(make("a", 0640, 0)); }, false, false, nullptr},
        {0777, [&] { return make("a", 0664, nobody); }, true, true, nullptr}, // group not nobody's
        {01777, [&] { return make("a", 0666, 0); }, true, true, nullptr},
        {01777, [&] { return make("a", 0666, nobody, nobody); }, true, true, nullptr, toDaemon},
        {0755, [&] { return folder + "/" + cjk; }, false, false, nullptr},
        {0755, [&] { return make(cjk, 0644, 0); }, false, false, nullptr},
        {0755, [&] { return link(folder + "/t"); }, false, false, nullptr},
        {0755, [&] { return link("t"); }, false, false, nullptr},
        {0755, [&] { return link(folder + "/no/t"); }, false, false, "No such file or directory"},
        {0755, [&] { return link(folder + "/m"), link(folder + "/l", "m"); }, false, false,
         "Too many levels of symbolic links"},
    };
    const mode_t savedMask = umask(022);
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()), 0755), 0);
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder) && chmod(QFile::encodeName(folder), c.folderMode) == 0);
        const QString file = c.oldFile();
        const bool wasLink = QFileInfo(file).isSymLink();
        struct stat old = statOf(file);
        const QByteArray oldAttributes = attributesOf(file);
        mode_t temporaryMode = 0;
        SaveControl control;
        control.temporaryCreated = [&](const QByteArray &temporary) {
            temporaryMode = statOf(QFile::decodeName(temporary)).st_mode & 07777;
            if (c.whileTemporary)
                c.whileTemporary(), old = statOf(file);
        };
        std::optional<AsNobody> user;
        if (c.asNobody)
            user.emplace();
        const std::string error = fileError([&] { saveLines(file, 1, true, control); });
        user.reset();
        EXPECT_EQ(error, c.reason ? cannotCreate(file) + c.reason : "<none>");
        EXPECT_EQ(read(file), c.reason ? QByteArray("<missing>") : line);
        EXPECT_EQ(QFileInfo(file).isSymLink(), wasLink);
        EXPECT_EQ(QDir(folder).entryList({".*"}, QDir::Files | QDir::Hidden), QStringList());
        const struct stat saved = statOf(file);
        if (old.st_ino == 0) { // a new file as the umask says, or none
            EXPECT_EQ(saved.st_mode & 07777, c.reason ? 0u : 0644u);
            continue;
        }
        EXPECT_EQ(saved.st_ino == old.st_ino, c.inPlace);
        EXPECT_EQ(std::tuple(saved.st_mode, saved.st_uid, saved.st_gid, attributesOf(file)),
                  std::tuple(old.st_mode, old.st_uid, old.st_gid, oldAttributes));
        EXPECT_EQ(temporaryMode & ~0600, 0u);
    }
    umask(savedMask);
}

} // namespace
