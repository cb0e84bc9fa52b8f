// Screenshots of the main window and its dialogs as they appear on an X
// server, for a person to look at (scripts/screenshot.sh windows runs it at
// scale 1 and 2 under a German locale):
//   QT_QPA_PLATFORM=xcb scripts/with-xvfb.sh 1280x1024x24
//       build/test/tests/app/screen/window_screenshots OUTPUT_FOLDER
// Writes main-13.png (13 decimal places), affixes-de.png and affixes-en.png
// (the main window beside the unit affixes dialog) and colour-dialog.png.
#include "app/application.h"
#include "app/startup.h"
#include "clipboard/teinhuser.h"
#include "editor/languagecode.h"
#include "editor/tprog.h"
#include "tests/support/windowshot.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>

using tonfang::Startup;

int main(int argc, char *argv[])
{
    TonfangApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    Startup startup;
    startup.start()->FormClick();
    Tprog &prog = *startup.prog();
    Teinhuser &units = *startup.einhuser();

    bool saved = true;
    prog.findChild<QAction *>(QStringLiteral("nks13"))->trigger();
    prog.RGBtoALL({255, 128, 0});
    saved &= shootWindows({&prog}, out.filePath(QStringLiteral("main-13.png")));

    prog.findChild<QAction *>(QStringLiteral("nks2"))->trigger();
    prog.RGBtoALL({255, 128, 0});
    prog.einh_anpassen->trigger();
    prog.move(20, 20);
    units.move(prog.frameGeometry().right() + 20, 20);
    for (QAction *language : {prog.einst11, prog.einst12}) {
        language->trigger();
        saved &= shootWindows({&prog, &units},
                       out.filePath(QStringLiteral("affixes-%1.png").arg(tonfang::languageCode())));
    }
    units.hide();

    // The colour dialog is modal: it is taken while it is open, then closed.
    bool dialogSaved = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        dialogSaved = shootWindows({dialog}, out.filePath(QStringLiteral("colour-dialog.png")));
        dialog->reject();
    });
    poll.start();
    prog.windialog->trigger();
    return saved && dialogSaved ? 0 : 1;
}
