#pragma once
// The main window's copy buttons and the settings submenu "Zwischenablage mit
// Einheiten": each copy button puts its model's values on the clipboard,
// blank-separated or, with units on, wrapped in the unit affixes of the
// affixes dialog.

#include "clipboard/copytext.h"

#include <QObject>
#include <QPointer>

class Teinhuser;
class Tprog;

class CopyHandlers : public QObject {
    Q_OBJECT
public:
    // Connects itself to the window's copy buttons and menu items; a child of
    // the window. The affixes are read from `units` at every copy.
    CopyHandlers(Tprog &prog, Teinhuser &units);

    void copy_hexClick();
    void copy_rgbClick();
    void copy_prozentClick();
    void copy_cmykClick();
    void copy_cmyClick();
    void copy_hsvClick();
    void copy_tcolorClick();
    void copy_xyzClick();
    // The chromaticity row, as xyz or as Yxy by the dialog's choice.
    void SpeedButton1Click();

    void einh_einClick();
    void einh_ausClick();
    // Opens the affixes dialog, or brings it to the front when it is open,
    // remembering the texts a cancel returns to.
    void einh_anpassenClick();

private:
    void copy(tonfang::CopyRow row);

    Tprog &m_prog;
    // Destroyed before the main window at the end of the run.
    QPointer<Teinhuser> m_units;
};
