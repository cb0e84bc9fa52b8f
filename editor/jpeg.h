#pragma once
// JPEG pictures decoded with libjpeg. Qt's own JPEG plugin is optional on a
// Linux desktop, so the pictures the program ships are decoded here instead.

#include <QByteArrayView>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace tonfang {

// Decodes JPEG data into an RGB image. Data that is not a complete, valid JPEG
// gives a null image (never a crash and never an exit, which is what libjpeg
// does with an error by default).
QImage decodeJpeg(QByteArrayView data);

// Reads and decodes a JPEG file (a resource path such as ":/pictures/splash.jpg"
// works too). A missing or unreadable file gives a null image.
QImage loadJpeg(const QString &path);

// A picture we ship, for a screen of the given device pixel ratio. Above 1 it
// is the picture's twin drawn at twice the pixels ("splash.jpg" beside
// "splash@2x.jpg") with device pixel ratio 2: the same logical size, but
// crisp. Otherwise, or when the twin cannot be read, the picture itself; null
// when that cannot be read either.
QPixmap loadJpegPixmap(const QString &path, qreal devicePixelRatio);

} // namespace tonfang
