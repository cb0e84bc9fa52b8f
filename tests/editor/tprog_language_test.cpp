// The main window in German and English: every caption, address and
// accessible name in both languages, read from the real window, and switching
// back and forth.
#include "tprog_testing.h"

#include "editor/languagecode.h"
#include "editor/webhosts.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <map>
#include <set>

namespace {

using namespace Qt::Literals::StringLiterals;
using tonfang::HOST_DE, tonfang::HOST_EN, tonfang::HOST2_DE, tonfang::HOST2_EN;

// Everything the language decides, keyed by objectName (an arrow by its spin
// control's name and its own).
struct Snapshot {
    std::map<QString, QString> captions;
    std::map<QString, QString> names;
    // The marks of einst11 and einst12, the German and English Software menu shown.
    std::array<bool, 4> marksAndMenus{};
    QRect donation;
    int donationPixels = 0;

    bool operator==(const Snapshot &) const = default;
};

void collectCaptions(const QWidget *menu, Snapshot &snapshot)
{
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        if (const QMenu *sub = action->menu()) {
            snapshot.captions[sub->objectName()] = sub->title();
            // The Software menus hold their own language and are never re-captioned.
            if (!sub->objectName().startsWith("m_soft_"_L1))
                collectCaptions(sub, snapshot);
        } else {
            snapshot.captions[action->objectName()] = action->text();
        }
    }
}

class TprogLanguageTest : public TprogTest {
protected:
    void TearDown() override { tonfang::setLanguageCode(tonfang::languageGerman); }

    void switchTo(QLatin1String code)
    {
        tonfang::setLanguageCode(code);
        window->Sprache();
    }

    Snapshot snapshot() const
    {
        Snapshot s;
        s.captions[window->objectName()] = window->windowTitle();
        for (const QGroupBox *box : window->findChildren<QGroupBox *>())
            s.captions[box->objectName()] = box->title();
        for (const QPushButton *button : window->findChildren<QPushButton *>())
            s.captions[button->objectName()] = button->text();
        for (const QLabel *label : window->findChildren<QLabel *>())
            s.captions[label->objectName()] = label->text();
        collectCaptions(window->MainMenu1, s);

        for (const TFloatUpDown *spin : window->spinControls())
            for (const QToolButton *arrow : spin->findChildren<QToolButton *>())
                s.names[spin->objectName() + '/' + arrow->objectName()] = arrow->accessibleName();
        for (int index = 0; index < tonfang::fieldCount; ++index) {
            const QLineEdit *field = window->field(tonfang::Field(index));
            s.names[field->objectName()] = field->accessibleName();
        }
        s.marksAndMenus = {window->einst11->isChecked(), window->einst12->isChecked(),
                           window->m_soft_de->menuAction()->isVisible(),
                           window->m_soft_en->menuAction()->isVisible()};
        s.donation = window->spendenbutton->geometry();
        s.donationPixels = window->spendenbutton->font().pixelSize();
        return s;
    }
};

