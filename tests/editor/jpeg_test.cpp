// Decoding the shipped pictures with libjpeg and libpng, and refusing broken
// data safely.
#include "editor/jpeg.h"
#include "editor/png.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>

#include <cstdlib>

#include <dlfcn.h>
#include <zlib.h>

using tonfang::decodeJpeg;
using tonfang::decodePng;
using tonfang::loadJpeg;
using tonfang::loadPng;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// JPEG is lossy: a sampled pixel is compared with a small tolerance.
void expectNear(const QImage &image, QPoint at, QColor expected, int tolerance = 12)
{
    const QColor got = image.pixelColor(at);
    EXPECT_LE(std::abs(got.red() - expected.red()), tolerance) << at.x() << "," << at.y();
    EXPECT_LE(std::abs(got.green() - expected.green()), tolerance) << at.x() << "," << at.y();
    EXPECT_LE(std::abs(got.blue() - expected.blue()), tolerance) << at.x() << "," << at.y();
}

} // namespace

TEST(Jpeg, ShippedPicturesDecodeToTheirSizeAndColours)
{
    const QImage splash = loadJpeg(QStringLiteral(TONFANG_ASSETS "/splash.jpg"));
    ASSERT_EQ(splash.size(), QSize(300, 340));
    expectNear(splash, {200, 285}, QColor(0x16, 0x1b, 0x38));  // the flat lower band
    expectNear(splash, {100, 258}, QColor(0xf5, 0xc8, 0x4c));  // the band's yellow rule
    const QColor top = splash.pixelColor(153, 40);               // the wheel's red top
    EXPECT_GT(top.red(), 200);
    EXPECT_LT(top.green(), 70);
    EXPECT_LT(top.blue(), 70);

    const QImage overlay = loadJpeg(QStringLiteral(TONFANG_ASSETS "/splash_de.jpg"));
    ASSERT_EQ(overlay.size(), QSize(175, 82));
    expectNear(overlay, {160, 70}, QColor(0x16, 0x1b, 0x38));
    expectNear(overlay, {100, 0}, QColor(0xf5, 0xc8, 0x4c));
}

TEST(Jpeg, GreyscalePictureComesOutAsRgb)
{
    const QImage grey = loadJpeg(QStringLiteral(TONFANG_TEST_DATA "/grey.jpg"));
    ASSERT_EQ(grey.size(), QSize(8, 8));
    expectNear(grey, {0, 0}, QColor(128, 128, 128), 2);
    expectNear(grey, {7, 7}, QColor(128, 128, 128), 2);
}

