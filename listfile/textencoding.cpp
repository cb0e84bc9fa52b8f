#include "listfile/textencoding.h"

#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include <iconv.h>

namespace tonfang {

TextEncoding DetectTextEncoding(QByteArrayView head, qint64 fileSize)
{
    if (fileSize <= 1)
        return TextEncoding::Ansi;
    const auto startsWith = [head](std::initializer_list<unsigned char> mark) {
        if (head.size() < qsizetype(mark.size()))
            return false;
        return std::equal(mark.begin(), mark.end(), head.begin(),
                          [](unsigned char m, char b) { return m == static_cast<unsigned char>(b); });
    };
    if (startsWith({0xEF, 0xBB, 0xBF}))
        return TextEncoding::Utf8;
    if (startsWith({0x2B, 0x2F, 0x76, 0x38}))
        return TextEncoding::Utf7;
    // Checked before UTF-16 LE: a UTF-16 LE file that begins with U+0000 is
    // indistinguishable from UTF-32 LE and is read as such.
    if (fileSize > 2 && startsWith({0xFF, 0xFE, 0x00, 0x00}))
        return TextEncoding::Utf32LE;
    if (startsWith({0x00, 0x00, 0xFE, 0xFF}))
        return TextEncoding::Utf32BE;
    if (startsWith({0xFF, 0xFE}))
        return TextEncoding::Utf16LE;
    if (startsWith({0xFE, 0xFF}))
        return TextEncoding::Utf16BE;
    return TextEncoding::Ansi;
}

qsizetype encodingMarkLength(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return 3;
    case TextEncoding::Utf7:
        return 5; // the mark and the "-" that ends it
    case TextEncoding::Utf32LE:
    case TextEncoding::Utf32BE:
        return 4;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return 2;
    case TextEncoding::Ansi:
        break;
    }
    return 0;
}

FileError invalidUtf7Error()
{
    return FileError("Invalid UTF7");
}

qsizetype decodeUtf16(QByteArrayView bytes, bool bigEndian, QString &text)
{
    const qsizetype units = bytes.size() / 2;
    text.resize(units);
    if (bigEndian)
        qFromBigEndian<char16_t>(bytes.data(), units, text.data());
    else
        qFromLittleEndian<char16_t>(bytes.data(), units, text.data());
    return 2 * units;
}

qsizetype decodeUtf32(QByteArrayView bytes, bool bigEndian, QString &text)
{
    const qsizetype units = bytes.size() / 4;
    text.resize(2 * units);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < units; ++i) {
        const char *unit = bytes.data() + 4 * i;
        const std::uint32_t codePoint = bigEndian ? qFromBigEndian<std::uint32_t>(unit)
                                                  : qFromLittleEndian<std::uint32_t>(unit);
        if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            *out++ = u'?';
        } else if (codePoint < 0x10000) {
            *out++ = char16_t(codePoint);
        } else {
            *out++ = char16_t(0xD800 + ((codePoint - 0x10000) >> 10));
            *out++ = char16_t(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        }
    }
    text.truncate(out - reinterpret_cast<char16_t *>(text.data()));
    return 4 * units;
}

void Utf7ConverterCloser::operator()(void *handle) const
{
    iconv_close(handle);
}

Utf7Converter openUtf7Converter()
{
    constexpr auto native = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE";
    const iconv_t handle = iconv_open(native, "UTF-7");
    if (handle == iconv_t(-1))
        throw invalidUtf7Error();
    return Utf7Converter(handle);
}

} // namespace tonfang
