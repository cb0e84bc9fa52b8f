#include "listfile/listfiletexts.h"

#include "editor/colourlist.h"
#include "editor/languagecode.h"

#include <QLocale>

using namespace Qt::Literals::StringLiterals;
using tonfang::BilingualText;

namespace {

// German and English side by side.
const BilingualText openingColourList{u"Farbliste wird geöffnet …"_s,
                                      u"Opening the color list …"_s};
const BilingualText savingColourList{u"Farbliste wird gespeichert …"_s,
                                     u"Saving the color list …"_s};
const BilingualText cancel{u"Abbrechen"_s, u"Cancel"_s};

// %1: the capacity, grouped as each language writes its numbers.
const BilingualText colourListCapacityMessage{
    u"Die Farbliste kann höchstens %1 Einträge aufnehmen."_s,
    u"The color list can hold at most %1 entries."_s,
};

} // namespace

namespace tonfang {

QString openingColourListText()
{
    return openingColourList.inLanguage();
}

QString savingColourListText()
{
    return savingColourList.inLanguage();
}

QString cancelText()
{
    return cancel.inLanguage();
}

QString colourListCapacityText(const QString &languageCode)
{
    const auto capacity = qulonglong(colourListCapacity);
    const BilingualText number{QLocale(QLocale::German).toString(capacity),
                               QLocale(QLocale::English).toString(capacity)};
    return colourListCapacityMessage.inLanguage(languageCode).arg(number.inLanguage(languageCode));
}

} // namespace tonfang
