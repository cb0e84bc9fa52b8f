#include "app/pickcommand.h"

#include "app/application.h"
#include "app/commandline.h"
#include "app/displaycheck.h"
#include "app/startup.h"
#include "clipboard/clipboardhandoff.h"
#include "core/colourformats.h"
#include "editor/languagecode.h"
#include "picking/oneshotpick.h"
#include "picking/pickingtexts.h"
#include "picking/sessiontype.h"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tonfang {

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

void printLine(std::FILE *stream, const QString &line)
{
    print(stream, line + QLatin1Char('\n'));
}

void copyToClipboard(const QString &text, const CommandLine &line, const QString &language)
{
    if (pickThroughPortal()) {
        switch (copyWithWlCopy(text)) {
        case WlCopyResult::Done:
            return;
        case WlCopyResult::Missing:
            printLine(stderr, wlCopyMissingText(language));
            return;
        case WlCopyResult::Failed:
            printLine(stderr, clipboardFailedText(language));
            return;
        }
    }
    const bool handedOff =
        QGuiApplication::platformName() == QLatin1String("xcb")
        && handToClipboardServer(text, QCoreApplication::applicationFilePath(), line.qtArguments).done;
    if (!handedOff)
        printLine(stderr, clipboardFailedText(language));
}

// When its X connection breaks, Qt warns and calls exit(1), which would read as
// a cancelled pick. While a pick runs, that exit is turned into the pick's own
// "impossible" with one line of ours instead of Qt's.
class BrokenDisplayExit {
public:
    BrokenDisplayExit()
    {
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11)
            return;
        s_line = (displayBrokeLine() + QLatin1Char('\n')).toUtf8();
        s_connection = x11->connection();
        static const bool registered = std::atexit(&exitIfBroken) == 0;
        (void)registered;
        s_previous = qInstallMessageHandler(&quietWhenBroken);
    }
    ~BrokenDisplayExit()
    {
        if (std::exchange(s_connection, nullptr))
            qInstallMessageHandler(s_previous);
    }
    BrokenDisplayExit(const BrokenDisplayExit &) = delete;
    BrokenDisplayExit &operator=(const BrokenDisplayExit &) = delete;

private:
    static bool broken() { return s_connection && xcb_connection_has_error(s_connection); }

    static void exitIfBroken()
    {
        if (!broken())
            return;
        [[maybe_unused]] const ssize_t written =
            ::write(STDERR_FILENO, s_line.constData(), std::size_t(s_line.size()));
        ::_exit(PickImpossible);
    }

    static void quietWhenBroken(QtMsgType type, const QMessageLogContext &context,
                                const QString &message)
    {
        if (!broken() && s_previous)
            s_previous(type, context, message);
    }

    static inline xcb_connection_t *s_connection = nullptr;
    static inline QByteArray s_line;
    static inline QtMessageHandler s_previous = nullptr;
};

// Scripts read a pick's last line of standard error as its reason. Once the
// outcome is written the process only tears down, and Qt's D-Bus thread may
// still deliver a late message then into types already gone, warning about
// it; nothing it could say after that point is the user's business.
class QuietTeardown {
public:
    QuietTeardown() = default;
    ~QuietTeardown() { qInstallMessageHandler(&ignore); }
    QuietTeardown(const QuietTeardown &) = delete;
    QuietTeardown &operator=(const QuietTeardown &) = delete;

private:
    static void ignore(QtMsgType, const QMessageLogContext &, const QString &) {}
};

int pick(const char *program, const CommandLine &line, const QString &language)
{
    HeldXConnection checkConnection;
    if (!displayReachable(line.qtArguments, checkConnection)) {
        printLine(stderr, noDisplayText(language));
        return PickImpossible;
    }
    // Qt sees its own options only.
    std::vector<QByteArray> kept{QByteArray(program)};
    for (const QString &argument : line.qtArguments)
        kept.push_back(argument.toLocal8Bit());
    // On a Wayland session the pick speaks to the compositor over its own
    // connection (or asks the portal) and shows no window of Qt's: Qt runs
    // offscreen, so a compositor that goes away mid-pick is ours to report
    // rather than Qt's to end the process over. QT_QPA_PLATFORM, often set for
    // a whole desktop, gives way (an argument beats it in Qt); a platform
    // asked for on this command line stays.
    if (isWaylandSession(DisplayEnvironment::current())
        && !line.qtArguments.contains(QLatin1String("-platform"))) {
        kept.push_back("-platform");
        kept.push_back("offscreen");
    }
    std::vector<char *> qtArgv;
    for (QByteArray &argument : kept)
        qtArgv.push_back(argument.data());
    qtArgv.push_back(nullptr);
    int qtArgc = int(kept.size());

    TonfangApplication app(qtArgc, qtArgv.data());
    checkConnection.close();
    Startup::applyApplicationIdentity();
    // No splash holds the language code here; the pick's messages read it.
    setLanguageCode(language);
    const OneShotPick picked = [&line] {
        const BrokenDisplayExit brokenDisplay;
        return pickOneColour(line.magnifier);
    }();
    const QuietTeardown quietTeardown;
    switch (picked.status) {
    case OneShotPick::Status::Cancelled:
        return Cancelled;
    case OneShotPick::Status::Impossible:
        printLine(stderr, picked.reason);
        return PickImpossible;
    case OneShotPick::Status::Picked:
        break;
    }
    const QString text = QString::fromStdString(formatColour(picked.colour, line.format, line.places));
    printLine(stdout, text);
    if (line.copy)
        copyToClipboard(text, line, language);
    return Picked;
}

} // namespace

std::optional<int> runCommandLine(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QString language = commandLineLanguage();
    const CommandLine line = parseCommandLine(arguments, language);
    switch (line.action) {
    case CommandLine::Action::Windows:
        return std::nullopt;
    case CommandLine::Action::Help:
        print(stdout, usageText(language));
        return Succeeded;
    case CommandLine::Action::Version:
        print(stdout, versionText());
        return Succeeded;
    case CommandLine::Action::UsageError:
        print(stderr, line.error + QLatin1Char('\n') + usageText(language));
        return UsageError;
    case CommandLine::Action::Pick:
        break;
    }
    return pick(argv[0], line, language);
}

} // namespace tonfang
