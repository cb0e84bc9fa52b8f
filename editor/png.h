#pragma once
// PNG pictures decoded with libpng directly. Reading one through Qt's image
// reader first loads every image format plugin installed, which costs the
// start-up time and memory for nothing: the program's PNGs are all its own.

#include <QByteArrayView>
#include <QIcon>
#include <QImage>
#include <QString>

#include <initializer_list>

namespace tonfang {

// Decodes PNG data into a non-premultiplied ARGB image. Data that is not a
// complete, valid PNG gives a null image.
QImage decodePng(QByteArrayView data);

// Reads and decodes a PNG file (resource paths work too); null when the file
// cannot be read or decoded.
QImage loadPng(const QString &path);

// An icon of the PNG files `pattern` names with each of `sides` for its %1,
// each picture drawn for its own size; those that cannot be read are left out.
QIcon loadPngIcon(const QString &pattern, std::initializer_list<int> sides);

} // namespace tonfang
