#pragma once
// SIGTERM, SIGINT and SIGHUP end the program in order instead of killing it
// mid-write: the handler only writes a byte to a pipe, and the interface
// thread reads it through its event loop, where the program can cancel what
// runs, wait for a write that cannot be cancelled, and end as usual.

#include <QObject>

#include <array>
#include <functional>
#include <vector>

namespace tonfang {

// Catches the three signals from here on. Call at the start of main, before
// any thread exists; children still get the default handling at exec.
void catchTerminationSignals();

// Calls `handler` on the calling (interface) thread for the signals caught,
// also for those caught before this call, for as long as `context` lives. One
// handler at a time; without catchTerminationSignals() it is never called.
void onTerminationSignal(QObject *context, std::function<void()> handler);

// The pipe the handler writes to (-1 before catchTerminationSignals()).
std::array<int, 2> terminationSignalDescriptors();

// Closes every open descriptor except standard input, output and error and
// those in `keep`.
void closeDescriptorsExcept(std::vector<int> keep);

// Lets every open descriptor from 3 up close at exec; safe between fork and
// exec, as in QProcess::setChildProcessModifier.
void closeDescriptorsAtExec();

// Rejects every visible dialog and message box, as Cancel or Escape would; a
// progress dialog of background work asks that work to stop.
void closeDialogsAsCancelled();

} // namespace tonfang
