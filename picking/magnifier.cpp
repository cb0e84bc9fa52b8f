#include "picking/magnifier.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

using tonfang::PixelSquare;

namespace tonfang {

namespace {

constexpr int side = PixelSquare::side;
constexpr int gridLine = 1;       // device pixels, at every scale
constexpr int standOff = 14;      // logical pixels between the square and the window

constexpr tonfang::Rgb panel{0x20, 0x22, 0x26};
constexpr tonfang::Rgb border{0x6b, 0x6f, 0x78};
constexpr tonfang::Rgb ink{0xec, 0xef, 0xf4};
constexpr tonfang::Rgb black{0, 0, 0};
constexpr tonfang::Rgb white{255, 255, 255};

// The characters of the hex text below the grid, drawn once per scale.
const QString glyphChars = QStringLiteral(" #0123456789ABCDEF–");
constexpr int labelLength = 7; // "#RRGGBB"

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

// By luma: black stands out more against a light colour, white against a dark one.
bool isLight(tonfang::Rgb c)
{
    return 299 * c.red + 587 * c.green + 114 * c.blue >= 128 * 1000;
}

QString labelOf(const std::optional<tonfang::Rgb> &c)
{
    if (!c)
        return QStringLiteral("   –   ");
    return QStringLiteral("#%1").arg((c->red << 16) | (c->green << 8) | c->blue, 6, 16,
                                     QLatin1Char('0')).toUpper();
}

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

// What drawing the panel needs: filled rectangles and the hex text.
class Magnifier::PanelCanvas {
public:
    virtual ~PanelCanvas() = default;
    virtual void fill(const QRect &r, tonfang::Rgb colour) = 0;
    // Makes ready the glyphs of the hex text at a pixel size.
    virtual void prepareGlyphs(int pixelSize) = 0;
    virtual QSize glyphSize() const = 0;
    virtual void text(QPoint at, const QString &label) = 0;

    // A frame `width` pixels wide just inside the rectangle.
    void frame(const QRect &r, int width, tonfang::Rgb colour)
    {
        fill(QRect(r.x(), r.y(), r.width(), width), colour);
        fill(QRect(r.x(), r.bottom() - width + 1, r.width(), width), colour);
        fill(QRect(r.x(), r.y(), width, r.height()), colour);
        fill(QRect(r.right() - width + 1, r.y(), width, r.height()), colour);
    }
};

namespace {

QFont glyphFont(int pixelSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

// The panel drawn with QPainter, at an offset: a Wayland pick shows it on its
// overlay.
class ImageCanvas : public Magnifier::PanelCanvas {
public:
    ImageCanvas(QPainter &painter, QPoint offset) : m_painter(painter), m_offset(offset)
    {
        m_painter.save();
    }
    ~ImageCanvas() override { m_painter.restore(); }

    void fill(const QRect &r, tonfang::Rgb colour) override
    {
        m_painter.fillRect(r.translated(m_offset), QColor(colour.red, colour.green, colour.blue));
    }
    void prepareGlyphs(int pixelSize) override
    {
        m_painter.setFont(glyphFont(pixelSize));
        m_painter.setPen(QColor(ink.red, ink.green, ink.blue));
        const QFontMetrics metrics(m_painter.font());
        m_glyph = QSize(metrics.horizontalAdvance(QLatin1Char('0')), metrics.height());
    }
    QSize glyphSize() const override { return m_glyph; }
    void text(QPoint at, const QString &label) override
    {
        const QFontMetrics metrics(m_painter.font());
        for (int i = 0; i < label.size(); ++i)
            m_painter.drawText(at + m_offset + QPoint(i * m_glyph.width(), metrics.ascent()),
                               QString(label[i]));
    }

private:
    QPainter &m_painter;
    QPoint m_offset;
    QSize m_glyph;
};

} // namespace

// Draws on the magnifier's window with the X server's own fills and copies:
// a move sends a few kilobytes of small requests and waits for nothing, where
// Qt's backing store would send the whole picture and wait for the server
// before every repaint.
class Magnifier::Canvas : public Magnifier::PanelCanvas {
public:
    static std::unique_ptr<Canvas> on(xcb_window_t window)
    {
        xcb_connection_t *c = connection();
        if (!c)
            return nullptr;
        auto *attributes =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
        auto *geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
        std::optional<tonfang::PixelLayout> layout;
        int depth = 0;
        if (attributes && geometry) {
            depth = geometry->depth;
            layout = tonfang::visualLayout(c, attributes->visual, depth);
        }
        std::free(attributes);
        std::free(geometry);
        if (!layout)
            return nullptr;
        return std::unique_ptr<Canvas>(new Canvas(c, window, *layout, depth));
    }

