// The copy buttons on an X server, clicked with xdotool; xclip reads what they
// copied the way any other program would, as UTF-8 text.
#include "tests/clipboard/copywindows.h"
#include "tests/support/eventually.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class ClipboardScreen : public CopyWindows {
protected:
    // A real click through the X server on the middle of the button.
    void clickOnScreen(QToolButton *button)
    {
        const QPoint at = button->mapToGlobal(button->rect().center());
        QProcess::execute(u"xdotool"_s, {u"mousemove"_s, QString::number(at.x()),
                                         QString::number(at.y()), u"click"_s, u"1"_s});
    }

    // What another program gets when it asks for the clipboard as text. It
    // runs while this program keeps answering the X server's requests.
    static QByteArray readWithXclip()
    {
        QProcess xclip;
        xclip.start(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s});
        if (!xclip.waitForStarted())
            return "<xclip did not start>";
        if (!TONFANG_WAIT_FOR(xclip.state() == QProcess::NotRunning))
            return "<xclip did not finish>";
        return xclip.readAllStandardOutput();
    }

    // Copies with a click and reads the clipboard back from outside.
    QByteArray copyAndRead(QToolButton *button, const QString &expected)
    {
        QGuiApplication::clipboard()->clear();
        clickOnScreen(button);
        EXPECT_EVENTUALLY_EQ(QGuiApplication::clipboard()->text(), expected);
        return readWithXclip();
    }
};

TEST_F(ClipboardScreen, AnotherProgramReadsTheCopiedTextAsUtf8)
{
    prog->einh_ein->trigger();
    EXPECT_EQ(copyAndRead(prog->copy_hsv, u"30.12\u00B0 100% 100%"_s),
              QByteArray("30.12\xC2\xB0 100% 100%"));

    // Whatever the user types as an affix arrives unchanged.
    units->hex1->setText(u" µ→"_s);
    EXPECT_EQ(copyAndRead(prog->copy_hex, u"#FF8000 µ→"_s),
              QByteArray("#FF8000 \xC2\xB5\xE2\x86\x92"));

    prog->einh_aus->trigger();
    EXPECT_EQ(copyAndRead(prog->copy_hex, u"#FF8000"_s), QByteArray("#FF8000"));
}

} // namespace
