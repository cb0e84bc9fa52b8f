#include "editor/jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <utility>

#include <dlfcn.h>
#include <jpeglib.h>

namespace tonfang {
namespace {

// Pictures larger than this are refused rather than allocated: a corrupt
// header must not make the program ask for gigabytes.
constexpr JDIMENSION maxSide = 8192;

// libjpeg is loaded only while a picture is decoded: the pictures are few and
// decoded once, and a library kept mapped would stay in resident memory for
// the whole session.
class Libjpeg {
public:
    Libjpeg() : handle_(dlopen("libjpeg.so.62", RTLD_NOW | RTLD_LOCAL))
    {
        if (handle_
            && !(resolve(stdError, "jpeg_std_error")
                 && resolve(createDecompress, "jpeg_CreateDecompress")
                 && resolve(memSrc, "jpeg_mem_src")
                 && resolve(readHeader, "jpeg_read_header")
                 && resolve(startDecompress, "jpeg_start_decompress")
                 && resolve(readScanlines, "jpeg_read_scanlines")
                 && resolve(finishDecompress, "jpeg_finish_decompress")
                 && resolve(destroyDecompress, "jpeg_destroy_decompress"))) {
            dlclose(handle_);
            handle_ = nullptr;
        }
    }
    ~Libjpeg()
    {
        if (handle_)
            dlclose(handle_);
    }
    Libjpeg(const Libjpeg &) = delete;
    Libjpeg &operator=(const Libjpeg &) = delete;

    bool isLoaded() const { return handle_ != nullptr; }

    decltype(&jpeg_std_error) stdError = nullptr;
    decltype(&jpeg_CreateDecompress) createDecompress = nullptr;
    decltype(&jpeg_mem_src) memSrc = nullptr;
    decltype(&jpeg_read_header) readHeader = nullptr;
    decltype(&jpeg_start_decompress) startDecompress = nullptr;
    decltype(&jpeg_read_scanlines) readScanlines = nullptr;
    decltype(&jpeg_finish_decompress) finishDecompress = nullptr;
    decltype(&jpeg_destroy_decompress) destroyDecompress = nullptr;

private:
    template<typename Function>
    bool resolve(Function &function, const char *name)
    {
        function = reinterpret_cast<Function>(dlsym(handle_, name));
        return function != nullptr;
    }

    void *handle_;
};

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
bool readScanlines(const Libjpeg &jpeg, jpeg_decompress_struct &info, QImage &image)
{
    jpeg.readHeader(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg.startDecompress(&info);
    if (info.output_components != 3 || info.output_width > maxSide
        || info.output_height > maxSide)
        return false;
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image.isNull())
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        if (jpeg.readScanlines(&info, &row, 1) != 1)
            return false;
    }
    // A stream cut short is padded with grey by libjpeg and only warned about;
    // such a picture counts as broken.
    if (info.err->num_warnings > 0)
        return false;
    jpeg.finishDecompress(&info);
    return true;
}

QImage decodeWith(const Libjpeg &jpeg, QByteArrayView data)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg.stdError(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.output_message = ignoreMessage;

    QImage image;
    if (setjmp(errors.jump) != 0) {
        jpeg.destroyDecompress(&info);
        return {};
    }
    jpeg.createDecompress(&info, JPEG_LIB_VERSION, sizeof(info));
    jpeg.memSrc(&info, reinterpret_cast<const unsigned char *>(data.data()),
                static_cast<unsigned long>(data.size()));
    const bool complete = readScanlines(jpeg, info, image);
    jpeg.destroyDecompress(&info);
    return complete ? image : QImage();
}

} // namespace

QImage decodeJpeg(QByteArrayView data)
{
    if (data.isEmpty())
        return {};
    const Libjpeg jpeg;
    if (!jpeg.isLoaded())
        return {};
    return decodeWith(jpeg, data);
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
