#pragma once
// What every window of the program shares: the application title, its font,
// labels that fit their room, and where it first opens.

#include <QFont>

class QLabel;
class QWidget;

namespace tonfang {

// The application title, the same in both languages and the same text as the
// main window's caption; the program's own message boxes carry it as title.
inline constexpr QLatin1String applicationTitle("Tonfang - Quellwerk");

// Tahoma 8 pt where it is installed; elsewhere the desktop's own sans serif at
// the same pixel height, so that the fixed layouts keep their proportions.
QFont windowFont();

// Sizes a label to its text. Where the desktop's font runs wider than the
// design font, the text steps down a pixel or two rather than running past
// `width`.
void fitLabelText(QLabel &label, int width);

// Moves a window to the middle of its screen's free area.
void centreOnScreen(QWidget &window);

} // namespace tonfang
