#include "tests/support/wholefilereader.h"

#include "core/colour.h"
#include "core/numbertext.h"
#include "listfile/colourlistreader.h"
#include "listfile/fileaccess.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <memory>

#include <iconv.h>

using tonfang::TextEncoding;

namespace {

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
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(bigEndian ? qFromBigEndian<char16_t>(bytes.data() + i)
                                    : qFromLittleEndian<char16_t>(bytes.data() + i)));
    return text;
}

QString decodeUtf32(QByteArrayView bytes, bool bigEndian)
{
    QString text;
    for (qsizetype i = 0; i + 3 < bytes.size(); i += 4)
        appendCodePoint(text, bigEndian ? qFromBigEndian<std::uint32_t>(bytes.data() + i)
                                        : qFromLittleEndian<std::uint32_t>(bytes.data() + i));
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

// RFC 2152, through the C library's converter, all bytes in one call.
QString decodeUtf7(QByteArrayView bytes)
{
    constexpr auto native = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE";
    const iconv_t handle = iconv_open(native, "UTF-7");
    if (handle == iconv_t(-1))
        throw tonfang::invalidUtf7Error();
    const std::unique_ptr<void, int (*)(iconv_t)> closer(handle, iconv_close);

    // UTF-7 never needs more than one UTF-16 unit per byte.
    QString text(bytes.size() + 1, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = std::size_t(bytes.size());
    char *begin = reinterpret_cast<char *>(text.data());
    char *out = begin;
    std::size_t outLeft = std::size_t(text.size()) * sizeof(char16_t);
    if (inLeft > 0 && iconv(handle, &in, &inLeft, &out, &outLeft) == std::size_t(-1))
        throw tonfang::invalidUtf7Error();
    if (iconv(handle, nullptr, nullptr, &out, &outLeft) == std::size_t(-1))
        throw tonfang::invalidUtf7Error();
    text.truncate((out - begin) / qsizetype(sizeof(char16_t)));
    return text;
}

QString decodeAnsi(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// What a locale's encoding can hold: characters it cannot represent come back
// as its replacement character.
QString throughLocaleEncoding(const QString &text)
{
    QStringEncoder encoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    return decoder.decode(encoder.encode(text));
}

} // namespace

qsizetype SplitWide(QList<QStringView> &parts, QStringView separator, QStringView text)
{
    if (separator.isEmpty()) {
        parts.append(text);
        return 1;
    }
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
    for (const QStringView view : views)
        parts.append(view.toString());
    return count;
}

TextEncoding encodingOfFile(const QString &fileName)
{
    QFile file(fileName);
    tonfang::openForReading(file);
    return tonfang::DetectTextEncoding(file.read(4), file.size());
}

QString decodeWideText(QByteArrayView bytes)
{
    const TextEncoding encoding = tonfang::DetectTextEncoding(
        bytes.first(std::min<qsizetype>(4, bytes.size())), bytes.size());
    const QByteArrayView text =
        bytes.sliced(std::min(tonfang::encodingMarkLength(encoding), bytes.size()));
    switch (encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return decodeUtf16(text, encoding == TextEncoding::Utf16BE);
    case TextEncoding::Utf32LE:
    case TextEncoding::Utf32BE:
        return decodeUtf32(text, encoding == TextEncoding::Utf32BE);
    case TextEncoding::Utf8:
        return decodeUtf8(text);
    case TextEncoding::Utf7:
        return decodeUtf7(text);
    case TextEncoding::Ansi:
        break;
    }
    return decodeAnsi(text);
}

QString LoadWideTextFile(const QString &fileName)
{
    // Read once and decide the encoding from the bytes in hand, so that a file
    // changed in between cannot be decoded by another file's mark.
    QFile file(fileName);
    tonfang::openForReading(file);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw tonfang::cannotOpenError(fileName, file.errorString());
    return decodeWideText(bytes);
}

QString CodePointToWide(std::uint32_t codePoint)
{
    QString text;
    appendCodePoint(text, codePoint);
    return text;
}

ColourListReading readColourListText(QString text)
{
    text = throughLocaleEncoding(text);
    QList<QStringView> lines;
    SplitWide(lines, u"\r\n", text);

    ColourListReading reading;
    for (const QStringView line : lines) {
        if (line.size() != 6)
            continue;
        try {
            const tonfang::ColourNumber colour = tonfang::colourOfColourLine(line);
            reading.entries.push_back(
                {QString::fromStdString(tonfang::listEntryLabel(tonfang::TColorToRGB(colour))),
                 colour});
        } catch (const tonfang::ConversionError &) {
            reading.failure = std::current_exception();
            break;
        }
    }
    return reading;
}
