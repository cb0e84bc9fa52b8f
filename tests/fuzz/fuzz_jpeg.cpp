// layer: editor
// Arbitrary bytes handed to the JPEG decoder: it must return a null image or a
// whole one, never crash, read out of bounds or end the process.
#include "editor/jpeg.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QImage image =
        tonfang::decodeJpeg(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!image.isNull()) {
        if (image.width() <= 0 || image.height() <= 0 || image.width() > 8192
            || image.height() > 8192)
            std::abort();
        // Touch the last row: it must have been written, not left unallocated.
        volatile uchar last = image.constScanLine(image.height() - 1)[image.width() * 3 - 1];
        (void)last;
    }
    return 0;
}
