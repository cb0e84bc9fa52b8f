// The one-shot pick, `tonfang --pick`, on the tiled root pattern, with
// xdotool as the hand. Run at scale factors 1 and 2.

#include "screenhelpers.h"

#include "core/colourformats.h"
#include "picking/screenpixel.h"
#include "picking/xcbreply.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <xcb/xcb.h>

using tonfang::ScreenPixelReader;


using namespace screentest;

namespace {

// Mapped windows at the top of the root: the magnifier is one of them.
int viewableTopLevels()
{
    xcb_connection_t *c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto tree = tonfang::owned(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    int count = 0;
    for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto a = tonfang::owned(xcb_get_window_attributes_reply(
            c, xcb_get_window_attributes(c, xcb_query_tree_children(tree.get())[i]), nullptr));
        count += a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    }
    return count;
}

} // namespace

class OneShot : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        paintRootPattern();
        auto reader = ScreenPixelReader::forApplication();
        ASSERT_EVENTUALLY(reader->pixelAt(start.x(), start.y()) == rootPatternColour(start));
    }

    void SetUp() override { ASSERT_TRUE(movePointer(start)); }

    // Starts the pick and waits until it holds the pointer and the keyboard.
    void startPick(const QStringList &arguments = {})
    {
        startOneShot(pick, arguments);
        ASSERT_EVENTUALLY(probe.pointerHeldElsewhere() && probe.keyboardHeldElsewhere());
    }

    void hand(const QStringList &xdotoolArguments)
    {
        if (!HasFatalFailure()) {
            ASSERT_TRUE(xdotool(xdotoolArguments));
        }
    }

    // Waits for the end; afterwards nothing is grabbed.
    void expectEnd(int exitCode, const QString &output)
    {
        ASSERT_EVENTUALLY(pick.state() == QProcess::NotRunning);
        EXPECT_EQ(pick.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(pick.exitCode(), exitCode) << pick.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(pick.readAllStandardOutput()), output);
        EXPECT_FALSE(probe.pointerHeldElsewhere());
        EXPECT_FALSE(probe.keyboardHeldElsewhere());
    }

    static QString line(QPoint device) { return hexText(rootPatternColour(device)) + '\n'; }

    static inline const QPoint start{700, 500};
    QProcess pick;
    OtherXClient probe;
};

TEST_F(OneShot, TheHandPicksStepsOrCancels)
{
    const std::string oklch =
        tonfang::formatColour(rootPatternColour(start), tonfang::ColourFormat::Oklch, 2) + '\n';
    const struct {
        QStringList arguments;
        const char *hand; // xdotool commands
        int exitCode;
        QString output;
    } cases[] = {
        {{}, "click 1", 0, line(start)},
        {{"--format", "oklch"}, "click 1", 0, QString::fromStdString(oklch)},
        {{}, "key Escape", 1, {}},
        {{}, "click 3", 1, {}},
        {{}, "kill -TERM", 1, {}}, {{}, "kill -INT", 1, {}}, {{}, "kill -HUP", 1, {}},
        {{}, "key Right key Return", 0, line(start + QPoint(1, 0))},
        {{}, "key shift+Up key Left key space", 0, line(start + QPoint(-1, -10))},
        {{"--magnifier"}, "key Down click 1", 0, line(start + QPoint(0, 1))},
        {{"--magnifier"}, "key shift+Right key KP_Enter", 0, line(start + QPoint(10, 0))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.hand);
        SetUp();
        startPick(c.arguments);
        const QStringList words = QString::fromLatin1(c.hand).split(' ');
        words[0] == "kill" ? void(QProcess::execute("kill", {words[1], QString::number(pick.processId())}))
                           : hand(words);
        expectEnd(c.exitCode, c.output);
    }
}

