#pragma once
// The colour list file's own texts, in the language of the moment.

#include "editor/languagecode.h"

#include <QString>

namespace tonfang {

// The progress dialog of a long open or save of the colour list file.
QString openingColourListText();
QString savingColourListText();
QString cancelText();

// Shown when opening a colour list file would take the list past the most
// entries it holds; nothing was added.
QString colourListCapacityText(const QString &languageCode = tonfang::languageCode());

} // namespace tonfang
