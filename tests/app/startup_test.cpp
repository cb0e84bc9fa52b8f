// Start-up with the real main window: the windows it creates, and the program
// ending whichever way the main window is closed, with or without the splash.
#include "app/startup.h"

#include "app/tincuser.h"
#include "clipboard/teinhuser.h"
#include "editor/colourlist.h"
#include "editor/languagecode.h"
#include "editor/tprog.h"
#include "help/helpwindow.h"
#include "help/reportwindow.h"
#include "editor/terminationsignals.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>

using tonfang::ColourListEntry;

using tonfang::Startup;

namespace {

// Ends a message loop that would otherwise run on, with a status the tests
// never expect; it is a safety net for a failing test, not a timing check.
class LoopGuard {
public:
    LoopGuard()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        m_timer.start(30000);
    }

private:
    QTimer m_timer;
};

using StartupTest = WorkingFolderTest;

TEST_F(StartupTest, ShowsTheSplashAtOnceAndCreatesTheMainWindowHidden)
{
    write("en", {});

    const Startup startup;
    ASSERT_NE(startup.start(), nullptr);
    ASSERT_NE(startup.prog(), nullptr);
    EXPECT_TRUE(startup.start()->isVisible());
    EXPECT_TRUE(startup.prog()->isHidden());
    // The help and report windows wait, hidden and still empty, until first opened.
    for (const HelpWindow *help : {static_cast<HelpWindow *>(startup.hilfe()),
                                   static_cast<HelpWindow *>(startup.hilfe_en())}) {
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isHidden());
        EXPECT_FALSE(help->contentsBuilt());
    }
    for (const ReportWindow *report : {static_cast<ReportWindow *>(startup.bugreport_de()),
                                       static_cast<ReportWindow *>(startup.bugreport_en())}) {
        ASSERT_NE(report, nullptr);
        EXPECT_TRUE(report->isHidden());
        EXPECT_FALSE(report->contentsBuilt());
    }
    // The Software menus were filled while the main window was created.
    EXPECT_NE(startup.prog()->findChild<QAction *>(QStringLiteral("linken15")), nullptr);
    EXPECT_NE(startup.prog()->findChild<QObject *>(QStringLiteral("helpHandlers")), nullptr);
    EXPECT_EQ(startup.start()->languageCode(), QLatin1String("en"));
    // The main window was built in English, so its first frame shows no German.
    const Tprog &prog = *startup.prog();
    EXPECT_EQ(prog.Button1->text(), "Tonfang");
    EXPECT_EQ(prog.datei1->text(), "Close");
    EXPECT_EQ(prog.findChild<QAction *>("online001")->text(), "tonfang-quellwerk.com/colorlexicon");
    EXPECT_TRUE(prog.einst12->isChecked() && !prog.einst11->isChecked());
    EXPECT_TRUE(prog.m_soft_en->menuAction()->isVisible());
    EXPECT_EQ(prog.e_red->accessibleName(), "Red");
    // Every other window reads the code from the splash's label, afresh each time.
    EXPECT_EQ(tonfang::languageCode(), QLatin1String("en"));
    startup.start()->spr->setText(QStringLiteral("de"));
    EXPECT_EQ(tonfang::languageCode(), QLatin1String("de"));
    tonfang::setLanguageCode(QStringLiteral("en"));
    EXPECT_EQ(startup.start()->spr->text(), QLatin1String("en"));
    EXPECT_TRUE(startup.start()->Timer1->isActive());
    EXPECT_FALSE(startup.ended());

    // No display name for Qt to append to the titles the desktop shows.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    // Docks tie the windows to the installed desktop entry: Wayland ones by
    // this name, X11 ones by the window class, which Qt takes from the
    // application name and the entry states as StartupWMClass.
    EXPECT_EQ(QGuiApplication::desktopFileName(), QLatin1String("de.tonfang_quellwerk.Tonfang"));
    QFile entry(QStringLiteral(TONFANG_ASSETS "/%1.desktop")
                    .arg(QGuiApplication::desktopFileName()));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text)) << entry.fileName().toStdString();
    EXPECT_TRUE(entry.readAll().split('\n').contains(
        "StartupWMClass=" + QCoreApplication::applicationName().toUtf8()));
    // The icon at each size desktops draw it at.
    EXPECT_EQ(QApplication::windowIcon().availableSizes(),
              (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
}

TEST_F(StartupTest, ALanguageSwitchLastsUntilTheProgramEnds)
{
    write("en", {});
    {
        const Startup startup;
        // The start-up has installed the language commands.
        const Tprog &prog = *startup.prog();
        prog.einst11->trigger();
        EXPECT_EQ(startup.start()->spr->text(), "de");
        EXPECT_EQ(prog.datei1->text(), "Beenden");
        // The dialogs follow, so they open in German next time.
        EXPECT_EQ(startup.incuser()->windowTitle(), "Erhöhung");
        EXPECT_EQ(startup.einhuser()->windowTitle(), "Anpassen der Einheiten");
        prog.einst12->trigger();
        EXPECT_EQ(startup.incuser()->Abbrechen->text(), "Break");
        EXPECT_EQ(startup.einhuser()->Abbrechen->text(), "Break");
    }
    // The next start follows the marker file again, and nothing was written.
    const Startup again;
    EXPECT_EQ(again.prog()->datei1->text(), "Close");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"en"}));
}

