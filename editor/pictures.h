#pragma once
// The small pictures of the main window, drawn in code so that they scale with
// the screen and need no image files.

#include <QIcon>

namespace tonfang {

// Two overlapping sheets of paper: "copy to the clipboard".
QIcon copyIcon();

} // namespace tonfang