    ~Canvas() override
    {
        if (m_glyphs)
            xcb_free_pixmap(m_c, m_glyphs);
        xcb_free_gc(m_c, m_gc);
    }

    void fill(const QRect &r, tonfang::Rgb colour) override
    {
        const std::uint32_t pixel = tonfang::encodeTrueColour(m_layout, colour);
        if (pixel != m_foreground) {
            xcb_change_gc(m_c, m_gc, XCB_GC_FOREGROUND, &pixel);
            m_foreground = pixel;
        }
        const xcb_rectangle_t rect{std::int16_t(r.x()), std::int16_t(r.y()),
                                   std::uint16_t(r.width()), std::uint16_t(r.height())};
        xcb_poly_fill_rectangle(m_c, m_window, m_gc, 1, &rect);
    }

    // Renders the glyphs of the hex text once for a pixel size: light on the
    // panel, smoothed by Qt, stored on the server in the window's own format.
    void prepareGlyphs(int pixelSize) override
    {
        if (pixelSize == m_pixelSize)
            return;
        m_pixelSize = pixelSize;
        const QFont font = glyphFont(pixelSize);
        const QFontMetrics metrics(font);
        m_glyph = QSize(metrics.horizontalAdvance(QLatin1Char('0')), metrics.height());
        QImage image(m_glyph.width() * int(glyphChars.size()), m_glyph.height(),
                     QImage::Format_RGB32);
        image.fill(QColor(panel.red, panel.green, panel.blue));
        {
            QPainter p(&image);
            p.setFont(font);
            p.setPen(QColor(ink.red, ink.green, ink.blue));
            for (int i = 0; i < glyphChars.size(); ++i)
                p.drawText(QRect(i * m_glyph.width(), 0, m_glyph.width(), m_glyph.height()),
                           Qt::AlignCenter, glyphChars.mid(i, 1));
        }
        const std::size_t stride = tonfang::bytesPerRow(m_layout, image.width());
        const std::size_t step = std::size_t(m_layout.bitsPerPixel / 8);
        std::vector<std::uint8_t> bytes(stride * std::size_t(image.height()));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                tonfang::storePixelValue(
                    m_layout,
                    tonfang::encodeTrueColour(m_layout, {std::uint8_t(qRed(c)),
                                                         std::uint8_t(qGreen(c)),
                                                         std::uint8_t(qBlue(c))}),
                    std::span(bytes).subspan(std::size_t(y) * stride + std::size_t(x) * step));
            }
        if (m_glyphs)
            xcb_free_pixmap(m_c, m_glyphs);
        m_glyphs = xcb_generate_id(m_c);
        xcb_create_pixmap(m_c, m_depth, m_glyphs, m_window, std::uint16_t(image.width()),
                          std::uint16_t(image.height()));
        xcb_put_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_glyphs, m_gc,
                      std::uint16_t(image.width()), std::uint16_t(image.height()), 0, 0, 0,
                      m_depth, std::uint32_t(bytes.size()), bytes.data());
    }

    QSize glyphSize() const override { return m_glyph; }

