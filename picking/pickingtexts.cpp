#include "picking/pickingtexts.h"

#include "editor/languagecode.h"

namespace {

struct Text {
    const char *german;
    const char *english;
};

// German and English side by side.
constexpr Text portalColourPickerMissing{
    "Das Aufnehmen einer Farbe vom Bildschirm braucht auf diesem Desktop die Farbauswahl "
    "des Desktop-Portals, und die ist nicht verfügbar. Sie kommt meist mit den Paketen "
    "xdg-desktop-portal und xdg-desktop-portal-gnome (GNOME), xdg-desktop-portal-kde (KDE) oder "
    "xdg-desktop-portal-wlr mit grim und slurp (sway und andere wlroots-Desktops).",
    "Picking a color from the screen on this desktop needs the color picker of the desktop "
    "portal, which is not available. It usually comes with the packages xdg-desktop-portal "
    "and xdg-desktop-portal-gnome (GNOME), xdg-desktop-portal-kde (KDE) or xdg-desktop-portal-wlr "
    "with grim and slurp (sway and other wlroots desktops).",
};

// One line each for standard error when a pick from the command line cannot
// be made.
constexpr Text grabRefused{
    "tonfang: Maus oder Tastatur sind von einem anderen Programm belegt; es wurde keine Farbe "
    "aufgenommen.",
    "tonfang: the pointer or the keyboard is held by another program; no color was picked.",
};
constexpr Text portalMissingLine{
    "tonfang: Farben aufnehmen geht auf diesem Desktop nur mit der Farbauswahl des "
    "Desktop-Portals, und die ist nicht verfügbar (Pakete xdg-desktop-portal und für GNOME "
    "xdg-desktop-portal-gnome, für KDE xdg-desktop-portal-kde, für sway und andere "
    "wlroots-Desktops xdg-desktop-portal-wlr mit grim und slurp).",
    "tonfang: picking a color on this desktop needs the color picker of the desktop portal, "
    "which is not available (packages xdg-desktop-portal and, for GNOME, "
    "xdg-desktop-portal-gnome, for KDE xdg-desktop-portal-kde, for sway and other wlroots "
    "desktops xdg-desktop-portal-wlr with grim and slurp).",
};
constexpr Text portalFailed{
    "tonfang: die Farbauswahl des Desktop-Portals hat keine Farbe geliefert.",
    "tonfang: the color picker of the desktop portal gave no color.",
};
constexpr Text noScreen{
    "tonfang: Farben aufnehmen braucht eine X11- oder Wayland-Anzeige.",
    "tonfang: picking a color needs an X11 or Wayland display.",
};
constexpr Text openingColourList{"Farbliste wird geöffnet …", "Opening the colour list …"};
constexpr Text savingColourList{"Farbliste wird gespeichert …", "Saving the colour list …"};
constexpr Text cancel{"Abbrechen", "Cancel"};

constexpr Text colourListCapacity{
    "Die Farbliste kann höchstens 100.000.000 Einträge aufnehmen.",
    "The colour list can hold at most 100,000,000 entries.",
};

QString inLanguage(const Text &text, const QString &languageCode)
{
    return QString::fromUtf8(languageCode == tonfang::languageGerman ? text.german : text.english);
}

QString inLanguage(const Text &text)
{
    return inLanguage(text, tonfang::languageCode());
}

} // namespace

namespace tonfang {

QString portalColourPickerMissingText()
{
    return inLanguage(portalColourPickerMissing);
}

QString openingColourListText()
{
    return inLanguage(openingColourList);
}

QString savingColourListText()
{
    return inLanguage(savingColourList);
}

QString cancelText()
{
    return inLanguage(cancel);
}

QString grabRefusedLine()
{
    return inLanguage(grabRefused);
}

QString portalColourPickerMissingLine()
{
    return inLanguage(portalMissingLine);
}

QString portalPickFailedLine()
{
    return inLanguage(portalFailed);
}

QString noScreenToPickFromLine()
{
    return inLanguage(noScreen);
}

QString colourListCapacityText(const QString &languageCode)
{
    return inLanguage(colourListCapacity, languageCode);
}

} // namespace tonfang