TEST_F(StartupTest, TheSplashHandsOverToTheMainWindow)
{
    Startup startup;
    for (int tick = 0; tick < Tstart::stopTick; ++tick)
        startup.start()->Timer1Timer();
    EXPECT_TRUE(startup.prog()->isVisible());
    EXPECT_FALSE(startup.start()->isVisible());
    EXPECT_FALSE(startup.ended());  // hiding the splash is not closing it
}

TEST_F(StartupTest, ClosingTheMainWindowEndsTheProgramAtAnyTime)
{
    using Close = std::function<void(Tprog &)>;
    const struct {
        const char *how;
        Close close;
    } ways[] = {
        {"close button", [](Tprog &prog) { prog.close(); }},
        {"Beenden", [](Tprog &prog) { prog.datei1->trigger(); }},
        {"Esc",
         [](Tprog &prog) {
             prog.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&prog));
             QTest::keyClick(&prog, Qt::Key_Escape);
         }},
    };
    // The splash still on top (ticks 15 to 24) or already hidden (from 25 on).
    for (const int ticks : {Tstart::showMainTick, Tstart::hideSplashTick}) {
        for (const auto &way : ways) {
            Startup startup;
            for (int tick = 0; tick < ticks; ++tick)
                startup.start()->Timer1Timer();
            ASSERT_TRUE(startup.prog()->isVisible());
            ASSERT_EQ(startup.start()->isVisible(), ticks < Tstart::hideSplashTick);

            QSignalSpy splashClosed(startup.start(), &Tstart::closed);
            way.close(*startup.prog());
            EXPECT_EQ(splashClosed.count(), 1) << way.how << " at tick " << ticks;
            EXPECT_TRUE(startup.ended()) << way.how << " at tick " << ticks;
            EXPECT_FALSE(startup.start()->isVisible()) << way.how;
            EXPECT_FALSE(startup.start()->Timer1->isActive()) << way.how;
        }
    }
}

TEST_F(StartupTest, ACloseBeforeTheLoopRunsMeansTheLoopNeverStarts)
{
    Startup startup;
    const LoopGuard guard;
    // As if a close request had been delivered while the splash was being shown.
    startup.start()->close();
    ASSERT_TRUE(startup.ended());
    EXPECT_EQ(startup.exec(), 0);  // returns instead of running on
}

TEST_F(StartupTest, TheLoopEndsWhenTheMainWindowIsClosed)
{
    Startup startup;
    const LoopGuard guard;
    // Click the splash away and close the main window once the loop runs.
    QTimer::singleShot(0, startup.start(), [&startup] {
        startup.start()->FormClick();
        startup.prog()->close();
    });
    EXPECT_EQ(startup.exec(), 0);
    EXPECT_TRUE(startup.ended());
}

// The signal cancels the file dialog, or a save under way, which leaves the old file alone.
TEST_F(StartupTest, ATerminationSignalCancelsWhatRunsAndEnds)
{
    tonfang::catchTerminationSignals();
    const struct { int signal; bool saving; } rows[] = {{SIGTERM, true}, {SIGINT, true}, {SIGHUP, true}, {SIGTERM, false}};
    for (const auto &row : rows) {
        const QString file = write("list.txt", "old\n");
        Startup startup;
        const LoopGuard guard;
        startup.prog()->ColorListBox1->colourModel()->append(std::vector<ColourListEntry>(4'000'000, {{}, 7}));
        bool sent = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (files && row.saving) {
                files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
                static_cast<QDialog *>(files)->accept();
            } else if (!sent && (files || QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() > 1)) {
                sent = ::kill(::getpid(), row.signal) == 0;
            }
        });
        poll.start(1);
        QMetaObject::invokeMethod(startup.prog()->savecol, &QAction::trigger, Qt::QueuedConnection);
        EXPECT_TRUE(startup.exec() == 0 && sent && startup.ended()) << row.signal;
        EXPECT_EQ(read(file), "old\n");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});
    }
}

} // namespace