    void text(QPoint at, const QString &label) override
    {
        for (int i = 0; i < label.size(); ++i) {
            const int glyph = std::max(0, int(glyphChars.indexOf(label[i])));
            xcb_copy_area(m_c, m_glyphs, m_window, m_gc, std::int16_t(glyph * m_glyph.width()),
                          0, std::int16_t(at.x() + i * m_glyph.width()), std::int16_t(at.y()),
                          std::uint16_t(m_glyph.width()), std::uint16_t(m_glyph.height()));
        }
    }

    // Moves the window to a device position of the root with one request.
    void move(QPoint device)
    {
        const std::uint32_t position[] = {std::uint32_t(device.x()), std::uint32_t(device.y())};
        xcb_configure_window(m_c, m_window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, position);
    }

    void flush() { xcb_flush(m_c); }

    xcb_window_t window() const { return m_window; }

private:
    Canvas(xcb_connection_t *c, xcb_window_t window, tonfang::PixelLayout layout, int depth)
        : m_c(c), m_window(window), m_layout(layout), m_depth(std::uint8_t(depth)),
          m_gc(xcb_generate_id(c))
    {
        // Copies from the glyphs never need the server to say what it could
        // not copy.
        const std::uint32_t noExposures = 0;
        xcb_create_gc(m_c, m_gc, m_window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    }

    xcb_connection_t *m_c;
    xcb_window_t m_window;
    tonfang::PixelLayout m_layout;
    std::uint8_t m_depth;
    xcb_gcontext_t m_gc;
    std::uint32_t m_foreground = ~0u;
    xcb_pixmap_t m_glyphs = 0;
    int m_pixelSize = 0;
    QSize m_glyph;
};

int Magnifier::Metrics::grid() const
{
    return side * cell + (side + 1) * gridLine;
}

QSize Magnifier::Metrics::content() const
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
    setFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
             | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint
             | Qt::NoDropShadowWindowHint);
    setObjectName(QStringLiteral("magnifier"));
}

Magnifier::~Magnifier() = default;

void Magnifier::showSquare(const PixelSquare &square)
{
    m_square = square;
    placeBeside({square.pointerX, square.pointerY});
    if (!isVisible())
        show(); // drawn once the server has mapped it
    else if (isExposed())
        drawSquare();
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
    return cellRectAt(m_ratio, column, row);
}

QRect Magnifier::cellRectAt(qreal ratio, int column, int row)
{
    const Metrics m = metricsAt(ratio);
    const int pitch = m.cell + gridLine;
    return {m.padding + gridLine + column * pitch, m.padding + gridLine + row * pitch, m.cell,
            m.cell};
}

void Magnifier::placeBeside(QPoint pointer)
{
    QScreen *screen = screenAtDevicePixel(pointer);
    if (!screen)
        return; // off every screen: it stays where it is
    m_ratio = screen->devicePixelRatio();
    const QSize content = metrics().content();
    const QSize logicalSize(int(std::ceil(content.width() / m_ratio)),
                            int(std::ceil(content.height() / m_ratio)));
    m_extent = (QSizeF(logicalSize) * m_ratio).toSize();

    // Appearing, it stands toward the screen's centre.
    const QRect bounds = deviceGeometry(screen).adjusted(1, 1, -1, -1);
    if (m_sideX == 0) {
        m_sideX = pointer.x() < bounds.center().x() ? 1 : -1;
        m_sideY = pointer.y() < bounds.center().y() ? 1 : -1;
    }
    const int gap = PixelSquare::radius + 1 + int(std::lround(standOff * m_ratio));
    const QPoint wanted(place(m_sideX, pointer.x(), gap, m_extent.width(), bounds.left(),
                              bounds.right()),
                        place(m_sideY, pointer.y(), gap, m_extent.height(), bounds.top(),
                              bounds.bottom()));
    if (isExposed() && m_canvas && size() == logicalSize) {
        // Following the pointer: straight to the device pixel, without Qt
        // rewriting the window's size hints at every move. Qt learns the new
        // place from the server.
        m_canvas->move(wanted);
        moved(QRect(wanted, m_extent));
    } else {
        const QPoint logical = toLogical(wanted, screen);
        setGeometry(QRect(logical, logicalSize));
        moved(QRect(toDevice(logical, screen), m_extent));
    }
}

