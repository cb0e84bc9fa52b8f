#pragma once
// How every window of the program looks: its font, and its place when it first
// opens.

#include <QFont>

class QWidget;

// Tahoma 8 pt where it is installed; elsewhere the desktop's own sans serif at
// the same pixel height, so that the fixed layouts keep their proportions.
QFont windowFont();

// Puts a window in the middle of its screen's free area. Windows do this as
// they first open; later openings keep the place the user moved them to.
void centreOnScreen(QWidget &window);
