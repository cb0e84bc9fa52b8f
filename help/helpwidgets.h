#pragma once
// What the help and report windows share: their text rows built into a column
// (headings, wrapped paragraphs, address labels) in the fonts and colours they
// have in common, and their place on the screen.

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

// Puts a window in the middle of its screen's free area, as it opens for the
// first time; later openings keep the place the user moved it to.
void centreOnScreen(QWidget &window);

} // namespace tonfang
