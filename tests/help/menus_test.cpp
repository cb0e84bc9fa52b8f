// The main window's address items, topic items, donation label and the
// generated Software items, in both languages.
#include "helpfixture.h"

#include "help/softwarelist.h"
#include "help/links.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using tonfang::buildSoftwareMenus;

namespace {

void collect(const QMenu *menu, QList<QAction *> &items)
{
    for (QAction *action : menu->actions()) {
        if (action->menu())
            collect(action->menu(), items);
        else if (!action->isSeparator())
            items << action;
    }
}

// What an address item must open, put simply: its caption before any " - ",
// a "/" after a bare host, and the menu's source letter.
QString expectedMenuAddress(const QString &caption)
{
    QString target = caption.section(QStringLiteral(" - "), 0, 0);
    if (!target.contains(QLatin1Char('/')))
        target += QLatin1Char('/');
    return "http://www." + target + "&rf=tfm";
}

} // namespace

TEST_F(HelpTest, EveryAddressItemOpensItsCaptionInBothLanguages)
{
    for (const bool german : {true, false}) {
        setLanguage(german);
        QList<QAction *> items;
        for (const QMenu *menu : {prog->Online, prog->info, german ? prog->m_soft_de : prog->m_soft_en})
            collect(menu, items);
        int addressItems = 0;
        for (QAction *action : items) {
            if (!action->text().contains(QStringLiteral("quellwerk")))
                continue;
            ++addressItems;
            EXPECT_EQ(openedBy([action] { action->trigger(); }),
                      expectedMenuAddress(action->text()))
                << action->objectName().toStdString();
        }
        // Online 11, Info 8, Software 16 generated and 2 fixed.
        EXPECT_EQ(addressItems, 37) << german;
    }

    setLanguage(true);
    EXPECT_EQ(openedBy([this] { item("info7")->trigger(); }), "http://www.tonfang-quellwerk.de/&rf=tfm");
    EXPECT_EQ(openedBy([this] { item("linkde7")->trigger(); }),
              "http://www.tonfang-quellwerk.de/tonfang&rf=tfm");
    setLanguage(false);
    EXPECT_EQ(openedBy([this] { item("info5")->trigger(); }),
              "http://www.tonfang-quellwerk.com/tonfang&rf=tfm");
    EXPECT_EQ(openedBy([this] { item("online10")->trigger(); }),
              "http://www.quellwerk-colours.com/&rf=tfm");
}

TEST_F(HelpTest, TopicItemsOpenTheFixedPageOfTheCurrentLanguage)
{
    for (const bool german : {true, false}) {
        setLanguage(german);
        for (const tonfang::TopicPage &topic : tonfang::topicPages()) {
            QAction *action = item(topic.item);
            ASSERT_NE(action, nullptr);
            const QString path = QString::fromLatin1(german ? topic.german : topic.english);
            EXPECT_EQ(openedBy([action] { action->trigger(); }),
                      (german ? "http://www.tonfang-quellwerk.de" : "http://www.tonfang-quellwerk.com") + path)
                << topic.item;
        }
    }
    setLanguage(true);
    EXPECT_EQ(openedBy([this] { item("online005")->trigger(); }),
              "http://www.tonfang-quellwerk.de/cmy-farbmodell");
    setLanguage(false);
    EXPECT_EQ(openedBy([this] { item("online005")->trigger(); }),
              "http://www.tonfang-quellwerk.com/colorlexicon1#CIE_Norm_Valent_System");
}

TEST_F(HelpTest, DonationLabelOpensTheDonationPage)
{
    const auto click = [this] { QTest::mouseClick(prog->spendenbutton, Qt::LeftButton); };
    setLanguage(true);
    EXPECT_EQ(openedBy(click), "http://www.tonfang-quellwerk.de/spenden&rf=tfs");
    setLanguage(false);
    EXPECT_EQ(openedBy(click), "http://www.tonfang-quellwerk.com/donate&rf=tfs");
    // Other buttons do not count as a click.
    catcher.opened.clear();
    QTest::mouseClick(prog->spendenbutton, Qt::RightButton);
    EXPECT_TRUE(catcher.opened.isEmpty());
}

TEST_F(HelpTest, SoftwareMenusHoldTheProgramsBeforeTheFixedItems)
{
    for (const bool german : {true, false}) {
        const QMenu *menu = german ? prog->m_soft_de : prog->m_soft_en;
        const QString prefix = german ? QStringLiteral("linkde") : QStringLiteral("linken");
        const QString host = german ? QStringLiteral("tonfang-quellwerk.de/")
                                    : QStringLiteral("tonfang-quellwerk.com/");
        const QList<QAction *> actions = menu->actions();
        ASSERT_EQ(actions.size(), 20);
        for (int index = 0; index < tonfang::softwareCount; ++index) {
            const QAction *action = actions[index];
            EXPECT_EQ(action->objectName(), prefix + QString::number(index));
            EXPECT_TRUE(action->text().startsWith(host)) << action->text().toStdString();
            EXPECT_TRUE(action->text().contains(QStringLiteral(" - ")));
            EXPECT_EQ(action->parent(), static_cast<QObject *>(prog->MainMenu1));
            // The same picture for the same index in both menus.
            EXPECT_EQ(action->icon().pixmap(16).toImage(), prog->softwareicons[index].toImage());
        }
        EXPECT_TRUE(actions[tonfang::tonfangIndex]->text().startsWith(host + "tonfang - "));
        EXPECT_EQ(actions[16]->objectName(),
                  german ? "BriefDescriptionofallApplications1" : "anderesoft12");
        EXPECT_TRUE(actions[17]->isSeparator());
    }

    // Sixteen different pictures of 16 x 16, transparent around the drawing.
    ASSERT_EQ(prog->softwareicons.size(), tonfang::softwareCount);
    for (int index = 0; index < tonfang::softwareCount; ++index) {
        const QImage picture = prog->softwareicons[index].toImage();
        EXPECT_EQ(prog->softwareicons[index].deviceIndependentSize(), QSizeF(16, 16));
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << index;
        for (int other = 0; other < index; ++other)
            EXPECT_NE(picture, prog->softwareicons[other].toImage()) << index << " " << other;
    }

    // The language decides which menu shows.
    setLanguage(false);
    EXPECT_TRUE(prog->m_soft_en->menuAction()->isVisible());
    EXPECT_FALSE(prog->m_soft_de->menuAction()->isVisible());
    setLanguage(true);
    EXPECT_TRUE(prog->m_soft_de->menuAction()->isVisible());
    EXPECT_FALSE(prog->m_soft_en->menuAction()->isVisible());
}

TEST_F(HelpTest, TheMenuBuilderRunsBeforeTheLanguageIsApplied)
{
    bool languageApplied = true;
    const Tprog window([&languageApplied](Tprog &built) {
        // Only the language routine sets these check marks.
        languageApplied = built.einst11->isChecked() || built.einst12->isChecked();
        buildSoftwareMenus(built);
    });
    EXPECT_FALSE(languageApplied);
    EXPECT_TRUE(window.einst11->isChecked());
    EXPECT_EQ(window.m_soft_de->actions().size(), 20);
}
