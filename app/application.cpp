#include "app/application.h"

#include "editor/pluginfreestyle.h"
#include "editor/scrollareaaccessible.h"
#include "editor/windowlook.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <exception>

namespace {
TonfangApplication::ErrorSink &errorSink()
{
    static TonfangApplication::ErrorSink sink;
    return sink;
}
} // namespace

TonfangApplication::TonfangApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    loadQtTranslations();
    tonfang::installScrollAreaAccessible();
    tonfang::installPluginFreeStyle();
}

void TonfangApplication::loadQtTranslations()
{
    // Qt's own dialogs (colour, file, message box buttons) speak the desktop's
    // language, whatever language the program's own texts are in.
    auto *translator = new QTranslator(this);
    if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    else
        delete translator;
}

bool TonfangApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        showError(QString::fromUtf8(error.what()));
    } catch (...) {
        showError(QStringLiteral("Unknown error"));
    }
    return true;
}

void TonfangApplication::showError(const QString &text)
{
    if (errorSink()) {
        errorSink()(text);
        return;
    }
    QMessageBox::critical(activeWindow(), tonfang::applicationTitle, text);
}

void TonfangApplication::setErrorSink(ErrorSink sink)
{
    errorSink() = std::move(sink);
}
