#pragma once
// The Unicode encodings a colour list file may come in: finding a file's
// encoding from its byte-order mark, the length of that mark, and decoding
// UTF-16, UTF-32 and UTF-7 bytes as they come.

#include "listfile/fileaccess.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

namespace tonfang {

// The encodings, by their code-page numbers. Ansi is the locale's encoding,
// used for files without a byte-order mark and for every file written.
enum class TextEncoding : int {
    Ansi = 0,
    Utf8 = 65001,
    Utf7 = 65000,
    Utf32LE = 65005,
    Utf32BE = 65006,
    Utf16LE = 1200,
    Utf16BE = 1201,
};

// The encoding of a file from its first (up to four) bytes and its size in bytes.
TextEncoding DetectTextEncoding(QByteArrayView head, qint64 fileSize);
// How many bytes of mark an encoding skips before its text.
qsizetype encodingMarkLength(TextEncoding encoding);

// A UTF-7 text that does not decode.
FileError invalidUtf7Error();

// Decode the whole units at the start of `bytes` into `text` (replacing what it
// held) and return how many bytes they took. UTF-16 units stand as they are,
// unpaired surrogates too; a UTF-32 value that is no Unicode scalar value (a
// surrogate or above U+10FFFF) becomes "?".
qsizetype decodeUtf16(QByteArrayView bytes, bool bigEndian, QString &text);
qsizetype decodeUtf32(QByteArrayView bytes, bool bigEndian, QString &text);

// The C library's UTF-7 converter to UTF-16 in the machine's byte order, which
// keeps its shift state from one call to the next. Throws invalidUtf7Error()
// when the C library has none.
struct Utf7ConverterCloser {
    void operator()(void *handle) const;
};
using Utf7Converter = std::unique_ptr<void, Utf7ConverterCloser>;
Utf7Converter openUtf7Converter();

} // namespace tonfang
