#pragma once
// What the overlay of a Wayland pick shows: the capture turned the way its
// output shows it, and over it the crosshair with a swatch and the hex text of
// the pixel under it, and the magnifier when it is on.

#include "picking/capturemapping.h"
#include "picking/pixelsource.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <optional>

class QPainter;

namespace tonfang {

// The stored pixels of a capture as the output shows them, one pixel per
// device pixel; null when the image cannot be made. Where the capture already
// stores them so, the image reads `data` in place, which must outlive it.
QImage shownCapture(const std::uint8_t *data, PixelSize capture, int stride,
                    const PixelLayout &layout, OutputTransform transform, bool yInverted);

// Draws the marks around the crosshair (a device pixel of `bounds`), sized for
// `ratio` device pixels per logical pixel, turned round near the edges; says
// where it drew.
QRect drawPickMarks(QPainter &painter, const QRect &bounds, PixelPoint crosshair, qreal ratio,
                    const std::optional<Rgb> &live, const std::optional<PixelSquare> &magnified);

} // namespace tonfang
