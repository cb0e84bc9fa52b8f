// The Settings menu's options on the real main window, as the start-up builds
// it: decimal places, the spin step with its custom step dialog, and the
// switches read when colours join the list. Runs under the process's locale
// and again under a German one (decimal comma).
#include "app/startup.h"
#include "app/tincuser.h"
#include "clipboard/teinhuser.h"

#include "editor/colourlist.h"
#include "editor/floatupdown.h"
#include "editor/languagecode.h"
#include "editor/swatch.h"
#include "editor/tprog.h"
#include "tests/support/eventually.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <memory>

using tonfang::Startup;

namespace {

class OptionsTest : public WorkingFolderTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(WorkingFolderTest::SetUp());
        startup = std::make_unique<Startup>();
        prog = startup->prog();
        dialog = startup->incuser();
        prog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(prog));
    }

    QAction *item(const QString &name) const
    {
        auto *action = prog->findChild<QAction *>(name);
        EXPECT_NE(action, nullptr) << name.toStdString();
        return action;
    }
    void trigger(const QString &name) const { item(name)->trigger(); }
    // The names of the checked items among these.
    QStringList checked(const QStringList &names) const
    {
        QStringList on;
        for (const QString &name : names)
            if (item(name)->isChecked())
                on << name;
        return on;
    }
    static QStringList placesItems()
    {
        QStringList names;
        for (int n = 0; n < 14; ++n)
            names << QStringLiteral("nks%1").arg(n);
        return names;
    }
    static QStringList stepItems()
    {
        return {"inc0", "inc1", "inc2", "inc3", "inc4", "inc5", "inc6", "inc_benutzer"};
    }
    // The step and the places all 23 spin controls share; NaN where one differs.
    double shared(double (*read)(const TFloatUpDown *)) const
    {
        const double first = read(prog->spinControls().front());
        for (const TFloatUpDown *spin : prog->spinControls())
            if (read(spin) != first)
                return std::nan("");
        return first;
    }
    double step() const { return shared([](const TFloatUpDown *s) { return s->Increment(); }); }
    double places() const
    {
        return shared([](const TFloatUpDown *s) { return double(s->Precision()); });
    }

    // The text with "." standing for the locale's decimal separator.
    static QString number(QString text)
    {
        return text.replace(QLatin1Char('.'), TFloatUpDown::localeDecimalSeparator());
    }
    static bool commaLocale() { return TFloatUpDown::localeDecimalSeparator() == ","; }

    static void type(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    // A real click on an arrow of a spin control, and the step it queues.
    void click(const char *spinName, bool up = true)
    {
        auto *arrow = prog->findChild<TFloatUpDown *>(spinName)->findChild<QToolButton *>(
            up ? "up" : "down");
        QTest::mouseClick(arrow, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
    std::vector<QString> allTexts() const
    {
        std::vector<QString> texts;
        for (int f = 0; f < tonfang::fieldCount; ++f)
            texts.push_back(prog->field(tonfang::Field(f))->text());
        return texts;
    }

    // Opens the custom step dialog from the menu and gives what it shows.
    QString openDialog()
    {
        trigger("inc_benutzer");
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->isModal());
        return dialog->Edit1->text();
    }

    std::unique_ptr<Startup> startup;
    Tprog *prog = nullptr;
    Tincuser *dialog = nullptr;
};

TEST_F(OptionsTest, StartsWithTwoPlacesStepOneAndAddingOnDoubleClickAndRelease)
{
    EXPECT_EQ(checked(placesItems()), QStringList{"nks2"});
    EXPECT_EQ(checked(stepItems()), QStringList{"inc2"});
    EXPECT_EQ(checked({"m_add_doppelklick", "m_add_bewegen", "m_add_auto"}),
              (QStringList{"m_add_doppelklick", "m_add_auto"}));
    EXPECT_EQ(prog->decimalPlaces(), 2);
    EXPECT_EQ(places(), 2);
    EXPECT_EQ(step(), 1);
    EXPECT_TRUE(dialog->isHidden());
}

TEST_F(OptionsTest, DecimalPlacesApplyToTheNextColourOnly)
{
    const struct {
        int places;
        const char *colour;
        const char *field;
        const char *expected; // "." is the locale's separator
    } cases[] = {
        {0, "#FFFFFF", "e_pr", "1E2"},  {1, "#808080", "e_pr", "50.2"},
        {2, "#000001", "e_x", "0.005479"}, {3, "#808080", "e_pr", "50.196"},
        {4, "#000001", "e_ky", "0.0600066"}, {5, "#808080", "e_pr", "50.19608"},
        {6, "#808080", "e_pr", "50.196078"}, {7, "#000001", "e_x", "0.00547866205"},
        {8, "#808080", "e_pr", "50.19607843"}, {9, "#808080", "e_pr", "50.196078431"},
        {10, "#808080", "e_pr", "50.1960784314"}, {11, "#808080", "e_pr", "50.19607843137"},
        {12, "#000001", "e_ky", "0.06000664893617"}, {13, "#808080", "e_pr", "50.1960784313725"},
    };
    for (const auto &c : cases) {
        const std::vector<QString> before = allTexts();
        trigger(QStringLiteral("nks%1").arg(c.places));
        EXPECT_EQ(checked(placesItems()), QStringList{QStringLiteral("nks%1").arg(c.places)});
        EXPECT_EQ(prog->decimalPlaces(), c.places);
        EXPECT_EQ(places(), c.places);
        EXPECT_EQ(allTexts(), before) << "a display rewritten at " << c.places << " places";

        type(prog->e_hex, c.colour);
        EXPECT_EQ(prog->findChild<QLineEdit *>(c.field)->text(), number(c.expected))
            << c.places << " places";
    }
}

TEST_F(OptionsTest, EachFixedStepMovesClicksAndKeysByIt)
{
    const struct {
        const char *item;
        double step;
        const char *afterClick; // from 100
        const char *afterKey;
    } cases[] = {
        {"inc0", 0.1, "100.1", "100.2"}, {"inc1", 0.5, "100.5", "101"},
        {"inc2", 1, "101", "102"},       {"inc3", 2, "102", "104"},
        {"inc4", 5, "105", "110"},       {"inc5", 10, "110", "120"},
        {"inc6", 20, "120", "140"},      {"inc6", 20, "120", "140"}, // the checked one again
    };
    for (const auto &c : cases) {
        trigger(c.item);
        EXPECT_EQ(checked(stepItems()), QStringList{c.item});
        EXPECT_EQ(step(), c.step) << c.item;
        type(prog->e_hsvH, "100");
        click("ud_hsvH");
        EXPECT_EQ(prog->e_hsvH->text(), number(c.afterClick)) << c.item;
        QTest::keyClick(prog->e_hsvH, Qt::Key_Up);
        EXPECT_EVENTUALLY_EQ(prog->e_hsvH->text(), number(c.afterKey));
    }

    // 0.1 at no places rounds to no step at all, until a place is back.
    trigger("inc0");
    trigger("nks0");
    type(prog->e_hsvH, "100");
    click("ud_hsvH");
    EXPECT_EQ(prog->e_hsvH->text(), QString("100"));
    trigger("nks1");
    click("ud_hsvH");
    EXPECT_EQ(prog->e_hsvH->text(), number("100.1"));
}

TEST_F(OptionsTest, TheCustomStepDialog)
{
    EXPECT_EQ(openDialog(), "1");
    EXPECT_EQ(dialog->Edit1->selectedText(), "1"); // typing replaces it
    EXPECT_EQ(dialog->size(), QSize(352, 97));
    EXPECT_EQ(dialog->Label1->pos(), QPoint(8, 8));
    EXPECT_EQ(dialog->Edit1->geometry(), QRect(8, 30, 336, 21));
    EXPECT_EQ(dialog->OK->geometry(), QRect(189, 64, 75, 25));
    EXPECT_EQ(dialog->Abbrechen->geometry(), QRect(270, 64, 75, 25));
    // Tahoma at 11 pixels in every window; where it is not installed, the
    // desktop's sans serif at that height.
    const QString family = QFontDatabase::hasFamily("Tahoma")
                               ? QString("Tahoma")
                               : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (const QWidget *window : {static_cast<QWidget *>(prog), static_cast<QWidget *>(dialog),
                                  static_cast<QWidget *>(startup->einhuser())}) {
        EXPECT_EQ(window->font().pixelSize(), 11) << window->objectName().toStdString();
        EXPECT_EQ(window->font().family(), family) << window->objectName().toStdString();
    }
    const QPoint offCentre = dialog->frameGeometry().center() - prog->frameGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << ", " << offCentre.y();
    EXPECT_EQ(dialog->windowTitle(), "Erhöhung");
    EXPECT_EQ(dialog->Abbrechen->text(), "Abbrechen");
    EXPECT_EQ(dialog->Edit1->accessibleName(),
              "Ein Klick/Drehen mit dem Mausrad erhöht den Wert um:");

    // Neither Enter nor Esc answers it.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(dialog->Edit1, key);
        QTest::keyClick(dialog->OK, key);
        EXPECT_TRUE(dialog->isVisible()) << key;
    }
    // Shortcuts pass the key filter, and pasted text is not filtered.
    QGuiApplication::clipboard()->setText("1E15");
    QTest::keyClick(dialog->Edit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(dialog->Edit1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialog->Edit1->text(), "1E15");

    tonfang::setLanguageCode("en");
    dialog->Sprache();
    EXPECT_EQ(dialog->windowTitle(), "Increment");
    EXPECT_EQ(dialog->Abbrechen->text(), "Break");
    EXPECT_EQ(dialog->OK->text(), "OK");
    EXPECT_EQ(dialog->Edit1->accessibleName(),
              "One Click/Rotation with the Mouse Wheel increases the Value by:");
    // The longer English prompt still ends within the field's width.
    const int promptWidth =
        QFontMetrics(dialog->Label1->font()).horizontalAdvance(dialog->Label1->text());
    EXPECT_LE(promptWidth, dialog->Edit1->width());
    EXPECT_GE(dialog->Label1->width(), promptWidth);
}

TEST_F(OptionsTest, TheCustomStepIsWhatWasTypedOrOne)
{
    enum Answer { Ok, Cancel, CloseButton };
    const struct {
        const char *keys;
        const char *shown; // Edit1 after the keys ("." is the locale's separator)
        Answer answer;
        double step;       // the step before is 0.5
    } cases[] = {
        {"2,5", "2,5", Ok, commaLocale() ? 2.5 : 1},
        // The locale's separator passes, any other full stop is dropped.
        {"2.5", commaLocale() ? "25" : "2.5", Ok, commaLocale() ? 25 : 2.5},
        {"", "", Ok, 1},
        {"a7 b-+x", "7", Ok, 7},
        {"0", "0", Ok, 0},
        {"3", "3", Cancel, 0.5},
        {"3", "3", CloseButton, 0.5},
    };
    for (const auto &c : cases) {
        trigger("inc1");
        ASSERT_EQ(openDialog(), number("0.5"));
        type(dialog->Edit1, c.keys);
        EXPECT_EQ(dialog->Edit1->text(), number(c.shown)) << c.keys;
        switch (c.answer) {
        case Ok: QTest::mouseClick(dialog->OK, Qt::LeftButton); break;
        case Cancel: QTest::mouseClick(dialog->Abbrechen, Qt::LeftButton); break;
        case CloseButton: dialog->close(); break;
        }
        EXPECT_TRUE(dialog->isHidden()) << c.keys;
        EXPECT_EQ(step(), c.step) << c.keys;
        EXPECT_EQ(checked(stepItems()), QStringList{c.answer == Ok ? "inc_benutzer" : "inc1"})
            << c.keys;
    }

    // A fixed step after a custom one takes over the mark.
    openDialog();
    dialog->OK->click();
    trigger("inc3");
    EXPECT_EQ(checked(stepItems()), QStringList{"inc3"});
    EXPECT_EQ(step(), 2);
}

TEST_F(OptionsTest, LargeCustomStepsMoveExactlyAtThirteenPlaces)
{
    trigger("nks13");
    const struct {
        const char *step;
        const char *spin;
        const char *start;
        bool up;
        const char *expected;
        const char *hex; // the colour that follows, for the TColor field
    } cases[] = {
        {"1000000", "ud_tcolor", "5", true, "1000005", "#45420F"},
        {"1000000", "ud_tcolor", "3000000", false, "2000000", "#80841E"},
        {"1E15", "ud_tcolor", "5", true, "2147483647", "#FFFFFF"},
        {"1E15", "ud_tcolor", "2147483647", false, "0", "#000000"},
        {"1000000", "ud_hsvH", "100.5", true, "360", ""},
        {"1E15", "ud_hsvH", "100.5", false, "0", ""},
        {"1000000", "ud_x", "0.5", true, "95.047", ""},
    };
    for (const auto &c : cases) {
        openDialog();
        dialog->Edit1->setText(c.step); // as pasted
        dialog->OK->click();
        QLineEdit *edit = prog->findChild<TFloatUpDown *>(c.spin)->Associate();
        type(edit, number(c.start));
        click(c.spin, c.up);
        EXPECT_EQ(edit->text(), number(c.expected)) << c.step << ' ' << c.spin;
        if (*c.hex) {
            EXPECT_EQ(prog->e_hex->text(), QString(c.hex)) << c.step << " from " << c.start;
        }
    }
}

TEST_F(OptionsTest, ListSwitchesInvertOncePerClickAndDecideWhatJoinsTheList)
{
    // Only a real screen has a pixel for a move of the pick button to read.
    const bool screen = QGuiApplication::platformName() == "xcb";
    const struct {
        const char *item;
        QStringList checkedAfter;
        bool onSwatch; // a double-click on the swatch, else a pick (with a move on a screen)
        int added;
    } cases[] = {
        {"m_add_doppelklick", {"m_add_auto"}, true, 0},
        {"m_add_doppelklick", {"m_add_doppelklick", "m_add_auto"}, true, 1},
        {"m_add_auto", {"m_add_doppelklick"}, false, 0},
        {"m_add_bewegen", {"m_add_doppelklick", "m_add_bewegen"}, false, screen ? 1 : 0},
        {"m_add_auto", {"m_add_doppelklick", "m_add_bewegen", "m_add_auto"}, false,
         screen ? 2 : 1},
        {"m_add_bewegen", {"m_add_doppelklick", "m_add_auto"}, false, 1},
    };
    const ColourListModel *list = prog->ColorListBox1->colourModel();
    for (const auto &c : cases) {
        trigger(c.item);
        EXPECT_EQ(checked({"m_add_doppelklick", "m_add_bewegen", "m_add_auto"}), c.checkedAfter)
            << c.item;
        const int before = list->count();
        if (c.onSwatch) {
            QTest::mouseDClick(prog->farbfeld, Qt::LeftButton);
        } else {
            QTest::mousePress(prog->Button1, Qt::LeftButton);
            QTest::mouseMove(prog->Button1, QPoint(3, 3));
            QTest::mouseRelease(prog->Button1, Qt::LeftButton);
        }
        EXPECT_EQ(list->count(), before + c.added) << c.item;
    }
}

} // namespace
