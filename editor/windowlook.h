#pragma once
// What every window of the program shares: its font and where it first opens.

#include <QFont>

class QWidget;

namespace tonfang {

// Tahoma 8 pt where it is installed; elsewhere the desktop's own sans serif at
// the same pixel height, so that the fixed layouts keep their proportions.
QFont windowFont();

// Moves a window to the middle of its screen's free area.
void centreOnScreen(QWidget &window);

} // namespace tonfang