TEST(Jpeg, BrokenDataGivesANullImage)
{
    const QByteArray good = readFile(QStringLiteral(TONFANG_ASSETS "/splash.jpg"));
    ASSERT_FALSE(decodeJpeg(good).isNull());

    QByteArray noise(4096, '\0');
    QRandomGenerator seeded(7);
    for (char &byte : noise)
        byte = char(seeded.bounded(256));
    QByteArray corruptScan = good;
    for (qsizetype i = corruptScan.size() / 2; i < corruptScan.size() / 2 + 64; ++i)
        corruptScan[i] = char(0xff);
    // A start-of-frame claiming 65000 x 65000 pixels must be refused, not allocated.
    QByteArray huge = good;
    const qsizetype frame = huge.indexOf(QByteArray("\xff\xc0", 2));
    ASSERT_GT(frame, 0);
    huge[frame + 5] = char(0xfd);
    huge[frame + 6] = char(0xe8);
    huge[frame + 7] = char(0xfd);
    huge[frame + 8] = char(0xe8);

    const struct {
        const char *what;
        QByteArray data;
    } cases[] = {
        {"empty", {}},
        {"start marker only", QByteArray("\xff\xd8", 2)},
        {"random bytes", noise},
        {"text", QByteArray("not a picture at all")},
        {"cut after the header", good.left(600)},
        {"cut in the middle", good.left(good.size() / 2)},
        {"huge dimensions", huge},
        // libjpeg decodes corrupt entropy data to garbage with a warning.
        {"corrupt scan", corruptScan},
        {"png data", readFile(QStringLiteral(TONFANG_ASSETS "/tonfang.png"))},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(decodeJpeg(c.data).isNull()) << c.what;
}

TEST(Jpeg, MissingFileGivesANullImage)
{
    EXPECT_TRUE(loadJpeg(QStringLiteral(TONFANG_TEST_DATA "/no-such-picture.jpg")).isNull());
}

// libjpeg is mapped only while a picture is decoded, also after broken data.
TEST(Jpeg, LibraryIsReleasedAfterDecoding)
{
    const auto loaded = [] {
        void *handle = dlopen("libjpeg.so.62", RTLD_NOW | RTLD_NOLOAD);
        if (handle)
            dlclose(handle);
        return handle != nullptr;
    };
    if (loaded())
        GTEST_SKIP() << "libjpeg was loaded by something else in this process";
    EXPECT_FALSE(loadJpeg(QStringLiteral(TONFANG_ASSETS "/splash.jpg")).isNull());
    EXPECT_FALSE(loaded());
    EXPECT_TRUE(decodeJpeg(QByteArray("\xff\xd8\xff\xe0 cut short")).isNull());
    EXPECT_FALSE(loaded());
}

// Each picture's twin for scaled screens is the same design at twice the
// pixels; without a twin a scaled screen gets the picture itself.
TEST(Jpeg, TwinsForScaledScreensHaveTwiceThePixels)
{
    for (const char *name : {"splash", "splash_de", "help_header", "donate_de", "donate_en"}) {
        const QString once = QStringLiteral(TONFANG_ASSETS "/%1.jpg").arg(QLatin1String(name));
        const QSize onceSize = loadJpeg(once).size();
        ASSERT_FALSE(onceSize.isEmpty()) << name;
        const QPixmap twice = tonfang::loadJpegPixmap(once, 1.25);
        EXPECT_EQ(twice.devicePixelRatio(), 2.0) << name;
        EXPECT_EQ(twice.size(), onceSize * 2) << name;
    }
    EXPECT_EQ(tonfang::loadJpegPixmap(QStringLiteral(TONFANG_TEST_DATA "/grey.jpg"), 2).size(), QSize(8, 8));
}

// Every pixel as Qt's own reader sees it (which also records a colour space).
TEST(Png, IconsDecodeAsQtsReaderDecodesThem)
{
    for (const int side : {16, 32, 48, 64, 128}) {
        const QString path = QStringLiteral(TONFANG_ASSETS "/tonfang-%1.png").arg(side);
        const QImage ours = loadPng(path);
        const QImage qts = QImageReader(path).read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(ours.size(), QSize(side, side));
        EXPECT_EQ(QByteArrayView(ours.constBits(), ours.sizeInBytes()),
                  QByteArrayView(qts.constBits(), qts.sizeInBytes())) << side;
    }
}

TEST(Png, BrokenDataGivesANullImage)
{
    // 65000 x 65000 pixels in the header, its checksum mended: refused, not allocated.
    QByteArray huge = readFile(QStringLiteral(TONFANG_ASSETS "/tonfang-32.png"));
    huge.replace(16, 8, QByteArray::fromHex("0000fde80000fde8"));
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(huge.constData() + 12), 17);
    huge.replace(29, 4, QByteArray::fromHex(QByteArray::number(quint32(crc), 16).rightJustified(8, '0')));
    for (const QByteArray &data : {QByteArray(), huge.left(8), huge.left(huge.size() / 2), huge,
                                   readFile(QStringLiteral(TONFANG_ASSETS "/splash.jpg"))})
        EXPECT_TRUE(decodePng(data).isNull()) << data.size();
    EXPECT_TRUE(loadPng(QStringLiteral(TONFANG_ASSETS "/no-such-picture.png")).isNull());
}
