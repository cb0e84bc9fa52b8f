#pragma once
// A web address shown as a link: bold, underlined, in the window's link
// colour, with the hand pointer. Its caption is the address without
// "http://www."; a click hands the label to whoever opens it.

#include <QColor>
#include <QLabel>

class AddressLabel : public QLabel {
    Q_OBJECT
public:
    // The colour of the help windows' and the overview's links.
    static constexpr QColor helpColour{88, 99, 199};
    // The colour of the report windows' links.
    static constexpr QColor reportColour{79, 104, 193};

    AddressLabel(const QString &caption, QColor colour, QWidget *parent);

signals:
    void clicked(QLabel *label);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
