#pragma once
// The small pictures of the main window, drawn in code so that they scale with
// the screen and need no image files.

#include <QIcon>
#include <QList>
#include <QPixmap>

// Two overlapping sheets of paper: "copy to the clipboard".
QIcon copyIcon();

// 16 pictures of 16 by 16 pixels, one per program of the Software menus.
QList<QPixmap> softwareIcons();
