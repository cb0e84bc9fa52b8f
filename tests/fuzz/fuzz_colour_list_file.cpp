// layer: picking
// Loading a colour list file of arbitrary bytes: the byte-order mark decides the
// decoding, then the lines are read. Malformed UTF-7 is the one expected error;
// anything else (a crash, a hang, a sanitizer report) is a fault.
#include "picking/colourlistfile.h"
#include "picking/widefunc.h"

#include <cstddef>
#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString text;
    try {
        text = decodeWideText(QByteArrayView(data, qsizetype(size)));
    } catch (const WideFileError &) {
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