void Magnifier::moved(const QRect &standsAt)
{
    if (standsAt == m_standsAt)
        return;
    m_stoodAt = m_standsAt;
    m_standsAt = standsAt;
    m_movedAt.start();
}

void Magnifier::exposeEvent(QExposeEvent *)
{
    if (!isExposed())
        return;
    if (!m_canvas || m_canvas->window() != xcb_window_t(winId()))
        m_canvas = Canvas::on(xcb_window_t(winId()));
    m_framed = QSize();
    drawSquare();
}

void Magnifier::hideEvent(QHideEvent *event)
{
    // Shown again, it chooses its sides afresh.
    m_sideX = m_sideY = 0;
    m_standsAt = m_stoodAt = QRect();
    QWindow::hideEvent(event);
}

namespace {

// Where the swatch and the hex text stand in the strip below the grid.
struct Strip {
    QRect swatch;
    QPoint text;
};

Strip stripLayout(QSize extent, int top, qreal ratio, QSize glyph)
{
    const int swatch = int(std::lround(12 * ratio));
    const int spacing = int(std::lround(6 * ratio));
    const int height = extent.height() - top;
    const int left = (extent.width() - swatch - spacing - labelLength * glyph.width()) / 2;
    return {QRect(left, top + (height - swatch) / 2, swatch, swatch),
            QPoint(left + swatch + spacing, top + (height - glyph.height()) / 2)};
}

} // namespace

void Magnifier::drawSquare()
{
    if (!m_canvas)
        return;
    drawPanel(*m_canvas, m_square, m_extent, m_ratio, m_framed != m_extent);
    m_framed = m_extent;
    m_canvas->flush();
}

QSize Magnifier::panelSize(qreal ratio)
{
    return metricsAt(ratio).content();
}

void Magnifier::paintPanel(QPainter &painter, QPoint at, const PixelSquare &square, qreal ratio)
{
    ImageCanvas canvas(painter, at);
    drawPanel(canvas, square, panelSize(ratio), ratio, true);
}

void Magnifier::drawPanel(PanelCanvas &canvas, const PixelSquare &square, QSize extent,
                          qreal ratio, bool whole)
{
    const Metrics m = metricsAt(ratio);
    canvas.prepareGlyphs(int(std::lround(13 * ratio)));
    const Strip strip = stripLayout(extent, m.padding + m.grid(), ratio, canvas.glyphSize());
    if (whole) {
        // What stays from move to move: the panel with its border, the grid
        // lines between the cells, the swatch's border.
        canvas.fill(QRect(QPoint(0, 0), extent), panel);
        canvas.frame(QRect(QPoint(0, 0), extent), 1, border);
        canvas.frame(strip.swatch, 1, border);
    }

    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            canvas.fill(cellRectAt(ratio, column, row),
                        square.cell(column, row).value_or(emptyCellColour));

    // The centre framed in two tones outside its cell, which shows its colour
    // whole: next to it black or white, whichever stands out against that
    // colour, twice the width of a grid line; around that the other tone, which
    // keeps it apart from the grid lines and the neighbouring colours.
    const int t = std::max(1, int(ratio));
    const QRect centre = cellRectAt(ratio, PixelSquare::radius, PixelSquare::radius);
    const bool light = isLight(square.centre().value_or(emptyCellColour));
    canvas.frame(centre.adjusted(-3 * t, -3 * t, 3 * t, 3 * t), t, light ? white : black);
    canvas.frame(centre.adjusted(-2 * t, -2 * t, 2 * t, 2 * t), 2 * t, light ? black : white);

    // Below the grid: a swatch of the centre pixel and its hex text.
    const std::optional<tonfang::Rgb> &picked = square.centre();
    canvas.fill(strip.swatch.adjusted(1, 1, -1, -1), picked.value_or(emptyCellColour));
    canvas.text(strip.text, labelOf(picked));
}

} // namespace tonfang
