// The clipboard left behind by a program that ends at once: the detached
// server of our own holds the text for other programs (xclip here) until one
// of them copies something else, and then goes.
#include "clipboard/clipboardhandoff.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray xclip(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                QStringList{QStringLiteral("-selection"), QStringLiteral("clipboard")} + arguments);
    xclip.write(input);
    xclip.closeWriteChannel();
    if (!xclip.waitForFinished(10000))
        return "<xclip did not finish>";
    return xclip.readAllStandardOutput();
}

// A detached server is nobody's child here: once it has ended it may linger
// as a zombie until something reaps it.
bool running(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}

const QString program = qEnvironmentVariable("TONFANG_EXECUTABLE");

} // namespace

TEST(ClipboardHandOffTest, ServesTheTextUntilAnotherProgramCopies)
{
    const QString text = QStringLiteral("oklch(73.19% 0.1858 52.98)");
    const tonfang::ClipboardHandOff first =
        tonfang::handToClipboardServer(QStringLiteral("#FF8000"), program, {});
    ASSERT_TRUE(first.done);
    EXPECT_EQ(xclip({QStringLiteral("-o")}), "#FF8000");

    // A second hand-off takes over from the first server, which then ends.
    const tonfang::ClipboardHandOff second = tonfang::handToClipboardServer(text, program, {});
    ASSERT_TRUE(second.done);
    QTRY_VERIFY_WITH_TIMEOUT(!running(first.serverPid), 10000);
    EXPECT_TRUE(running(second.serverPid));
    EXPECT_EQ(QString::fromUtf8(xclip({QStringLiteral("-o")})), text);

    xclip({QStringLiteral("-i")}, "other");
    QTRY_VERIFY_WITH_TIMEOUT(!running(second.serverPid), 10000);
    EXPECT_EQ(xclip({QStringLiteral("-o")}), "other");
}

TEST(ClipboardHandOffTest, ReportsAServerThatCannotServe)
{
    const struct {
        const char *what;
        QString program;
        QStringList qtArguments;
    } rows[] = {
        {"no such program", QStringLiteral("/nonexistent/tonfang"), {}},
        // Off screen the clipboard would be the server's alone, for ever.
        {"not on X11", program, {QStringLiteral("-platform"), QStringLiteral("offscreen")}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        const tonfang::ClipboardHandOff handOff =
            tonfang::handToClipboardServer(QStringLiteral("#000000"), row.program, row.qtArguments);
        EXPECT_FALSE(handOff.done);
        if (handOff.serverPid)
            QTRY_VERIFY_WITH_TIMEOUT(!running(handOff.serverPid), 10000);
    }
}

// The server keeps no lock of its caller's and ends quietly when told to.
TEST(ClipboardHandOffTest, KeepsNoInheritedDescriptorAndEndsOnASignal)
{
    // The detached server becomes our child, so that how it ended can be read.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    QTemporaryFile lockFile;
    const QByteArray lockPath = lockFile.open() ? QFile::encodeName(lockFile.fileName()) : "";
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const int lock = ::open(lockPath.constData(), O_RDONLY); // inherited across exec
        ASSERT_TRUE(lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) == 0);
        const auto handOff = tonfang::handToClipboardServer(QStringLiteral("#123456"), program, {});
        ::close(lock);
        ASSERT_TRUE(handOff.done);
        const int again = ::open(lockPath.constData(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(::flock(again, LOCK_EX | LOCK_NB), 0) << signal;
        ::close(again);
        ::kill(pid_t(handOff.serverPid), signal);
        int status = 0;
        ASSERT_EQ(::waitpid(pid_t(handOff.serverPid), &status, 0), pid_t(handOff.serverPid));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
}
