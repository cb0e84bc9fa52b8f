// Tonfang's entry point. Without any of its own options the command line is
// not read: the splash and the main window open. The display is checked
// before the application object exists, which would abort without one.
#include "app/application.h"
#include "app/commandline.h"
#include "app/displaycheck.h"
#include "app/pickcommand.h"
#include "app/startup.h"
#include "clipboard/clipboardhandoff.h"
#include "editor/terminationsignals.h"
#include "listfile/safesave.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    // Before any thread starts: reaching the file size limit fails the save
    // with a message instead of ending the program.
    tonfang::ignoreFileSizeSignal();
    // Also before any thread: a thread would take the signals as they were.
    tonfang::catchTerminationSignals();

    if (const int served = tonfang::serveClipboardIfAsked(argc, argv); served >= 0)
        return served;
    if (tonfang::holdsOwnOption(argc, argv)) {
        if (const auto status = tonfang::runCommandLine(argc, argv))
            return *status;
    }

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    tonfang::HeldXConnection checkConnection;
    if (!tonfang::displayReachable(arguments, checkConnection)) {
        const QString line = tonfang::noDisplayText(tonfang::commandLineLanguage()) + QLatin1Char('\n');
        std::fputs(line.toUtf8().constData(), stderr);
        return 1;
    }

    TonfangApplication app(argc, argv);
    checkConnection.close();
    tonfang::Startup startup;
    return startup.exec();
}
