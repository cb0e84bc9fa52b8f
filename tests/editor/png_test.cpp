// Decoding the program's PNG pictures with libpng, and refusing broken data safely.
#include "editor/png.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>

#include <zlib.h>

using tonfang::decodePng;
using tonfang::loadPng;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

} // namespace

// Every pixel as Qt's own reader sees it, the edges' partial transparency too.
TEST(Png, IconsDecodeAsQtsReaderDecodesThem)
{
    for (const char *size : {"16", "32", "48", "64", "128"}) {
        const QString path = QStringLiteral(TONFANG_ASSETS "/tonfang-%1.png").arg(QLatin1String(size));
        const QImage ours = loadPng(path);
        const QImage qts = QImageReader(path).read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(qts.isNull()) << size;
        EXPECT_EQ(ours.format(), QImage::Format_ARGB32) << size;
        ASSERT_EQ(ours.size(), qts.size()) << size;
        // Qt's reader also records the file's colour space; the pixels are what counts.
        EXPECT_EQ(QByteArrayView(ours.constBits(), ours.sizeInBytes()),
                  QByteArrayView(qts.constBits(), qts.sizeInBytes()))
            << size;
    }
}

TEST(Png, BrokenDataGivesANullImage)
{
    const QByteArray good = readFile(QStringLiteral(TONFANG_ASSETS "/tonfang-32.png"));
    ASSERT_FALSE(decodePng(good).isNull());
    // A header claiming 65000 x 65000 pixels, with a valid checksum, must be
    // refused rather than allocated.
    QByteArray huge = good;
    for (const int at : {16, 20}) {
        huge[at] = 0;
        huge[at + 1] = 0;
        huge[at + 2] = char(0xfd);
        huge[at + 3] = char(0xe8);
    }
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(huge.constData() + 12), 17);
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = char(crc >> (24 - 8 * i));

    const struct {
        const char *what;
        QByteArray data;
    } cases[] = {
        {"empty", {}},
        {"signature only", good.left(8)},
        {"text", QByteArray("not a picture at all")},
        {"cut in the middle", good.left(good.size() / 2)},
        {"huge dimensions", huge},
        {"jpeg data", readFile(QStringLiteral(TONFANG_ASSETS "/splash.jpg"))},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(decodePng(c.data).isNull()) << c.what;
    EXPECT_TRUE(loadPng(QStringLiteral(TONFANG_ASSETS "/no-such-picture.png")).isNull());
}
