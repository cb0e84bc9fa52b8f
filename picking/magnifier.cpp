#include "picking/magnifier.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

using tonfang::PixelSquare;

namespace {

constexpr int side = PixelSquare::side;
constexpr int gridLine = 1;       // device pixels, at every scale
constexpr int standOff = 14;      // logical pixels between the square and the window
constexpr int settleMs = 100;     // time the screen gets to redraw what the window left

const QColor panel(0x20, 0x22, 0x26);
const QColor border(0x6b, 0x6f, 0x78);
const QColor text(0xec, 0xef, 0xf4);

// Qt keeps a screen's top-left corner at its device position and scales the
// rest of the screen from there.
QRect deviceGeometry(const QScreen *screen)
{
    const QRect g = screen->geometry();
    return {g.topLeft(), (QSizeF(g.size()) * screen->devicePixelRatio()).toSize()};
}

QScreen *screenAtDevicePixel(QPoint p)
{
    for (QScreen *screen : QGuiApplication::screens())
        if (deviceGeometry(screen).contains(p))
            return screen;
    return nullptr;
}

QPoint toLogical(QPoint device, const QScreen *screen)
{
    const QPoint origin = screen->geometry().topLeft();
    return origin + (QPointF(device - origin) / screen->devicePixelRatio()).toPoint();
}

QPoint toDevice(QPoint logical, const QScreen *screen)
{
    const QPoint origin = screen->geometry().topLeft();
    return origin + (QPointF(logical - origin) * screen->devicePixelRatio()).toPoint();
}

// The window's first pixel on one axis when it stands on `side` of the pointer.
int startFor(int side, int pointer, int gap, int extent)
{
    return side > 0 ? pointer + gap : pointer - gap - extent + 1;
}

bool fits(int start, int extent, int low, int high)
{
    return start >= low && start + extent - 1 <= high;
}

// Picks the side that fits (turning round near an edge) and where the window
// starts on that axis; on a screen too small for either side it is clamped.
int place(int &side, int pointer, int gap, int extent, int low, int high)
{
    if (!fits(startFor(side, pointer, gap, extent), extent, low, high)
        && fits(startFor(-side, pointer, gap, extent), extent, low, high))
        side = -side;
    return std::clamp(startFor(side, pointer, gap, extent), low, std::max(low, high - extent + 1));
}

QString hexText(tonfang::Rgb c)
{
    return QStringLiteral("#%1").arg((c.red << 16) | (c.green << 8) | c.blue, 6, 16,
                                     QLatin1Char('0')).toUpper();
}

} // namespace

int Magnifier::Metrics::grid() const
{
    return side * cell + (side + 1) * gridLine;
}

QSize Magnifier::Metrics::window() const
{
    return {2 * padding + grid(), padding + grid() + textStrip};
}

Magnifier::Metrics Magnifier::metricsAt(qreal ratio)
{
    return {int(std::lround(10 * ratio)), int(std::lround(6 * ratio)),
            int(std::lround(26 * ratio))};
}

Magnifier::Magnifier()
{
    // A tooltip-type window: no frame, no taskbar entry, no focus, kept on top
    // and placed where we say, without the window manager's help.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                   | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint
                   | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setObjectName(QStringLiteral("magnifier"));
}

void Magnifier::showSquare(const PixelSquare &square)
{
    m_square = square;
    placeBeside({square.pointerX, square.pointerY});
    if (!isVisible())
        show();
    update();
}

bool Magnifier::mayCover(int x, int y) const
{
    if (!isVisible())
        return false;
    const QPoint p(x, y);
    // A pixel of rounding either way between logical and device positions.
    if (m_standsAt.adjusted(-1, -1, 1, 1).contains(p))
        return true;
    return m_movedAt.isValid() && m_movedAt.elapsed() < settleMs
           && m_stoodAt.adjusted(-1, -1, 1, 1).contains(p);
}

QRect Magnifier::cellRect(int column, int row) const
{
    const Metrics m = metricsAt(devicePixelRatioF());
    const int pitch = m.cell + gridLine;
    return {m.padding + gridLine + column * pitch, m.padding + gridLine + row * pitch, m.cell,
            m.cell};
}

