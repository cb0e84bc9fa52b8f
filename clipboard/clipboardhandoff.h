#pragma once
// Leaving a text on the clipboard when the program itself ends at once, as the
// one-shot pick does. An X11 clipboard is only as alive as the client that owns
// it, so the program starts itself anew as a small clipboard server: no window,
// no dock entry, serving the text until another program takes the clipboard
// over. On Wayland wl-copy does the same job.

#include <QString>
#include <QStringList>

#include <chrono>

namespace tonfang {

// The hidden option that makes the program a clipboard server. Its value is
// the number of an inherited socket: the text arrives on it, and the server
// answers on it once it owns the clipboard.
inline constexpr char clipboardServerOption[] = "--serve-clipboard=";

struct ClipboardHandOff {
    bool done = false;
    qint64 serverPid = 0;  // the server that now owns the clipboard
};

// Starts `program` (normally this program) as a clipboard server for `text`,
// with the Qt arguments it should connect with, and returns once the server
// owns the clipboard, or has failed, or `limit` has passed.
ClipboardHandOff handToClipboardServer(const QString &text, const QString &program,
                                       const QStringList &qtArguments,
                                       std::chrono::milliseconds limit = std::chrono::seconds(10));

// The server's whole run, when argv[1] is the hidden option; -1 otherwise.
// Ends when another program owns the clipboard or the display goes away.
int serveClipboardIfAsked(int &argc, char **argv);

enum class WlCopyResult { Done, Missing, Failed };
// Hands `text` to wl-copy, which keeps serving it after we have gone.
WlCopyResult copyWithWlCopy(const QString &text);

} // namespace tonfang
