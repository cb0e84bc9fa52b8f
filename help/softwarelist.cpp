#include "help/softwarelist.h"

#include "editor/png.h"
#include "editor/webhosts.h"

#include <QGuiApplication>

using namespace Qt::Literals::StringLiterals;

namespace tonfang {

const std::array<SoftwareProgram, softwareCount> &softwarePrograms()
{
    static const std::array<SoftwareProgram, softwareCount> programs = {{
        {"pixelmass", "pixelruler", u"Pixelmaß"_s, u"Pixel Ruler"_s,
         u"Abstände am Bildschirm pixelgenau messen"_s,
         u"Measure Distances on the Screen to the Pixel"_s,
         u"Misst Abstände, Winkel und Flächen auf dem Bildschirm pixelgenau, mit Lupe und "
         u"frei wählbarem Nullpunkt."_s,
         u"Measures distances, angles and areas on the screen to the pixel, with a "
         u"magnifier and a movable zero point."_s},
        {"bildschirmlupe", "screenmagnifier", u"Bildschirmlupe"_s, u"Screen Magnifier"_s,
         u"Bildschirmausschnitte vergrößern"_s, u"Magnify any Part of the Screen"_s,
         u"Vergrößert den Bereich um den Mauszeiger bis zum Sechzehnfachen, auf Wunsch mit "
         u"Raster und Fadenkreuz."_s,
         u"Magnifies the area around the pointer up to sixteen times, with an optional grid "
         u"and crosshair."_s},
        {"farbpalette", "colorpalette", u"Farbpalette"_s, u"Color Palette"_s,
         u"Farbpaletten zusammenstellen und austauschen"_s,
         u"Compose and Share Color Palettes"_s,
         u"Stellt Farbpaletten für Webseiten und Drucksachen zusammen und speichert sie als "
         u"CSS-, GIMP- oder Textdatei."_s,
         u"Composes color palettes for websites and print and saves them as CSS, GIMP or "
         u"text files."_s},
        {"farbverlauf", "gradientmaker", u"Farbverlauf"_s, u"Gradient Maker"_s,
         u"Farbverläufe entwerfen und exportieren"_s, u"Design and Export Color Gradients"_s,
         u"Entwirft lineare und kreisförmige Farbverläufe mit beliebig vielen Stufen und gibt "
         u"sie als Bild oder CSS aus."_s,
         u"Designs linear and radial gradients with any number of stops and exports them as "
         u"a picture or as CSS."_s},
        {"kontrastpruefer", "contrastchecker", u"Kontrastprüfer"_s, u"Contrast Checker"_s,
         u"Lesbarkeit von Text- und Hintergrundfarben prüfen"_s,
         u"Check the Readability of Text and Background Colors"_s,
         u"Berechnet das Kontrastverhältnis zweier Farben und zeigt, ob ein Text die "
         u"Empfehlungen für barrierefreie Webseiten erfüllt."_s,
         u"Computes the contrast ratio of two colors and shows whether a text meets the "
         u"guidelines for accessible websites."_s},
        {"bildverkleinerer", "imageshrinker", u"Bildverkleinerer"_s, u"Image Shrinker"_s,
         u"Fotos in einem Rutsch verkleinern"_s, u"Shrink many Photos at once"_s,
         u"Verkleinert ganze Ordner voller Fotos auf die gewünschte Größe, zum Beispiel für "
         u"E-Mails oder Webseiten."_s,
         u"Shrinks whole folders of photos to the size you need, for example for e-mail or "
         u"the web."_s},
        {"bildschirmfoto", "screenshot", u"Bildschirmfoto"_s, u"Screenshot"_s,
         u"Bildschirmfotos aufnehmen und beschriften"_s, u"Take and Annotate Screenshots"_s,
         u"Nimmt den ganzen Bildschirm, ein Fenster oder einen Ausschnitt auf und beschriftet "
         u"ihn mit Pfeilen und Text."_s,
         u"Captures the whole screen, a window or a region and annotates it with arrows and "
         u"text."_s},
        {"tonfang", "tonfang", u"Tonfang"_s, u"Tonfang"_s,
         u"Farben vom Bildschirm aufnehmen und umrechnen"_s,
         u"Pick Colors from the Screen and convert them"_s,
         u"Nimmt die Farbe jedes Bildpunkts auf dem Bildschirm auf und zeigt sie in neun "
         u"Farbmodellen, von HEX bis CIE XYZ."_s,
         u"Picks the color of any pixel on the screen and shows it in nine color models, "
         u"from HEX to CIE XYZ."_s},
        {"zeichentabelle", "charactermap", u"Zeichentabelle"_s, u"Character Map"_s,
         u"Sonderzeichen finden und einfügen"_s, u"Find and Insert Special Characters"_s,
         u"Findet Sonderzeichen, Umlaute und Symbole nach ihrem Namen und kopiert sie mit "
         u"einem Klick in die Zwischenablage."_s,
         u"Finds special characters, accents and symbols by name and copies them to the "
         u"clipboard with one click."_s},
        {"textvergleich", "textcompare", u"Textvergleich"_s, u"Text Compare"_s,
         u"Unterschiede zwischen zwei Texten zeigen"_s,
         u"Show the Differences between two Texts"_s,
         u"Stellt zwei Texte oder Dateien nebeneinander und hebt jede geänderte, neue und "
         u"gelöschte Zeile farbig hervor."_s,
         u"Puts two texts or files side by side and highlights every changed, added and "
         u"deleted line."_s},
        {"dateiumbenenner", "filerenamer", u"Dateiumbenenner"_s, u"File Renamer"_s,
         u"Viele Dateien auf einmal umbenennen"_s, u"Rename many Files at once"_s,
         u"Benennt viele Dateien nach einem Muster um, mit Zählern, Datum und einer Vorschau "
         u"vor dem ersten Schritt."_s,
         u"Renames many files by a pattern, with counters, dates and a preview before "
         u"anything changes."_s},
        {"notizzettel", "stickynotes", u"Notizzettel"_s, u"Sticky Notes"_s,
         u"Notizen auf den Bildschirm heften"_s, u"Pin Notes to your Screen"_s,
         u"Heftet farbige Notizen auf den Bildschirm, die beim nächsten Start wieder an "
         u"ihrem Platz sind."_s,
         u"Pins colored notes to your screen that are back in their place the next time "
         u"you start."_s},
        {"zeiterfassung", "timetracker", u"Zeiterfassung"_s, u"Time Tracker"_s,
         u"Arbeitszeiten für Projekte erfassen"_s, u"Track the Time spent on Projects"_s,
         u"Erfasst Arbeitszeiten mit einem Klick je Projekt und fasst sie zu Tages-, "
         u"Wochen- oder Monatsberichten zusammen."_s,
         u"Records working time with one click per project and sums it up in daily, weekly "
         u"or monthly reports."_s},
        {"passwortgenerator", "passwordgenerator", u"Passwortgenerator"_s,
         u"Password Generator"_s, u"Sichere Passwörter erzeugen"_s,
         u"Generate Secure Passwords"_s,
         u"Erzeugt sichere Passwörter in frei wählbarer Länge und zeigt, wie schwer sie zu "
         u"erraten sind."_s,
         u"Generates secure passwords of any length and shows how hard they are to guess."_s},
        {"symbolmacher", "iconmaker", u"Symbolmacher"_s, u"Icon Maker"_s,
         u"Programmsymbole Punkt für Punkt zeichnen"_s, u"Draw Icons Pixel by Pixel"_s,
         u"Zeichnet Programmsymbole und Favicons Punkt für Punkt und speichert sie in allen "
         u"üblichen Größen."_s,
         u"Draws program icons and favicons pixel by pixel and saves them in all the usual "
         u"sizes."_s},
        {"ordnergroesse", "foldersize", u"Ordnergröße"_s, u"Folder Size"_s,
         u"Zeigen, was den Speicherplatz belegt"_s, u"See what fills your Disk"_s,
         u"Zeigt als Kreisdiagramm, welche Ordner und Dateien den meisten Speicherplatz "
         u"belegen."_s,
         u"Shows in a pie chart which folders and files take up the most disk space."_s},
    }};
    return programs;
}

const std::array<int, softwareCount> &softwareRowOrder()
{
    // The colour and screen tools first, Tonfang among them.
    static const std::array<int, softwareCount> rows = {2, 3, 4, 1, tonfangIndex, 0, 6, 14,
                                                        5, 8, 9, 11, 10, 15, 12, 13};
    return rows;
}

QString softwareTarget(const SoftwareProgram &program, bool german)
{
    return QString::fromLatin1(german ? HOST_DE : HOST_EN) + QLatin1Char('/')
           + QString::fromLatin1(german ? program.germanPage : program.englishPage);
}

QString softwareMenuCaption(const SoftwareProgram &program, bool german)
{
    return softwareTarget(program, german) + QLatin1String(" - ")
           + (german ? program.germanSummary : program.englishSummary);
}

namespace {

// One strip holds all 16 pictures of a size side by side.
QList<QPixmap> cutStrip(const QString &file, int side, qreal ratio)
{
    // Read by libpng: Qt's reader would load every image format plugin.
    const QPixmap strip = QPixmap::fromImage(loadPng(file));
    QList<QPixmap> pictures;
    for (int index = 0; index < softwareCount; ++index) {
        QPixmap picture = strip.copy(index * side, 0, side, side);
        picture.setDevicePixelRatio(ratio);
        pictures.append(picture);
    }
    return pictures;
}

} // namespace

QList<QPixmap> softwarePictures(int size)
{
    // The strips come in 16, 32 and 64 pixels; a doubled screen takes the one
    // twice the size.
    const bool doubled = qGuiApp && qGuiApp->devicePixelRatio() > 1.0 && size <= 32;
    const int side = doubled ? 2 * size : size;
    return cutStrip(QStringLiteral(":/help/software-%1.png").arg(side), side, doubled ? 2.0 : 1.0);
}

} // namespace tonfang
