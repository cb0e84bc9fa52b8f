#pragma once
// The command line. Started without any of Tonfang's own options the program
// ignores its arguments and opens its windows; with one of them it is read
// strictly, before any application object exists, so that usage errors,
// --help and --version work without a display.

#include "core/colourformats.h"

#include <QString>
#include <QStringList>

namespace tonfang {

struct CommandLine {
    enum class Action {
        Windows,  // none of our options: the normal start
        Pick,
        Help,
        Version,
        UsageError,
    };
    Action action = Action::Windows;
    ColourFormat format = ColourFormat::Hex;
    int places = 2;
    bool copy = false;
    bool magnifier = false;
    // Qt's own options with their values, in their order, for the
    // application object (and for the clipboard server it may start).
    QStringList qtArguments;
    // When Action::UsageError: the line that names the fault.
    QString error;
};

// Reads the arguments after the program name. `language` is "de" or "en",
// the language of the error line.
CommandLine parseCommandLine(const QStringList &arguments, const QString &language);

// True when the arguments hold one of our options, so that the command line
// is read at all. Cheap: the normal start pays only this scan.
bool holdsOwnOption(int argc, char **argv);

// The texts the command prints, in the given language.
QString usageText(const QString &language);
QString versionText();
QString noDisplayText(const QString &language);
QString wlCopyMissingText(const QString &language);
QString clipboardFailedText(const QString &language);

// The language of the marker files in the working folder.
QString commandLineLanguage();

} // namespace tonfang
