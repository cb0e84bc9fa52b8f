// Picking through the desktop portal on a Wayland session, against a fake
// portal on a private session bus.

#include "pickingfixture.h"

#include "editor/swatch.h"
#include "editor/languagecode.h"
#include "picking/colourportal.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace screentest;

namespace {

const QString portalName = QStringLiteral("org.freedesktop.portal.Desktop");

bool portalOnBus()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(portalName);
}

QList<QMessageBox *> shownMessageBoxes()
{
    QList<QMessageBox *> boxes;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(window); box && box->isVisible())
            boxes.append(box);
    return boxes;
}

} // namespace

class Portal : public PickingScreen {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "needs a private session bus";
        ASSERT_TRUE(log.isValid());
    }

    void TearDown() override
    {
        PickingScreen::TearDown();
        if (fake.state() != QProcess::NotRunning) {
            fake.terminate();
            fake.waitForFinished(5000);
        }
        ASSERT_EVENTUALLY(!portalOnBus());
    }

    void startFake(const QStringList &arguments)
    {
        fake.setProcessChannelMode(QProcess::ForwardedChannels);
        fake.start(QStringLiteral("/usr/bin/python3"),
                   QStringList{QStringLiteral(TONFANG_FAKE_PORTAL), QStringLiteral("--log"),
                               logPath()}
                       + arguments);
        ASSERT_EVENTUALLY(portalOnBus());
    }

    // A main window whose eyedropper sees a Wayland session.
    void createWaylandWindow()
    {
        qputenv("XDG_SESSION_TYPE", "wayland");
        createMainWindow();
        qunsetenv("XDG_SESSION_TYPE");
        ASSERT_NE(eyedropper->portal(), nullptr);
        ASSERT_EVENTUALLY(eyedropper->portal()->state() != ColourPortal::State::Probing);
        prog->m_add_bewegen->setChecked(true);
        prog->m_add_auto->setChecked(true);
    }

    void clickPickButton()
    {
        pointAtPickButton();
        ASSERT_TRUE(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
        ASSERT_TRUE(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    }

    // Every field's text, the swatch's colour last.
    static QStringList displays()
    {
        QStringList texts;
        for (const QLineEdit *field : prog->findChildren<QLineEdit *>())
            texts << field->text();
        return texts << QString::number(prog->farbfeld->colour());
    }

    QString logPath() const { return log.filePath(QStringLiteral("portal.log")); }

    QList<QJsonObject> calls(const QString &name) const
    {
        QList<QJsonObject> found;
        QFile file(logPath());
        if (!file.open(QIODevice::ReadOnly))
            return found;
        while (!file.atEnd()) {
            const QJsonObject call = QJsonDocument::fromJson(file.readLine()).object();
            if (call.value(QStringLiteral("call")).toString() == name)
                found.append(call);
        }
        return found;
    }

    QTemporaryDir log;
    QProcess fake;
};

TEST_F(Portal, ThePickedColourBecomesCurrentAndIsAdded)
{
    // 0.0705882352941 * 255 is 17.99999..., which must round to 0x12.
    startFake({QStringLiteral("--colour"), QStringLiteral("0.0705882352941"),
               QStringLiteral("0.5"), QStringLiteral("1")});
    createWaylandWindow();
    ASSERT_TRUE(eyedropper->portal()->isAvailable());
    const int entriesBefore = listCount();

    clickPickButton();
    ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), QStringLiteral("#1280FF"));
    EXPECT_EQ(prog->e_red->text(), QStringLiteral("18"));
    EXPECT_EQ(prog->farbfeld->colour(), 0xFF8012);
    EXPECT_EQ(eyedropper->pickedColour(), 0xFF8012);
    ASSERT_EVENTUALLY_EQ(listCount(), entriesBefore + 1); // the release's entry only
    EXPECT_EQ(lastEntry().label, QStringLiteral("(018 128 255)"));
    EXPECT_EQ(lastEntry().colour, 0xFF8012);
    EXPECT_FALSE(eyedropper->isPicking());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // What was asked: the version first, then one pick with no parent window
    // and a token that names the request object the answer came on.
    const auto versions = calls(QStringLiteral("Get"));
    ASSERT_EQ(versions.size(), 1);
    EXPECT_EQ(versions[0].value("interface").toString(), "org.freedesktop.portal.Screenshot");
    EXPECT_EQ(versions[0].value("name").toString(), "version");
    const auto picks = calls(QStringLiteral("PickColor"));
    ASSERT_EQ(picks.size(), 1);
    EXPECT_EQ(picks[0].value("parent_window").toString(), QString());
    const QString token = picks[0].value("options").toObject().value("handle_token").toString();
    EXPECT_FALSE(token.isEmpty());
    EXPECT_EQ(picks[0].value("sender").toString(), QDBusConnection::sessionBus().baseService());
    EXPECT_TRUE(picks[0].value("request").toString().endsWith("/" + token));
}

