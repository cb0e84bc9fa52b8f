#include "app/pickcommand.h"

#include "app/application.h"
#include "app/commandline.h"
#include "app/displaycheck.h"
#include "app/startup.h"
#include "clipboard/clipboardhandoff.h"
#include "core/colourformats.h"
#include "editor/languagecode.h"
#include "picking/oneshotpick.h"
#include "picking/sessiontype.h"

#include <cstdio>
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

int pick(const char *program, const CommandLine &line, const QString &language)
{
    if (!displayReachable(line.qtArguments)) {
        printLine(stderr, noDisplayText(language));
        return PickImpossible;
    }
    // Qt sees its own options only.
    std::vector<QByteArray> kept{QByteArray(program)};
    for (const QString &argument : line.qtArguments)
        kept.push_back(argument.toLocal8Bit());
    std::vector<char *> qtArgv;
    for (QByteArray &argument : kept)
        qtArgv.push_back(argument.data());
    qtArgv.push_back(nullptr);
    int qtArgc = int(kept.size());

    TonfangApplication app(qtArgc, qtArgv.data());
    Startup::applyApplicationIdentity();
    // No splash holds the language code here; the pick's messages read it.
    setLanguageCode(language);
    const OneShotPick picked = pickOneColour(line.magnifier);
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
