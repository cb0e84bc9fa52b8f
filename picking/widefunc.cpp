#include "picking/widefunc.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include <iconv.h>

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

// Opens a file for reading. Devices and pipes are refused: reading one could
// block the window for good or never end.
void openForReading(QFile &file)
{
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile()) {
        const QString reason = info.isDir() ? QString::fromLocal8Bit(std::strerror(EISDIR))
                                            : QString::fromUtf16(texts::notRegularFile);
        throw fileError(texts::cannotOpen, file.fileName(), reason);
    }
    if (!file.open(QIODevice::ReadOnly))
        throw fileError(texts::cannotOpen, file.fileName(), file.errorString());
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

bool saveWideTextPieces(const TextPieces &nextPiece, const QString &fileName, int encoding)
{
    if (isPictureFileName(fileName))
        return false;

    // Only the locale's encoding is ever written: no mark, and a character it
    // cannot hold becomes its replacement character.
    if (encoding != EncodingAnsi)
        return false;
    // One encoder for all pieces keeps a surrogate pair whole when a piece ends
    // between its two halves.
    QStringEncoder encoder(QStringConverter::System);

    // The new content goes to a temporary file beside the old one, which it
    // replaces only once it is written completely: a full disk or a lost
    // connection leaves the old file as it was.
    QSaveFile file(fileName);
    // Where no temporary file can be made (a writable file in a read-only
    // folder) the file is written in place, as replacing it always was.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        throw fileError(texts::cannotCreate, fileName, file.errorString());

    QString piece;
    QByteArray bytes;
    for (bool more = true; more;) {
        piece.clear();
        more = nextPiece(piece);
        bytes.resize(encoder.requiredSpace(piece.size()));
        bytes.truncate(encoder.appendToBuffer(bytes.data(), piece) - bytes.data());
        // A short write is no error to Qt; writing on after one brings out
        // the system's reason.
        for (qsizetype written = 0; written < bytes.size();) {
            const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
            if (count <= 0)
                throw fileError(texts::cannotCreate, fileName, file.errorString());
            written += count;
        }
    }
    // A commit renames the temporary file over the old one even when the final
    // flush failed, so the flush is checked first.
    if (!file.flush())
        throw fileError(texts::cannotCreate, fileName, file.errorString());
    if (!file.commit())
        throw fileError(texts::cannotCreate, fileName, file.errorString());
    return true;
}

bool SaveWideTextFile(const QString &text, const QString &fileName, int encoding)
{
    return saveWideTextPieces(
        [&text](QString &piece) {
            piece = text;
            return false;
        },
        fileName, encoding);
}

QString CodePointToWide(std::uint32_t codePoint)
{
    QString text;
    appendCodePoint(text, codePoint);
    return text;
}

void openWideTextFile(QFile &file)
{
    openForReading(file);
}

WideFileError wideFileReadError(const QFile &file)
{
    return fileError(texts::cannotOpen, file.fileName(), file.errorString());
}

WideFileError invalidUtf7Error()
{
    return WideFileError(texts::invalidUtf7);
}

qsizetype encodingMarkLength(int encoding)
{
    return markLength(encoding);
}
