// Saving without ever leaving a half-written file: the locale's encoding only,
// no pictures' names, cancelling, full disks and file size limits, read-only
// folders, and the old file's owner, mode, ACL and links kept.

#include "listfile/safesave.h"
#include "tests/support/errors.h"
#include "tests/support/privileges.h"
#include "tests/support/tempfolder.h"

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

class SafeSaveTest : public TempFolderTest {
protected:
    // The message of the FileError that `action` throws, or "<none>".
    static std::string fileError(const auto &action) { return errorOf<FileError>(action); }
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

// ---- saving ------------------------------------------------------------------

TEST_F(SafeSaveTest, SavesInTheLocaleEncodingWithoutAMark)
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

TEST_F(SafeSaveTest, SavesATextMadeInPiecesAsOneText)
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

TEST_F(SafeSaveTest, RefusesPictureNamesWithoutTouchingAnything)
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

TEST_F(SafeSaveTest, ReportsAFileThatCannotBeCreated)
{
    const QString notAFolder = write("plain", "plain");
    const QString file = notAFolder + "/list.txt";
    const std::string error =
        fileError([&] { saveText(QStringLiteral("FFFFFF\r\n"), file, TextEncoding::Ansi); });
    EXPECT_TRUE(error.starts_with(cannotCreate(file))) << error;
    EXPECT_EQ(read(notAFolder), QByteArray("plain"));
}

const QByteArray line = "FFFFFF\r\n";

TEST_F(SafeSaveTest, InAReadOnlyFolderReplacesOnlyAWritableFileOfKnownSize)
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

TEST_F(SafeSaveTest, KeepsTheOldFileAtTheFileSizeLimit)
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

TEST_F(SafeSaveTest, ACancelledSaveLeavesTheOldFileAndProgressCountsBytes)
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

TEST_F(SafeSaveTest, ASaveThatDoesNotFitLeavesTheOldFile)
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

TEST_F(SafeSaveTest, ASaveKeepsTheOldFilesAccessAndWritesInPlaceWhereItMust)
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
