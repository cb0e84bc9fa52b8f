#include "help/addresslabel.h"

#include <QMouseEvent>

AddressLabel::AddressLabel(const QString &caption, QColor colour, QWidget *parent)
    : QLabel(caption, parent)
{
    // Only weight and underline are set: family and size follow the window.
    QFont linkFont;
    linkFont.setBold(true);
    linkFont.setUnderline(true);
    setFont(linkFont);
    // Drawn in the link role, whatever background the label stands on.
    QPalette linkPalette = palette();
    linkPalette.setColor(QPalette::Link, colour);
    setPalette(linkPalette);
    setForegroundRole(QPalette::Link);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void AddressLabel::mousePressEvent(QMouseEvent *event)
{
    event->setAccepted(event->button() == Qt::LeftButton);
}

void AddressLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a press and a release on the label, as with a button.
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (rect().contains(event->position().toPoint()))
        emit clicked(this);
    event->accept();
}
