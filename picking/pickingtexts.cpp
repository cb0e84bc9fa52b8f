#include "picking/pickingtexts.h"

#include "editor/languagecode.h"

using namespace Qt::Literals::StringLiterals;
using tonfang::BilingualText;

namespace {

// German and English side by side.
const BilingualText portalColourPickerMissing{
    u"Das Aufnehmen einer Farbe vom Bildschirm braucht auf diesem Desktop die Farbauswahl "
    u"des Desktop-Portals, und die ist nicht verfügbar. Sie kommt meist mit den Paketen "
    u"xdg-desktop-portal und xdg-desktop-portal-gnome (GNOME), xdg-desktop-portal-kde (KDE) oder "
    u"xdg-desktop-portal-wlr mit grim und slurp (sway und andere wlroots-Desktops)."_s,
    u"Picking a color from the screen on this desktop needs the color picker of the desktop "
    u"portal, which is not available. It usually comes with the packages xdg-desktop-portal "
    u"and xdg-desktop-portal-gnome (GNOME), xdg-desktop-portal-kde (KDE) or xdg-desktop-portal-wlr "
    u"with grim and slurp (sway and other wlroots desktops)."_s,
};

// One line each for standard error when a pick from the command line cannot
// be made.
const BilingualText grabRefused{
    u"tonfang: Maus oder Tastatur sind von einem anderen Programm belegt; es wurde keine Farbe "
    u"aufgenommen."_s,
    u"tonfang: the pointer or the keyboard is held by another program; no color was picked."_s,
};
const BilingualText portalMissingLine{
    u"tonfang: Farben aufnehmen geht auf diesem Desktop nur mit der Farbauswahl des "
    u"Desktop-Portals, und die ist nicht verfügbar (Pakete xdg-desktop-portal und für GNOME "
    u"xdg-desktop-portal-gnome, für KDE xdg-desktop-portal-kde, für sway und andere "
    u"wlroots-Desktops xdg-desktop-portal-wlr mit grim und slurp)."_s,
    u"tonfang: picking a color on this desktop needs the color picker of the desktop portal, "
    u"which is not available (packages xdg-desktop-portal and, for GNOME, "
    u"xdg-desktop-portal-gnome, for KDE xdg-desktop-portal-kde, for sway and other wlroots "
    u"desktops xdg-desktop-portal-wlr with grim and slurp)."_s,
};
const BilingualText portalFailed{
    u"tonfang: die Farbauswahl des Desktop-Portals hat keine Farbe geliefert."_s,
    u"tonfang: the color picker of the desktop portal gave no color."_s,
};
const BilingualText noScreen{
    u"tonfang: Farben aufnehmen braucht eine X11- oder Wayland-Anzeige."_s,
    u"tonfang: picking a color needs an X11 or Wayland display."_s,
};
const BilingualText displayBroke{
    u"tonfang: die Verbindung zum Bildschirm ist abgebrochen; keine Farbe aufgenommen."_s,
    u"tonfang: the connection to the display broke; no color was picked."_s,
};
const BilingualText compositorLost{
    u"tonfang: die Verbindung zum Wayland-Compositor ist abgebrochen; es wurde keine Farbe "
    u"aufgenommen."_s,
    u"tonfang: the connection to the Wayland compositor was lost; no color was picked."_s,
};
const BilingualText nativePickUnavailable{
    u"tonfang: TONFANG_WAYLAND_PICKER=native, aber der Compositor bietet keine "
    u"Bildschirmaufnahme (wlr-screencopy 3) mit Overlay-Ebenen (wlr-layer-shell); es wird die "
    u"Farbauswahl des Desktop-Portals gefragt."_s,
    u"tonfang: TONFANG_WAYLAND_PICKER=native, but the compositor offers no screen capture "
    u"(wlr-screencopy 3) with overlay layers (wlr-layer-shell); asking the color picker of the "
    u"desktop portal instead."_s,
};
const BilingualText unknownWaylandPicker{
    u"tonfang: TONFANG_WAYLAND_PICKER=„%1“ ist unbekannt (portal oder native) und wird "
    u"übergangen."_s,
    u"tonfang: TONFANG_WAYLAND_PICKER=\"%1\" is unknown (portal or native) and is ignored."_s,
};

} // namespace

namespace tonfang {

QString portalColourPickerMissingText()
{
    return portalColourPickerMissing.inLanguage();
}

QString grabRefusedLine()
{
    return grabRefused.inLanguage();
}

QString portalColourPickerMissingLine()
{
    return portalMissingLine.inLanguage();
}

QString portalPickFailedLine()
{
    return portalFailed.inLanguage();
}

QString noScreenToPickFromLine()
{
    return noScreen.inLanguage();
}

QString displayBrokeLine()
{
    return displayBroke.inLanguage();
}

QString compositorLostLine()
{
    return compositorLost.inLanguage();
}

QString nativePickUnavailableLine()
{
    return nativePickUnavailable.inLanguage();
}

QString unknownWaylandPickerLine(const QString &value)
{
    return unknownWaylandPicker.inLanguage().arg(value);
}

} // namespace tonfang
