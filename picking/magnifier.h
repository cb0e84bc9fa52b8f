#pragma once
// The magnifier a pick shows when the user asks for it: a small frameless
// window beside the pointer with the square of device pixels around it, each
// drawn as a crisp enlarged cell in a fine grid, the centre pixel framed, and
// its hex text below. It takes no input and stands off the pointer toward the
// screen's centre, so it never covers the pixels it shows.

#include "picking/screenpixel.h"

#include <QElapsedTimer>
#include <QRect>
#include <QWindow>

#include <memory>

class QPainter;

namespace tonfang {

class Magnifier : public QWindow, public SquareView {
public:
    Magnifier();
    ~Magnifier() override;

    // Shows the square beside its pointer (shown first, or moved there) and
    // draws it at once.
    void showSquare(const tonfang::PixelSquare &square) override;
    void hideSquare() override { hide(); }

    // Whether the screen may still show the magnifier at a device pixel of the
    // root: where it stands, and for a moment where it stood before its last
    // move, until the window underneath has drawn itself again.
    bool mayCover(int x, int y) const override;
    static constexpr int settleMs = 100;

    // Where a cell of the square is drawn, in device pixels of the window.
    QRect cellRect(int column, int row) const;
    // How a cell beyond the screen is drawn.
    static constexpr tonfang::Rgb emptyCellColour{0x2c, 0x2f, 0x35};

    // The same panel drawn into an image, for a screen of `ratio` device
    // pixels per logical pixel: a Wayland pick shows it on its overlay.
    static QSize panelSize(qreal ratio);
    static void paintPanel(QPainter &painter, QPoint at, const tonfang::PixelSquare &square,
                           qreal ratio);

    class PanelCanvas;

protected:
    void exposeEvent(QExposeEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Sizes in device pixels at one scale factor.
    struct Metrics {
        int cell, padding, textStrip;
        int grid() const;
        QSize content() const;
    };
    class Canvas;

    static Metrics metricsAt(qreal ratio);
    Metrics metrics() const { return metricsAt(m_ratio); }
    static QRect cellRectAt(qreal ratio, int column, int row);
    // Draws the panel; `whole` draws what stays from move to move too.
    static void drawPanel(PanelCanvas &canvas, const tonfang::PixelSquare &square, QSize extent,
                          qreal ratio, bool whole);
    void placeBeside(QPoint pointer);
    void moved(const QRect &standsAt);
    // Draws the square, and the rest of the window first when it has not been
    // drawn at this size since it appeared.
    void drawSquare();

    tonfang::PixelSquare m_square;
    qreal m_ratio = 1;    // of the screen it stands on
    QSize m_extent;       // device pixels
    QSize m_framed;       // the extent the panel was last drawn at
    // Which side of the pointer it stands on (+1 right or below, -1 left or
    // above); chosen toward the screen's centre when it appears, kept while it
    // fits, so it does not jump about as the pointer crosses the middle.
    int m_sideX = 0, m_sideY = 0;
    QRect m_standsAt, m_stoodAt; // device pixels of the root
    QElapsedTimer m_movedAt;
    std::unique_ptr<Canvas> m_canvas;
};

} // namespace tonfang
