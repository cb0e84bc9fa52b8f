#include "app/commandline.h"

#include "app/tstart.h"
#include "editor/languagecode.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

using namespace Qt::Literals::StringLiterals;

namespace tonfang {

namespace {

// Every text of the command line, German and English, each by its name.
struct CommandLineTexts {
    BilingualText usage, unknownOption, strayArgument, missingValue, takesNoValue, givenTwice,
        badFormat, badPlaces, needsPick, noDisplay, wlCopyMissing, clipboardFailed;
};

const CommandLineTexts &texts()
{
    static const CommandLineTexts texts{
        .usage = {u"Aufruf: tonfang [--pick [--format F] [--places N] [--copy] [--magnifier]]\n"
                  u"        tonfang --help | --version\n"
                  u"Ohne diese Optionen öffnet Tonfang sein Fenster.\n"
                  u"  --pick         eine Farbe vom Bildschirm aufnehmen und ausgeben\n"
                  u"  --format F     die Form der Ausgabe (Vorgabe hex), eine von:\n"
                  u"%1"
                  u"  --places N     Nachkommastellen, 0 bis 13 (Vorgabe 2)\n"
                  u"  --copy         den Text auch in die Zwischenablage legen\n"
                  u"  --magnifier    mit eingeblendeter Lupe beginnen\n"
                  u"  --help         diese Hilfe zeigen\n"
                  u"  --version      die Version zeigen\n"
                  u"Beim Aufnehmen nimmt ein Klick, die Eingabe- oder die Leertaste die Farbe\n"
                  u"auf; Esc oder ein Rechtsklick bricht ab, Z zeigt die Lupe, die Pfeiltasten\n"
                  u"bewegen den Zeiger um ein Pixel (mit Umschalt um zehn).\n"
                  u"Rückgabewert: 0 aufgenommen, 1 abgebrochen, 2 falscher Aufruf,\n"
                  u"3 Aufnehmen nicht möglich.\n"_s,
                  u"Usage: tonfang [--pick [--format F] [--places N] [--copy] [--magnifier]]\n"
                  u"       tonfang --help | --version\n"
                  u"Without these options Tonfang opens its window.\n"
                  u"  --pick         pick one color from the screen and print it\n"
                  u"  --format F     the form to print (default hex), one of:\n"
                  u"%1"
                  u"  --places N     decimal places, 0 to 13 (default 2)\n"
                  u"  --copy         put the text on the clipboard too\n"
                  u"  --magnifier    start with the magnifier shown\n"
                  u"  --help         show this help\n"
                  u"  --version      show the version\n"
                  u"While picking, a click, Enter or Space picks the color; Esc or a right\n"
                  u"click cancels, Z shows the magnifier, the arrow keys move the pointer by\n"
                  u"one pixel (with Shift by ten).\n"
                  u"Exit status: 0 picked, 1 cancelled, 2 wrong usage, 3 picking impossible.\n"_s},
        .unknownOption = {u"tonfang: unbekannte Option „%1“"_s, u"tonfang: unknown option '%1'"_s},
        .strayArgument = {u"tonfang: überzähliges Argument „%1“"_s,
                          u"tonfang: unexpected argument '%1'"_s},
        .missingValue = {u"tonfang: %1 braucht einen Wert"_s, u"tonfang: %1 needs a value"_s},
        .takesNoValue = {u"tonfang: %1 nimmt keinen Wert"_s, u"tonfang: %1 takes no value"_s},
        .givenTwice = {u"tonfang: %1 ist doppelt angegeben"_s, u"tonfang: %1 is given twice"_s},
        .badFormat = {u"tonfang: unbekanntes Format „%1“"_s, u"tonfang: unknown format '%1'"_s},
        .badPlaces = {u"tonfang: ungültige Zahl von Nachkommastellen „%1“ (0 bis 13)"_s,
                      u"tonfang: invalid number of decimal places '%1' (0 to 13)"_s},
        .needsPick = {u"tonfang: %1 geht nur zusammen mit --pick"_s, u"tonfang: %1 needs --pick"_s},
        .noDisplay = {u"Tonfang braucht eine grafische Oberfläche: keine X11- oder Wayland-Anzeige "
                      u"erreichbar (DISPLAY, WAYLAND_DISPLAY)."_s,
                      u"Tonfang needs a graphical desktop: no X11 or Wayland display could be "
                      u"reached (DISPLAY, WAYLAND_DISPLAY)."_s},
        .wlCopyMissing = {u"tonfang: Kopieren in die Zwischenablage braucht unter Wayland wl-copy "
                          u"(Paket wl-clipboard)"_s,
                          u"tonfang: copying to the clipboard on Wayland needs wl-copy "
                          u"(package wl-clipboard)"_s},
        .clipboardFailed = {u"tonfang: die Farbe konnte nicht in die Zwischenablage gelegt "
                            u"werden"_s,
                            u"tonfang: the color could not be put on the clipboard"_s},
    };
    return texts;
}

// Our options. Those that take a value take it as the next argument or
// after "=".
struct OwnOption {
    std::string_view name;
    bool takesValue;
};
constexpr std::array<OwnOption, 7> ownOptions{{
    {"--pick", false},
    {"--format", true},
    {"--places", true},
    {"--copy", false},
    {"--magnifier", false},
    {"--help", false},
    {"--version", false},
}};

const OwnOption *ownOption(std::string_view argument)
{
    const std::string_view name = argument.substr(0, argument.find('='));
    for (const OwnOption &option : ownOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

// The options QGuiApplication, QApplication and the X11 platform take, written
// with one dash or two. Those in the first list take a value, as the next
// argument or after "=".
constexpr std::array<std::string_view, 16> qtOptionsWithValue{
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "session", "display", "geometry", "name", "title", "icon", "visual", "style",
    "stylesheet"};
constexpr std::array<std::string_view, 7> qtFlags{
    "reverse", "widgetcount", "nograb", "dograb", "sync", "testability", "qmljsdebugger"};

enum class QtOption { None, Flag, WithValue };

QtOption qtOption(std::string_view argument)
{
    if (argument.size() < 2 || argument[0] != '-')
        return QtOption::None;
    argument.remove_prefix(argument.substr(0, 2) == "--" ? 2 : 1);
    const std::size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    for (std::string_view option : qtOptionsWithValue)
        if (option == name)
            return equals == std::string_view::npos ? QtOption::WithValue : QtOption::Flag;
    for (std::string_view option : qtFlags)
        if (option == name)
            return QtOption::Flag;
    return QtOption::None;
}

// The format names, a few to a line, indented under the option.
QString formatList()
{
    QString list;
    QString line;
    for (std::string_view name : colourFormatNames()) {
        const QString item = QString::fromUtf8(name.data(), qsizetype(name.size()));
        if (!line.isEmpty() && line.size() + item.size() > 58) {
            list += QLatin1String("                 ") + line + QLatin1String(",\n");
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(", ")) + item;
    }
    return list + QLatin1String("                 ") + line + QLatin1Char('\n');
}

std::optional<int> placesValue(const QString &value)
{
    // Digits only: no sign, no blanks, no decimal point.
    for (QChar c : value)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    bool isNumber = false;
    const int places = value.toInt(&isNumber);
    return isNumber && places <= 13 ? std::optional(places) : std::nullopt;
}

} // namespace

bool holdsOwnOption(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-' && argv[i][1] == '-' && ownOption(argv[i]))
            return true;
    return false;
}

CommandLine parseCommandLine(const QStringList &arguments, const QString &language)
{
    CommandLine line;
    const bool holdsOwn = std::any_of(arguments.begin(), arguments.end(), [](const QString &argument) {
        return argument.startsWith(QLatin1String("--")) && ownOption(argument.toStdString());
    });
    if (!holdsOwn)
        return line;
    const auto fail = [&](const BilingualText &which, const QString &what) {
        line.action = CommandLine::Action::UsageError;
        line.error = which.inLanguage(language).arg(what);
        return line;
    };

    QStringList given;  // our options, in the order given
    bool endOfOptions = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const QByteArray bytes = argument.toUtf8();
        if (endOfOptions)
            return fail(texts().strayArgument, argument);
        if (argument == QLatin1String("--")) {
            endOfOptions = true;
            continue;
        }
        if (const OwnOption *option = argument.startsWith(QLatin1String("--"))
                                          ? ownOption(bytes.toStdString())
                                          : nullptr) {
            const QString name = QString::fromUtf8(option->name.data(), qsizetype(option->name.size()));
            const qsizetype equals = argument.indexOf(QLatin1Char('='));
            QString value;
            if (!option->takesValue && equals >= 0)
                return fail(texts().takesNoValue, name);
            if (option->takesValue) {
                if (equals >= 0)
                    value = argument.mid(equals + 1);
                else if (i + 1 < arguments.size())
                    value = arguments[++i];
                else
                    return fail(texts().missingValue, name);
            }
            if (given.contains(name))
                return fail(texts().givenTwice, name);
            given.append(name);
            if (name == QLatin1String("--format")) {
                const auto format = parseColourFormat(value.toStdString());
                if (!format)
                    return fail(texts().badFormat, value);
                line.format = *format;
            } else if (name == QLatin1String("--places")) {
                const auto places = placesValue(value);
                if (!places)
                    return fail(texts().badPlaces, value);
                line.places = *places;
            }
            continue;
        }
        switch (qtOption(bytes.toStdString())) {
        case QtOption::WithValue:
            line.qtArguments.append(argument);
            if (i + 1 < arguments.size())
                line.qtArguments.append(arguments[++i]);
            continue;
        case QtOption::Flag:
            line.qtArguments.append(argument);
            continue;
        case QtOption::None:
            break;
        }
        if (argument.size() > 1 && argument.startsWith(QLatin1Char('-')))
            return fail(texts().unknownOption, argument);
        return fail(texts().strayArgument, argument);
    }

    const auto has = [&](const char *name) { return given.contains(QLatin1String(name)); };
    line.copy = has("--copy");
    line.magnifier = has("--magnifier");
    if (has("--help")) {
        line.action = CommandLine::Action::Help;
    } else if (has("--version")) {
        line.action = CommandLine::Action::Version;
    } else if (has("--pick")) {
        line.action = CommandLine::Action::Pick;
    } else if (!given.isEmpty()) {
        return fail(texts().needsPick, given.first());
    }
    return line;
}

QString usageText(const QString &language)
{
    return texts().usage.inLanguage(language).arg(formatList());
}

QString versionText()
{
    return QStringLiteral("tonfang " TONFANG_VERSION "\n");
}

QString noDisplayText(const QString &language)
{
    return texts().noDisplay.inLanguage(language);
}

QString wlCopyMissingText(const QString &language)
{
    return texts().wlCopyMissing.inLanguage(language);
}

QString clipboardFailedText(const QString &language)
{
    return texts().clipboardFailed.inLanguage(language);
}

QString commandLineLanguage()
{
    return languageCodeFromMarkers(QDir::currentPath());
}

} // namespace tonfang