TEST_F(TprogLanguageTest, EveryTextExistsInBothLanguagesAndDiffersWhereTheyDo)
{
    const Snapshot de = snapshot();
    switchTo(tonfang::languageEnglish);
    const Snapshot en = snapshot();
    // (at() below fails the test where one language lacks a name.)
    ASSERT_EQ(de.captions.size(), en.captions.size());
    EXPECT_GE(de.captions.size(), 124u);  // window, controls and menus

    std::set<QString> unchanged;
    for (const auto &[name, german] : de.captions) {
        const QString &english = en.captions.at(name);
        EXPECT_FALSE(german.isEmpty()) << qPrintable(name);
        EXPECT_FALSE(english.isEmpty()) << qPrintable(name);
        if (german == english)
            unchanged.insert(name);
        // The English items read English, apart from the item that offers German.
        if (name == "einst11"_L1)
            continue;
        for (const char *word : {"ä", "ö", "ü", "ß", "Datei", "Beenden", "löschen", "speichern",
                                 "Einstellungen", "Sprache", "Hilfe", "Lizenz", " und ", "Farbe "})
            EXPECT_FALSE(english.contains(QString::fromUtf8(word))) << qPrintable(english);
    }
    std::set<QString> sameInBoth = {"Tprog",  "Label1",  "Label2",    "Label3",    "Label4",
                                    "Label5", "Label6",  "Label7",    "Label8",    "label9",
                                    "Online", "einst11", "einst12",   "m_soft_de", "m_soft_en",
                                    "Software1", "online104"};
    for (int places = 0; places <= 13; ++places)
        sameInBoth.insert(QStringLiteral("nks%1").arg(places));
    for (int step = 0; step <= 6; ++step)
        sameInBoth.insert(QStringLiteral("inc%1").arg(step));
    EXPECT_EQ(unchanged, sameInBoth);

    // Address captions name the site of their language, main site for main site.
    const auto siteOf = [](const QString &caption) {
        const QString hosts[] = {HOST_DE, HOST_EN, HOST2_DE, HOST2_EN};
        const auto found = [&caption](const QString &host) { return caption.startsWith(host); };
        return int(std::find_if(hosts, hosts + 4, found) - hosts);
    };
    int addresses = 0;
    for (const auto &[name, german] : de.captions) {
        if (const int site = siteOf(german); site < 4) {
            ++addresses;
            EXPECT_TRUE(site == 0 || site == 2) << qPrintable(german);
            EXPECT_EQ(siteOf(en.captions.at(name)), site + 1) << qPrintable(name);
        }
    }
    EXPECT_EQ(addresses, 20);  // 11 Online items, 8 Info items, the donation label

    // Spelled out where a slip is likeliest; the odd ones are the real texts.
    const struct {
        const char *name;
        QString german, english;
    } spelled[] = {
        {"spendenbutton", HOST_DE + u"/spenden -  Vielen Dank für Ihre Unterstützung!"_s,
         HOST_EN + u"/donate - Thank you for your support!"_s},
        {"online006", u"CMYK-Farbmodell"_s, u"CMY Farbmodell"_s},
        {"online101", u"CMY und CMYK-Farmodell"_s, u"CMY and CMYK-Color Model"_s},
        {"info12",
         HOST_DE + u"/individuelle-anpassung - Wir passen diese Software Ihren Bedürfnissen an"_s,
         HOST_EN + u"/individual-fit - We adapt this software to your needs"_s},
    };
    for (const auto &text : spelled) {
        EXPECT_EQ(de.captions.at(text.name), text.german) << text.name;
        EXPECT_EQ(en.captions.at(text.name), text.english) << text.name;
    }

    // A screen reader tells every field and arrow apart, in either language.
    for (const Snapshot *language : {&de, &en}) {
        std::set<QString> distinct;
        for (const auto &[name, accessible] : language->names) {
            EXPECT_FALSE(accessible.isEmpty()) << qPrintable(name);
            distinct.insert(accessible);
        }
        EXPECT_EQ(distinct.size(), language->names.size());
        EXPECT_EQ(language->names.size(), 24u + 2 * 23u);
    }
    for (const auto &[name, german] : de.names)
        EXPECT_NE(german, en.names.at(name)) << qPrintable(name);
    EXPECT_EQ(en.names.at("ud_red/up"), "Increase Red");
    EXPECT_EQ(de.names.at("ud_hsvS/down"), "HSV Sättigung verringern");
}

TEST_F(TprogLanguageTest, SwitchingBackRestoresEverythingAndTheActiveLanguageChangesNothing)
{
    const Snapshot german = snapshot();
    EXPECT_EQ(german.marksAndMenus, (std::array{true, false, true, false}));
    switchTo(tonfang::languageEnglish);
    const Snapshot english = snapshot();
    EXPECT_EQ(english.marksAndMenus, (std::array{false, true, false, true}));
    EXPECT_NE(english.donation, german.donation);

    switchTo(tonfang::languageEnglish);
    EXPECT_EQ(snapshot(), english);
    switchTo(tonfang::languageGerman);
    EXPECT_EQ(snapshot(), german);
    switchTo(tonfang::languageGerman);
    EXPECT_EQ(snapshot(), german);
    EXPECT_TRUE(window->updatesEnabled());
}

TEST_F(TprogLanguageTest, TheDonationLabelFitsAndIsCentredInEitherLanguage)
{
    const QSize design = window->size();
    for (const QSize size : {design, window->minimumSize()}) {
        window->resize(size);
        ASSERT_EVENTUALLY_EQ(window->size(), size);
        for (const QLatin1String code :
             {tonfang::languageEnglish, tonfang::languageGerman, tonfang::languageEnglish}) {
            switchTo(code);
            const QLabel *label = window->spendenbutton;
            const int W = window->gb_systeme->width();
            const int textWidth = QFontMetrics(label->font()).horizontalAdvance(label->text());
            EXPECT_LE(textWidth, label->width()) << "cut off: " << qPrintable(label->text());
            EXPECT_EQ(label->x(), (W - label->width()) / 2) << qPrintable(label->text());
            EXPECT_GE(label->x(), 8) << W;
        }
    }
}

} // namespace
