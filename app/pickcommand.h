#pragma once
// Tonfang as a command: the usage, the version, and one pick from a hotkey or
// a script, printed (and on request copied) as text. No splash, no main window.

#include <optional>

namespace tonfang {

// Exit statuses of the command; the help and the version succeed as a pick does.
enum ExitStatus { Succeeded = 0, Picked = 0, Cancelled = 1, UsageError = 2, PickImpossible = 3 };

// Runs the command line when it holds one of our options and returns the
// exit status; nothing when only Qt's options remain and the windows should
// start. The application object, if one is needed, is made here.
std::optional<int> runCommandLine(int argc, char **argv);

} // namespace tonfang
