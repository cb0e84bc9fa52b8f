#pragma once
// Every caption of the main window and its menus, in one table keyed by the
// objectName of the control, action or menu that shows it.

#include <QString>

#include <vector>

struct TprogText {
    const char *name;  // objectName of the window, control, menu or action
    QString german;
};

// In window order: window, controls, then the menus from left to right.
const std::vector<TprogText> &tprogTexts();
