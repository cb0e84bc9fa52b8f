#include "editor/swatch.h"

#include <QMouseEvent>
#include <QPainter>

Swatch::Swatch(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    // The panel paints its colour itself; letting the parent's background show
    // through first would only flicker.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Swatch::setColour(tonfang::ColourNumber colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void Swatch::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        const tonfang::Rgb rgb = tonfang::TColorToRGB(m_colour);
        painter.fillRect(rect(), QColor(rgb.red, rgb.green, rgb.blue));
    }
    QFrame::paintEvent(event); // the frame on top of the colour
}

void Swatch::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}
