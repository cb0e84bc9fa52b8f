#include "editor/windowlook.h"

#include <QFontDatabase>
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

void centreOnScreen(QWidget &window)
{
    if (const QScreen *where = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(where->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace tonfang
