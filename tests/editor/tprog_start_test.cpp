// The main window right after it is created: its controls, menus, start state,
// and how it closes.
#include "tprog_testing.h"

#include "editor/colourlist.h"
#include "editor/languagecode.h"
#include "editor/tprogtexts.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using tonfang::TextRole;
using tonfang::TprogText;
using tonfang::tprogTexts;

namespace {

QStringList actionNames(const QMenu *menu)
{
    QStringList names;
    for (const QAction *action : menu->actions())
        names << (action->isSeparator() ? QStringLiteral("-")
                  : action->menu()      ? action->menu()->objectName()
                                        : action->objectName());
    return names;
}

void collectItems(const QWidget *menu, std::vector<const QAction *> &items)
{
    for (const QAction *action : menu->actions()) {
        items.push_back(action);
        if (action->menu())
            collectItems(action->menu(), items);
    }
}

} // namespace

TEST_F(TprogTest, StartsWithBlackEverywhereAndWhiteAndBlackInTheList)
{
    const std::vector<QString> black = {
        "#000000", "0",   "0",   "0",   "0", "0", "0", "0", "0", "0", "0", "100",
        "100",     "100", "0",   "0",   "0", "100", "0", "0", "0", "0", "0", "0"};
    EXPECT_EQ(allTexts(), black);
    EXPECT_EQ(window->farbfeld->colour(), 0);
    EXPECT_FALSE(window->guardFlag());
    EXPECT_EQ(window->decimalPlaces(), 2);

    const ColourListModel *list = window->ColorListBox1->colourModel();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->entry(0).label, "(255 255 255)");
    EXPECT_EQ(list->entry(0).colour, 16777215);
    EXPECT_EQ(list->entry(1).label, "(000 000 000)");
    EXPECT_EQ(list->entry(1).colour, 0);
}

TEST_F(TprogTest, SpinControlsAreAttachedWithTheirBoundsInTheSettingsOrder)
{
    const std::array<const char *, 23> order = {
        "ud_hsvH", "ud_hsvS", "ud_hsvV",    "ud_pr",     "ud_pg", "ud_pb",  "ud_c",    "ud_m",
        "ud_y",    "ud_k",    "ud_cyan",    "ud_magenta", "ud_yellow", "ud_x", "ud_yy", "ud_z",
        "ud_kx",   "ud_ky",   "ud_kz",      "ud_tcolor", "ud_blue", "ud_red", "ud_green"};
    for (std::size_t index = 0; index < order.size(); ++index) {
        const TFloatUpDown *control = window->spinControls()[index];
        ASSERT_EQ(control, spin(order[index])) << order[index];
        const QString fieldName = "e_" + control->objectName().mid(3);
        EXPECT_EQ(control->Associate(), edit(qPrintable(fieldName))) << order[index];
        EXPECT_EQ(control->Precision(), 2);
        EXPECT_EQ(control->Increment(), 1);
        EXPECT_EQ(control->Min(), 0);
        EXPECT_EQ(control->Position(), 0);
        EXPECT_EQ(control->width(), 17);
    }
    const std::vector<std::pair<const char *, double>> maxima = {
        {"ud_red", 255},    {"ud_hsvH", 360},     {"ud_hsvS", 100}, {"ud_k", 100},
        {"ud_x", 95.047},   {"ud_yy", 100},       {"ud_z", 108.883}, {"ud_kz", 1},
        {"ud_tcolor", 2147483647}};
    for (const auto &[name, max] : maxima)
        EXPECT_EQ(spin(name)->Max(), max) << name;
}

