// The splash window: the language marker files, its looks, the tick sequence
// and clicks. Every test runs in a working folder of its own.
#include "app/tstart.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

namespace {

// Counts how often a window is shown: the main window must appear once only.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

class SplashTest : public WorkingFolderTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(WorkingFolderTest::SetUp());
        prog.installEventFilter(&counter);
    }

    // A splash shown the way the message loop shows it, with the main window.
    std::unique_ptr<Tstart> shownSplash()
    {
        auto start = std::make_unique<Tstart>();
        start->setMainWindow(&prog);
        start->show();
        return start;
    }

    QWidget prog;
    ShowCounter counter;
};

TEST_F(SplashTest, MarkerFilesInTheWorkingFolderChooseTheLanguage)
{
    const struct {
        const char *what;
        std::vector<const char *> files, folders;
        const char *code;
    } cases[] = {
        {"no marker", {}, {}, "de"},
        {"only en", {"en"}, {}, "en"},
        {"only de", {"de"}, {}, "de"},
        {"both", {"en", "de"}, {}, "de"},
        {"a folder named en", {}, {"en"}, "de"},
        {"a file en and a folder de", {"en"}, {"de"}, "en"},
        {"other names only", {"EN", "en.txt", "english"}, {}, "de"},
    };
    for (const auto &c : cases) {
        QTemporaryDir here;
        ASSERT_TRUE(QDir::setCurrent(here.path()));
        for (const char *name : c.files)
            ASSERT_TRUE(QFile(here.filePath(name)).open(QIODevice::WriteOnly)) << name;
        for (const char *name : c.folders)
            ASSERT_TRUE(QDir(here.path()).mkdir(name)) << name;

        Tstart start;
        const bool german = QLatin1String(c.code) == QLatin1String("de");
        EXPECT_EQ(start.languageCode(), QLatin1String(c.code)) << c.what;
        // Only the German splash carries the overlay; the hidden label takes the code when shown.
        EXPECT_EQ(!start.Image2->isHidden(), german) << c.what;
        start.show();
        EXPECT_EQ(start.spr->text(), QLatin1String(c.code)) << c.what;
        EXPECT_TRUE(start.spr->isHidden()) << c.what;
        EXPECT_EQ(start.Image2->isVisible(), german) << c.what;
        EXPECT_EQ(start.Image1->cursor().shape(), Qt::PointingHandCursor) << c.what;
    }
}

TEST_F(SplashTest, MarkersAreLookedForInTheWorkingFolderNotBesideTheProgram)
{
    QFile besideProgram(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("en")));
    ASSERT_FALSE(besideProgram.exists());
    ASSERT_TRUE(besideProgram.open(QIODevice::WriteOnly));
    besideProgram.close();
    const auto removeMarker = qScopeGuard([&besideProgram] { besideProgram.remove(); });

    EXPECT_EQ(Tstart().languageCode(), QLatin1String("de"));
    write("en", {});
    EXPECT_EQ(Tstart().languageCode(), QLatin1String("en"));
}

TEST_F(SplashTest, IsABorderlessPictureOnTopWithoutTaskbarEntry)
{
    const Tstart start;
    EXPECT_TRUE(start.isHidden());  // created hidden, the message loop shows it
    EXPECT_EQ(start.objectName(), QLatin1String("start"));
    EXPECT_EQ(start.windowTitle(), QLatin1String("start"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());

    const Qt::WindowFlags flags = start.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(start.windowType(), Qt::SplashScreen);
    EXPECT_EQ(start.size(), QSize(300, 340));
    EXPECT_EQ(start.minimumSize(), start.maximumSize());

    EXPECT_EQ(start.Image1->geometry(), QRect(0, 0, 300, 340));
    EXPECT_EQ(start.Image2->geometry(), QRect(0, 258, 175, 82));
    EXPECT_EQ(start.Image1->pixmap().size(), QSize(300, 340));
    EXPECT_EQ(start.Image2->pixmap().size(), QSize(175, 82));

    EXPECT_EQ(start.Timer1->interval(), 100);
    EXPECT_TRUE(start.Timer1->isActive());  // runs from creation on
    EXPECT_EQ(start.ticks(), 0);
}

// Also run at scale 2 (test_app_scale2): the twins at twice the pixels, in the
// same places.
TEST_F(SplashTest, PicturesAreSharpAtTheScreensScale)
{
    const Tstart start;
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    ASSERT_EQ(start.devicePixelRatioF(), scale) << "the scale factor took effect";
    for (const QLabel *label : {start.Image1, start.Image2}) {
        EXPECT_EQ(label->pixmap().devicePixelRatio(), scale);
        EXPECT_EQ(label->pixmap().size(), label->size() * scale);
    }
    EXPECT_EQ(start.Image2->geometry(), QRect(0, 258, 175, 82));
}

TEST_F(SplashTest, IsCentredOnTheScreen)
{
    const auto start = shownSplash();
    const QRect screen = start->screen()->geometry();
    EXPECT_LE(std::abs(start->geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(start->geometry().center().y() - screen.center().y()), 1);
}

TEST_F(SplashTest, PictureThatCannotBeDecodedLeavesAPlainBackground)
{
    const QString broken = write("broken.jpg", "\xff\xd8\xff\xe0 this is not really a JPEG");
    const Tstart start({broken, path("missing.jpg")});
    EXPECT_TRUE(start.Image1->pixmap().isNull());
    EXPECT_TRUE(start.Image2->pixmap().isNull());

    // Nothing but the background colour anywhere in the window.
    const QImage shot = const_cast<Tstart &>(start).grab().toImage();
    ASSERT_EQ(shot.size(), QSize(300, 340));
    const QColor plain = shot.pixelColor(0, 0);
    for (const QPoint at : {QPoint(150, 120), QPoint(20, 300), QPoint(299, 339)})
        EXPECT_EQ(shot.pixelColor(at), plain);
}

TEST_F(SplashTest, TicksShowTheMainWindowThenHideTheSplashThenStop)
{
    const auto start = shownSplash();
    ASSERT_TRUE(start->isVisible());
    for (int tick = 1; tick <= 30; ++tick) {
        start->Timer1Timer();
        EXPECT_EQ(start->ticks(), tick);
        EXPECT_EQ(prog.isVisible(), tick >= 15) << "tick " << tick;
        EXPECT_EQ(start->isVisible(), tick < 25) << "tick " << tick;
        EXPECT_EQ(start->Timer1->isActive(), tick < 26) << "tick " << tick;
    }
    EXPECT_EQ(counter.shows, 1);
}

TEST_F(SplashTest, AHiddenSplashKeepsNeitherPicturesNorWindowUntilShownAgain)
{
    const auto start = shownSplash();
    start->FormClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return start->windowHandle() == nullptr; }));
    EXPECT_TRUE(start->Image1->pixmap().isNull() && start->Image2->pixmap().isNull());
    start->show();
    EXPECT_NE(start->windowHandle(), nullptr);
    EXPECT_EQ(start->Image1->pixmap().size(), QSize(300, 340));
    EXPECT_EQ(start->Image2->pixmap().size(), QSize(175, 82));
}

