#include "editor/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace tonfang {

namespace {

constexpr int pictureSize = 16;

// A sheet with a folded top-right corner and three lines of "text".
void drawSheet(QPainter &painter, const QRectF &sheet, const QColor &paper, const QColor &ink)
{
    constexpr qreal fold = 3.0;
    QPainterPath outline;
    outline.moveTo(sheet.topLeft());
    outline.lineTo(sheet.right() - fold, sheet.top());
    outline.lineTo(sheet.right(), sheet.top() + fold);
    outline.lineTo(sheet.bottomRight());
    outline.lineTo(sheet.bottomLeft());
    outline.closeSubpath();
    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(paper);
    painter.drawPath(outline);
    painter.drawLine(QPointF(sheet.right() - fold, sheet.top()),
                     QPointF(sheet.right() - fold, sheet.top() + fold));
    painter.drawLine(QPointF(sheet.right() - fold, sheet.top() + fold),
                     QPointF(sheet.right(), sheet.top() + fold));

    painter.setPen(QPen(QColor(96, 128, 176), 1.0));
    for (int line = 0; line < 3; ++line) {
        const qreal y = sheet.top() + 4.0 + 2.0 * line;
        if (y < sheet.bottom() - 1.0)
            painter.drawLine(QPointF(sheet.left() + 2.0, y), QPointF(sheet.right() - 2.0, y));
    }
}

QPixmap copyPixmap(qreal scale)
{
    QPixmap pixmap(QSize(pictureSize, pictureSize) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, scale != 1.0);
    const QColor ink(64, 64, 64);
    // Half-pixel offsets keep one-pixel lines crisp at scale 1.
    drawSheet(painter, QRectF(1.5, 1.5, 8, 10), QColor(232, 232, 232), ink);
    drawSheet(painter, QRectF(6.5, 4.5, 8, 10), Qt::white, ink);
    return pixmap;
}

} // namespace

QIcon copyIcon()
{
    QIcon icon;
    icon.addPixmap(copyPixmap(1.0));
    icon.addPixmap(copyPixmap(2.0));
    return icon;
}

} // namespace tonfang
