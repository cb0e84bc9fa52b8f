#include "listfile/widefunc.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// What the user is told when a file cannot be used.
namespace texts {
constexpr auto cannotOpen = u"Cannot open file \"%1\". %2";
constexpr auto cannotCreate = u"Cannot create file \"%1\". %2";
constexpr auto invalidUtf7 = "Invalid UTF7";
constexpr auto notRegularFile = u"Not a regular file";
} // namespace texts

WideFileError fileError(const char16_t *format, const QString &fileName, const QString &reason)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    return WideFileError(QString::fromUtf16(format).arg(path, reason).toStdString());
}

// How many bytes of mark each encoding skips before its text.
qsizetype markLength(int encoding)
{
    switch (encoding) {
    case EncodingUtf8:
        return 3;
    case EncodingUtf7:
        return 5; // the mark and the "-" that ends it
    case EncodingUtf32LE:
    case EncodingUtf32BE:
        return 4;
    case EncodingUtf16LE:
    case EncodingUtf16BE:
        return 2;
    default:
        return 0;
    }
}

void appendCodePoint(QString &text, std::uint32_t codePoint)
{
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        text.append(QLatin1Char('?'));
    } else if (codePoint < 0x10000) {
        text.append(QChar(char16_t(codePoint)));
    } else {
        const std::uint32_t offset = codePoint - 0x10000;
        text.append(QChar(char16_t(0xD800 + (offset >> 10))));
        text.append(QChar(char16_t(0xDC00 + (offset & 0x3FF))));
    }
}

// The units as they stand; no check for unpaired surrogates, and a final odd
// byte is dropped.
QString decodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2;
    QString text(units, Qt::Uninitialized);
    if (bigEndian)
        qFromBigEndian<char16_t>(bytes.data(), units, text.data());
    else
        qFromLittleEndian<char16_t>(bytes.data(), units, text.data());
    return text;
}

QString decodeUtf32(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 4;
    QString text;
    text.reserve(units);
    for (qsizetype i = 0; i < units; ++i) {
        const char *unit = bytes.data() + 4 * i;
        appendCodePoint(text, bigEndian ? qFromBigEndian<std::uint32_t>(unit)
                                        : qFromLittleEndian<std::uint32_t>(unit));
    }
    return text;
}

// All or nothing: one broken sequence empties the whole text.
QString decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless
                                                       | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return {};
    return text;
}

