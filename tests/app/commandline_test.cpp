// The command line read strictly once it holds one of our options, the
// platforms the display check expects Qt to try, the Wayland socket probe and
// the hand-off to wl-copy.
#include "app/commandline.h"
#include "app/displaycheck.h"
#include "clipboard/clipboardhandoff.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <QScopeGuard>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using tonfang::ColourFormat;
using tonfang::CommandLine;
using Action = CommandLine::Action;

TEST(CommandLineTest, ParsesStrictlyOnlyWithOwnOptions)
{
    const struct {
        QStringList arguments;
        const char *language;
        Action action;
        const char *error = "";
        ColourFormat format = ColourFormat::Hex;
        int places = 2;
        bool copy = false, magnifier = false;
        QStringList qt = {};
    } rows[] = {
        {{}, "de", Action::Windows},
        // Without our options everything stays ignored, as before.
        {{"--bogus", "file.txt"}, "de", Action::Windows},
        {{"-platform", "offscreen"}, "de", Action::Windows, "", ColourFormat::Hex, 2, false, false,
         {"-platform", "offscreen"}},
        {{"--pick"}, "de", Action::Pick},
        {{"--pick", "--format", "oklch", "--places", "0", "--copy", "--magnifier"}, "de", Action::Pick,
         "", ColourFormat::Oklch, 0, true, true},
        {{"--format=rgb%", "--places=13", "--pick"}, "de", Action::Pick, "", ColourFormat::RgbPercent, 13},
        {{"--pick", "--places", "007"}, "de", Action::Pick, "", ColourFormat::Hex, 7},
        {{"-platform", "xcb", "--pick", "--display", ":3", "-reverse", "-style=fusion"}, "de",
         Action::Pick, "", ColourFormat::Hex, 2, false, false,
         {"-platform", "xcb", "--display", ":3", "-reverse", "-style=fusion"}},
        {{"--pick", "--help"}, "de", Action::Help},
        {{"--copy", "--version"}, "de", Action::Version},
        {{"--pick", "--bogus"}, "de", Action::UsageError, "tonfang: unbekannte Option „--bogus“"},
        {{"--pick", "--bogus"}, "en", Action::UsageError, "tonfang: unknown option '--bogus'"},
        {{"--pick", "-x"}, "en", Action::UsageError, "tonfang: unknown option '-x'"},
        {{"--pick", "red"}, "de", Action::UsageError, "tonfang: überzähliges Argument „red“"},
        {{"--pick", "--", "--copy"}, "en", Action::UsageError, "tonfang: unexpected argument '--copy'"},
        {{"--pick", "--format=x"}, "en", Action::UsageError, "tonfang: unknown format 'x'"},
        {{"--pick", "--format", "HEX"}, "de", Action::UsageError, "tonfang: unbekanntes Format „HEX“"},
        {{"--pick", "--format"}, "en", Action::UsageError, "tonfang: --format needs a value"},
        {{"--pick", "--places", "14"}, "en", Action::UsageError,
         "tonfang: invalid number of decimal places '14' (0 to 13)"},
        {{"--pick", "--places=-1"}, "en", Action::UsageError,
         "tonfang: invalid number of decimal places '-1' (0 to 13)"},
        {{"--pick", "--places", "2.5"}, "de", Action::UsageError,
         "tonfang: ungültige Zahl von Nachkommastellen „2.5“ (0 bis 13)"},
        {{"--pick", "--places="}, "en", Action::UsageError,
         "tonfang: invalid number of decimal places '' (0 to 13)"},
        {{"--pick=yes"}, "en", Action::UsageError, "tonfang: --pick takes no value"},
        {{"--pick", "--copy", "--copy"}, "en", Action::UsageError, "tonfang: --copy is given twice"},
        {{"--magnifier", "--format", "hex"}, "en", Action::UsageError, "tonfang: --magnifier needs --pick"},
        {{"--places", "3"}, "de", Action::UsageError, "tonfang: --places geht nur zusammen mit --pick"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString() + " / " + row.language);
        const CommandLine line = tonfang::parseCommandLine(row.arguments, QString::fromLatin1(row.language));
        EXPECT_EQ(line.action, row.action);
        EXPECT_EQ(line.error.toStdString(), row.error);
        if (row.action != Action::Pick)
            continue;
        EXPECT_EQ(line.format, row.format);
        EXPECT_EQ(line.places, row.places);
        EXPECT_EQ(line.copy, row.copy);
        EXPECT_EQ(line.magnifier, row.magnifier);
        EXPECT_EQ(line.qtArguments, row.qt);
    }
}

