// Stands in for the program's own pick option until the command line has it:
//   oneshot_driver --pick [--magnifier] [--format NAME]
// prints the picked colour in the format (hex by default, two places) and
// exits 0, exits 1 on a cancel, and prints the reason on standard error and
// exits 3 when no pick can be made.
#include "app/tstart.h"
#include "core/colourformats.h"
#include "editor/languagecode.h"
#include "picking/oneshotpick.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tonfang::setLanguageCode(tonfang::languageCodeFromMarkers(QDir::currentPath()));
    const QStringList arguments = app.arguments();
    const qsizetype formatAt = arguments.indexOf(QStringLiteral("--format"));
    const auto format = tonfang::parseColourFormat(
        formatAt > 0 ? arguments.value(formatAt + 1).toStdString() : "hex");
    if (!format)
        return 2;
    const OneShotPick pick = pickOneColour(arguments.contains(QStringLiteral("--magnifier")));
    switch (pick.status) {
    case OneShotPick::Status::Picked:
        std::printf("%s\n", tonfang::formatColour(pick.colour, *format, 2).c_str());
        return 0;
    case OneShotPick::Status::Cancelled:
        return 1;
    case OneShotPick::Status::Impossible:
        std::fprintf(stderr, "%s\n", qPrintable(pick.reason));
        return 3;
    }
    return 3;
}
