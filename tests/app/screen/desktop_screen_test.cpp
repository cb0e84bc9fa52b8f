// The program's windows as a German desktop sees them on an X server: the
// titles a window manager reads (xprop), and Qt's own dialogs in German.
#include "app/application.h"
#include "app/startup.h"
#include "app/tincuser.h"
#include "clipboard/teinhuser.h"
#include "editor/tprog.h"
#include "help/helpwindow.h"
#include "help/reportwindow.h"
#include "tests/support/eventually.h"  // prints QString in failures
#include "tests/support/tempfolder.h"

#include <QAction>
#include <QDialog>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using tonfang::Startup;

using namespace Qt::Literals::StringLiterals;

namespace {

// A window property as xprop prints it: the text between the quotes.
QString property(const QWidget &window, const QString &name)
{
    QProcess xprop;
    xprop.start(u"xprop"_s, {u"-notype"_s, u"-id"_s, QString::number(window.winId()), name});
    xprop.waitForFinished();
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    return line.section(u'"', 1, -2);
}

// Runs `open`, which shows a modal dialog, hands the dialog to `inspect` once
// it is on the screen and closes it.
void whileOpen(const std::function<void()> &open, const std::function<void(QDialog &)> &inspect)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        inspect(*dialog);
        dialog->reject();
    });
    poll.start(10);
    open();
    EXPECT_FALSE(poll.isActive()) << "no dialog opened";
}

using DesktopTest = WorkingFolderTest;

TEST_F(DesktopTest, TitlesAreTheCaptionsAndQtsDialogsSpeakGerman)
{
    Startup startup;
    startup.start()->FormClick();
    const std::pair<QWidget *, QString> windows[] = {
        {startup.start(), u"start"_s},
        {startup.prog(), u"Tonfang - Quellwerk"_s},
        {startup.incuser(), u"Erhöhung"_s},
        {startup.einhuser(), u"Anpassen der Einheiten"_s},
        {startup.bugreport_de(), u"Fehler oder Verbesserung melden"_s},
        {startup.bugreport_en(), u"Report Bug or Improvement"_s},
        {startup.hilfe(), startup.hilfe()->windowTitle()},
        {startup.hilfe_en(), startup.hilfe_en()->windowTitle()},
    };
    for (const auto &[window, caption] : windows) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_FALSE(caption.isEmpty());
        EXPECT_EQ(property(*window, u"_NET_WM_NAME"_s), caption);
        EXPECT_EQ(property(*window, u"WM_NAME"_s), caption);
        window->hide();
    }
    whileOpen([] { TonfangApplication::showError(u"kaputt"_s); }, [](QDialog &box) {
        EXPECT_EQ(property(box, u"_NET_WM_NAME"_s), u"Tonfang - Quellwerk"_s);
    });

    // The colour and the save dialog, with their German buttons and titles.
    for (QAction *item : {startup.prog()->windialog, startup.prog()->savecol}) {
        whileOpen([item] { item->trigger(); }, [](QDialog &dialog) {
            QStringList buttons;
            for (const QPushButton *button : dialog.findChildren<QPushButton *>())
                if (button->isVisible())
                    buttons << button->text().remove(u'&');
            const QString accept = dialog.objectName() == u"cd"_s ? u"OK"_s : u"Speichern"_s;
            EXPECT_TRUE(buttons.contains(accept) && buttons.contains(u"Abbrechen"_s))
                << dialog.objectName().toStdString() << ": " << buttons.join(u", ").toStdString();
            EXPECT_EQ(property(dialog, u"_NET_WM_NAME"_s), dialog.windowTitle());
        });
    }
}

} // namespace
