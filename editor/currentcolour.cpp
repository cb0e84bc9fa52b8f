#include "editor/currentcolour.h"

#include "core/colour.h"
#include "core/numbertext.h"
#include "editor/colourlist.h"
#include "editor/tprog.h"

#include <QLineEdit>

namespace tonfang {

void addCurrentColourToList(Tprog &prog)
{
    const auto text = [](const QLineEdit *field) { return field->text().toStdString(); };
    const std::optional<std::int32_t> colour = parseInt(text(prog.e_tcolor));
    if (!colour)
        return;
    const std::string label =
        listEntryLabel(text(prog.e_red), text(prog.e_green), text(prog.e_blue));
    prog.ColorListBox1->colourModel()->append(QString::fromStdString(label), *colour);
}

} // namespace tonfang
