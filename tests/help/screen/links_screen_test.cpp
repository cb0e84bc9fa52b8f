// A menu item and a help label, clicked on a real X server, reach the desktop:
// a stand-in xdg-open, first on PATH, writes down what it was asked to open
// and then refuses, as a desktop without a browser would. The program neither
// waits for it nor minds the refusal.
#include "app/startup.h"
#include "editor/tprog.h"
#include "help/addresslabel.h"
#include "help/helpwindow.h"
#include "tests/support/eventually.h"
#include "tests/support/tempfolder.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using tonfang::Startup;

namespace {

class LinksOnScreen : public TempFolderTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(TempFolderTest::SetUp());
        record = path(QStringLiteral("opened.txt"));
        const QString standIn = write(
            QStringLiteral("xdg-open"),
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '%1'\nexit 4\n").arg(record).toUtf8());
        ASSERT_TRUE(QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("PATH", dir.path().toLocal8Bit() + ':' + qgetenv("PATH"));
    }

    // Whole lines only: the stand-in may be writing while this reads.
    QStringList opened() const
    {
        if (!QFile::exists(record))
            return {};
        QStringList lines = QString::fromUtf8(read(record)).split(QLatin1Char('\n'));
        lines.removeLast();
        return lines;
    }

    // The user's hand: to the point on the screen, and a click there.
    static void clickAt(QPoint global)
    {
        for (const QStringList &step :
             {QStringList{"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())},
              QStringList{"click", "1"}})
            ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), step), 0) << step.join(' ').toStdString();
    }
    static void clickMenuItem(Tprog &prog, QMenu *menu, const char *item)
    {
        clickAt(prog.MainMenu1->mapToGlobal(
            prog.MainMenu1->actionGeometry(menu->menuAction()).center()));
        ASSERT_EVENTUALLY(menu->isVisible());
        QAction *action = menu->findChild<QAction *>(QString::fromLatin1(item));
        if (!action)
            action = prog.findChild<QAction *>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        clickAt(menu->mapToGlobal(menu->actionGeometry(action).center()));
        ASSERT_EVENTUALLY(!menu->isVisible());
    }

    QString record;
};

TEST_F(LinksOnScreen, AMenuItemAndAHelpLabelOpenTheirAddresses)
{
    Startup startup;
    startup.start()->FormClick();
    Tprog &prog = *startup.prog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&prog));

    ASSERT_NO_FATAL_FAILURE(clickMenuItem(prog, prog.info, "info7"));
    ASSERT_EVENTUALLY(opened().size() == 1);
    EXPECT_EQ(opened().value(0), "http://www.tonfang-quellwerk.de/&rf=tfm");

    // "Einführung" opens the German help; its first label leads to the program's page.
    ASSERT_NO_FATAL_FAILURE(clickMenuItem(prog, prog.info, "info1"));
    Thilfe &help = *startup.hilfe();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_EQ(help.pcide->currentWidget(), help.tide1);
    const QList<AddressLabel *> labels = help.tide1->findChildren<AddressLabel *>();
    ASSERT_FALSE(labels.isEmpty());
    AddressLabel *label = labels.first();
    ASSERT_EQ(label->text(), "tonfang-quellwerk.de/tonfang");
    ASSERT_NO_FATAL_FAILURE(clickAt(label->mapToGlobal(label->rect().center())));
    ASSERT_EVENTUALLY(opened().size() == 2);
    EXPECT_EQ(opened().value(1), "http://www.tonfang-quellwerk.de/tonfang&rf=tfh");

    // The refusals changed nothing: the window still takes clicks.
    QTest::mouseClick(help.btide2, Qt::LeftButton);
    EXPECT_EQ(help.pcide->currentWidget(), help.tide2);
}

} // namespace
