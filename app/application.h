#pragma once
// The application object. It loads Qt's translations for the desktop's
// language before any window is made. It is also the one place where an
// exception that escapes an event handler ends up: the handler stops, whatever
// it had done stays done, and the user sees the error's text in a message box.

#include <QApplication>

#include <functional>

class TonfangApplication : public QApplication {
    Q_OBJECT
public:
    TonfangApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows an error's text the way every escaped error is shown.
    static void showError(const QString &text);

    // Tests replace the message box to read what the user would be told.
    using ErrorSink = std::function<void(const QString &)>;
    static void setErrorSink(ErrorSink sink);

private:
    void loadQtTranslations();
};