TEST_F(Portal, ACancelAFailureOrAnAnswerWithoutColourChangesNothing)
{
    for (const char *answer : {"cancel", "failure", "nocolour", "badcolour", "error"}) {
        SCOPED_TRACE(answer);
        startFake({QStringLiteral("--answer"), QString::fromLatin1(answer)});
        createWaylandWindow();
        ASSERT_TRUE(eyedropper->portal()->isAvailable());
        prog->RGBtoALL(sample);
        const int entriesBefore = listCount();
        QSignalSpy failed(eyedropper->portal(), &ColourPortal::pickFailed);

        clickPickButton();
        ASSERT_EVENTUALLY_EQ(failed.count(), 1);
        EXPECT_EQ(calls(QStringLiteral("PickColor")).size(), 1);
        EXPECT_EQ(prog->e_hex->text(), hexText(sample));
        EXPECT_EQ(prog->farbfeld->colour(), tonfang::RGBToTColor(sample));
        EXPECT_EQ(listCount(), entriesBefore);
        EXPECT_FALSE(prog->guardFlag());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

        // A second pick can be asked for afterwards; neither says a word.
        clickPickButton();
        ASSERT_EVENTUALLY_EQ(failed.count(), 2);
        EXPECT_TRUE(shownMessageBoxes().isEmpty());

        TearDown();
        QFile::remove(logPath());
    }
}

TEST_F(Portal, WithoutAColourPickerAPressSaysWhatIsMissingAndChangesNothing)
{
    const struct {
        const char *what;
        QStringList fake; // empty: no portal on the bus
        const char *language;
        const char *word;
    } cases[] = {
        {"no portal", {}, "de", "Bildschirm"},
        {"version 1", {QStringLiteral("--version"), QStringLiteral("1")}, "en", "screen"},
        {"no PickColor", {QStringLiteral("--without-pickcolor")}, "de", "Bildschirm"},
        {"no PickColor", {QStringLiteral("--without-pickcolor")}, "en", "screen"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + c.language);
        tonfang::setLanguageCode(QString::fromLatin1(c.language));
        if (!c.fake.isEmpty())
            startFake(c.fake);
        createWaylandWindow();
        prog->RGBtoALL(sample);
        const QStringList shown = displays();
        const int entriesBefore = listCount();

        // Each press gives one message, also once the portal has said no.
        for (int press = 0; press < 2; ++press) {
            clickPickButton();
            ASSERT_EVENTUALLY(QGuiApplication::mouseButtons() == Qt::NoButton);
            ASSERT_EVENTUALLY_EQ(shownMessageBoxes().size(), 1);
            QMessageBox *box = shownMessageBoxes().front();
            EXPECT_TRUE(box->text().contains(QLatin1String(c.word))) << box->text().toStdString();
            for (const char *package : {"xdg-desktop-portal ", "xdg-desktop-portal-gnome",
                                        "xdg-desktop-portal-kde", "xdg-desktop-portal-wlr",
                                        " grim ", " slurp ", "wlroots"})
                EXPECT_TRUE(box->text().contains(QLatin1String(package))) << package;
            EXPECT_EQ(displays(), shown);
            EXPECT_EQ(listCount(), entriesBefore);
            EXPECT_FALSE(prog->guardFlag());
            EXPECT_FALSE(eyedropper->isPicking());
            EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
            box->accept();
            ASSERT_EVENTUALLY(shownMessageBoxes().isEmpty());
        }
        EXPECT_FALSE(eyedropper->portal()->isAvailable());
        TearDown();
        QFile::remove(logPath());
    }
    tonfang::setLanguageCode(tonfang::languageGerman);
}

