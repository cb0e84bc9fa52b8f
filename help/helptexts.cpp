#include "help/helptexts.h"

#include "editor/webhosts.h"

using namespace Qt::Literals::StringLiterals;

namespace tonfang {

namespace {

// An address on both sites: the German host with its path, the English host with its.
BilingualText address(const char *germanHost, const char *germanPath, const char *englishHost,
                 const char *englishPath)
{
    return {QString::fromLatin1(germanHost) + QString::fromLatin1(germanPath),
            QString::fromLatin1(englishHost) + QString::fromLatin1(englishPath)};
}
BilingualText mainSite(const char *germanPath, const char *englishPath)
{
    return address(HOST_DE, germanPath, HOST_EN, englishPath);
}

} // namespace

const HelpWindowText &helpWindowText()
{
    using enum HelpBlock;
    static const HelpWindowText text = {
        {u"Tonfang - Quellwerk"_s, u"Tonfang - Quellwerk"_s},
        {u"<< zurück"_s, u"<< back"_s},
        {u"weiter >>"_s, u"next >>"_s},
        {{
            {"tide1", "tien1", {u"Hilfe"_s, u"Help"_s}, {
                {Heading, {u"Hilfe"_s, u"Help"_s}},
                {Paragraph, {u"Tonfang nimmt Farben von jeder Stelle des Bildschirms auf und "
                             u"rechnet sie in HEX, RGB, CMYK, HSV, CIE XYZ und weitere "
                             u"Farbmodelle um."_s,
                             u"Tonfang picks colors from anywhere on the screen and converts "
                             u"them to HEX, RGB, CMYK, HSV, CIE XYZ and more."_s}},
                {Paragraph, {u"Drücken Sie auf „Tonfang aufnehmen“, halten Sie die Maustaste "
                             u"gedrückt und fahren Sie über den Bildschirm: Die Farbe unter dem "
                             u"Zeiger erscheint sofort im Farbfeld und in allen Farbmodellen. "
                             u"Beim Loslassen kommt sie in die Farbliste, wo Sie Farben "
                             u"verwalten und wieder abrufen."_s,
                             u"Press the mouse button on “Tonfang”, hold it down and move over "
                             u"the screen: the color under the pointer appears at once in the "
                             u"color field and in every color model. When you let go, it joins "
                             u"the color list, where you manage and recall your colors."_s}},
                {Paragraph, {u"Beim Ziehen zeigt die Taste Z eine Lupe; die Pfeiltasten bewegen "
                             u"den Zeiger um genau ein Pixel (mit Umschalt um zehn)."_s,
                             u"While you drag, the Z key shows a magnifier and the arrow keys "
                             u"move the pointer by exactly one pixel (with Shift by ten)."_s}},
                {Paragraph, {u"Jeden Wert ändern Sie mit Tastatur, Mausrad oder den Pfeilen "
                             u"daneben; die Schaltfläche rechts davon kopiert ihn."_s,
                             u"Change any value with the keyboard, the mouse wheel or the arrows "
                             u"beside it; the button on its right copies it."_s}},
                {Paragraph, {u"Alle weiteren Funktionen erklärt die Webseite des Programms:"_s,
                             u"All further functions are explained on the program's website:"_s}},
                {Address, mainSite("/tonfang", "/tonfang")},
                {Heading, {u"Ihre Anliegen"_s, u"Your Converns"_s}},
                {Paragraph, {u"Haben Sie einen Vorschlag, eine Frage oder Kritik? Schreiben "
                             u"Sie uns über das Supportformular auf unserer Webseite, wir "
                             u"freuen uns über jede Rückmeldung."_s,
                             u"Do you have a suggestion, a question or criticism? Write to us "
                             u"through the support form on our website; we welcome every "
                             u"reply."_s}},
                {Address, mainSite("/support", "/support")},
            }},
            {"tide2", "tien2", {u"Empfehlungen"_s, u"Regards"_s}, {
                {Heading, {u"Webdesign"_s, u"Webdesign"_s}},
                {Paragraph, {u"Sie brauchen eine neue Webseite oder möchten Ihre bestehende "
                             u"auffrischen? Wir gestalten klare, schnelle Webseiten, die auf "
                             u"jedem Gerät gut aussehen."_s,
                             u"Do you need a new website or want to refresh the one you have? "
                             u"We design clear, fast websites that look good on every "
                             u"device."_s}},
                {Address, address(HOST2_DE, "/webdesign", HOST2_EN, "/webdesign")},
                {Heading, {u"Individuelle Software"_s, u"Individual Software"_s}},
                {Paragraph, {u"Kein Programm passt genau zu Ihren Abläufen? Wir entwickeln "
                             u"Software nach Maß, vom kleinen Werkzeug bis zur vollständigen "
                             u"Anwendung."_s,
                             u"No program fits the way you work? We develop software made to "
                             u"measure, from a small tool to a complete application."_s}},
                {Address, mainSite("/individuell", "/individual")},
                {Heading, {u"Mehr Service für Sie"_s, u"More Service for You"_s}},
                {Paragraph, {u"Farbtabellen, ein Farblexikon und vieles mehr rund um Farbe "
                             u"und Gestaltung finden Sie auf unserer zweiten Webseite."_s,
                             u"Color charts, a color lexicon and much more about color and "
                             u"design are waiting on our second website."_s}},
                {Address, address(HOST2_DE, "", HOST2_EN, "")},
            }},
            {"tidesoft", "tiensoft", {u"Software"_s, u"Software"_s}, {
                {Overview, {}},
            }},
            {"tide3", "tien3", {u"Wieso spenden?"_s, u"Why Donate?"_s}, {
                // The explanation is part of the picture.
                {Picture, {u":/help/donate_de.jpg"_s, u":/help/donate_en.jpg"_s}},
                {AddressAtRight, mainSite("/spenden", "/donate")},
            }},
            {"tide4", "tien4", {u"Lizenz"_s, u"Licence"_s}, {
                {Heading, {u"Lizenz"_s, u"Licence"_s}},
                {Paragraph, {u"Tonfang darf kostenlos heruntergeladen, benutzt und "
                             u"weitergegeben werden, solange es unverändert und vollständig "
                             u"bleibt."_s,
                             u"Tonfang may be downloaded, used and passed on free of charge as "
                             u"long as it stays unchanged and complete."_s}},
                {Paragraph, {u"Sie bezahlen nur, wenn Ihnen das Programm nützlich war: mit "
                             u"einer Spende in selbst gewählter Höhe auf unserer "
                             u"Spendenseite."_s,
                             u"You only pay if the program was useful to you: with a donation "
                             u"of your choice on our donation page."_s}},
                {Paragraph, {u"Die vollständigen und verbindlichen Lizenzbedingungen finden "
                             u"Sie auf unserer Lizenzseite. Die Benutzung erfolgt auf eigene "
                             u"Gefahr."_s,
                             u"The complete and binding licence terms are on our licence page. "
                             u"Use is at your own risk."_s}},
                {Notice, {u"© 2008–2025 Quellwerk. Alle Rechte vorbehalten."_s,
                          u"© 2008–2025 Quellwerk. All rights reserved."_s}},
                {Address, mainSite("/lizenz", "/licence")},
                {Address, mainSite("/spenden", "/donate")},
            }},
        }},
    };
    return text;
}

const ReportWindowText &reportWindowText()
{
    using enum HelpBlock;
    static const ReportWindowText text = {
        {u"Fehler oder Verbesserung melden"_s, u"Report Bug or Improvement"_s},
        {u"OK"_s, u"OK"_s},
        {
            {Greeting, {u"Sehr geehrter Anwender,"_s, u"Dear User,"_s}},
            {Paragraph, {u"wir verbessern unsere Programme regelmäßig. Wenn Ihnen ein Fehler "
                         u"auffällt oder Sie sich eine Verbesserung oder Erweiterung wünschen, "
                         u"melden Sie es uns bitte auf der folgenden Webseite:"_s,
                         u"we improve our programs regularly. If you find a bug or would like "
                         u"an improvement or an extension, please tell us on the following "
                         u"web page:"_s}},
            {Address, mainSite("/support", "/support")},
            {Paragraph, {u"Wenn Sie eine Antwort wünschen, geben Sie dort freiwillig Ihre "
                         u"E-Mail-Adresse an."_s,
                         u"If you would like an answer, you may add your e-mail address "
                         u"there; this is voluntary."_s}},
            {Paragraph, {u"Sie suchen eine Softwarelösung, die genau auf Ihre Aufgaben "
                         u"zugeschnitten ist? Wir entwickeln sie für Sie. Mehr dazu auf der "
                         u"folgenden Webseite:"_s,
                         u"Are you looking for software made to fit your tasks exactly? We "
                         u"develop it for you. Find out more on the following web page:"_s}},
            {Address, mainSite("/individuell", "/individual")},
        },
    };
    return text;
}

const OverviewText &overviewText()
{
    static const OverviewText text = {
        {u"Software"_s, u"Software"_s},
        {u"Hier finden Sie weitere kostenlose Programme von Quellwerk. Ein Klick auf ein "
         u"Symbol öffnet die Webseite des Programms; ruht der Mauszeiger auf einem Symbol, "
         u"zeigt er ihre Adresse."_s,
         u"Here you find more free programs by Quellwerk. A click on an icon opens the "
         u"program's web page; rest the pointer on an icon to see its address."_s},
        mainSite("/software", "/software"),
    };
    return text;
}

} // namespace tonfang
