#include "listfile/safesave.h"

#include "core/filedescriptor.h"
#include "listfile/textencoding.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tonfang {

namespace {

bool isPictureFileName(const QString &fileName)
{
    // The extension runs from the last dot to the end, unless a folder
    // separator follows that dot.
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || fileName.indexOf(QLatin1Char('/'), dot) >= 0)
        return false;
    static const std::array<QString, 4> refused = {
        QStringLiteral(".BMP"), QStringLiteral(".GIF"), QStringLiteral(".JPG"),
        QStringLiteral(".JPEG")};
    const QString extension = fileName.sliced(dot).toUpper();
    return std::find(refused.begin(), refused.end(), extension) != refused.end();
}

// Only the locale's encoding is ever written, and never to a picture's name.
bool refusesToSave(const QString &fileName, TextEncoding encoding)
{
    return isPictureFileName(fileName) || encoding != TextEncoding::Ansi;
}

// The new content on its way: removed unless its path was cleared once it
// took the old file's place.
struct TemporaryFile {
    FileDescriptor fd;
    QByteArray path;
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile() { remove(); }
    void remove()
    {
        fd.close();
        if (!path.isEmpty())
            ::unlink(path.constData());
        path.clear();
    }
};

// Writes the pieces to `fd` one after another and tells `control` how far it
// has got. Gives the number of bytes written, or -1 when `control` asked to
// cancel before a piece.
qint64 writePieces(int fd, const BytePieces &next, const SaveControl &control,
                   const std::function<FileError(int)> &failure)
{
    QByteArray piece;
    qint64 written = 0;
    for (bool more = true; more;) {
        if (control.cancelRequested && control.cancelRequested())
            return -1;
        piece.clear();
        more = next(piece);
        if (const int error = writeAll(fd, {piece.constData(), std::size_t(piece.size())}))
            throw failure(error);
        written += piece.size();
        if (control.written)
            control.written(written);
    }
    return written;
}

// Writes over an existing file where no temporary file can be made beside it.
// The whole new size is reserved first, so that a lack of space is found while
// the old content is still whole; from then on the writing runs to its end.
// Power loss or SIGKILL during these writes cannot be made safe: the window is
// kept to one pass of writes, with every piece ready to be written.
bool writeInPlace(const QByteArray &path, const BytePieces &next, qint64 totalBytes,
                  const SaveControl &control, const std::function<FileError(int)> &failure)
{
    // Without the size nothing can be reserved: refused for the reason the
    // temporary file could not be made.
    if (totalBytes < 0)
        throw failure(0);
    FileDescriptor fd;
    fd.reset(::open(path.constData(), O_WRONLY | O_CLOEXEC));
    if (!fd)
        throw failure(errno);
    struct stat old {};
    if (::fstat(fd.get(), &old) != 0)
        throw failure(errno);
    if (control.cancelRequested && control.cancelRequested())
        return false;
    if (totalBytes > 0) {
        if (const int error = ::posix_fallocate(fd.get(), 0, totalBytes)) {
            // A reservation that failed part of the way may have lengthened
            // the file; it goes back to its old size.
            if (::ftruncate(fd.get(), old.st_size) != 0) {
                // Nothing more can be done; the reason reported is the first.
            }
            throw failure(error);
        }
    }

    // Not cancelled from here on.
    const qint64 written = writePieces(fd.get(), next, {{}, control.written}, failure);
    if (::ftruncate(fd.get(), written) != 0 || ::fsync(fd.get()) != 0 || fd.close() != 0)
        throw failure(errno);
    return true;
}

// Follows the symbolic links that `path` (absolute) leads through to the file a
// save writes, which may not exist yet; a relative link is read against its
// link's folder. Gives 0 or the system's error number.
int followLinks(QByteArray &path)
{
    for (int links = 0; links < 40; ++links) {
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(info.st_mode))
            return 0;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length =
            ::readlink(path.constData(), target.data(), std::size_t(target.size()));
        if (length < 0)
            return errno;
        target.truncate(length);
        path = target.startsWith('/') ? target : path.left(path.lastIndexOf('/') + 1) + target;
    }
    return ELOOP;
}

