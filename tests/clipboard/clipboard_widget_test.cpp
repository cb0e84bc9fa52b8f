// The copy buttons, the units menu items and the unit affixes dialog on the
// real windows, driven by clicks and keys the way a user drives them.
#include "app/startup.h"
#include "tests/clipboard/copywindows.h"
#include "tests/support/eventually.h"
#include "tests/support/tempfolder.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using tonfang::Startup;

using namespace Qt::Literals::StringLiterals;

namespace {

QString clipboardText()
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

class CopyTest : public CopyWindows {
public:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CopyWindows::SetUp());
        QGuiApplication::clipboard()->setText(u"what was there"_s);
    }

    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    void open() { prog->einh_anpassen->trigger(); }
    // Replaces a field's text key by key.
    static void type(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        ASSERT_EQ(field->text(), text);
    }
};

TEST_F(CopyTest, EveryCopyButtonPutsItsRowOnTheClipboard)
{
    const struct {
        QToolButton *Tprog::*button;
        bool yxy;
        QString off, on;
    } cases[] = {
        {&Tprog::copy_hex, false, u"#FF8000"_s, u"#FF8000"_s},
        {&Tprog::copy_rgb, false, u"255 128 0"_s, u"255 128 0"_s},
        {&Tprog::copy_prozent, false, u"100 50.2 0"_s, u"100% 50.2% 0%"_s},
        {&Tprog::copy_cmyk, false, u"0 49.8 100 0"_s, u"0% 49.8% 100% 0%"_s},
        {&Tprog::copy_cmy, false, u"0 49.8 100"_s, u"0% 49.8% 100%"_s},
        {&Tprog::copy_hsv, false, u"30.12 100 100"_s, u"30.12\u00B0 100% 100%"_s},
        {&Tprog::copy_tcolor, false, u"33023"_s, u"33023"_s},
        {&Tprog::copy_xyz, false, u"48.96 36.7 4.503"_s, u"48.96% 36.7% 4.503%"_s},
        {&Tprog::SpeedButton1, false, u"0.543 0.407 0.04994"_s, u"0.543 0.407 0.04994"_s},
        {&Tprog::SpeedButton1, true, u"36.7 0.543 0.407"_s, u"36.7% 0.543 0.407"_s},
    };
    for (QAction *units_ : {prog->einh_aus, prog->einh_ein}) {
        units_->trigger();
        for (const auto &c : cases) {
            (c.yxy ? units->rb_yxy : units->rb_xyz)->setChecked(true);
            QGuiApplication::clipboard()->clear();
            click(prog.get()->*c.button);
            EXPECT_EQ(clipboardText(), units_ == prog->einh_ein ? c.on : c.off)
                << (prog.get()->*c.button)->objectName().toStdString() << " yxy " << c.yxy;
        }
    }
}

TEST_F(CopyTest, TheUnitsItemsSetBothCheckMarksAndLeaveTheAffixesAlone)
{
    EXPECT_FALSE(prog->einh_ein->isChecked());
    EXPECT_TRUE(prog->einh_aus->isChecked());
    // A second click on a checked item would uncheck it on its own.
    for (QAction *item : {prog->einh_ein, prog->einh_ein, prog->einh_aus, prog->einh_aus,
                          prog->einh_ein}) {
        item->trigger();
        EXPECT_EQ(prog->einh_ein->isChecked(), item == prog->einh_ein);
        EXPECT_EQ(prog->einh_aus->isChecked(), item == prog->einh_aus);
    }
    prog->einh_aus->trigger();
    click(prog->copy_prozent);
    EXPECT_EQ(clipboardText(), u"100 50.2 0"_s);
    EXPECT_EQ(units->affixes(), tonfang::defaultAffixes());
}

TEST_F(CopyTest, OpeningShowsTheDialogBesideTheWindowAndASecondOpeningKeepsIt)
{
    ASSERT_TRUE(units->isHidden());
    open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(units.get()));
    EXPECT_FALSE(units->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(units->geometry().center(), units->screen()->availableGeometry().center());
    // The main window stays usable while it is open.
    click(prog->copy_hex);
    EXPECT_EQ(clipboardText(), u"#FF8000"_s);
    open();
    EXPECT_TRUE(units->isVisible());
    EXPECT_EVENTUALLY(QApplication::activeWindow() == units.get());
}

