#include "app/application.h"

#include <QMessageBox>

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
    QMessageBox::critical(activeWindow(), applicationDisplayName(), text);
}

void TonfangApplication::setErrorSink(ErrorSink sink)
{
    errorSink() = std::move(sink);
}
