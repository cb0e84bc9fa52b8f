// The language commands: the code, the check marks and the order in which the
// windows take their texts, from either language and for either item.
#include "app/languagehandlers.h"

#include "editor/languagecode.h"
#include "editor/tprog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

namespace {

using namespace Qt::Literals::StringLiterals;
using tonfang::languageEnglish, tonfang::languageGerman;

TEST(LanguageHandlers, EitherItemFromEitherLanguageSwitchesEveryWindowInOrder)
{
    QStringList calls;
    Tprog window;
    // Stand-ins for the dialogs' routines note the code they were given and
    // whether the main window had its texts already.
    const auto dialog = [&](const QString &name) {
        return [&, name] {
            calls << name + ':' + tonfang::languageCode() + ':' + window.datei1->text();
        };
    };
    new LanguageHandlers(window, {dialog(u"Tincuser"_s), dialog(u"Teinhuser"_s)});

    const struct {
        QLatin1String from;
        QAction *Tprog::*item;
        QLatin1String to;
        const char *exit;  // datei1 in the new language
    } cases[] = {
        {languageGerman, &Tprog::einst12, languageEnglish, "Close"},
        {languageEnglish, &Tprog::einst12, languageEnglish, "Close"},
        {languageEnglish, &Tprog::einst11, languageGerman, "Beenden"},
        {languageGerman, &Tprog::einst11, languageGerman, "Beenden"},
    };
    for (const auto &c : cases) {
        tonfang::setLanguageCode(c.from);
        window.Sprache();
        calls.clear();
        (window.*c.item)->trigger();  // as a click: Qt flips the mark, then triggered

        const QString when = c.from + u" -> "_s + c.to;
        const bool german = c.to == languageGerman;
        EXPECT_EQ(tonfang::languageCode(), c.to) << qPrintable(when);
        EXPECT_EQ(window.einst11->isChecked(), german) << qPrintable(when);
        EXPECT_EQ(window.einst12->isChecked(), !german) << qPrintable(when);
        EXPECT_EQ(window.m_soft_de->menuAction()->isVisible(), german) << qPrintable(when);
        const QString after = ':' + c.to + ':' + QString::fromUtf8(c.exit);
        EXPECT_EQ(calls, QStringList({"Tincuser" + after, "Teinhuser" + after}))
            << qPrintable(when);
    }
    tonfang::setLanguageCode(languageGerman);
}

} // namespace
