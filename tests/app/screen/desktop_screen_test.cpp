// The program's windows as a German desktop sees them on an X server: the
// titles a window manager reads (xprop), and Qt's own dialogs in German.
#include "app/application.h"
#include "app/startup.h"
#include "app/tincuser.h"
#include "clipboard/teinhuser.h"
#include "editor/tprog.h"
#include "help/helpwindow.h"
#include "help/reportwindow.h"
#include "tests/support/eventually.h"
#include "tests/support/tempfolder.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

// A window property as xprop prints it: the text between the quotes.
QString property(const QWidget &window, const QString &name)
{
    QProcess xprop;
    xprop.start(u"xprop"_s, {u"-notype"_s, u"-id"_s, QString::number(window.winId()), name});
    if (!xprop.waitForFinished())
        return u"<xprop did not finish>"_s;
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype open = line.indexOf(u'"');
    return open < 0 ? line : line.mid(open + 1, line.lastIndexOf(u'"') - open - 1);
}

class DesktopTest : public WorkingFolderTest {
protected:
    // Triggers an action that opens a modal dialog, hands the dialog to
    // `inspect` once it is on the screen, and closes it.
    static void whileOpen(const std::function<void()> &open,
                          const std::function<void(QDialog &)> &inspect)
    {
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            poll.stop();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
            inspect(*dialog);
            dialog->reject();
        });
        poll.start();
        open();
        EXPECT_FALSE(poll.isActive()) << "no dialog opened";
    }
    static QStringList buttonTexts(const QDialog &dialog)
    {
        QStringList texts;
        for (const QPushButton *button : dialog.findChildren<QPushButton *>())
            if (button->isVisible())
                texts << button->text().remove(u'&');
        return texts;
    }
};

TEST_F(DesktopTest, QtsOwnDialogsSpeakTheDesktopsLanguage)
{
    Startup startup;
    startup.start()->FormClick();
    const struct {
        QAction *item;
        const char *dialog;
        QStringList buttons;
    } cases[] = {
        {startup.prog()->windialog, "cd", {u"OK"_s, u"Abbrechen"_s}},
        {startup.prog()->savecol, "sd", {u"Speichern"_s, u"Abbrechen"_s}},
    };
    for (const auto &c : cases) {
        whileOpen([&] { c.item->trigger(); }, [&](QDialog &dialog) {
            EXPECT_EQ(dialog.objectName(), QString::fromLatin1(c.dialog));
            const QStringList texts = buttonTexts(dialog);
            for (const QString &button : c.buttons)
                EXPECT_TRUE(texts.contains(button)) << c.dialog << ": " << texts.join(u", ").toStdString();
            EXPECT_FALSE(texts.contains(u"Cancel"_s)) << c.dialog;
        });
    }
}

TEST_F(DesktopTest, EveryWindowManagerReadsTheCaptionAlone)
{
    Startup startup;
    startup.start()->FormClick();
    const struct {
        QWidget *window;
        QString caption;
    } windows[] = {
        {startup.start(), u"start"_s},
        {startup.prog(), u"Tonfang - Quellwerk"_s},
        {startup.incuser(), u"Erhöhung"_s},
        {startup.einhuser(), u"Anpassen der Einheiten"_s},
        {startup.bugreport_de(), u"Fehler oder Verbesserung melden"_s},
        {startup.bugreport_en(), u"Report Bug or Improvement"_s},
        {startup.hilfe(), startup.hilfe()->windowTitle()},
        {startup.hilfe_en(), startup.hilfe_en()->windowTitle()},
    };
    for (const auto &w : windows) {
        w.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window));
        EXPECT_FALSE(w.caption.isEmpty());
        EXPECT_EQ(property(*w.window, u"_NET_WM_NAME"_s), w.caption);
        EXPECT_EQ(property(*w.window, u"WM_NAME"_s), w.caption);
        w.window->hide();
    }
    // Qt's dialogs and the error box too.
    whileOpen([&] { startup.prog()->windialog->trigger(); }, [](QDialog &dialog) {
        EXPECT_EQ(property(dialog, u"_NET_WM_NAME"_s), dialog.windowTitle());
    });
    whileOpen([] { TonfangApplication::showError(u"kaputt"_s); }, [](QDialog &dialog) {
        EXPECT_EQ(property(dialog, u"_NET_WM_NAME"_s), u"Tonfang - Quellwerk"_s);
    });
}

} // namespace