// RFC 2152, through the C library's converter.
QString decodeUtf7(QByteArrayView bytes)
{
    constexpr auto native = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE";
    const iconv_t handle = iconv_open(native, "UTF-7");
    if (handle == iconv_t(-1))
        throw WideFileError(texts::invalidUtf7);
    const std::unique_ptr<void, int (*)(iconv_t)> closer(handle, iconv_close);

    // UTF-7 never needs more than one UTF-16 unit per byte.
    QString text(bytes.size() + 1, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = std::size_t(bytes.size());
    char *begin = reinterpret_cast<char *>(text.data());
    char *out = begin;
    std::size_t outLeft = std::size_t(text.size()) * sizeof(char16_t);
    if (inLeft > 0 && iconv(handle, &in, &inLeft, &out, &outLeft) == std::size_t(-1))
        throw WideFileError(texts::invalidUtf7);
    if (iconv(handle, nullptr, nullptr, &out, &outLeft) == std::size_t(-1))
        throw WideFileError(texts::invalidUtf7);
    text.truncate((out - begin) / qsizetype(sizeof(char16_t)));
    return text;
}

QString decodeAnsi(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

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
bool refusesToSave(const QString &fileName, int encoding)
{
    return isPictureFileName(fileName) || encoding != EncodingAnsi;
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A file descriptor that is closed when it goes.
class FileDescriptor {
public:
    FileDescriptor() = default;
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    void reset(int fd)
    {
        close();
        m_fd = fd;
    }
    int get() const { return m_fd; }
    // Hands the descriptor over to whoever closes it instead.
    void release() { m_fd = -1; }
    explicit operator bool() const { return m_fd >= 0; }
    // 0, or -1 with errno set.
    int close()
    {
        const int result = m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return result;
    }

private:
    int m_fd = -1;
};

// Opens a file for reading. Devices, pipes and folders are refused: reading one
// could block for good or never end. The check is made on the file opened, not
// on its name, and the open itself does not wait, so that a pipe put in the
// name's place meanwhile cannot hold it either.
void openForReading(QFile &file, const std::function<void()> &beforeOpen = {})
{
    if (beforeOpen)
        beforeOpen();
    const auto refused = [&file](int error) {
        return fileError(texts::cannotOpen, file.fileName(), systemReason(error));
    };
    FileDescriptor fd;
    fd.reset(::open(QFile::encodeName(file.fileName()).constData(),
                    O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0)
        throw refused(errno);
    if (S_ISDIR(info.st_mode))
        throw refused(EISDIR);
    if (!S_ISREG(info.st_mode))
        throw fileError(texts::cannotOpen, file.fileName(), QString::fromUtf16(texts::notRegularFile));
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw refused(errno);
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        throw fileError(texts::cannotOpen, file.fileName(), file.errorString());
    fd.release();
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

// Writes all of the bytes, through short writes and interruptions; gives 0 or
// the system's error number.
int writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    for (qsizetype left = bytes.size(); left > 0;) {
        const ssize_t count = ::write(fd, data, std::size_t(left));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += count;
        left -= count;
    }
    return 0;
}

// Writes over an existing file where no temporary file can be made beside it.
// The whole new size is reserved first, so that a lack of space is found while
// the old content is still whole; from then on the writing runs to its end.
// Power loss or SIGKILL during these writes cannot be made safe: the window is
// kept to one pass of writes, with every piece ready to be written.
bool writeInPlace(const QByteArray &path, const BytePieces &next, qint64 totalBytes,
                  const SaveControl &control, const std::function<WideFileError(int)> &failure)
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

    QByteArray piece;
    qint64 written = 0;
    for (bool more = true; more;) {
        piece.clear();
        more = next(piece);
        if (const int error = writeAll(fd.get(), piece))
            throw failure(error);
        written += piece.size();
        if (control.written)
            control.written(written);
    }
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
BytePieces piecesOf(int fd, const std::function<WideFileError(int)> &failure)
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
    FileDescriptor fd;
    fd.reset(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // The new file has taken the old one's place: a failure leaves nothing to undo.
    if (fd)
        ::fsync(fd.get());
}

} // namespace

qsizetype SplitWide(QList<QStringView> &parts, QStringView separator, QStringView text)
{
    if (separator.isEmpty()) {
        parts.append(text);
        return 1;
    }
    // A reserve hint only: count() also counts overlapping matches.
    parts.reserve(parts.size() + text.count(separator) + 1);
    const qsizetype before = parts.size();
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(separator); at >= 0; at = text.indexOf(separator, from)) {
        parts.append(text.sliced(from, at - from));
        from = at + separator.size();
    }
    parts.append(text.sliced(from));
    return parts.size() - before;
}

qsizetype SplitWide(QStringList &parts, QStringView separator, QStringView text)
{
    QList<QStringView> views;
    const qsizetype count = SplitWide(views, separator, text);
    parts.reserve(parts.size() + count);
    for (const QStringView view : views)
        parts.append(view.toString());
    return count;
}

int detectTextEncoding(QByteArrayView head, qint64 fileSize)
{
    if (fileSize <= 1)
        return EncodingAnsi;
    const auto startsWith = [head](std::initializer_list<unsigned char> mark) {
        if (head.size() < qsizetype(mark.size()))
            return false;
        return std::equal(mark.begin(), mark.end(), head.begin(),
                          [](unsigned char m, char b) { return m == static_cast<unsigned char>(b); });
    };
    if (startsWith({0xEF, 0xBB, 0xBF}))
        return EncodingUtf8;
    if (startsWith({0x2B, 0x2F, 0x76, 0x38}))
        return EncodingUtf7;
    // Checked before UTF-16 LE: a UTF-16 LE file that begins with U+0000 is
    // indistinguishable from UTF-32 LE and is read as such.
    if (fileSize > 2 && startsWith({0xFF, 0xFE, 0x00, 0x00}))
        return EncodingUtf32LE;
    if (startsWith({0x00, 0x00, 0xFE, 0xFF}))
        return EncodingUtf32BE;
    if (startsWith({0xFF, 0xFE}))
        return EncodingUtf16LE;
    if (startsWith({0xFE, 0xFF}))
        return EncodingUtf16BE;
    return EncodingAnsi;
}

int DetectTextEncoding(const QString &fileName)
{
    QFile file(fileName);
    openForReading(file);
    return detectTextEncoding(file.read(4), file.size());
}

QString decodeWideText(QByteArrayView bytes)
{
    const int encoding = detectTextEncoding(bytes.first(std::min<qsizetype>(4, bytes.size())),
                                            bytes.size());
    const QByteArrayView text = bytes.sliced(std::min(markLength(encoding), bytes.size()));
    switch (encoding) {
    case EncodingUtf16LE:
    case EncodingUtf16BE:
        return decodeUtf16(text, encoding == EncodingUtf16BE);
    case EncodingUtf32LE:
    case EncodingUtf32BE:
        return decodeUtf32(text, encoding == EncodingUtf32BE);
    case EncodingUtf8:
        return decodeUtf8(text);
    case EncodingUtf7:
        return decodeUtf7(text);
    default:
        return decodeAnsi(text);
    }
}

QString LoadWideTextFile(const QString &fileName)
{
    // Read once and decide the encoding from the bytes in hand, so that a file
    // changed in between cannot be decoded by another file's mark.
    QFile file(fileName);
    openForReading(file);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw fileError(texts::cannotOpen, fileName, file.errorString());
    return decodeWideText(bytes);
}

bool saveBytesAtomically(const QString &fileName, const BytePieces &next, qint64 totalBytes,
                         const SaveControl &control)
{
    ignoreFileSizeSignal();
    const auto failure = [&fileName](int error) {
        return fileError(texts::cannotCreate, fileName, systemReason(error));
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
        throw fileError(texts::cannotCreate, fileName, QString::fromUtf16(texts::notRegularFile));
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

    QByteArray piece;
    qint64 written = 0;
    for (bool more = true; more;) {
        if (control.cancelRequested && control.cancelRequested())
            return false;
        piece.clear();
        more = next(piece);
        if (const int error = writeAll(temp.fd.get(), piece))
            throw failure(error);
        written += piece.size();
        if (control.written)
            control.written(written);
    }
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

bool saveWideTextPieces(const TextPieces &nextPiece, const QString &fileName, int encoding,
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

bool SaveWideTextFile(const QString &text, const QString &fileName, int encoding)
{
    if (refusesToSave(fileName, encoding))
        return false;
    // Encoded whole first: with its size known, even a file in a read-only
    // folder can be replaced safely.
    const QByteArray bytes = QStringEncoder(QStringConverter::System).encode(text);
    return saveBytesAtomically(
        fileName,
        [&bytes](QByteArray &piece) {
            piece = bytes;
            return false;
        },
        bytes.size());
}

QString CodePointToWide(std::uint32_t codePoint)
{
    QString text;
    appendCodePoint(text, codePoint);
    return text;
}

void openWideTextFile(QFile &file, const std::function<void()> &beforeOpen)
{
    openForReading(file, beforeOpen);
}

WideFileError wideFileReadError(const QString &fileName, const QFile &file)
{
    return fileError(texts::cannotOpen, fileName, file.errorString());
}

WideFileError invalidUtf7Error()
{
    return WideFileError(texts::invalidUtf7);
}

qsizetype encodingMarkLength(int encoding)
{
    return markLength(encoding);
}
