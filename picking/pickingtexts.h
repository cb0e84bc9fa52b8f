#pragma once
// The eyedropper's own texts, in the language of the moment.

#include "editor/languagecode.h"

#include <QString>

namespace tonfang {

// Shown when a Wayland desktop offers no colour picker through its portal: the
// X server there sees only black, so no colour can be picked at all.
QString portalColourPickerMissingText();

// Why a pick from the command line could not be made: each one whole line for
// standard error, with the program's name in front.
QString grabRefusedLine();              // the grab was refused for a second
QString portalColourPickerMissingLine();
QString portalPickFailedLine();         // the portal failed, not the user cancelling
QString noScreenToPickFromLine();       // neither X11 nor a portal
QString displayBrokeLine();             // the X server went away during the pick
QString compositorLostLine();           // the Wayland compositor went away mid-pick

// Lines for standard error about TONFANG_WAYLAND_PICKER: native asked of a
// compositor that cannot, and a value that means nothing.
QString nativePickUnavailableLine();
QString unknownWaylandPickerLine(const QString &value);

} // namespace tonfang
