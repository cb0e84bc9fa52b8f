#include "editor/png.h"

#include <QFile>
#include <QPixmap>

#include <png.h>

namespace tonfang {

namespace {
// The program's own pictures are far smaller; a picture claiming more is
// refused rather than allocated.
constexpr png_uint_32 largestSide = 4096;
} // namespace

QImage decodePng(QByteArrayView data)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.data(), std::size_t(data.size())))
        return {};
    if (png.width > largestSide || png.height > largestSide) {
        png_image_free(&png);
        return {};
    }
    // QImage::Format_ARGB32 holds each pixel as one 32-bit word, so its byte
    // order follows the machine's.
    png.format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage image(int(png.width), int(png.height), QImage::Format_ARGB32);
    const bool complete = !image.isNull()
                          && png_image_finish_read(&png, nullptr, image.bits(),
                                                   png_int_32(image.bytesPerLine()), nullptr);
    png_image_free(&png);
    return complete ? image : QImage();
}

QImage loadPng(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodePng(file.readAll());
}

QIcon loadPngIcon(const QString &pattern, std::initializer_list<int> sides)
{
    QIcon icon;
    for (const int side : sides) {
        const QImage image = loadPng(pattern.arg(side));
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace tonfang
