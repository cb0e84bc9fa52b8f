#include "app/languagehandlers.h"

#include "editor/languagecode.h"
#include "editor/tprog.h"

#include <QAction>

LanguageHandlers::LanguageHandlers(Tprog &prog, std::vector<TextRoutine> dialogs)
    : QObject(&prog)
    , m_prog(prog)
    , m_dialogs(std::move(dialogs))
{
    // The items are checkable, so Qt has already flipped the mark of the chosen
    // one when triggered arrives; Sprache then sets both marks from the code,
    // which also puts the mark back on when the active language is chosen again.
    connect(prog.einst11, &QAction::triggered, this, &LanguageHandlers::einst11Click);
    connect(prog.einst12, &QAction::triggered, this, &LanguageHandlers::einst12Click);
}

void LanguageHandlers::einst11Click()
{
    switchTo(tonfang::languageGerman);
}

void LanguageHandlers::einst12Click()
{
    switchTo(tonfang::languageEnglish);
}

void LanguageHandlers::switchTo(QLatin1String code)
{
    tonfang::setLanguageCode(code);
    m_prog.Sprache();
    for (const TextRoutine &dialogSprache : m_dialogs)
        dialogSprache();
}
