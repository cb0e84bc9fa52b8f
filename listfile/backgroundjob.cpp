#include "listfile/backgroundjob.h"

#include "editor/windowlook.h"
#include "listfile/listfiletexts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <thread>
#include <utility>

namespace {

// How often the bar follows the work; often enough to look smooth.
constexpr int barIntervalMs = 100;
constexpr int barSteps = 1000;

// Keeps the dialog up until the work has ended: closing it, or Escape,
// asks to cancel instead.
class CloseToCancel : public QObject {
public:
    CloseToCancel(QObject *parent, BackgroundJob &job) : QObject(parent), m_job(job) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool escape = event->type() == QEvent::KeyPress
                            && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Cancel);
        if (event->type() != QEvent::Close && !escape)
            return QObject::eventFilter(watched, event);
        event->ignore();
        m_job.requestCancel();
        return true;
    }

private:
    BackgroundJob &m_job;
};

// Read and set on the interface thread only.
std::chrono::milliseconds dialogDelay = BackgroundJob::defaultDialogDelay;

} // namespace

void BackgroundJob::setDialogDelay(std::chrono::milliseconds delay)
{
    dialogDelay = delay;
}

BackgroundJob::BackgroundJob(QWidget *window, QString label)
    : m_window(window)
    , m_label(std::move(label))
{
}

BackgroundJob::~BackgroundJob()
{
    delete m_dialog;
}

void BackgroundJob::run(Work work)
{
    std::exception_ptr workError;
    std::thread worker([this, &work, &workError] {
        try {
            work(*this);
        } catch (...) {
            workError = std::current_exception();
        }
        // Queued behind every function the work posted.
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_finished = true;
                if (m_loop)
                    m_loop->quit();
            },
            Qt::QueuedConnection);
    });

    QEventLoop loop;
    m_loop = &loop;
    bool delayPassed = false;
    QTimer::singleShot(dialogDelay, &loop, [&] {
        delayPassed = true;
        loop.quit();
    });
    // A short job ends before anything shows. Until the dialog blocks the
    // window, clicks and keys wait, so no second job can start meanwhile.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!m_finished && delayPassed) {
        showDialog();
        QTimer bar;
        connect(&bar, &QTimer::timeout, this, &BackgroundJob::updateBar);
        bar.start(barIntervalMs);
        loop.exec();
    }
    m_loop = nullptr;

    // The loop also ends when the application quits: the work is then asked
    // to stop, and whatever it posted still runs, in order.
    if (!m_finished)
        requestCancel();
    worker.join();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    delete m_dialog;

    if (!m_error)
        m_error = workError;
    if (m_error)
        std::rethrow_exception(std::exchange(m_error, nullptr));
}

void BackgroundJob::requestCancel()
{
    m_cancel.store(true, std::memory_order_relaxed);
}

void BackgroundJob::setProgress(qint64 done, qint64 total)
{
    m_done.store(done, std::memory_order_relaxed);
    m_total.store(total, std::memory_order_relaxed);
}

void BackgroundJob::post(std::function<void()> function)
{
    QMetaObject::invokeMethod(
        this, [this, function = std::move(function)] { runPosted(function); },
        Qt::QueuedConnection);
}

void BackgroundJob::runPosted(const std::function<void()> &function)
{
    if (m_error)
        return;
    try {
        function();
    } catch (...) {
        // Not through the event loop, whose code is not built to be unwound:
        // kept and thrown again by run().
        m_error = std::current_exception();
        requestCancel();
    }
}

QProgressDialog *BackgroundJob::dialog() const
{
    return m_dialog;
}

void BackgroundJob::showDialog()
{
    auto *dialog = new QProgressDialog(m_window);
    m_dialog = dialog;
    dialog->setObjectName(QStringLiteral("jobProgress"));
    dialog->setWindowModality(Qt::WindowModal);
    // Titled like the program's message boxes, not left for the window
    // manager to fill in.
    dialog->setWindowTitle(tonfang::applicationTitle);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setLabelText(m_label);
    // A bar of its own, moved directly: the dialog's setValue() would handle
    // events from inside the timer that calls it.
    dialog->setBar(new QProgressBar(dialog));
    auto *cancel = new QPushButton(tonfang::cancelText(), dialog);
    cancel->setObjectName(QStringLiteral("cancel"));
    dialog->setCancelButton(cancel);
    // Cancel only asks the work to stop; the dialog stays and keeps the
    // window blocked until it has. The dialog's own hiding on cancel is a
    // connection it makes by name, so it is undone by name.
    QObject::disconnect(dialog, SIGNAL(canceled()), dialog, SLOT(cancel()));
    connect(dialog, &QProgressDialog::canceled, this, [this, cancel] {
        requestCancel();
        cancel->setEnabled(false);
    });
    dialog->installEventFilter(new CloseToCancel(dialog, *this));
    updateBar();
    dialog->open();
}

void BackgroundJob::updateBar()
{
    if (!m_dialog)
        return;
    auto *bar = m_dialog->findChild<QProgressBar *>();
    const qint64 total = m_total.load(std::memory_order_relaxed);
    const qint64 done = m_done.load(std::memory_order_relaxed);
    if (total <= 0) {
        bar->setRange(0, 0);
        return;
    }
    bar->setRange(0, barSteps);
    bar->setValue(int(std::clamp<qint64>(done, 0, total) * barSteps / total));
}