void Magnifier::placeBeside(QPoint pointer)
{
    QScreen *screen = screenAtDevicePixel(pointer);
    if (!screen)
        return; // off every screen: it stays where it is
    const qreal ratio = screen->devicePixelRatio();
    const QSize deviceContent = metricsAt(ratio).window();
    const QSize logicalSize(int(std::ceil(deviceContent.width() / ratio)),
                            int(std::ceil(deviceContent.height() / ratio)));
    if (size() != logicalSize)
        setFixedSize(logicalSize);
    const QSize extent = (QSizeF(logicalSize) * ratio).toSize();

    // Appearing, it stands toward the screen's centre.
    const QRect bounds = deviceGeometry(screen).adjusted(1, 1, -1, -1);
    if (m_sideX == 0) {
        m_sideX = pointer.x() < bounds.center().x() ? 1 : -1;
        m_sideY = pointer.y() < bounds.center().y() ? 1 : -1;
    }
    const int gap = PixelSquare::radius + 1 + int(std::lround(standOff * ratio));
    const QPoint wanted(place(m_sideX, pointer.x(), gap, extent.width(), bounds.left(),
                              bounds.right()),
                        place(m_sideY, pointer.y(), gap, extent.height(), bounds.top(),
                              bounds.bottom()));
    const QPoint logical = toLogical(wanted, screen);
    const QRect standsAt(toDevice(logical, screen), extent);
    if (standsAt != m_standsAt) {
        m_stoodAt = m_standsAt;
        m_standsAt = standsAt;
        m_movedAt.start();
    }
    move(logical);
}

void Magnifier::hideEvent(QHideEvent *event)
{
    // Shown again, it chooses its sides afresh.
    m_sideX = m_sideY = 0;
    m_standsAt = m_stoodAt = QRect();
    QWidget::hideEvent(event);
}

void Magnifier::paintEvent(QPaintEvent *)
{
    // Composed in device pixels, so every cell and grid line is exact at any
    // scale factor, then handed to the window at its pixel ratio.
    const qreal ratio = devicePixelRatioF();
    const Metrics m = metricsAt(ratio);
    QImage image((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
    image.fill(panel);
    QPainter p(&image);
    p.setPen(border);
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));

    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column) {
            const std::optional<tonfang::Rgb> &c = m_square.cell(column, row);
            p.fillRect(cellRect(column, row),
                       c ? QColor(c->red, c->green, c->blue) : QColor(emptyCellColour));
        }

    // The centre framed black outside and white inside: one of the two stands
    // out on any colour.
    const int t = std::max(1, int(ratio));
    const QRect centre = cellRect(PixelSquare::radius, PixelSquare::radius);
    const auto ring = [&p](const QRect &r, int width, const QColor &colour) {
        p.fillRect(r.x(), r.y(), r.width(), width, colour);
        p.fillRect(r.x(), r.bottom() - width + 1, r.width(), width, colour);
        p.fillRect(r.x(), r.y(), width, r.height(), colour);
        p.fillRect(r.right() - width + 1, r.y(), width, r.height(), colour);
    };
    ring(centre.adjusted(-t, -t, t, t), t, Qt::black);
    ring(centre, t, Qt::white);

    // Below the grid: a swatch of the centre pixel and its hex text.
    const std::optional<tonfang::Rgb> &picked = m_square.centre();
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(int(std::lround(13 * ratio)));
    font.setBold(true);
    p.setFont(font);
    const QString label = picked ? hexText(*picked) : QStringLiteral("–");
    const int swatch = int(std::lround(12 * ratio));
    const int spacing = int(std::lround(6 * ratio));
    const int textWidth = p.fontMetrics().horizontalAdvance(label);
    const int stripTop = m.padding + m.grid();
    const int stripHeight = image.height() - stripTop;
    const int left = (image.width() - swatch - spacing - textWidth) / 2;
    const QRect swatchRect(left, stripTop + (stripHeight - swatch) / 2, swatch, swatch);
    p.fillRect(swatchRect, picked ? QColor(picked->red, picked->green, picked->blue)
                                  : QColor(emptyCellColour));
    p.drawRect(swatchRect.adjusted(0, 0, -1, -1));
    p.setPen(text);
    p.drawText(QRect(left + swatch + spacing, stripTop, textWidth + 1, stripHeight),
               Qt::AlignLeft | Qt::AlignVCenter, label);
    p.end();

    image.setDevicePixelRatio(ratio);
    QPainter(this).drawImage(QPoint(0, 0), image);
}
