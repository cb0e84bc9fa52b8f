#pragma once
// The text rows of the help and report windows built into a column: headings,
// wrapped paragraphs and address labels, in the fonts and colours they share.

#include "help/helptexts.h"

#include <QColor>
#include <QFont>

#include <functional>

class QLabel;
class QVBoxLayout;
class QWidget;

namespace tonfang {

// The window font at a pixel size of its own (headings 16, greetings 13).
QFont helpFont(int pixelSize);

// Adds one widget per row, top to bottom. Address labels call `open` when
// clicked; rows of another kind (pictures, the overview) are left to the caller
// through `other`, which gives the widget to add.
void addTextRows(QVBoxLayout &column, const std::vector<HelpRow> &rows, bool german,
                 QColor linkColour, const std::function<void(QLabel *)> &open,
                 const std::function<QWidget *(const HelpRow &)> &other = {});

} // namespace tonfang