TEST(DisplayCheckTest, ExpectsThePlatformsQtWillTry)
{
    using tonfang::DisplayEnvironment;
    const struct {
        const char *what;
        QStringList arguments;
        DisplayEnvironment environment;
        bool check, x11, wayland;
        const char *xDisplay = "";
    } rows[] = {
        {"plain X", {}, {}, true, true, false},
        {"Wayland session", {}, {.sessionType = "wayland"}, true, true, true},
        {"X11 session with a stray WAYLAND_DISPLAY", {},
         {.sessionType = "x11", .waylandDisplay = "wayland-0"}, true, true, false},
        {"WAYLAND_DISPLAY without a session type", {}, {.waylandDisplay = "wayland-0"}, true, true, true},
        {"offscreen", {}, {.qpaPlatform = "offscreen"}, false, false, false},
        {"the argument beats the environment", {"-platform", "xcb"}, {.qpaPlatform = "offscreen"}, true, true,
         false},
        {"a list with options", {}, {.qpaPlatform = "wayland-egl;xcb:nograb"}, true, true, true},
        {"a list with another platform", {"--platform", "xcb;vnc"}, {}, false, true, false},
        {"-display", {"--display", ":7"}, {.display = ":0"}, true, true, false, ":7"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        const tonfang::DisplayPlan plan = tonfang::displayPlan(row.arguments, row.environment);
        EXPECT_EQ(plan.check, row.check);
        if (!row.check)
            continue;
        EXPECT_EQ(plan.x11, row.x11);
        EXPECT_EQ(plan.wayland, row.wayland);
        EXPECT_EQ(plan.xDisplay, row.xDisplay);
    }
}

class WaylandSocketTest : public TempFolderTest {
protected:
    // A compositor's socket that accepts connections, at a path.
    void listen(const QString &socketPath)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = socketPath.toLocal8Bit();
        std::memcpy(address.sun_path, bytes.constData(), std::size_t(bytes.size()));
        ASSERT_EQ(::bind(compositor, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ASSERT_EQ(::listen(compositor, 4), 0);
    }
    void TearDown() override { ::close(compositor); }
    int compositor = ::socket(AF_UNIX, SOCK_STREAM, 0);
};

TEST_F(WaylandSocketTest, ConnectsWhereLibwaylandWould)
{
    ASSERT_NO_FATAL_FAILURE(listen(path(QStringLiteral("wayland-7"))));
    const QByteArray runtimeDir = dir.path().toLocal8Bit();
    const struct {
        const char *what;
        tonfang::DisplayEnvironment environment;
        bool reached;
    } rows[] = {
        {"name in the runtime folder", {.waylandDisplay = "wayland-7", .runtimeDir = runtimeDir}, true},
        {"absolute path", {.waylandDisplay = runtimeDir + "/wayland-7"}, true},
        {"no such socket", {.waylandDisplay = "wayland-8", .runtimeDir = runtimeDir}, false},
        {"default name, not there", {.runtimeDir = runtimeDir}, false},
        {"no runtime folder", {.waylandDisplay = "wayland-7"}, false},
        {"a connection handed over", {.waylandSocket = "5"}, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(tonfang::canReachWayland(row.environment), row.reached);
    }
}

class WlCopyTest : public TempFolderTest {};

TEST_F(WlCopyTest, HandsTheTextOverOrSaysItIsMissing)
{
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    qputenv("PATH", dir.path().toLocal8Bit());
    EXPECT_EQ(tonfang::copyWithWlCopy(QStringLiteral("#FF8000")), tonfang::WlCopyResult::Missing);

    // A stand-in that keeps what it would serve, as wl-copy reads its options.
    const QString fake = write(QStringLiteral("wl-copy"),
                               "#!/bin/sh\n[ \"$1\" = -- ] && shift\nprintf %s \"$*\" > \"$0.got\"\n");
    QFile::setPermissions(fake, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(tonfang::copyWithWlCopy(QStringLiteral("-1 rgb(255 128 0)")), tonfang::WlCopyResult::Done);
    EXPECT_EQ(read(fake + QLatin1String(".got")), "-1 rgb(255 128 0)");
}
