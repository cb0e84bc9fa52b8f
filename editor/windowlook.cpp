#include "editor/windowlook.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace tonfang {

QFont windowFont()
{
    QFont font = QFontDatabase::hasFamily(QStringLiteral("Tahoma"))
                     ? QFont(QStringLiteral("Tahoma"))
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(11);
    return font;
}

void fitLabelText(QLabel &label, int width)
{
    QFont font = label.parentWidget()->font();
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(label.text()) > width)
        font.setPixelSize(font.pixelSize() - 1);
    if (label.font() != font)
        label.setFont(font);
    label.adjustSize();
}

void centreOnScreen(QWidget &window)
{
    if (const QScreen *where = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(where->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace tonfang
