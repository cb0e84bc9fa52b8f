// Screenshots of the help windows on each page and of the report windows, as
// they appear on an X server, for a person to look at:
//   QT_QPA_PLATFORM=xcb scripts/with-xvfb.sh 1024x768x24
//       build/test/tests/help/screen/help_screenshots OUTPUT_FOLDER
#include "app/application.h"
#include "app/startup.h"
#include "help/helpwindow.h"
#include "help/reportwindow.h"
#include "help/softwareframe.h"
#include "tests/support/windowshot.h"

#include <QDir>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

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

    bool saved = true;
    for (HelpWindow *help : {static_cast<HelpWindow *>(startup.hilfe()),
                             static_cast<HelpWindow *>(startup.hilfe_en())}) {
        for (int page = 0; page < 5; ++page) {
            help->openAt(HelpWindow::Page(page));
            saved &= shootWindows({help}, out.filePath(
                                      QStringLiteral("%1-%2.png").arg(help->objectName()).arg(page + 1)));
        }
        // The end of the software overview, with its address at the lower right.
        help->openAt(HelpWindow::SoftwarePage);
        QScrollBar *bar = help->softwareFrame()->scrollBox()->verticalScrollBar();
        bar->setValue(bar->maximum());
        saved &= shootWindows({help}, out.filePath(help->objectName() + QStringLiteral("-3-end.png")));
        help->hide();
    }
    for (ReportWindow *report : {static_cast<ReportWindow *>(startup.bugreport_de()),
                                 static_cast<ReportWindow *>(startup.bugreport_en())}) {
        report->present();
        saved &= shootWindows({report}, out.filePath(report->objectName() + QStringLiteral(".png")));
        report->hide();
    }
    return saved ? 0 : 1;
}