TEST_F(OneShot, ZShowsAndHidesTheMagnifier)
{
    const int before = viewableTopLevels();
    for (const bool startShown : {false, true}) {
        SCOPED_TRACE(startShown ? "--magnifier" : "plain");
        SetUp();
        startPick(startShown ? QStringList{"--magnifier"} : QStringList{});
        ASSERT_EVENTUALLY_EQ(viewableTopLevels(), before + int(startShown));
        hand({"key", "z"});
        ASSERT_EVENTUALLY_EQ(viewableTopLevels(), before + int(!startShown));
        hand({"key", "Escape"});
        expectEnd(1, {});
        EXPECT_EVENTUALLY_EQ(viewableTopLevels(), before);
    }
}

TEST_F(OneShot, AKeyboardHeldForAMomentIsWaitedForLongerIsImpossible)
{
    const struct {
        bool letGo;
        const char *marker; // the language marker file in the working folder
        const char *word;   // of the reason
    } cases[] = {{true, "de", ""}, {false, "de", "Tastatur"}, {false, "en", "keyboard"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.marker);
        QTemporaryDir folder;
        QFile(folder.filePath(QString::fromLatin1(c.marker))).open(QIODevice::WriteOnly);
        OtherXClient hotkeyProgram;
        ASSERT_TRUE(hotkeyProgram.grabKeyboard());
        startOneShot(pick, {}, folder.path());
        ASSERT_EVENTUALLY(probe.pointerHeldElsewhere());
        if (c.letGo) {
            // It lets go half a second into the pick's patience.
            bool letGo = false;
            QTimer::singleShot(500, [&] { hotkeyProgram.ungrab(), letGo = true; });
            ASSERT_EVENTUALLY(letGo && probe.keyboardHeldElsewhere());
            hand({"key", "Left", "key", "Return"});
            expectEnd(0, line(start - QPoint(1, 0)));
            continue;
        }
        ASSERT_EVENTUALLY(pick.state() == QProcess::NotRunning);
        hotkeyProgram.ungrab();
        // One line, the last (Qt may have warned before it).
        const QString reason = QString::fromUtf8(pick.readAllStandardError()).trimmed();
        EXPECT_TRUE(reason.section('\n', -1).startsWith("tonfang: ")
                    && reason.contains(QLatin1String(c.word)))
            << reason.toStdString();
        expectEnd(3, {});
    }
}

TEST_F(OneShot, CopyLeavesTheColourOnTheClipboardAfterTheCommandHasEnded)
{
    const QString text = QString::fromStdString(
        tonfang::formatColour(rootPatternColour(start), tonfang::ColourFormat::CssRgb, 2));
    startPick({"--copy", "--format", "css-rgb"});
    hand({"click", "1"});
    expectEnd(0, text + '\n');
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"});
    ASSERT_TRUE(xclip.waitForFinished(10000));
    EXPECT_EQ(QString::fromUtf8(xclip.readAllStandardOutput()), text);
}

// On an X server of its own, which goes away in the middle of the pick.
TEST_F(OneShot, ABrokenDisplayIsImpossible)
{
    QProcess server;
    server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-noreset", "-nolisten", "tcp"});
    ASSERT_EVENTUALLY(server.canReadLine());
    const QByteArray display = ':' + server.readLine().trimmed();
    startOneShot(pick, {}, {}, {"DISPLAY=" + QString::fromLatin1(display)});
    ASSERT_EVENTUALLY(OtherXClient(display.constData()).pointerHeldElsewhere());
    server.kill();
    ASSERT_EVENTUALLY(pick.state() == QProcess::NotRunning);
    EXPECT_EQ(pick.exitCode(), 3);
    EXPECT_EQ(pick.readAllStandardOutput(), "");
    const QString error = QString::fromUtf8(pick.readAllStandardError());
    EXPECT_TRUE(error.endsWith("tonfang: die Verbindung zum Bildschirm ist abgebrochen; keine Farbe aufgenommen.\n")
                && !error.contains("X11")) << error.toStdString();
}