// A hidden name beside the file for its new content, within the folder's limit
// for names in bytes: the file's own name is shortened by whole characters.
QByteArray temporaryPath(const QByteArray &folder, const QByteArray &fileName)
{
    const long limit = ::pathconf(folder.constData(), _PC_NAME_MAX);
    const QByteArray suffix =
        '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
    QString borrowed = QFile::decodeName(fileName);
    QByteArray name = fileName;
    while (1 + name.size() + suffix.size() > (limit > 0 ? limit : 255) && !borrowed.isEmpty()) {
        borrowed.chop(borrowed.size() > 1 && borrowed.back().isLowSurrogate()
                              && borrowed[borrowed.size() - 2].isHighSurrogate()
                          ? 2
                          : 1);
        name = QFile::encodeName(borrowed);
    }
    return folder + "/." + name + suffix;
}

// Whether the folder's sticky bit keeps this user, who is not root, from
// replacing a file: neither the file nor the folder is theirs.
bool stickyFolderRefuses(const QByteArray &folder, const struct stat &old)
{
    const uid_t user = ::geteuid();
    struct stat info {};
    return user != 0 && ::stat(folder.constData(), &info) == 0 && (info.st_mode & S_ISVTX) != 0
           && info.st_uid != user && old.st_uid != user;
}

// Gives the file `to` the extended attributes of `from`, its access control
// list among them. Those of the namespaces reserved to the system are left out
// where the user may not set them. Gives 0 or the system's error number.
int copyAttributes(const QByteArray &from, int to)
{
    ssize_t size = ::listxattr(from.constData(), nullptr, 0);
    QByteArray names(std::max<ssize_t>(size, 0), Qt::Uninitialized);
    if (size > 0)
        size = ::listxattr(from.constData(), names.data(), std::size_t(names.size()));
    if (size < 0)
        return errno == ENOTSUP ? 0 : errno;
    names.truncate(size);
    for (const QByteArray &name : names.split('\0')) {
        const char *const key = name.constData();
        ssize_t length = name.isEmpty() ? -1 : ::getxattr(from.constData(), key, nullptr, 0);
        QByteArray value(std::max<ssize_t>(length, 0), Qt::Uninitialized);
        if (length > 0)
            length = ::getxattr(from.constData(), key, value.data(), std::size_t(value.size()));
        if (length < 0)
            continue; // gone meanwhile
        if (::fsetxattr(to, key, value.constData(), std::size_t(length), 0) != 0) {
            const bool reserved = name.startsWith("trusted.") || name.startsWith("security.");
            if (!reserved || (errno != EPERM && errno != EACCES && errno != ENOTSUP))
                return errno;
        }
    }
    return 0;
}

// The bytes of a finished temporary file, piece by piece.
BytePieces piecesOf(int fd, const std::function<FileError(int)> &failure)
{
    return [fd, failure, offset = qint64(0)](QByteArray &piece) mutable {
        piece.resize(1 << 20);
        const ssize_t count = ::pread(fd, piece.data(), std::size_t(piece.size()), offset);
        if (count < 0)
            throw failure(errno);
        piece.truncate(count);
        offset += count;
        return count > 0;
    };
}

void syncFolder(const QByteArray &folder)
{
    const FileDescriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // The new file has taken the old one's place: a failure leaves nothing to undo.
    if (fd)
        ::fsync(fd.get());
}

} // namespace

