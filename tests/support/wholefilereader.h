#pragma once
// Reading a colour list file the plain way: the whole file at once, decoded by
// decoders of its own, then split at CR LF. The reference that the streaming
// reader is checked against, in the tests and the fuzzer.

#include "editor/colourlist.h"
#include "listfile/textencoding.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <exception>
#include <vector>

// Fills `parts` (appended to) with the pieces of `text` between separators and
// returns their number. A text ending with the separator gives an empty last
// piece, an empty text one empty piece; an empty separator does not split.
qsizetype SplitWide(QStringList &parts, QStringView separator, QStringView text);
// The same, with views into `text` that copy nothing.
qsizetype SplitWide(QList<QStringView> &parts, QStringView separator, QStringView text);

// The encoding of a file, from its first bytes. Throws tonfang::FileError when
// the file cannot be opened.
tonfang::TextEncoding encodingOfFile(const QString &fileName);

// The whole content of a file as text, decoded by its byte-order mark. Throws
// tonfang::FileError when the file cannot be opened or is malformed UTF-7.
QString LoadWideTextFile(const QString &fileName);
// The same for a file's bytes already in memory.
QString decodeWideText(QByteArrayView bytes);

// One code point as UTF-16: one unit or a surrogate pair; "?" for a value that
// is no Unicode scalar value (a surrogate or above U+10FFFF).
QString CodePointToWide(std::uint32_t codePoint);

// What a loaded text holds. Only pieces of exactly six units between CR LF line
// ends are colour lines; everything else is skipped. The first colour line that
// is not hexadecimal stops the reading: `failure` then holds its conversion
// error and `entries` the colours of the lines before it.
struct ColourListReading {
    std::vector<tonfang::ColourListEntry> entries;
    std::exception_ptr failure;
};
ColourListReading readColourListText(QString text);
