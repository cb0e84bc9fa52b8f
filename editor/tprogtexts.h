#pragma once
// Every text of the main window and its menus, German and English side by
// side, in one table keyed by the objectName of the control, action or menu
// that shows it.

#include "editor/languagecode.h"

#include <QString>

#include <utility>
#include <vector>

namespace tonfang {

// Where a text goes: the visible caption (window title, menu title, action
// text, group box title, button or label text), the name a screen reader
// announces, or the tooltip. A spin arrow name is a pattern for the arrow of
// that objectName in every spin control, "%1" standing for the name of the
// field the control steps.
enum class TextRole { Caption, AccessibleName, ToolTip, SpinArrowName };

struct TprogText {
    TprogText(const char *name_, QString german, QString english,
              TextRole role_ = TextRole::Caption)
        : name(name_), text{std::move(german), std::move(english)}, role(role_)
    {
    }

    const char *name;  // objectName of the window, control, menu or action
    BilingualText text;
    TextRole role;
};

// In window order: window, controls, then the menus from left to right.
const std::vector<TprogText> &tprogTexts();

} // namespace tonfang
