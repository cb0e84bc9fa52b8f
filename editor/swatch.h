#pragma once
// The swatch `farbfeld`: a flat framed panel that paints the current colour.

#include "core/colour.h"

#include <QFrame>

class Swatch : public QFrame {
    Q_OBJECT
public:
    explicit Swatch(QWidget *parent = nullptr);

    tonfang::ColourNumber colour() const { return m_colour; }
    void setColour(tonfang::ColourNumber colour); // repaints only on a change

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    tonfang::ColourNumber m_colour = 0;
};
