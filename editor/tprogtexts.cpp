#include "editor/tprogtexts.h"

#include "editor/webhosts.h"

using namespace tonfang;
using namespace Qt::Literals::StringLiterals;

namespace tonfang {

namespace {

QString host(const char *name, const char *path = "")
{
    return QString::fromLatin1(name) + QString::fromUtf8(path);
}

} // namespace

const std::vector<TprogText> &tprogTexts()
{
    static const std::vector<TprogText> texts = {
        // Window and controls. The model labels are the same in every language.
        {"Tprog", u"Tonfang - Quellwerk"_s, u"Tonfang - Quellwerk"_s},
        {"Button1", u"Tonfang aufnehmen"_s, u"Tonfang"_s},
        // Broken into short lines: a tooltip is as wide as its longest line.
        {"Button1",
         u"Maustaste hier drücken und zur\n"
         u"gewünschten Farbe ziehen.\n"
         u"Beim Ziehen blendet Z eine Lupe ein,\n"
         u"die Pfeiltasten bewegen den Zeiger\n"
         u"um ein Pixel (mit Umschalt um zehn)."_s,
         u"Press here and drag to the color you\n"
         u"want. While dragging, Z shows a\n"
         u"magnifier and the arrow keys move the\n"
         u"pointer by one pixel (with Shift by ten)."_s,
         TextRole::ToolTip},
        {"gb_systeme", u"Darstellung in den Farbmodellen"_s,
         u"Representation in the Color Models"_s},
        {"gb_tonfang", u"Farbfeld und Tonfang"_s, u"Color and Tonfang"_s},
        {"gb_farbliste", u"Farbliste"_s, u"Color List"_s},
        {"spendenbutton", host(HOST_DE, "/spenden -  Vielen Dank für Ihre Unterstützung!"),
         host(HOST_EN, "/donate - Thank you for your support!")},
        {"Label1", u"HEX"_s, u"HEX"_s},
        {"Label3", u"RGB"_s, u"RGB"_s},
        {"Label8", u"RGB %"_s, u"RGB %"_s},
        {"Label5", u"CMYK"_s, u"CMYK"_s},
        {"Label6", u"CMY"_s, u"CMY"_s},
        {"label9", u"HSV"_s, u"HSV"_s},
        {"Label2", u"TColor"_s, u"TColor"_s},
        {"Label7", u"XYZ"_s, u"XYZ"_s},
        {"Label4", u"xyz"_s, u"xyz"_s},

        // The copy buttons show only a picture: their names and tooltips say
        // which model they copy.
        {"copy_hex", u"HEX kopieren"_s, u"Copy HEX"_s, TextRole::AccessibleName},
        {"copy_rgb", u"RGB kopieren"_s, u"Copy RGB"_s, TextRole::AccessibleName},
        {"copy_prozent", u"RGB % kopieren"_s, u"Copy RGB %"_s, TextRole::AccessibleName},
        {"copy_cmyk", u"CMYK kopieren"_s, u"Copy CMYK"_s, TextRole::AccessibleName},
        {"copy_cmy", u"CMY kopieren"_s, u"Copy CMY"_s, TextRole::AccessibleName},
        {"copy_hsv", u"HSV kopieren"_s, u"Copy HSV"_s, TextRole::AccessibleName},
        {"copy_tcolor", u"TColor kopieren"_s, u"Copy TColor"_s, TextRole::AccessibleName},
        {"copy_xyz", u"XYZ kopieren"_s, u"Copy XYZ"_s, TextRole::AccessibleName},
        {"SpeedButton1", u"xyz kopieren"_s, u"Copy xyz"_s, TextRole::AccessibleName},
        {"copy_hex", u"HEX kopieren"_s, u"Copy HEX"_s, TextRole::ToolTip},
        {"copy_rgb", u"RGB kopieren"_s, u"Copy RGB"_s, TextRole::ToolTip},
        {"copy_prozent", u"RGB % kopieren"_s, u"Copy RGB %"_s, TextRole::ToolTip},
        {"copy_cmyk", u"CMYK kopieren"_s, u"Copy CMYK"_s, TextRole::ToolTip},
        {"copy_cmy", u"CMY kopieren"_s, u"Copy CMY"_s, TextRole::ToolTip},
        {"copy_hsv", u"HSV kopieren"_s, u"Copy HSV"_s, TextRole::ToolTip},
        {"copy_tcolor", u"TColor kopieren"_s, u"Copy TColor"_s, TextRole::ToolTip},
        {"copy_xyz", u"XYZ kopieren"_s, u"Copy XYZ"_s, TextRole::ToolTip},
        {"SpeedButton1", u"xyz kopieren"_s, u"Copy xyz"_s, TextRole::ToolTip},

        // File menu.
        {"datei", u"Datei"_s, u"File"_s},
        {"windialog", u"Farbe mit Windows Dialog wählen.."_s,
         u"Use Windows Dialog to choose a Color.."_s},
        {"farblisteloeschen", u"Farbliste löschen"_s, u"Clear Colorlist"_s},
        {"savecol", u"Farbliste speichern"_s, u"Save Colorlist"_s},
        {"opencol", u"Farbliste öffnen"_s, u"Open Colorlist"_s},
        {"m_bug", u"Fehler oder Verbesserung melden.."_s, u"Report Bug or Improvement.."_s},
        {"datei1", u"Beenden"_s, u"Close"_s},

        // Online menu: three topic submenus, then addresses.
        {"Online", u"Online"_s, u"Online"_s},
        {"online0", u"Farblexikon"_s, u"Color Lexicon"_s},
        {"online001", host(HOST_DE, "/farblexikon"), host(HOST_EN, "/colorlexicon")},
        {"online002", u"Additive Farbmischung"_s, u"Additive Mixture of Color"_s},
        {"online003", u"Autotypische Farbmischung"_s, u"Autotypical Mixture of Color"_s},
        {"online004", u"CIE-Normalvalenzsystem"_s, u"Blackness Value"_s},
        {"online005", u"CMY-Farbmodell"_s, u"CIE Norm Valent System"_s},
        {"online006", u"CMYK-Farbmodell"_s, u"CMY Farbmodell"_s},
        {"online007", u"Dunkelstufe"_s, u"CMYK Farbmodell"_s},
        {"online008", u"Farben"_s, u"Colors"_s},
        {"online009", u"Farbmischung"_s, u"Color Depth"_s},
        {"online010", u"Farbmodell"_s, u"Color Mixture"_s},
        {"online011", u"Farbraum"_s, u"Color Model"_s},
        {"online012", u"Farbtiefe"_s, u"Color Space"_s},
        {"online013", u"Farbton"_s, u"Hue"_s},
        {"online014", u"Hellwert"_s, u"HSV Color Model"_s},
        {"online015", u"HSV-Farbmodell"_s, u"Light"_s},
        {"online016", u"Licht"_s, u"Lightness"_s},
        {"online017", u"RGB-Farbmodell"_s, u"Process-Color Printing"_s},
        {"online018", u"Sättigung"_s, u"RGB Color Model"_s},
        {"online019", u"Spektrale Zusammensetzung"_s, u"Saturation"_s},
        {"online020", u"Subtraktive Farbmischung"_s, u"Spectral Composition"_s},
        {"online021", u"TColor"_s, u"Subtractive Mixture of Color"_s},
        {"online022", u"Websichere Farben"_s, u"TColor"_s},
        {"online023", u"Vierfarbdruck"_s, u"Web Colors"_s},
        {"online024", u"XYZ (CIE-Normalvalenzsystem)"_s, u"XYZ (CIE Norm Valent System)"_s},
        {"online1", u"Farbmodelle"_s, u"Color Models"_s},
        {"online100", host(HOST_DE, "/farbmodelle"), host(HOST_EN, "/colormodels")},
        {"online101", u"CMY und CMYK-Farmodell"_s, u"CMY and CMYK-Color Model"_s},
        {"online102", u"HSV-Farbmodell"_s, u"HSV-Color Model"_s},
        {"online103", u"RGB-Farbmodell"_s, u"RGB-Color Model"_s},
        {"online104", u"TColor"_s, u"TColor"_s},
        {"online105", u"XYZ-Farbmodell"_s, u"XYZ-Color Model"_s},
        {"online2", u"Farbtabellen"_s, u"Color Charts"_s},
        {"online20", host(HOST_DE, "/farbtabellen"), host(HOST_EN, "/colorcharts")},
        {"online21", u"Hellwert und Sättigung"_s, u"Lightness and Saturation"_s},
        {"online22", u"Hellwert"_s, u"Lightness"_s},
        {"online23", u"Sättigung"_s, u"Saturation"_s},
        {"online24", u"Grauwerte"_s, u"Shades of Gray"_s},
        {"online25", u"Farbnamen"_s, u"Color Names"_s},
        {"online26", u"Webfarben"_s, u"Web Colors"_s},
        {"online3", host(HOST_DE, "/farbnamen"), host(HOST_EN, "/colornames")},
        {"online4", host(HOST_DE, "/webfarben"), host(HOST_EN, "/webcolors")},
        {"online5", host(HOST_DE, "/spenden"), host(HOST_EN, "/donate")},
        {"online6", host(HOST_DE, "/tonfang"), host(HOST_EN, "/tonfang")},
        {"online7", host(HOST_DE, "/tonfang-hilfe"), host(HOST_EN, "/tonfang-help")},
        {"online8", host(HOST_DE, "/tonfang-funktionen"), host(HOST_EN, "/tonfang-functions")},
        {"online9", host(HOST_DE), host(HOST_EN)},
        {"online10", host(HOST2_DE), host(HOST2_EN)},

        // Settings menu. Decimal places and steps read the same in every language.
        {"m_einst", u"Einstellungen"_s, u"Settings"_s},
        {"menu_nks", u"Nachkommastellen"_s, u"Decimal Places"_s},
        {"nks0", u"0"_s, u"0"_s},
        {"nks1", u"1"_s, u"1"_s},
        {"nks2", u"2"_s, u"2"_s},
        {"nks3", u"3"_s, u"3"_s},
        {"nks4", u"4"_s, u"4"_s},
        {"nks5", u"5"_s, u"5"_s},
        {"nks6", u"6"_s, u"6"_s},
        {"nks7", u"7"_s, u"7"_s},
        {"nks8", u"8"_s, u"8"_s},
        {"nks9", u"9"_s, u"9"_s},
        {"nks10", u"10"_s, u"10"_s},
        {"nks11", u"11"_s, u"11"_s},
        {"nks12", u"12"_s, u"12"_s},
        {"nks13", u"13"_s, u"13"_s},
        {"m_add", u"Farben zur Farbliste hinzufügen"_s, u"Add Color to Colorlist"_s},
        {"m_add_doppelklick", u"Bei Doppelklick auf das Farbfeld"_s,
         u"By Double-Clicking on the Colorfield"_s},
        {"m_add_bewegen", u"Automatisch beim Bewegen der Tonfang"_s,
         u"Automatically when moving the Tonfang"_s},
        {"m_add_auto", u"Automatisch beim Aufnehmen mit der Tonfang"_s,
         u"Automatically when grabbing with the Tonfang"_s},
        {"menu_inc", u"Erhöhung"_s, u"Increment"_s},
        {"inc0", u"0,1"_s, u"0,1"_s},
        {"inc1", u"0,5"_s, u"0,5"_s},
        {"inc2", u"1,0"_s, u"1,0"_s},
        {"inc3", u"2,0"_s, u"2,0"_s},
        {"inc4", u"5,0"_s, u"5,0"_s},
        {"inc5", u"10,0"_s, u"10,0"_s},
        {"inc6", u"20,0"_s, u"20,0"_s},
        {"inc_benutzer", u"Benutzerdefiniert.."_s, u"Custom.."_s},
        {"einh", u"Zwischenablage mit Einheiten"_s, u"Copy to Clipboard with Units"_s},
        {"einh_ein", u"Ein"_s, u"On"_s},
        {"einh_aus", u"Aus"_s, u"Off"_s},
        {"einh_anpassen", u"Anpassen.."_s, u"Customize.."_s},
        {"einst1", u"Sprache"_s, u"Language"_s},
        {"einst11", u"Deutsch"_s, u"Deutsch"_s},
        {"einst12", u"English"_s, u"English"_s},

        // Software menus: each holds its own language and is never re-captioned.
        {"m_soft_de", u"Software"_s, u"Software"_s},
        {"BriefDescriptionofallApplications1", u"Kurzbeschreibung aller Programme"_s, u"Kurzbeschreibung aller Programme"_s},
        {"soft_individuell_de", host(HOST_DE, "/individuell - Individuelle Softwarelösungen für jeden Zweck"), host(HOST_DE, "/individuell - Individuelle Softwarelösungen für jeden Zweck")},
        {"soft_anpassung_de", host(HOST_DE, "/individuelle-anpassung - Individuelle Anpassung von Software"), host(HOST_DE, "/individuelle-anpassung - Individuelle Anpassung von Software")},
        {"m_soft_en", u"Software"_s, u"Software"_s},
        {"anderesoft12", u"Brief Description of all Applications"_s, u"Brief Description of all Applications"_s},
        {"soft_individual_en", host(HOST_EN, "/individual - Individual Software Solutions for every Porpuse"), host(HOST_EN, "/individual - Individual Software Solutions for every Porpuse")},
        {"soft_individualfit_en", host(HOST_EN, "/individual-fit - Individual Adaption of existing Software"), host(HOST_EN, "/individual-fit - Individual Adaption of existing Software")},

        // Help and information menu.
        {"info", u"Hilfe und Info"_s, u"Help and Information"_s},
        {"info1", u"Einführung"_s, u"Introduction"_s},
        {"m_bug_i", u"Fehler oder Verbesserung melden.."_s, u"Report Bug or Improvement.."_s},
        {"info2", u"Empfehlungen"_s, u"Regards"_s},
        {"Software1", u"Software"_s, u"Software"_s},
        {"info3", u"Wieso Spenden?"_s, u"Why Donate?"_s},
        {"info4", u"Lizenz"_s, u"Licence"_s},
        {"info5", host(HOST_DE, "/tonfang - Homepage dieser Software"),
         host(HOST_EN, "/tonfang - Website of this Software")},
        {"info9", host(HOST_DE, "/tonfang-hilfe - Einführung in die Software"),
         host(HOST_EN, "/tonfang-help - Introduction to this Software")},
        {"info11", host(HOST_DE, "/tonfang-funktionen - Dokumentation aller Funktionen"),
         host(HOST_EN, "/tonfang-functions - Documentation of all Functions")},
        {"info6", host(HOST_DE, "/spenden - Wenn Sie diese Anwendung mögen"),
         host(HOST_EN, "/donate - If you like this Application")},
        {"info7", host(HOST_DE), host(HOST_EN)},
        {"info10", host(HOST2_DE, "/webdesign"), host(HOST2_EN, "/webdesign")},
        {"info8", host(HOST2_DE), host(HOST2_EN)},
        {"info12", host(HOST_DE, "/individuelle-anpassung - Wir passen diese Software Ihren "
                                 "Bedürfnissen an"),
         host(HOST_EN, "/individual-fit - We adapt this software to your needs")},

        // What a screen reader announces for the model fields, which show only
        // numbers, and for the arrows of their spin controls.
        {"e_hex", u"HEX-Wert"_s, u"HEX value"_s, TextRole::AccessibleName},
        {"e_red", u"Rot"_s, u"Red"_s, TextRole::AccessibleName},
        {"e_green", u"Grün"_s, u"Green"_s, TextRole::AccessibleName},
        {"e_blue", u"Blau"_s, u"Blue"_s, TextRole::AccessibleName},
        {"e_pr", u"Rot in Prozent"_s, u"Red percent"_s, TextRole::AccessibleName},
        {"e_pg", u"Grün in Prozent"_s, u"Green percent"_s, TextRole::AccessibleName},
        {"e_pb", u"Blau in Prozent"_s, u"Blue percent"_s, TextRole::AccessibleName},
        {"e_c", u"CMYK Cyan"_s, u"CMYK cyan"_s, TextRole::AccessibleName},
        {"e_m", u"CMYK Magenta"_s, u"CMYK magenta"_s, TextRole::AccessibleName},
        {"e_y", u"CMYK Gelb"_s, u"CMYK yellow"_s, TextRole::AccessibleName},
        {"e_k", u"CMYK Schwarz"_s, u"CMYK black"_s, TextRole::AccessibleName},
        {"e_cyan", u"CMY Cyan"_s, u"CMY cyan"_s, TextRole::AccessibleName},
        {"e_magenta", u"CMY Magenta"_s, u"CMY magenta"_s, TextRole::AccessibleName},
        {"e_yellow", u"CMY Gelb"_s, u"CMY yellow"_s, TextRole::AccessibleName},
        {"e_hsvH", u"HSV Farbton"_s, u"HSV hue"_s, TextRole::AccessibleName},
        {"e_hsvS", u"HSV Sättigung"_s, u"HSV saturation"_s, TextRole::AccessibleName},
        {"e_hsvV", u"HSV Hellwert"_s, u"HSV value"_s, TextRole::AccessibleName},
        {"e_tcolor", u"TColor-Farbnummer"_s, u"TColor color number"_s, TextRole::AccessibleName},
        {"e_x", u"Normfarbwert X"_s, u"Tristimulus X"_s, TextRole::AccessibleName},
        {"e_yy", u"Normfarbwert Y"_s, u"Tristimulus Y"_s, TextRole::AccessibleName},
        {"e_z", u"Normfarbwert Z"_s, u"Tristimulus Z"_s, TextRole::AccessibleName},
        {"e_kx", u"Farbwertanteil x"_s, u"Chromaticity x"_s, TextRole::AccessibleName},
        {"e_ky", u"Farbwertanteil y"_s, u"Chromaticity y"_s, TextRole::AccessibleName},
        {"e_kz", u"Farbwertanteil z"_s, u"Chromaticity z"_s, TextRole::AccessibleName},
        {"up", u"%1 erhöhen"_s, u"Increase %1"_s, TextRole::SpinArrowName},
        {"down", u"%1 verringern"_s, u"Decrease %1"_s, TextRole::SpinArrowName},
    };
    return texts;
}

} // namespace tonfang