TEST_F(SplashTest, TheTimerAloneRunsTheWholeSequence)
{
    const auto start = shownSplash();
    QSignalSpy ticked(start->Timer1, &QTimer::timeout);
    // 26 ticks of 100 ms; the long timeout only ends a wait for a timer that never stops.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !start->Timer1->isActive(); }, 20000));
    EXPECT_EQ(ticked.count(), 26);
    EXPECT_EQ(start->ticks(), 26);
    EXPECT_TRUE(prog.isVisible());
    EXPECT_FALSE(start->isVisible());
    EXPECT_EQ(counter.shows, 1);
}

TEST_F(SplashTest, ClickHidesTheSplashAndShowsTheMainWindowOnce)
{
    const struct {
        const char *what;
        int ticksBefore;
        bool onImage2;
        bool toTheLabel; // delivered straight to the overlay label, as a window system could
        bool mainWindowLater = false; // the click comes while the windows are still built
    } cases[] = {
        {"before the main window is built", 0, false, false, true},
        {"before the main window, on the picture", 5, false, false},
        {"before the main window, on the German overlay", 14, true, false},
        {"while both are visible, on the picture", 15, false, false},
        {"while both are visible, on the overlay", 24, true, false},
        {"on the overlay label itself", 0, true, true},
    };
    for (const auto &c : cases) {
        prog.hide();
        counter.shows = 0;
        const auto start = c.mainWindowLater ? std::make_unique<Tstart>() : shownSplash();
        start->show();
        for (int i = 0; i < c.ticksBefore; ++i)
            start->Timer1Timer();

        if (c.toTheLabel)
            QTest::mouseClick(start->Image2, Qt::LeftButton, {}, QPoint(10, 10));
        else
            QTest::mouseClick(start.get(), Qt::LeftButton, {},
                              c.onImage2 ? QPoint(40, 300) : QPoint(150, 100));
        if (c.mainWindowLater) {
            EXPECT_FALSE(prog.isVisible()) << c.what;
            start->setMainWindow(&prog);
        }

        EXPECT_FALSE(start->isVisible()) << c.what;
        EXPECT_TRUE(prog.isVisible()) << c.what;
        EXPECT_FALSE(start->Timer1->isActive()) << c.what;
        EXPECT_EQ(start->ticks(), c.ticksBefore) << c.what;
        EXPECT_EQ(counter.shows, 1) << c.what;
    }
}

TEST_F(SplashTest, OtherButtonsAndDragsOffTheWindowAreNoClick)
{
    const auto start = shownSplash();
    QTest::mouseClick(start.get(), Qt::RightButton, {}, QPoint(150, 100));
    EXPECT_TRUE(start->isVisible());
    QTest::mousePress(start.get(), Qt::LeftButton, {}, QPoint(150, 100));
    QTest::mouseRelease(start.get(), Qt::LeftButton, {}, QPoint(400, 500));
    EXPECT_TRUE(start->isVisible());
    EXPECT_FALSE(prog.isVisible());
    EXPECT_TRUE(start->Timer1->isActive());
}

TEST_F(SplashTest, ClosingEndsTheTimerAndAnnouncesIt)
{
    for (const bool visible : {true, false}) {
        const auto start = shownSplash();
        if (!visible)
            start->hide();  // after tick 25 the splash is a hidden holder
        QSignalSpy closed(start.get(), &Tstart::closed);
        start->close();
        EXPECT_EQ(closed.count(), 1) << visible;
        EXPECT_FALSE(start->Timer1->isActive()) << visible;
    }
}

} // namespace