TEST_F(Portal, AnX11SessionWithAStrayWaylandDisplayPicksThroughX)
{
    startFake({QStringLiteral("--colour"), QStringLiteral("0"), QStringLiteral("0"),
               QStringLiteral("1")});
    qputenv("XDG_SESSION_TYPE", "x11");
    qputenv("WAYLAND_DISPLAY", "wayland-test");
    createMainWindow();
    qunsetenv("XDG_SESSION_TYPE");
    qunsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(eyedropper->portal(), nullptr);
    pointAtPickButton();
    press();
    dragTo(centreOf(redArea));
    ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(red));
    release();
    EXPECT_TRUE(calls(QStringLiteral("PickColor")).isEmpty());
}

TEST_F(Portal, TheOneShotPickAsksThePortalOnAWaylandSessionOnly)
{
    const QStringList colour{QStringLiteral("--colour"), QStringLiteral("0.0705882352941"),
                             QStringLiteral("0.5"), QStringLiteral("1")};
    const QPoint onRoot(1000, 800); // clear of the test's own windows
    const struct {
        QStringList session;
        QStringList fake; // empty: no portal on the bus
        int exitCode;
        QString output;
        const char *error; // a word of the reason on standard error
    } cases[] = {
        {{"XDG_SESSION_TYPE=wayland"}, colour, 0, "#1280FF\n", ""},
        {{"XDG_SESSION_TYPE=", "WAYLAND_DISPLAY=wayland-test"}, colour, 0, "#1280FF\n", ""},
        {{"XDG_SESSION_TYPE=wayland"}, {"--answer", "cancel"}, 1, "", ""},
        {{"XDG_SESSION_TYPE=wayland"}, {"--answer", "failure"}, 3, "", "Portal"},
        {{"XDG_SESSION_TYPE=wayland"}, {}, 3, "", "xdg-desktop-portal-wlr mit grim und slurp"},
        // An X11 session picks on the X server: a click on the root pattern.
        {{"XDG_SESSION_TYPE=x11", "WAYLAND_DISPLAY=wayland-test"}, colour, 0,
         hexText(rootPatternColour(onRoot)) + '\n', ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.session.join(' ').toStdString() + " " + c.fake.join(' ').toStdString());
        if (!c.fake.isEmpty())
            startFake(c.fake);
        ASSERT_TRUE(movePointer(onRoot));
        QProcess pick;
        startOneShot(pick, {}, {}, c.session);
        if (c.session.contains(QStringLiteral("XDG_SESSION_TYPE=x11"))) {
            OtherXClient probe;
            ASSERT_EVENTUALLY(probe.pointerHeldElsewhere());
            ASSERT_TRUE(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
        }
        ASSERT_EVENTUALLY(pick.state() == QProcess::NotRunning);
        EXPECT_EQ(pick.exitCode(), c.exitCode);
        EXPECT_EQ(QString::fromUtf8(pick.readAllStandardOutput()), c.output);
        const QString error = QString::fromUtf8(pick.readAllStandardError());
        const QString reason = error.trimmed().section('\n', -1);
        EXPECT_TRUE(*c.error ? reason.startsWith("tonfang: ") && reason.contains(QLatin1String(c.error))
                             : !error.contains("tonfang:"))
            << error.toStdString();
        TearDown();
    }
}
