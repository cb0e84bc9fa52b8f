// The runner of long file work: the dialog only for long work, in the
// program's language, Cancel reaching the work, and errors coming back to the
// interface thread.

#include "picking/backgroundjob.h"

#include "editor/languagecode.h"
#include "picking/pickingtexts.h"
#include "tests/support/errors.h"
#include "tests/support/eventually.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <stdexcept>

namespace {

// Counts the progress dialogs shown anywhere.
class ShownDialogs : public QObject {
public:
    ShownDialogs() { qApp->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog *>(watched))
            ++count;
        return false;
    }
};

class BackgroundJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override { tonfang::setLanguageCode(tonfang::languageGerman); }

    // Once the job's dialog shows, `answer` gets it and the work may go on.
    void whenDialogShows(BackgroundJob &job, std::function<void(QProgressDialog *)> answer)
    {
        QObject::connect(&poll, &QTimer::timeout, [this, &job, answer] {
            if (!job.dialog() || !job.dialog()->isVisible())
                return;
            poll.stop();
            answer(job.dialog());
            shown.set_value();
        });
        poll.start(5);
    }
    // What the work waits on: the dialog shown and answered.
    void waitForDialog() { shown.get_future().wait_for(std::chrono::seconds(5)); }

    QWidget window;
    ShownDialogs dialogs;
    QTimer poll;
    std::promise<void> shown;
};

TEST_F(BackgroundJobTest, AShortJobShowsNothingAndRunsWhatItPostsInOrderHere)
{
    BackgroundJob job(&window, QStringLiteral("label"));
    std::vector<int> order;
    bool here = true;
    job.run([&](BackgroundJob &worker) {
        here = QThread::currentThread() != qApp->thread();
        for (int i = 0; i < 3; ++i)
            worker.post([&, i] {
                order.push_back(i);
                here = here && QThread::currentThread() == qApp->thread();
            });
    });
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(here);
    EXPECT_EQ(dialogs.count, 0);
}

struct DialogCase {
    QLatin1String language;
    QString (*label)();
    const char *labelText;
    const char *cancelText;
    qint64 total; // -1: unknown
    int barMaximum, barValue;
};

TEST_F(BackgroundJobTest, ALongJobShowsTheDialogWhoseCancelReachesTheWork)
{
    const DialogCase cases[] = {
        {tonfang::languageGerman, tonfang::savingColourListText, "Farbliste wird gespeichert …",
         "Abbrechen", 200, 1000, 250},
        {tonfang::languageEnglish, tonfang::openingColourListText, "Opening the colour list …",
         "Cancel", -1, 0, -1},
    };
    for (const DialogCase &c : cases) {
        tonfang::setLanguageCode(c.language);
        BackgroundJob job(&window, c.label());
        QString label, button;
        int barMaximum = -1, barValue = -1;
        bool blocksWindow = false, cancelled = false, stays = false;
        whenDialogShows(job, [&](QProgressDialog *dialog) {
            label = dialog->labelText();
            auto *cancel = dialog->findChild<QPushButton *>();
            button = cancel->text();
            barMaximum = dialog->findChild<QProgressBar *>()->maximum();
            barValue = dialog->findChild<QProgressBar *>()->value();
            blocksWindow = dialog->windowModality() == Qt::WindowModal
                           && dialog->parentWidget() == &window;
            QTest::mouseClick(cancel, Qt::LeftButton);
            QTest::keyClick(dialog, Qt::Key_Escape);
            dialog->close();
            cancelled = job.cancelRequested();
            stays = dialog->isVisible();
        });
        bool workSawCancel = false;
        job.run([&](BackgroundJob &worker) {
            worker.setProgress(50, c.total);
            waitForDialog();
            workSawCancel = worker.cancelRequested();
        });
        EXPECT_EQ(label, QString::fromUtf8(c.labelText));
        EXPECT_EQ(button, QString::fromUtf8(c.cancelText));
        EXPECT_EQ(barMaximum, c.barMaximum);
        EXPECT_EQ(barValue, c.barValue);
        EXPECT_TRUE(blocksWindow);
        EXPECT_TRUE(cancelled && workSawCancel);
        EXPECT_TRUE(stays) << "the dialog must block the window until the work has ended";
        EXPECT_EQ(job.dialog(), nullptr);
        EXPECT_EQ(window.findChild<QProgressDialog *>(), nullptr);
        poll.disconnect();
        shown = {};
    }
    EXPECT_EQ(dialogs.count, 2);
}

TEST_F(BackgroundJobTest, ErrorsComeBackAfterTheDialogIsGoneAndStopTheWork)
{
    // The work's own error, thrown once its dialog showed.
    BackgroundJob longJob(&window, QStringLiteral("label"));
    whenDialogShows(longJob, [](QProgressDialog *) {});
    EXPECT_EQ(errorOf<std::runtime_error>([&] {
                  longJob.run([&](BackgroundJob &) {
                      waitForDialog();
                      throw std::runtime_error("from the work");
                  });
              }),
              "from the work");
    EXPECT_EQ(window.findChild<QProgressDialog *>(), nullptr);

    // A posted function's error cancels the work and skips what follows.
    BackgroundJob job(&window, QStringLiteral("label"));
    std::vector<int> ran;
    bool workSawCancel = false;
    EXPECT_EQ(errorOf<std::logic_error>([&] {
                  job.run([&](BackgroundJob &worker) {
                      worker.post([&] { ran.push_back(1); });
                      worker.post([] { throw std::logic_error("from a posted function"); });
                      worker.post([&] { ran.push_back(3); });
                      const QDeadlineTimer deadline(5000);
                      while (!worker.cancelRequested() && !deadline.hasExpired())
                          std::this_thread::yield();
                      workSawCancel = worker.cancelRequested();
                  });
              }),
              "from a posted function");
    EXPECT_EQ(ran, std::vector<int>{1});
    EXPECT_TRUE(workSawCancel);
}

} // namespace
