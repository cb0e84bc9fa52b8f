#pragma once
// The language commands of the Settings menu: "Deutsch" and "English" switch
// the texts of the main window and of the dialogs while the program runs. The
// choice lasts until the program ends; the next start follows the marker
// files again.

#include <QObject>

#include <functional>
#include <vector>

class Tprog;

class LanguageHandlers : public QObject {
    Q_OBJECT
public:
    // A window's routine that assigns its texts in the current language.
    using TextRoutine = std::function<void()>;

    // Connects itself to the two language items; a child of the window. The
    // dialogs' routines run after the main window's, in the order given.
    explicit LanguageHandlers(Tprog &prog, std::vector<TextRoutine> dialogs = {});

    void einst11Click();  // "Deutsch"
    void einst12Click();  // "English"

private:
    void switchTo(QLatin1String code);

    Tprog &m_prog;
    const std::vector<TextRoutine> m_dialogs;
};
