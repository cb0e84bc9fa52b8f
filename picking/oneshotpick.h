#pragma once
// One pick and nothing else, for a key binding or a script: no window is shown.
// On X11 the pointer and the keyboard are grabbed with the crosshair cursor; a
// left click (or Enter, or Space) takes the device pixel under the pointer, Esc
// or a right click cancels, and Z and the arrow keys work as in a pick from
// the main window. On a Wayland session the desktop portal's picker is asked.

#include "core/colour.h"

#include <QString>

namespace tonfang {

struct OneShotPick {
    enum class Status { Picked, Cancelled, Impossible } status = Status::Cancelled;
    Rgb colour{};              // when Picked
    QString reason;            // when Impossible: one line for standard error, in the program's language
};

// Needs the application object and no window shown; runs until the pick ends
// (X11 grab or the Wayland portal). The reason's language is the program's
// language code of the moment (editor/languagecode.h).
OneShotPick pickOneColour(bool startWithMagnifier);

} // namespace tonfang
