// Runs one pick from the command line the way the program's own option will:
//   oneshot_driver [--magnifier]
// prints the picked colour as #RRGGBB and exits 0, exits 1 on a cancel, and
// prints the reason on standard error and exits 3 when no pick can be made.
#include "app/tstart.h"
#include "editor/languagecode.h"
#include "picking/oneshotpick.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tonfang::setLanguageCode(tonfang::languageCodeFromMarkers(QDir::currentPath()));
    const OneShotPick pick = pickOneColour(app.arguments().contains(QStringLiteral("--magnifier")));
    switch (pick.status) {
    case OneShotPick::Status::Picked:
        std::printf("#%02X%02X%02X\n", pick.colour.red, pick.colour.green, pick.colour.blue);
        return 0;
    case OneShotPick::Status::Cancelled:
        return 1;
    case OneShotPick::Status::Impossible:
        std::fprintf(stderr, "%s\n", qPrintable(pick.reason));
        return 3;
    }
    return 3;
}
