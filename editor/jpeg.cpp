#include "editor/jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <utility>

#include <jpeglib.h>

namespace tonfang {
namespace {

// Pictures larger than this are refused rather than allocated: a corrupt
// header must not make the program ask for gigabytes.
constexpr JDIMENSION maxSide = 8192;

// libjpeg reports a fatal error by calling error_exit, which by default ends
// the process. Ours jumps back into decodeJpeg instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    std::longjmp(manager->jump, 1);
}

// Warnings (for example "premature end of data") would be printed on stderr;
// the picture is still usable or the error path handles it, so stay quiet.
void ignoreMessage(j_common_ptr) {}

// Everything between setjmp and a possible longjmp happens in here, so that no
// object with a destructor lives in a frame that longjmp skips.
bool readScanlines(jpeg_decompress_struct &info, QImage &image)
{
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width > maxSide
        || info.output_height > maxSide)
        return false;
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image.isNull())
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            return false;
    }
    // A stream cut short is padded with grey by libjpeg and only warned about;
    // such a picture counts as broken.
    if (info.err->num_warnings > 0)
        return false;
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(QByteArrayView data)
{
    if (data.isEmpty())
        return {};

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.output_message = ignoreMessage;

    QImage image;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.data()),
                 static_cast<unsigned long>(data.size()));
    const bool complete = readScanlines(info, image);
    jpeg_destroy_decompress(&info);
    return complete ? image : QImage();
}

QImage loadJpeg(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeJpeg(file.readAll());
}

QPixmap loadJpegPixmap(const QString &path, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        const QString twin = dot > path.lastIndexOf(QLatin1Char('/'))
                                 ? path.left(dot) + QLatin1String("@2x") + path.mid(dot)
                                 : path + QLatin1String("@2x");
        QImage twice = loadJpeg(twin);
        if (!twice.isNull()) {
            twice.setDevicePixelRatio(2.0);
            return QPixmap::fromImage(std::move(twice));
        }
    }
    return QPixmap::fromImage(loadJpeg(path));
}

} // namespace tonfang
