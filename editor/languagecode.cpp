#include "editor/languagecode.h"

#include <QLabel>
#include <QPointer>

namespace tonfang {

namespace {

QPointer<QLabel> &attachedStore()
{
    static QPointer<QLabel> label;
    return label;
}

QString &detachedStore()
{
    static QString code = languageGerman;
    return code;
}

} // namespace

void attachLanguageCodeStore(QLabel *label)
{
    attachedStore() = label;
}

QString languageCode()
{
    if (const QLabel *label = attachedStore())
        return label->text();
    return detachedStore();
}

void setLanguageCode(const QString &code)
{
    if (QLabel *label = attachedStore())
        label->setText(code);
    else
        detachedStore() = code;
}

} // namespace tonfang
