#include "editor/windowfont.h"

#include <QFontDatabase>
#include <QScreen>
#include <QWidget>

QFont windowFont()
{
    QFont font = QFontDatabase::hasFamily(QStringLiteral("Tahoma"))
                     ? QFont(QStringLiteral("Tahoma"))
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(11);
    return font;
}

void centreOnScreen(QWidget &window)
{
    const QScreen *where = window.screen();
    if (!where)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(where->availableGeometry().center());
    window.move(frame.topLeft());
}
