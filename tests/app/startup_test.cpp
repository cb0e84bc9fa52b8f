// Start-up with the real main window: the windows it creates, and the program
// ending whichever way the main window is closed, with or without the splash.
#include "app/startup.h"

#include "editor/languagecode.h"
#include "editor/tprog.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

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
    EXPECT_EQ(startup.start()->languageCode(), QLatin1String("en"));
    // Every other window reads the code from the splash's label, afresh each time.
    EXPECT_EQ(tonfang::languageCode(), QLatin1String("en"));
    startup.start()->spr->setText(QStringLiteral("de"));
    EXPECT_EQ(tonfang::languageCode(), QLatin1String("de"));
    tonfang::setLanguageCode(QStringLiteral("en"));
    EXPECT_EQ(startup.start()->spr->text(), QLatin1String("en"));
    EXPECT_TRUE(startup.start()->Timer1->isActive());
    EXPECT_FALSE(startup.ended());

    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QLatin1String("Tonfang - Quellwerk"));
    // Docks tie the windows to the installed desktop entry: Wayland ones by
    // this name, X11 ones by the window class, which Qt takes from the
    // application name and the entry states as StartupWMClass.
    EXPECT_EQ(QGuiApplication::desktopFileName(), QLatin1String("de.tonfang_quellwerk.Tonfang"));
    QFile entry(QStringLiteral(TONFANG_TEST_DATA "/../../../assets/%1.desktop")
                    .arg(QGuiApplication::desktopFileName()));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text)) << entry.fileName().toStdString();
    EXPECT_TRUE(entry.readAll().split('\n').contains(
        "StartupWMClass=" + QCoreApplication::applicationName().toUtf8()));
    EXPECT_FALSE(QApplication::windowIcon().isNull());
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

} // namespace
