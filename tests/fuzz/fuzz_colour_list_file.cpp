// layer: listfile
// Loading a colour list file of arbitrary bytes: the byte-order mark decides the
// decoding, then the lines are read. Malformed UTF-7 is the one expected error;
// anything else (a crash, a hang, a sanitizer report) is a fault. The same
// bytes read from a file as a stream, in reads of a size the input picks, must
// give exactly the colours and the message of reading them whole.
#include "listfile/colourlistfile.h"
#include "tests/support/colourlistoutcome.h"
#include "tests/support/wholefilereader.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>

using tonfang::ColourListEntry;

namespace {

void compareWithTheStream(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("list.txt"));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        __builtin_trap();
    file.close();

    const ColourListOutcome whole = wholeFileOutcome(name);
    const qsizetype readBytes = size == 0 ? 1 : 1 + (data[0] ^ data[size / 2]) % 16;
    const ColourListOutcome streamed = streamedOutcome(name, {readBytes, 2});
    if (streamed != whole) {
        std::fprintf(stderr, "reads of %lld: %zu colours, \"%s\"; read whole: %zu colours, \"%s\"\n",
                     static_cast<long long>(readBytes), streamed.colours.size(), streamed.message.c_str(),
                     whole.colours.size(), whole.message.c_str());
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    compareWithTheStream(data, size);

    QString text;
    try {
        text = decodeWideText(QByteArrayView(data, qsizetype(size)));
    } catch (const tonfang::FileError &) {
        return 0;
    }
    const ColourListReading reading = readColourListText(text);
    if (reading.failure) {
        try {
            std::rethrow_exception(reading.failure);
        } catch (const std::exception &) {
        }
    }
    for (const ColourListEntry &entry : reading.entries) {
        // Every entry read back must be a colour of three bytes with its label.
        if (entry.colour < 0 || entry.colour > 0xFFFFFF || entry.label.size() != 13)
            __builtin_trap();
    }
    return 0;
}
