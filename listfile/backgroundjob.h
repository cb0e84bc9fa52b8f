#pragma once
// Long file work on a worker thread of its own, so that the window keeps
// painting while a large colour list is read or written. Half a second into
// the work a window-modal progress dialog shows its label, a bar and Cancel.
//
// The work runs on the worker and must not touch any widget or the colour
// list; what has to happen on the interface thread it posts there, where it
// runs in the order posted, before run() returns.

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>

class QEventLoop;
class QProgressDialog;
class QWidget;

class BackgroundJob : public QObject {
    Q_OBJECT
public:
    // How long the work may take before the dialog shows, so that a short
    // job shows nothing. Tests that wait for the dialog shorten it; it holds
    // for the jobs run afterwards.
    static constexpr std::chrono::milliseconds defaultDialogDelay{500};
    static void setDialogDelay(std::chrono::milliseconds delay);

    // `window` is the window the dialog blocks; `label` is the dialog's text.
    BackgroundJob(QWidget *window, QString label);
    ~BackgroundJob() override;
    BackgroundJob(const BackgroundJob &) = delete;
    BackgroundJob &operator=(const BackgroundJob &) = delete;

    using Work = std::function<void(BackgroundJob &job)>;
    // Runs `work` on the worker thread and returns once it has ended and all
    // it posted has run; events are handled meanwhile, user input only once
    // the dialog shows. An exception from the work or from a posted function
    // is thrown again here, after the dialog is gone. Interface thread only;
    // a job runs once.
    void run(Work work);

    // From any thread.
    bool cancelRequested() const { return m_cancel.load(std::memory_order_relaxed); }
    void requestCancel();
    // `total` is -1 while unknown: the bar then only shows that work goes on.
    void setProgress(qint64 done, qint64 total);
    // Runs `function` on the interface thread, in the order posted. Once one
    // has thrown, the job is cancelled and later ones are skipped.
    void post(std::function<void()> function);

    // The dialog while it shows (for tests), otherwise null.
    QProgressDialog *dialog() const;

private:
    void showDialog();
    void updateBar();
    void runPosted(const std::function<void()> &function);

    QPointer<QWidget> m_window;
    const QString m_label;
    QPointer<QProgressDialog> m_dialog;
    QEventLoop *m_loop = nullptr;
    bool m_finished = false;
    std::exception_ptr m_error;
    std::atomic<bool> m_cancel = false;
    std::atomic<qint64> m_done = 0;
    std::atomic<qint64> m_total = -1;
};
