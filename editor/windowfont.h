#pragma once
// The font every window of the program is drawn in.

#include <QFont>

// Tahoma 8 pt where it is installed; elsewhere the desktop's own sans serif at
// the same pixel height, so that the fixed layouts keep their proportions.
QFont windowFont();
