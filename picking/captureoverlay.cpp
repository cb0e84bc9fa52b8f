#include "picking/captureoverlay.h"

#include "core/colourformats.h"
#include "picking/magnifier.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tonfang {

namespace {

// Sizes of what is drawn around the crosshair, in logical pixels.
constexpr int crosshairGap = 4;
constexpr int crosshairArm = 14;
constexpr int labelOffset = 18;
constexpr int labelSwatch = 14;
constexpr int labelPadding = 5;
constexpr int labelFontSize = 13;
constexpr QRgb labelPanel = qRgb(0x20, 0x22, 0x26);
constexpr QRgb labelBorder = qRgb(0x6b, 0x6f, 0x78);
constexpr QRgb labelInk = qRgb(0xec, 0xef, 0xf4);

QColor qColour(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

} // namespace

QImage shownCapture(const std::uint8_t *data, PixelSize capture, int stride,
                    const PixelLayout &layout, OutputTransform transform, bool yInverted)
{
    const PixelSize shown = shownSize(capture, transform);
    // The common case: the stored words are Qt's own, read where they are.
    if (transform == OutputTransform::Normal && !yInverted && layout.redMask == 0xff0000
        && layout.greenMask == 0xff00 && layout.blueMask == 0xff)
        return QImage(data, shown.width, shown.height, stride, QImage::Format_RGB32);
    QImage image(shown.width, shown.height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < shown.height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < shown.width; ++x) {
            const PixelPoint from = capturedPixel({x, y}, capture, transform, yInverted);
            std::uint32_t word;
            std::memcpy(&word, data + std::size_t(from.y) * std::size_t(stride)
                                   + std::size_t(from.x) * 4,
                        4);
            const Rgb c = decodeTrueColour(layout, word);
            row[x] = qRgb(c.red, c.green, c.blue);
        }
    }
    return image;
}

QRect drawPickMarks(QPainter &painter, const QRect &bounds, PixelPoint crosshair, qreal ratio,
                    const std::optional<Rgb> &live, const std::optional<PixelSquare> &magnified)
{
    const auto px = [ratio](int logical) { return int(std::lround(logical * ratio)); };
    const int cx = crosshair.x, cy = crosshair.y;
    const int gap = px(crosshairGap), arm = px(crosshairArm), edge = std::max(1, px(1));

    // Four black arms edged with white around the pixel, leaving it free.
    const int t = edge, mid = (t - 1) / 2;
    QRect drawn(cx - gap - arm - edge, cy - gap - arm - edge, 2 * (gap + arm + edge) + 1,
                2 * (gap + arm + edge) + 1);
    const QRect arms[] = {QRect(cx - gap - arm, cy - mid, arm, t),
                          QRect(cx + gap + 1, cy - mid, arm, t),
                          QRect(cx - mid, cy - gap - arm, t, arm),
                          QRect(cx - mid, cy + gap + 1, t, arm)};
    for (const QRect &r : arms)
        painter.fillRect(r.adjusted(-edge, -edge, edge, edge), Qt::white);
    for (const QRect &r : arms)
        painter.fillRect(r, Qt::black);

    // The label: a swatch of the live colour and its hex text.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(px(labelFontSize));
    font.setBold(true);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QString text = live ? QString::fromStdString(formatColour(*live, ColourFormat::Hex, 0))
                              : QStringLiteral("–");
    const int pad = px(labelPadding), swatch = px(labelSwatch);
    const int textWidth = metrics.horizontalAdvance(QStringLiteral("#DDDDDD"));
    const QSize labelSize(pad * 3 + swatch + textWidth,
                          pad * 2 + std::max(swatch, metrics.height()));
    const QSize panelSize = magnified ? Magnifier::panelSize(ratio) : QSize();
    const QSize block(std::max(labelSize.width(), panelSize.width()),
                      labelSize.height() + (magnified ? pad + panelSize.height() : 0));
    const int offset = px(labelOffset);
    // Right of and below the crosshair, turned round where that leaves the
    // output, and kept on an output too small for either side.
    const auto place = [offset](int pointer, int extent, int low, int high) {
        int start = pointer + offset;
        if (start + extent - 1 > high)
            start = pointer - offset - extent;
        return std::clamp(start, low, std::max(low, high - extent + 1));
    };
    const QPoint at(place(cx, block.width(), bounds.left(), bounds.right()),
                    place(cy, block.height(), bounds.top(), bounds.bottom()));
    const QRect label(at, labelSize);
    painter.fillRect(label, QColor::fromRgb(labelPanel));
    painter.setPen(QColor::fromRgb(labelBorder));
    painter.drawRect(label.adjusted(0, 0, -1, -1));
    const QRect swatchRect(label.x() + pad, label.y() + (label.height() - swatch) / 2, swatch,
                           swatch);
    painter.fillRect(swatchRect, live ? qColour(*live) : QColor::fromRgb(labelPanel));
    painter.drawRect(swatchRect.adjusted(0, 0, -1, -1));
    painter.setPen(QColor::fromRgb(labelInk));
    painter.drawText(QRect(swatchRect.right() + 1 + pad, label.y(),
                           label.right() - swatchRect.right() - pad, label.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    drawn |= label;
    if (magnified) {
        const QPoint panelAt(at.x(), label.bottom() + 1 + pad);
        Magnifier::paintPanel(painter, panelAt, *magnified, ratio);
        drawn |= QRect(panelAt, panelSize);
    }
    return drawn.intersected(bounds);
}

} // namespace tonfang
