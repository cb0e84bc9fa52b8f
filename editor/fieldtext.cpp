#include "editor/fieldtext.h"

#include <QLineEdit>

namespace tonfang {

void writeFieldText(QLineEdit *field, const QString &text)
{
    if (field->text() == text)
        return;
    field->setText(text);
    // The window's focus field keeps its cursor at the end, also while another
    // window is active: that is where the user goes on typing.
    if (field->window()->focusWidget() != field)
        field->setCursorPosition(0);
}

} // namespace tonfang