TEST_F(CopyTest, OkAbbrechenStandardAndTheCloseButton)
{
    enum Expect { AtOpening, Defaults, Typed };
    using Steps = std::function<void(CopyTest &)>;
    const auto typeX = [](CopyTest &t) { type(t.units->hex0, u"X"_s); };
    const struct {
        const char *what;
        Steps steps;
        Expect expect;
    } cases[] = {
        {"typed, Abbrechen", [&](CopyTest &t) { typeX(t); t.click(t.units->Abbrechen); },
         AtOpening},
        {"typed, OK", [&](CopyTest &t) { typeX(t); t.click(t.units->OK); }, Typed},
        {"Standard, Abbrechen",
         [](CopyTest &t) { t.click(t.units->Standard); t.click(t.units->Abbrechen); }, AtOpening},
        {"Standard, OK", [](CopyTest &t) { t.click(t.units->Standard); t.click(t.units->OK); },
         Defaults},
        {"typed, opened again, Abbrechen",
         [&](CopyTest &t) { typeX(t); t.open(); t.click(t.units->Abbrechen); }, Typed},
        {"typed, close button", [&](CopyTest &t) { typeX(t); t.units->close(); }, Typed},
        {"typed, Esc",
         [&](CopyTest &t) { typeX(t); QTest::keyClick(t.units->hex0, Qt::Key_Escape); },
         AtOpening},
        {"typed, Enter",
         [&](CopyTest &t) { typeX(t); QTest::keyClick(t.units->hex0, Qt::Key_Return); }, Typed},
    };
    tonfang::AffixTexts atOpening;
    for (std::size_t index = 0; index < atOpening.size(); ++index)
        atOpening[index] = QStringLiteral("o%1").arg(index);
    tonfang::AffixTexts typed = atOpening;
    typed[0] = u"X"_s;

    for (const auto &c : cases) {
        for (std::size_t index = 0; index < atOpening.size(); ++index)
            units->affixFields()[index]->setText(atOpening[index]);
        open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(units.get())) << c.what;
        c.steps(*this);
        EXPECT_TRUE(units->isHidden()) << c.what;
        EXPECT_EQ(units->affixes(),
                  c.expect == Typed ? typed : c.expect == Defaults ? tonfang::defaultAffixes()
                                                                   : atOpening)
            << c.what;
    }
}

TEST_F(CopyTest, TheChoiceOfYxySurvivesACancel)
{
    open();
    click(units->rb_yxy);
    click(units->Abbrechen);
    EXPECT_TRUE(units->rb_yxy->isChecked());
    click(prog->SpeedButton1);
    EXPECT_EQ(clipboardText(), u"36.7 0.543 0.407"_s);
}

TEST_F(CopyTest, AnAffixTypedInTheOpenDialogCountsAtTheNextCopy)
{
    prog->einh_ein->trigger();
    open();
    type(units->hsv1, u" deg "_s);
    click(prog->copy_hsv);
    EXPECT_EQ(clipboardText(), u"30.12 deg 100% 100%"_s);
    // A value typed into the main window is copied as it stands.
    type(prog->e_hsvS, u"1o0"_s);
    click(prog->copy_hsv);
    EXPECT_EQ(clipboardText(), u"30.12 deg 1o0% 100%"_s);
}