bool saveBytesAtomically(const QString &fileName, const BytePieces &next, qint64 totalBytes,
                         const SaveControl &control)
{
    ignoreFileSizeSignal();
    const auto failure = [&fileName](int error) {
        return cannotCreateError(fileName, systemReason(error));
    };

    // A symbolic link stays what it is: the file it leads to is replaced or made.
    QByteArray path = QFile::encodeName(QFileInfo(fileName).absoluteFilePath());
    if (const int error = followLinks(path))
        throw failure(error);
    const QByteArray folder = path.left(std::max<qsizetype>(path.lastIndexOf('/'), 1));
    struct stat old {};
    const bool exists = ::stat(path.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        throw failure(EISDIR);
    if (exists && !S_ISREG(old.st_mode))
        throw cannotCreateError(fileName, notRegularFileReason());
    // Written in place, a failure without a reason of its own gives `reason`.
    const auto inPlace = [&](const BytePieces &pieces, qint64 size, int reason,
                             const SaveControl &inPlaceControl) {
        return writeInPlace(path, pieces, size, inPlaceControl,
                            [&](int error) { return failure(error ? error : reason); });
    };
    // The finished temporary file is copied without progress: it has been told.
    const auto copyInPlace = [&](TemporaryFile &temp, qint64 size, int reason) {
        return inPlace(piecesOf(temp.fd.get(), failure), size, reason,
                       {control.cancelRequested, {}, {}});
    };
    if (exists && stickyFolderRefuses(folder, old))
        return inPlace(next, totalBytes, EPERM, control);

    // O_EXCL under a random name rather than mkstemp: a new file gets the
    // permissions the umask and the folder's default ACL give, like any file
    // the program creates. One that replaces a file stays its owner's alone
    // until it has the old file's mode and ACL.
    TemporaryFile temp;
    int createError = EEXIST;
    for (int attempt = 0; attempt < 16 && createError == EEXIST; ++attempt) {
        temp.path = temporaryPath(folder, path.sliced(path.lastIndexOf('/') + 1));
        temp.fd.reset(::open(temp.path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC,
                             exists ? 0600 : 0666));
        createError = temp.fd ? 0 : errno;
    }
    if (!temp.fd) {
        temp.path.clear();
        if (!exists)
            throw failure(createError);
        return inPlace(next, totalBytes, createError, control);
    }
    if (control.temporaryCreated)
        control.temporaryCreated(temp.path);
    // Owner first: changing it clears set-id bits that the mode then restores.
    // A user who may not give the new file the old owner and group writes in
    // place, which keeps them with the inode.
    if (exists && ::fchown(temp.fd.get(), old.st_uid, old.st_gid) != 0) {
        const int error = errno;
        temp.remove();
        return inPlace(next, totalBytes, error, control);
    }
    // Reserving the space first turns a full disk into an error before any
    // writing; file systems that cannot reserve simply write.
    if (totalBytes > 0 && ::fallocate(temp.fd.get(), 0, 0, totalBytes) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS)
        throw failure(errno);

    const qint64 written = writePieces(temp.fd.get(), next, control, failure);
    if (written < 0)
        return false;
    if (written < totalBytes && ::ftruncate(temp.fd.get(), written) != 0)
        throw failure(errno);
    if (exists && ::fchmod(temp.fd.get(), old.st_mode & 07777) != 0)
        throw failure(errno);
    // An ACL that cannot be given would leave the file open to others, or
    // closed to those the ACL names.
    if (exists) {
        if (const int error = copyAttributes(path, temp.fd.get()))
            return copyInPlace(temp, written, error);
    }
    // A write error may surface only when the data reach the disk.
    if (::fsync(temp.fd.get()) != 0)
        throw failure(errno);
    if (::rename(temp.path.constData(), path.constData()) != 0) {
        // A sticky folder refuses the rename to one who owns neither it nor the file.
        const int error = errno;
        if (exists && (error == EPERM || error == EACCES))
            return copyInPlace(temp, written, error);
        throw failure(error);
    }
    temp.path.clear();
    temp.fd.close();
    syncFolder(folder);
    return true;
}

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

bool saveWideTextPieces(const TextPieces &nextPiece, const QString &fileName, TextEncoding encoding,
                        qint64 totalBytes, const SaveControl &control)
{
    if (refusesToSave(fileName, encoding))
        return false;
    // One encoder for all pieces keeps a surrogate pair whole when a piece ends
    // between its two halves. A character the locale's encoding cannot hold
    // becomes its replacement character.
    QStringEncoder encoder(QStringConverter::System);
    QString text;
    const BytePieces nextBytes = [&](QByteArray &bytes) {
        text.clear();
        const bool more = nextPiece(text);
        bytes.resize(encoder.requiredSpace(text.size()));
        bytes.truncate(encoder.appendToBuffer(bytes.data(), text) - bytes.data());
        return more;
    };
    return saveBytesAtomically(fileName, nextBytes, totalBytes, control);
}

} // namespace tonfang
