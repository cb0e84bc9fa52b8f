#include "clipboard/clipboardhandoff.h"

#include "core/filedescriptor.h"
#include "editor/terminationsignals.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tonfang {

namespace {

// The server answers with this byte once it owns the clipboard.
constexpr char readyByte = 'R';
// A colour's text is short; more than this is not ours.
constexpr qsizetype textLimit = 4096;

// Waits for the server's answer; false on end of file, error or time out.
bool awaitReady(int fd, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, int(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char answer = 0;
        const ssize_t n = ::recv(fd, &answer, 1, 0);
        if (n < 0 && errno == EINTR)
            continue;
        return n == 1 && answer == readyByte;
    }
}

QByteArray receiveText(int fd)
{
    QByteArray text;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buffer, n);
        if (text.size() > textLimit)
            return {};
    }
    return text;
}

} // namespace

ClipboardHandOff handToClipboardServer(const QString &text, const QString &program,
                                       const QStringList &qtArguments,
                                       std::chrono::milliseconds limit)
{
    // Only the server's end crosses exec. Qt runs no child modifier for a
    // detached start, so that end is made inheritable here, for the moment
    // of the start; the pick starts no other process meanwhile.
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return {};
    FileDescriptor ours(pair[0]);
    FileDescriptor theirs(pair[1]);
    // The server's standard streams are the null device, so its end must not
    // be one of them.
    if (theirs.get() <= STDERR_FILENO)
        theirs.reset(::fcntl(theirs.get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
    if (theirs.get() < 0 || ::fcntl(theirs.get(), F_SETFD, 0) != 0)
        return {};

    QProcess server;
    server.setProgram(program);
    server.setArguments(QStringList{QLatin1String(clipboardServerOption) + QString::number(theirs.get())}
                        + qtArguments);
    // Holding the caller's streams would keep a shell's $(...) waiting for as
    // long as the server runs; the working folder must not stay busy either.
    server.setStandardInputFile(QProcess::nullDevice());
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(QProcess::nullDevice());
    server.setWorkingDirectory(QStringLiteral("/"));

    ClipboardHandOff handOff;
    if (!server.startDetached(&handOff.serverPid))
        return {};
    theirs.reset();  // the server's end of file must reach us if it dies

    if (writeAll(ours.get(), text.toUtf8().toStdString(), WriteTo::Socket) != 0
        || ::shutdown(ours.get(), SHUT_WR) != 0
        || !awaitReady(ours.get(), limit)) {
        // A server that starts too late must not take the clipboard after all.
        ::kill(pid_t(handOff.serverPid), SIGTERM);
        return {};
    }
    handOff.done = true;
    return handOff;
}

int serveClipboardIfAsked(int &argc, char **argv)
{
    const std::size_t prefix = std::strlen(clipboardServerOption);
    if (argc < 2 || std::strncmp(argv[1], clipboardServerOption, prefix) != 0)
        return -1;
    bool isNumber = false;
    FileDescriptor socket(QByteArray(argv[1] + prefix).toInt(&isNumber));
    if (!isNumber || ::fcntl(socket.get(), F_SETFD, FD_CLOEXEC) != 0)
        return 2;
    // The server inherits every descriptor of the pick that was not marked
    // close-on-exec (a caller's lock, a shell's pipe) and may run for hours.
    const auto signalPipe = terminationSignalDescriptors();
    closeDescriptorsExcept({socket.get(), signalPipe[0], signalPipe[1]});
    const QString text = QString::fromUtf8(receiveText(socket.get()));
    if (text.isEmpty())
        return 1;

    QGuiApplication::setDesktopSettingsAware(false);
    QGuiApplication app(argc, argv);
    // Only an X11 clipboard outlives its owner's other windows and is shared
    // with other programs; elsewhere serving would help no one.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return 1;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (!clipboard->ownsClipboard())
        return 1;
    QObject::connect(clipboard, &QClipboard::dataChanged, &app, [clipboard] {
        if (!clipboard->ownsClipboard())
            QCoreApplication::quit();
    });
    // Told to end, it ends as when another program has taken the clipboard.
    onTerminationSignal(&app, &QCoreApplication::quit);
    if (writeAll(socket.get(), std::string_view(&readyByte, 1), WriteTo::Socket) != 0)
        return 1;
    socket.reset();
    // No time limit: the text stays on offer until something else is copied,
    // as a copied text does in any program; the server ends with the session.
    return app.exec();
}

WlCopyResult copyWithWlCopy(const QString &text)
{
    const QString wlCopy = QStandardPaths::findExecutable(QStringLiteral("wl-copy"));
    if (wlCopy.isEmpty())
        return WlCopyResult::Missing;
    QProcess process;
    process.setProgram(wlCopy);
    process.setArguments({QStringLiteral("--"), text});
    // wl-copy leaves a process of its own behind that serves the text; it
    // must not hold the caller's output open.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setChildProcessModifier(&closeDescriptorsAtExec);
    process.start();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return WlCopyResult::Failed;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
               ? WlCopyResult::Done
               : WlCopyResult::Failed;
}

} // namespace tonfang