TEST_F(CopyTest, TheDialogKeepsItsFixedLayoutAndTabOrder)
{
    EXPECT_EQ(units->minimumSize(), QSize(521, 331));
    EXPECT_EQ(units->maximumSize(), QSize(521, 331));

    const QStringList order =
        u"hex0 hex1 rgb0 rgb1 rgb2 rgb3 rgbp0 rgbp1 rgbp2 rgbp3 cmyk0 cmyk1 cmyk2 cmyk3 "
        u"cmyk4 cmy0 cmy1 cmy2 cmy3 hsv0 hsv1 hsv2 hsv3 tcolor0 tcolor1 xyz0 xyz1 xyz2 xyz3 "
        u"OK Standard Abbrechen rb_xyz rb_yxy kxyz0 kxyz1 kxyz2 kxyz3 yxy0 yxy1 yxy2 yxy3"_s
            .split(u' ');
    // Where the focus goes when Tab (and then Shift+Tab) is pressed for real,
    // round the dialog and back to the first field.
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(units.get()));
    units->hex0->setFocus();
    const auto walk = [&](Qt::Key key) {
        QStringList chain;
        for (qsizetype step = 0; step < order.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), key);
            chain << QApplication::focusWidget()->objectName();
        }
        return chain;
    };
    EXPECT_EQ(walk(Qt::Key_Tab), order.mid(1) + QStringList{order.front()});
    QStringList backwards = order;
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(walk(Qt::Key_Backtab), backwards);
    // The arrow keys move between the two choices and check the one they reach.
    units->rb_xyz->setFocus();
    QTest::keyClick(units->rb_xyz, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), units->rb_yxy);
    EXPECT_TRUE(units->rb_yxy->isChecked() && !units->rb_xyz->isChecked());

    // The affix fields in table order, on their grid.
    QStringList fieldNames;
    for (const QLineEdit *field : units->affixFields()) {
        fieldNames << field->objectName();
        EXPECT_EQ(field->size(), QSize(75, 21));
    }
    EXPECT_EQ(fieldNames, QStringList(order.mid(0, 29)) + order.mid(34));
    EXPECT_EQ(units->hex0->pos(), QPoint(64, 36));
    EXPECT_EQ(units->cmyk4->pos(), QPoint(438, 111));
    EXPECT_EQ(units->yxy3->pos(), QPoint(345, 261));
    EXPECT_EQ(units->Abbrechen->geometry(), QRect(438, 298, 75, 25));

    // No caption or letter runs into the field after it or out of the window.
    for (const QLabel *label : units->findChildren<QLabel *>()) {
        const QRect text(label->pos(), label->sizeHint());
        EXPECT_TRUE(units->rect().contains(text)) << label->text().toStdString();
        for (const QLineEdit *field : units->affixFields())
            EXPECT_FALSE(text.intersects(field->geometry()))
                << label->text().toStdString() << " " << field->objectName().toStdString();
    }
    for (const QRadioButton *choice : {units->rb_xyz, units->rb_yxy})
        EXPECT_LE(choice->x() + choice->sizeHint().width(), units->kxyz0->x());
}

using StartupTest = WorkingFolderTest;

TEST_F(StartupTest, TheDialogIsCreatedHiddenAndSpeaksTheLanguageOfTheCode)
{
    struct Texts {
        const char *marker;
        QString title, cancel, hex0, cmyk2, yxy3, copyHsv;
    };
    const Texts cases[] = {
        {"de", u"Anpassen der Einheiten"_s, u"Abbrechen"_s, u"vor H"_s, u"zwischen M und Y"_s,
         u"nach y"_s, u"HSV kopieren"_s},
        {"en", u"Customize Units"_s, u"Break"_s, u"before H"_s, u"between M and Y"_s,
         u"after y"_s, u"Copy HSV"_s},
    };
    const auto expectTexts = [](const Startup &startup, const Texts &texts) {
        const Teinhuser *units = startup.einhuser();
        EXPECT_EQ(units->windowTitle(), texts.title);
        EXPECT_EQ(units->Abbrechen->text(), texts.cancel);
        EXPECT_EQ(units->hex0->accessibleName(), texts.hex0);
        EXPECT_EQ(units->cmyk2->accessibleName(), texts.cmyk2);
        EXPECT_EQ(units->yxy3->accessibleName(), texts.yxy3);
        EXPECT_EQ(startup.prog()->copy_hsv->accessibleName(), texts.copyHsv);
        EXPECT_EQ(startup.prog()->copy_hsv->toolTip(), texts.copyHsv);
    };
    for (const Texts &texts : cases) {
        SCOPED_TRACE(texts.marker);
        QFile::remove(path(u"de"_s));
        write(QString::fromLatin1(texts.marker), {});
        Startup startup;
        ASSERT_NE(startup.einhuser(), nullptr);
        EXPECT_TRUE(startup.einhuser()->isHidden());
        EXPECT_EQ(startup.einhuser()->affixes(), tonfang::defaultAffixes());
        expectTexts(startup, texts);

        // The start-up installed the handlers: the buttons copy.
        QGuiApplication::clipboard()->clear();
        startup.prog()->copy_tcolor->click();
        EXPECT_EQ(clipboardText(), u"0"_s);

        // A switch at run time from the language menu reaches the dialog too.
        const Texts &other = &texts == &cases[0] ? cases[1] : cases[0];
        (&texts == &cases[0] ? startup.prog()->einst12 : startup.prog()->einst11)->trigger();
        expectTexts(startup, other);
    }
}

} // namespace
