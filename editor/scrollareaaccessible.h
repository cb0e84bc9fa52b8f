#pragma once
// What a screen reader is told about a scroll area: its viewport and those of
// its scroll bars and corner widget that show, as Qt tells it, but with every
// look-up by number checked against that list as it stands now.

namespace tonfang {

// Installs the interface for every scroll area that has none of its own. Call
// it before the first window is made: Qt keeps an interface once it has made one.
void installScrollAreaAccessible();

} // namespace tonfang
