// Every English text the program shows or prints, and the English of what is
// installed beside it, spells "color" as the menus do. The second site's host
// and the desktop entry's search keywords keep the other spelling.
#include "app/commandline.h"
#include "editor/tprogtexts.h"
#include "editor/webhosts.h"
#include "help/helptexts.h"
#include "listfile/listfiletexts.h"
#include "picking/pickingtexts.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace tonfang;

TEST(EnglishTexts, SpellColorAsTheMenusDo)
{
    const QString en = languageEnglish;
    setLanguageCode(en);
    QStringList texts = {usageText(en), noDisplayText(en), wlCopyMissingText(en),
                         clipboardFailedText(en), openingColourListText(), savingColourListText(),
                         portalColourPickerMissingText(), grabRefusedLine(),
                         portalColourPickerMissingLine(), portalPickFailedLine(),
                         noScreenToPickFromLine(), colourListCapacityText(en)};
    setLanguageCode(languageGerman);
    for (const TprogText &entry : tprogTexts())
        texts += entry.text.english;
    const auto addRows = [&texts](const std::vector<HelpRow> &rows) {
        for (const HelpRow &row : rows)
            texts += row.text.english;
    };
    for (const HelpPageText &page : helpWindowText().pages) {
        texts += page.tab.english;
        addRows(page.rows);
    }
    addRows(reportWindowText().rows);
    texts += {overviewText().heading.english, overviewText().introduction.english};
    for (const char *name : {"tonfang.1", "de.tonfang_quellwerk.Tonfang.metainfo.xml",
                             "de.tonfang_quellwerk.Tonfang.desktop", "changelog"}) {
        QFile file(QStringLiteral(TONFANG_ASSETS "/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
            if (!line.startsWith(QLatin1String("Keywords=")))
                texts += line;
    }
    for (QString text : texts)
        EXPECT_FALSE(text.remove(QLatin1String(HOST2_EN)).contains(QLatin1String("colour"),
                                                                   Qt::CaseInsensitive))
            << qPrintable(text);
}
