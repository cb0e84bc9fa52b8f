// The real tonfang program on an X server: the splash window comes first, the
// main window follows, and closing either ends the program with status 0.
#include "xwatch.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>

using namespace std::chrono_literals;

namespace {

const std::string splashTitle = "start";
const std::string mainTitle = "Tonfang - Quellwerk";
// Generous: the machine running the tests may be busy.
constexpr auto patience = 20s;

class TonfangOnScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.connected()) << "no X server (run under xvfb-run)";
        ASSERT_TRUE(folder.isValid());
    }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    void start()
    {
        const char *executable = std::getenv("TONFANG_EXECUTABLE");
        ASSERT_NE(executable, nullptr);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QString::fromLocal8Bit(executable), {});
        ASSERT_TRUE(program.waitForStarted());
    }

    void expectCleanExit()
    {
        ASSERT_TRUE(program.waitForFinished(int(std::chrono::milliseconds(patience).count())));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }

    static void xdotool(const QStringList &arguments)
    {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << arguments.join(' ').toStdString();
    }

    XWatch x;
    QTemporaryDir folder;
    QProcess program;
};

TEST_F(TonfangOnScreen, SplashThenMainWindowThenEscapeEndsTheProgram)
{
    start();
    const auto splash = x.waitForMapped(splashTitle, patience);
    ASSERT_TRUE(splash);
    EXPECT_EQ(splash->width, 300);
    EXPECT_EQ(splash->height, 340);
    EXPECT_NEAR(splash->x, (x.screenWidth() - 300) / 2, 1);
    EXPECT_NEAR(splash->y, (x.screenHeight() - 340) / 2, 1);
    // Taskbars list no splash window; the main window has an entry of its own.
    const auto splashTypes = x.atomNames(splash->id, "_NET_WM_WINDOW_TYPE");
    ASSERT_FALSE(splashTypes.empty());
    EXPECT_EQ(splashTypes.front(), "_NET_WM_WINDOW_TYPE_SPLASH");

    const auto prog = x.waitForMapped(mainTitle, patience);
    ASSERT_TRUE(prog);
    const auto progTypes = x.atomNames(prog->id, "_NET_WM_WINDOW_TYPE");
    EXPECT_TRUE(progTypes.empty() || progTypes.front() == "_NET_WM_WINDOW_TYPE_NORMAL");
    for (const std::string &state : x.atomNames(prog->id, "_NET_WM_STATE"))
        EXPECT_NE(state, "_NET_WM_STATE_SKIP_TASKBAR");
    EXPECT_TRUE(x.waitForUnmapped(splash->id, patience));
    EXPECT_EQ(program.state(), QProcess::Running);

    xdotool({"windowfocus", "--sync", QString::number(prog->id)});
    xdotool({"key", "Escape"});
    expectCleanExit();
}

TEST_F(TonfangOnScreen, ClosingTheMainWindowWhileTheSplashIsUpEndsTheProgram)
{
    start();
    const auto splash = x.waitForMapped(splashTitle, patience);
    ASSERT_TRUE(splash);
    const auto prog = x.waitForMapped(mainTitle, patience);
    ASSERT_TRUE(prog);
    if (!x.isViewable(splash->id))
        GTEST_SKIP() << "the splash was gone before the main window could be closed";
    // The main window appears under the splash, which stays on top.
    EXPECT_TRUE(x.waitForAbove(splash->id, prog->id, patience));
    x.requestClose(prog->id);
    expectCleanExit();
}

TEST_F(TonfangOnScreen, ClosingTheMainWindowAfterTheSplashEndsTheProgram)
{
    start();
    const auto splash = x.waitForMapped(splashTitle, patience);
    ASSERT_TRUE(splash);
    const auto prog = x.waitForMapped(mainTitle, patience);
    ASSERT_TRUE(prog);
    ASSERT_TRUE(x.waitForUnmapped(splash->id, patience));
    x.requestClose(prog->id);
    expectCleanExit();
}

TEST_F(TonfangOnScreen, ClickOnTheSplashBringsTheMainWindow)
{
    // A marker file in the working folder must not change how start-up runs.
    QFile marker(folder.filePath(QStringLiteral("en")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();

    start();
    const auto splash = x.waitForMapped(splashTitle, patience);
    ASSERT_TRUE(splash);
    xdotool({"mousemove", "--sync", QString::number(splash->x + 150), QString::number(splash->y + 100)});
    xdotool({"click", "1"});
    const auto prog = x.waitForMapped(mainTitle, patience);
    ASSERT_TRUE(prog);
    EXPECT_TRUE(x.waitForUnmapped(splash->id, patience));
    x.requestClose(prog->id);
    expectCleanExit();
}

TEST_F(TonfangOnScreen, ClosingTheSplashWindowEndsTheProgram)
{
    start();
    const auto splash = x.waitForMapped(splashTitle, patience);
    ASSERT_TRUE(splash);
    x.requestClose(splash->id);
    expectCleanExit();
}

} // namespace
