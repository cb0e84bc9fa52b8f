#pragma once
// The language code, "de" or "en", by which every window chooses its texts.
// Its one store is the caption of the splash window's hidden label; the
// start-up points this accessor at that label, so that every reader takes the
// code of the moment and a switch from the menu reaches the next click
// everywhere. Until a label is attached (a window tested on its own) the code
// is kept here, starting as "de".

#include <QString>

class QLabel;

namespace tonfang {

inline constexpr QLatin1String languageGerman("de");
inline constexpr QLatin1String languageEnglish("en");

// Makes the label's caption the store of the code; null detaches it.
void attachLanguageCodeStore(QLabel *label);

QString languageCode();
void setLanguageCode(const QString &code);

inline bool languageIsGerman() { return languageCode() == languageGerman; }
inline bool languageIsEnglish() { return languageCode() == languageEnglish; }

// One text in both languages; every window's table of texts is made of these.
struct BilingualText {
    QString german;
    QString english;

    const QString &in(bool german_) const { return german_ ? german : english; }
    // German unless the code is English, as at start-up.
    const QString &inLanguage(const QString &code = languageCode()) const
    {
        return code == languageEnglish ? english : german;
    }
};

} // namespace tonfang
