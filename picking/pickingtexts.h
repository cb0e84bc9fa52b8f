#pragma once
// The eyedropper's own messages, in the language of the moment.

#include <QString>

namespace tonfang {

// Shown when a Wayland desktop offers no colour picker through its portal: the
// X server there sees only black, so no colour can be picked at all.
QString portalColourPickerMissingText();

} // namespace tonfang
