// The runner of long file work: a dialog only for long work, in the program's
// language, Cancel reaching the work, errors coming back to this thread.

#include "listfile/backgroundjob.h"

#include "editor/languagecode.h"
#include "listfile/listfiletexts.h"
#include "tests/support/errors.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <stdexcept>
#include <thread>

namespace {

class BackgroundJobTest : public ::testing::Test {
protected:
    void SetUp() override { window.show(); }
    void TearDown() override
    {
        tonfang::setLanguageCode(tonfang::languageGerman);
        BackgroundJob::setDialogDelay(BackgroundJob::defaultDialogDelay);
    }

    // Once the job's dialog shows, `answer` gets it; then the work may go on.
    void whenDialogShows(BackgroundJob &job, std::function<void(QProgressDialog *)> answer)
    {
        QObject::connect(&poll, &QTimer::timeout, [this, &job, answer] {
            if (job.dialog() && job.dialog()->isVisible()) {
                poll.stop();
                answer(job.dialog());
                shown.set_value();
            }
        });
        poll.start(5);
    }
    void waitForDialog() { shown.get_future().wait_for(std::chrono::seconds(5)); }

    QWidget window;
    QTimer poll;
    std::promise<void> shown;
};

TEST_F(BackgroundJobTest, AShortJobShowsNothingAndRunsWhatItPostsInOrderHere)
{
    BackgroundJob job(&window, QStringLiteral("label"));
    std::vector<int> order;
    bool here = true, dialog = false;
    job.run([&](BackgroundJob &worker) {
        here = QThread::currentThread() != qApp->thread();
        for (int i = 0; i < 3; ++i)
            worker.post([&, i] {
                order.push_back(i);
                here = here && QThread::currentThread() == qApp->thread();
                dialog = dialog || window.findChild<QProgressDialog *>();
            });
    });
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(here);
    EXPECT_FALSE(dialog);
}

TEST_F(BackgroundJobTest, ALongJobShowsTheDialogWhoseCancelReachesTheWorkAndErrorsComeBack)
{
    const struct {
        QLatin1String language;
        QString (*label)();
        qint64 total; // -1: unknown
        const char *expected; // label, button, the bar's maximum and value
        const char *error;    // the work throws once cancelled
    } cases[] = {
        {tonfang::languageGerman, tonfang::savingColourListText, 200,
         "Farbliste wird gespeichert …|Abbrechen|1000|250", "<none>"},
        {tonfang::languageEnglish, tonfang::openingColourListText, -1,
         "Opening the color list …|Cancel|0|-1", "from the work"},
    };
    BackgroundJob::setDialogDelay(std::chrono::milliseconds(0));
    for (const auto &c : cases) {
        tonfang::setLanguageCode(c.language);
        BackgroundJob job(&window, c.label());
        QString seen;
        bool blocksWindow = false, stays = false, workSawCancel = false;
        whenDialogShows(job, [&](QProgressDialog *dialog) {
            auto *cancel = dialog->findChild<QPushButton *>();
            const auto *bar = dialog->findChild<QProgressBar *>();
            seen = QStringLiteral("%1|%2|%3|%4").arg(dialog->labelText(), cancel->text())
                       .arg(bar->maximum()).arg(bar->value());
            blocksWindow = dialog->windowModality() == Qt::WindowModal
                           && dialog->parentWidget() == &window;
            QTest::mouseClick(cancel, Qt::LeftButton);
            QTest::keyClick(dialog, Qt::Key_Escape);
            dialog->close();
            stays = job.cancelRequested() && dialog->isVisible();
        });
        EXPECT_EQ(errorOf([&] {
                      job.run([&](BackgroundJob &worker) {
                          worker.setProgress(50, c.total);
                          waitForDialog();
                          workSawCancel = worker.cancelRequested();
                          if (std::strcmp(c.error, "<none>") != 0)
                              throw std::runtime_error(c.error);
                      });
                  }),
                  c.error);
        EXPECT_EQ(seen, QString::fromUtf8(c.expected));
        EXPECT_TRUE(blocksWindow && workSawCancel);
        EXPECT_TRUE(stays) << "the dialog blocks the window until the work has ended";
        EXPECT_EQ(window.findChild<QProgressDialog *>(), nullptr);
        poll.disconnect();
        shown = {};
    }
}

TEST_F(BackgroundJobTest, APostedFunctionsErrorCancelsTheWorkAndSkipsWhatFollows)
{
    BackgroundJob job(&window, QStringLiteral("label"));
    std::vector<int> ran;
    bool workSawCancel = false;
    EXPECT_EQ(errorOf([&] {
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
