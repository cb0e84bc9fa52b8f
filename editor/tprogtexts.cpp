#include "editor/tprogtexts.h"

#include "editor/webhosts.h"

using namespace tonfang;

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
        {"Tprog", QStringLiteral("Tonfang - Quellwerk")},
        {"Button1", QStringLiteral("Tonfang aufnehmen")},
        {"gb_systeme", QStringLiteral("Darstellung in den Farbmodellen")},
        {"gb_tonfang", QStringLiteral("Farbfeld und Tonfang")},
        {"gb_farbliste", QStringLiteral("Farbliste")},
        {"spendenbutton", host(HOST_DE, "/spenden -  Vielen Dank für Ihre Unterstützung!")},
        {"Label1", QStringLiteral("HEX")},
        {"Label3", QStringLiteral("RGB")},
        {"Label8", QStringLiteral("RGB %")},
        {"Label5", QStringLiteral("CMYK")},
        {"Label6", QStringLiteral("CMY")},
        {"label9", QStringLiteral("HSV")},
        {"Label2", QStringLiteral("TColor")},
        {"Label7", QStringLiteral("XYZ")},
        {"Label4", QStringLiteral("xyz")},

        // File menu.
        {"datei", QStringLiteral("Datei")},
        {"windialog", QStringLiteral("Farbe mit Windows Dialog wählen..")},
        {"farblisteloeschen", QStringLiteral("Farbliste löschen")},
        {"savecol", QStringLiteral("Farbliste speichern")},
        {"opencol", QStringLiteral("Farbliste öffnen")},
        {"m_bug", QStringLiteral("Fehler oder Verbesserung melden..")},
        {"datei1", QStringLiteral("Beenden")},

        // Online menu: three topic submenus, then addresses.
        {"Online", QStringLiteral("Online")},
        {"online0", QStringLiteral("Farblexikon")},
        {"online001", host(HOST_DE, "/farblexikon")},
        {"online002", QStringLiteral("Additive Farbmischung")},
        {"online003", QStringLiteral("Autotypische Farbmischung")},
        {"online004", QStringLiteral("CIE-Normalvalenzsystem")},
        {"online005", QStringLiteral("CMY-Farbmodell")},
        {"online006", QStringLiteral("CMYK-Farbmodell")},
        {"online007", QStringLiteral("Dunkelstufe")},
        {"online008", QStringLiteral("Farben")},
        {"online009", QStringLiteral("Farbmischung")},
        {"online010", QStringLiteral("Farbmodell")},
        {"online011", QStringLiteral("Farbraum")},
        {"online012", QStringLiteral("Farbtiefe")},
        {"online013", QStringLiteral("Farbton")},
        {"online014", QStringLiteral("Hellwert")},
        {"online015", QStringLiteral("HSV-Farbmodell")},
        {"online016", QStringLiteral("Licht")},
        {"online017", QStringLiteral("RGB-Farbmodell")},
        {"online018", QStringLiteral("Sättigung")},
        {"online019", QStringLiteral("Spektrale Zusammensetzung")},
        {"online020", QStringLiteral("Subtraktive Farbmischung")},
        {"online021", QStringLiteral("TColor")},
        {"online022", QStringLiteral("Websichere Farben")},
        {"online023", QStringLiteral("Vierfarbdruck")},
        {"online024", QStringLiteral("XYZ (CIE-Normalvalenzsystem)")},
        {"online1", QStringLiteral("Farbmodelle")},
        {"online100", host(HOST_DE, "/farbmodelle")},
        {"online101", QStringLiteral("CMY und CMYK-Farmodell")},
        {"online102", QStringLiteral("HSV-Farbmodell")},
        {"online103", QStringLiteral("RGB-Farbmodell")},
        {"online104", QStringLiteral("TColor")},
        {"online105", QStringLiteral("XYZ-Farbmodell")},
        {"online2", QStringLiteral("Farbtabellen")},
        {"online20", host(HOST_DE, "/farbtabellen")},
        {"online21", QStringLiteral("Hellwert und Sättigung")},
        {"online22", QStringLiteral("Hellwert")},
        {"online23", QStringLiteral("Sättigung")},
        {"online24", QStringLiteral("Grauwerte")},
        {"online25", QStringLiteral("Farbnamen")},
        {"online26", QStringLiteral("Webfarben")},
        {"online3", host(HOST_DE, "/farbnamen")},
        {"online4", host(HOST_DE, "/webfarben")},
        {"online5", host(HOST_DE, "/spenden")},
        {"online6", host(HOST_DE, "/tonfang")},
        {"online7", host(HOST_DE, "/tonfang-hilfe")},
        {"online8", host(HOST_DE, "/tonfang-funktionen")},
        {"online9", host(HOST_DE)},
        {"online10", host(HOST2_DE)},

        // Settings menu. Decimal places and steps read the same in every language.
        {"m_einst", QStringLiteral("Einstellungen")},
        {"menu_nks", QStringLiteral("Nachkommastellen")},
        {"nks0", QStringLiteral("0")},
        {"nks1", QStringLiteral("1")},
        {"nks2", QStringLiteral("2")},
        {"nks3", QStringLiteral("3")},
        {"nks4", QStringLiteral("4")},
        {"nks5", QStringLiteral("5")},
        {"nks6", QStringLiteral("6")},
        {"nks7", QStringLiteral("7")},
        {"nks8", QStringLiteral("8")},
        {"nks9", QStringLiteral("9")},
        {"nks10", QStringLiteral("10")},
        {"nks11", QStringLiteral("11")},
        {"nks12", QStringLiteral("12")},
        {"nks13", QStringLiteral("13")},
        {"m_add", QStringLiteral("Farben zur Farbliste hinzufügen")},
        {"m_add_doppelklick", QStringLiteral("Bei Doppelklick auf das Farbfeld")},
        {"m_add_bewegen", QStringLiteral("Automatisch beim Bewegen der Tonfang")},
        {"m_add_auto", QStringLiteral("Automatisch beim Aufnehmen mit der Tonfang")},
        {"menu_inc", QStringLiteral("Erhöhung")},
        {"inc0", QStringLiteral("0,1")},
        {"inc1", QStringLiteral("0,5")},
        {"inc2", QStringLiteral("1,0")},
        {"inc3", QStringLiteral("2,0")},
        {"inc4", QStringLiteral("5,0")},
        {"inc5", QStringLiteral("10,0")},
        {"inc6", QStringLiteral("20,0")},
        {"inc_benutzer", QStringLiteral("Benutzerdefiniert..")},
        {"einh", QStringLiteral("Zwischenablage mit Einheiten")},
        {"einh_ein", QStringLiteral("Ein")},
        {"einh_aus", QStringLiteral("Aus")},
        {"einh_anpassen", QStringLiteral("Anpassen..")},
        {"einst1", QStringLiteral("Sprache")},
        {"einst11", QStringLiteral("Deutsch")},
        {"einst12", QStringLiteral("English")},

        // Software menus: each holds its own language and is never re-captioned.
        {"m_soft_de", QStringLiteral("Software")},
        {"BriefDescriptionofallApplications1", QStringLiteral("Kurzbeschreibung aller Programme")},
        {"soft_individuell_de",
         host(HOST_DE, "/individuell - Individuelle Softwarelösungen für jeden Zweck")},
        {"soft_anpassung_de",
         host(HOST_DE, "/individuelle-anpassung - Individuelle Anpassung von Software")},
        {"m_soft_en", QStringLiteral("Software")},
        {"anderesoft12", QStringLiteral("Brief Description of all Applications")},
        {"soft_individual_en",
         host(HOST_EN, "/individual - Individual Software Solutions for every Porpuse")},
        {"soft_individualfit_en",
         host(HOST_EN, "/individual-fit - Individual Adaption of existing Software")},

        // Help and information menu.
        {"info", QStringLiteral("Hilfe und Info")},
        {"info1", QStringLiteral("Einführung")},
        {"m_bug_i", QStringLiteral("Fehler oder Verbesserung melden..")},
        {"info2", QStringLiteral("Empfehlungen")},
        {"Software1", QStringLiteral("Software")},
        {"info3", QStringLiteral("Wieso Spenden?")},
        {"info4", QStringLiteral("Lizenz")},
        {"info5", host(HOST_DE, "/tonfang - Homepage dieser Software")},
        {"info9", host(HOST_DE, "/tonfang-hilfe - Einführung in die Software")},
        {"info11", host(HOST_DE, "/tonfang-funktionen - Dokumentation aller Funktionen")},
        {"info6", host(HOST_DE, "/spenden - Wenn Sie diese Anwendung mögen")},
        {"info7", host(HOST_DE)},
        {"info10", host(HOST2_DE, "/webdesign")},
        {"info8", host(HOST2_DE)},
        {"info12", host(HOST_DE, "/individuelle-anpassung - Wir passen diese Software Ihren "
                                 "Bedürfnissen an")},
    };
    return texts;
}