TEST_F(TprogTest, CaptionsAndMenusAreInPlace)
{
    // Every text of the table lands on exactly one object of the window, an
    // arrow's name on one arrow of each spin control.
    for (const TprogText &entry : tprogTexts()) {
        const QString name = QString::fromLatin1(entry.name);
        const int matches = int(window->findChildren<QObject *>(name).size()) +
                            (window->objectName() == name ? 1 : 0);
        EXPECT_EQ(matches, entry.role == TextRole::SpinArrowName ? 23 : 1) << entry.name;
    }
    EXPECT_EQ(window->windowTitle(), "Tonfang - Quellwerk");
    EXPECT_EQ(window->Button1->text(), "Tonfang aufnehmen");
    EXPECT_EQ(window->gb_systeme->title(), "Darstellung in den Farbmodellen");
    EXPECT_EQ(window->datei1->text(), "Beenden");
    EXPECT_EQ(window->findChild<QAction *>("online001")->text(), "tonfang-quellwerk.de/farblexikon");

    // The pick button's tooltip tells of the keys a pick takes, in either language.
    const std::pair<const char *, QStringList> tips[] = {
        {"en", {"drag", "Z", "magnifier", "arrow keys"}},
        {"de", {"ziehen", "Z", "Lupe", "Pfeiltasten"}}};
    for (const auto &[code, words] : tips) {
        tonfang::setLanguageCode(QString::fromLatin1(code));
        window->Sprache();
        for (const QString &word : words)
            EXPECT_TRUE(window->Button1->toolTip().contains(word))
                << code << ": " << word.toStdString();
        // A tooltip is as wide as its longest line.
        const QStringList lines = window->Button1->toolTip().split(u'\n');
        EXPECT_GE(lines.size(), 3) << code;
        for (const QString &line : lines)
            EXPECT_LE(line.size(), 42) << code << ": " << line.toStdString();
    }
    EXPECT_EQ(window->Button1->text(), "Tonfang aufnehmen") << "the caption keeps its own row";

    EXPECT_EQ(actionNames(window->datei),
              QStringList({"windialog", "-", "farblisteloeschen", "savecol", "opencol", "-",
                           "m_bug", "-", "datei1"}));
    EXPECT_EQ(actionNames(window->Online),
              QStringList({"online0", "online1", "online2", "-", "online3", "online4", "-",
                           "online5", "-", "online6", "online7", "online8", "online9", "-",
                           "online10"}));
    EXPECT_EQ(actionNames(window->m_einst),
              QStringList({"menu_nks", "m_add", "menu_inc", "einh", "-", "einst1"}));
    EXPECT_EQ(actionNames(window->info),
              QStringList({"info1", "m_bug_i", "info2", "Software1", "info3", "info4", "-",
                           "info5", "info9", "info11", "info6", "info7", "info10", "info8",
                           "info12"}));
    EXPECT_EQ(actionNames(window->menu_inc).size(), 9);
    EXPECT_EQ(actionNames(window->menu_nks).size(), 14);
    // Each topic submenu opens with its address item and a separator.
    QStringList topics = {"online001", "-"};
    for (int topic = 2; topic <= 24; ++topic)
        topics << QStringLiteral("online%1").arg(topic, 3, 10, QLatin1Char('0'));
    EXPECT_EQ(actionNames(window->online0), topics);
    EXPECT_EQ(actionNames(window->online1),
              QStringList({"online100", "-", "online101", "online102", "online103", "online104",
                           "online105"}));
    EXPECT_EQ(actionNames(window->online2),
              QStringList({"online20", "-", "online21", "online22", "online23", "online24", "-",
                           "online25", "online26"}));

    // The German Software menu shows, the English one waits for a switch.
    EXPECT_TRUE(window->m_soft_de->menuAction()->isVisible());
    EXPECT_FALSE(window->m_soft_en->menuAction()->isVisible());

    // Check marks: plain check items, as the settings start.
    std::vector<const QAction *> checked = {window->nks[2], window->inc2, window->m_add_doppelklick,
                                            window->m_add_auto, window->einh_aus, window->einst11};
    std::vector<const QAction *> items;
    collectItems(window->MainMenu1, items);
    EXPECT_GT(items.size(), 120u);
    for (const QAction *action : items) {
        const bool expected = std::find(checked.begin(), checked.end(), action) != checked.end();
        EXPECT_EQ(action->isChecked(), expected) << action->objectName().toStdString();
        EXPECT_EQ(action->actionGroup(), nullptr);
    }
}

TEST_F(TprogTest, ChromaticityFieldsTakeNoTypingButStep)
{
    for (const char *name : {"e_kx", "e_ky", "e_kz"})
        EXPECT_FALSE(edit(name)->isEnabled()) << name;
    QTest::keyClicks(edit("e_kx"), "5");
    EXPECT_EQ(text("e_kx"), "0");

    // Stepping x changes the colour through the field's handler, and z follows.
    window->RGBtoALL({255, 255, 255});
    click("ud_kx");
    EXPECT_EQ(text("e_kx"), "1");
    EXPECT_EQ(text("e_ky"), "0.329");
    EXPECT_EQ(text("e_kz"), "-0.329");
    EXPECT_NE(text("e_hex"), "#FFFFFF");

    // z has no handler: stepping it changes its text only.
    const std::vector<QString> before = allTexts();
    click("ud_kz");
    EXPECT_EQ(text("e_kz"), "1");
    std::vector<QString> after = allTexts();
    after[std::size_t(tonfang::Field::ChromaZ)] = before[std::size_t(tonfang::Field::ChromaZ)];
    EXPECT_EQ(after, before);
}

TEST_F(TprogTest, EscapeAndTheCloseButtonEndTheWindow)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), edit("e_hex")) << "the first field takes the focus";
    QSignalSpy closed(window.get(), &Tprog::closed);
    QTest::keyClick(edit("e_hex"), Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(window->isVisible());

    window->show();
    window->close();
    EXPECT_EQ(closed.count(), 2);
}
