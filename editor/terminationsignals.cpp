#include "editor/terminationsignals.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QProgressDialog>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tonfang {

namespace {

int signalPipe[2] = {-1, -1};

void noteTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    // A full pipe already holds a signal that is still to be handled.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

constexpr int terminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Older kernels lack close_range (before 5.9) or its CLOEXEC flag (before 5.11).
bool closeRange(unsigned first, unsigned last, int flags = 0)
{
    return ::close_range(first, last, flags) == 0;
}

} // namespace

void catchTerminationSignals()
{
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = noteTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Reads and writes of other threads go on where the signal met them.
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : terminationSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

void onTerminationSignal(QObject *context, std::function<void()> handler)
{
    if (signalPipe[0] < 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [handler = std::move(handler)] {
                         char drained[16];
                         while (::read(signalPipe[0], drained, sizeof drained) > 0) {
                         }
                         handler();
                     });
}

std::array<int, 2> terminationSignalDescriptors()
{
    return {signalPipe[0], signalPipe[1]};
}

void closeDescriptorsExcept(std::vector<int> keep)
{
    keep.insert(keep.end(), {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO});
    std::erase_if(keep, [](int fd) { return fd < 0; });
    std::sort(keep.begin(), keep.end());
    unsigned from = 0;
    bool closed = true;
    for (const int fd : keep) {
        if (unsigned(fd) > from)
            closed = closed && closeRange(from, unsigned(fd) - 1);
        from = std::max(from, unsigned(fd) + 1);
    }
    if (closed && closeRange(from, ~0U))
        return;
    // Without close_range: what the process holds is listed in /proc.
    DIR *folder = ::opendir("/proc/self/fd");
    if (!folder)
        return;
    std::vector<int> open;
    while (const dirent *entry = ::readdir(folder)) {
        const int fd = std::atoi(entry->d_name);
        if (entry->d_name[0] != '.' && fd != ::dirfd(folder))
            open.push_back(fd);
    }
    ::closedir(folder);
    for (const int fd : open) {
        if (!std::binary_search(keep.begin(), keep.end(), fd))
            ::close(fd);
    }
}

void closeDescriptorsAtExec()
{
    if (closeRange(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC))
        return;
    // Only calls that are safe after fork from here on.
    rlimit limit{};
    const rlim_t last = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 ? limit.rlim_cur : 1024;
    for (rlim_t fd = STDERR_FILENO + 1; fd < last; ++fd)
        ::fcntl(int(fd), F_SETFD, FD_CLOEXEC);
}

void closeDialogsAsCancelled()
{
    QList<QPointer<QDialog>> dialogs;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible())
            dialogs.append(dialog);
    }
    for (const QPointer<QDialog> &dialog : dialogs) {
        if (!dialog)
            continue;
        // The progress dialog stays until its work has stopped: closing it
        // asks for that.
        if (qobject_cast<QProgressDialog *>(dialog))
            dialog->close();
        else
            dialog->reject();
    }
}

} // namespace tonfang
