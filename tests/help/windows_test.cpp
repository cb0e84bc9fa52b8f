// The help windows, the software overview and the report windows: opening
// commands, page stepping, wheel scrolling and every address label.
#include "helpfixture.h"

#include "help/softwareframe.h"
#include "help/softwarelist.h"

#include <QAction>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <utility>

namespace {

QString currentPage(const HelpWindow &window)
{
    return window.pageControl()->currentWidget()->objectName();
}

// The colour a label's text is drawn in.
QColor textColour(const QWidget *label)
{
    return label->palette().color(label->foregroundRole());
}

// Delivered as the window system delivers it, so that a widget that does not
// take the event hands it on to its parent.
void sendFromTheSystem(QWidget *to, QEvent &event)
{
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(to, &event);
}

void turnWheel(QWidget *over, int steps)
{
    const QPointF at(over->width() / 2.0, over->height() / 2.0);
    QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, 120 * steps), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    sendFromTheSystem(over, wheel);
}

} // namespace

TEST_F(HelpTest, OpeningCommandsPickTheWindowByLanguageAndSetThePage)
{
    const struct {
        const char *item;
        const char *germanPage, *englishPage;
    } commands[] = {
        {"info1", "tide1", "tien1"},        {"info2", "tide2", "tien2"},
        {"Software1", "tidesoft", "tiensoft"},
        {"BriefDescriptionofallApplications1", "tidesoft", "tiensoft"},
        {"anderesoft12", "tidesoft", "tiensoft"},
        {"info3", "tide3", "tien3"},        {"info4", "tide4", "tien4"},
    };
    for (const bool german : {true, false}) {
        setLanguage(german);
        HelpWindow &opened = german ? static_cast<HelpWindow &>(help) : helpEnglish;
        HelpWindow &other = german ? static_cast<HelpWindow &>(helpEnglish) : help;
        const bool otherShown = other.isVisible();
        const QString otherPage = currentPage(other);
        // One after the other, the window already open: each turns it to its page.
        for (const auto &command : commands) {
            item(command.item)->trigger();
            EXPECT_TRUE(opened.isVisible()) << command.item;
            EXPECT_EQ(currentPage(opened), german ? command.germanPage : command.englishPage)
                << command.item;
            EXPECT_EQ(other.isVisible(), otherShown) << command.item;
            EXPECT_EQ(currentPage(other), otherPage);
        }
    }
    // After a switch both windows may be open; hidden, each keeps its page.
    EXPECT_TRUE(help.isVisible());
    help.close();
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(currentPage(help), "tide4");
}

TEST_F(HelpTest, BackAndNextStepThroughThePagesAndWrapAround)
{
    for (HelpWindow *window : {static_cast<HelpWindow *>(&help), static_cast<HelpWindow *>(&helpEnglish)}) {
        const bool german = window == &help;
        QPushButton *back = german ? help.btide1 : helpEnglish.btien1;
        QPushButton *next = german ? help.btide2 : helpEnglish.btien2;
        EXPECT_EQ(back->text(), german ? "<< zurück" : "<< back");
        EXPECT_EQ(next->text(), german ? "weiter >>" : "next >>");
        window->openAt(HelpWindow::IntroductionPage);
        QSignalSpy changes(window->pageControl(), &QTabWidget::currentChanged);

        QTest::mouseClick(back, Qt::LeftButton);
        EXPECT_EQ(window->pageControl()->currentIndex(), 4);
        QTest::mouseClick(next, Qt::LeftButton);
        EXPECT_EQ(window->pageControl()->currentIndex(), 0);
        const std::vector<int> forward = {1, 2, 3, 4, 0};
        for (const int expected : forward) {
            QTest::mouseClick(next, Qt::LeftButton);
            EXPECT_EQ(window->pageControl()->currentIndex(), expected);
        }
        // Each step went through the page control's change notification.
        EXPECT_EQ(changes.count(), 7);
    }
}

TEST_F(HelpTest, EveryHelpLabelAndIconOpensItsAddressFromTheHelp)
{
    for (HelpWindow *window : {static_cast<HelpWindow *>(&help), static_cast<HelpWindow *>(&helpEnglish)}) {
        const bool german = window == &help;
        const QString site = german ? "http://www.tonfang-quellwerk.de" : "http://www.tonfang-quellwerk.com";
        const QString second = german ? "http://www.quellwerk-farben.de" : "http://www.quellwerk-colours.com";
        QStringList opened;
        for (int page = 0; page < 5; ++page) {
            window->openAt(HelpWindow::Page(page));
            for (AddressLabel *label : window->page(HelpWindow::Page(page))->findChildren<AddressLabel *>()) {
                EXPECT_EQ(textColour(label), QColor(88, 99, 199)) << label->text().toStdString();
                opened << openedBy([label] { QTest::mouseClick(label, Qt::LeftButton); });
            }
        }
        const QStringList expected = german ? QStringList{
            site + "/tonfang&rf=tfh", site + "/support&rf=tfh", second + "/webdesign&rf=tfh",
            site + "/individuell&rf=tfh", second + "/&rf=tfh", site + "/software&rf=tfh",
            site + "/spenden&rf=tfh", site + "/lizenz&rf=tfh", site + "/spenden&rf=tfh"}
                                            : QStringList{
            site + "/tonfang&rf=tfh", site + "/support&rf=tfh", second + "/webdesign&rf=tfh",
            site + "/individual&rf=tfh", second + "/&rf=tfh", site + "/software&rf=tfh",
            site + "/donate&rf=tfh", site + "/licence&rf=tfh", site + "/donate&rf=tfh"};
        EXPECT_EQ(opened, expected);

        // Each icon opens the address its tooltip shows; Tonfang is the fifth row.
        const QList<QToolButton *> icons = window->softwareFrame()->findChildren<QToolButton *>();
        ASSERT_EQ(icons.size(), tonfang::softwareCount);
        QStringList targets;
        for (QToolButton *icon : icons) {
            EXPECT_EQ(openedBy([icon] { QTest::mouseClick(icon, Qt::LeftButton); }),
                      "http://www." + icon->toolTip() + "&rf=tfh");
            targets << icon->toolTip();
        }
        EXPECT_EQ(targets[4], site.mid(11) + "/tonfang");
        EXPECT_EQ(targets.removeDuplicates(), 0);
    }
}

TEST_F(HelpTest, ReportWindowsFollowTheLanguageStayOnTopAndHideOnOk)
{
    for (const bool german : {true, false}) {
        setLanguage(german);
        ReportWindow &shown = german ? static_cast<ReportWindow &>(report) : reportEnglish;
        ReportWindow &other = german ? static_cast<ReportWindow &>(reportEnglish) : report;
        for (const char *command : {"m_bug", "m_bug_i"}) {
            item(command)->trigger();
            EXPECT_TRUE(shown.isVisible()) << command;
            EXPECT_FALSE(other.isVisible()) << command;
            EXPECT_FALSE(shown.isModal());
            EXPECT_TRUE(shown.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            EXPECT_EQ(shown.size(), german ? QSize(330, 368) : QSize(312, 346));

            const QString site = german ? "http://www.tonfang-quellwerk.de" : "http://www.tonfang-quellwerk.com";
            QStringList opened;
            for (AddressLabel *label : shown.findChildren<AddressLabel *>()) {
                EXPECT_EQ(textColour(label), QColor(79, 104, 193));
                opened << openedBy([label] { QTest::mouseClick(label, Qt::LeftButton); });
            }
            EXPECT_EQ(opened, QStringList({site + "/support&rf=tfr",
                                           site + (german ? "/individuell&rf=tfr" : "/individual&rf=tfr")}));
            QTest::mouseClick(shown.Button1, Qt::LeftButton);
            EXPECT_FALSE(shown.isVisible()) << command;
        }
    }
}

TEST_F(HelpTest, OverviewScrollsTenPixelsPerWheelStepBetweenItsEnds)
{
    for (HelpWindow *window : {static_cast<HelpWindow *>(&help), static_cast<HelpWindow *>(&helpEnglish)}) {
        window->openAt(HelpWindow::SoftwarePage);
        SoftwareFrame *frame = window->softwareFrame();
        QScrollBar *bar = frame->scrollBox()->verticalScrollBar();
        const QList<QLabel *> labels = frame->scrollBox()->widget()->findChildren<QLabel *>();
        ASSERT_FALSE(labels.isEmpty());
        QLabel *over = labels.first();

        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), over->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        sendFromTheSystem(over, move);
        EXPECT_EQ(window->focusWidget(), frame->scrollBox());
        ASSERT_EQ(bar->value(), 0);
        EXPECT_EQ(bar->maximum(), SoftwareFrame::contentsSize.height() - frame->scrollBox()->viewport()->height());

        turnWheel(over, -1);
        EXPECT_EQ(bar->value(), 10);
        turnWheel(frame->scrollBox()->viewport(), -3);
        EXPECT_EQ(bar->value(), 40);
        for (int step = 0; step < 100; ++step)
            turnWheel(over, -1);
        EXPECT_EQ(bar->value(), bar->maximum());
        turnWheel(over, 2);
        EXPECT_EQ(bar->value(), bar->maximum() - 20);
        for (int step = 0; step < 100; ++step)
            turnWheel(bar, 1);
        EXPECT_EQ(bar->value(), 0);
    }
}

// Also run at scale 2 (test_help_scale2): the twins at twice the pixels, at the
// same sizes.
TEST_F(HelpTest, PicturesAreSharpAtTheScreensScale)
{
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    ASSERT_EQ(helpEnglish.devicePixelRatioF(), scale) << "the scale factor took effect";
    helpEnglish.openAt(HelpWindow::DonationPage);
    for (const auto &[name, size] : {std::pair{"Image3", QSize(543, 100)},
                                     std::pair{"donationPicture", QSize(504, 289)}}) {
        const QLabel *label = helpEnglish.findChild<QLabel *>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->size(), size) << name;
        EXPECT_EQ(label->pixmap().devicePixelRatio(), scale) << name;
        EXPECT_EQ(label->pixmap().size(), size * scale) << name;
    }
}

TEST_F(HelpTest, WindowsAreBuiltWhenFirstNeededAndTheirTextsFit)
{
    const Thilfe fresh;
    EXPECT_FALSE(fresh.contentsBuilt());
    EXPECT_EQ(fresh.findChild<TFrame1 *>(), nullptr);
    EXPECT_TRUE(fresh.Image2->pixmap().isNull());
    EXPECT_EQ(fresh.size(), QSize(543, 495));
    EXPECT_EQ(Tbugreport_en().Button1, nullptr);

    for (HelpWindow *window : {static_cast<HelpWindow *>(&help), static_cast<HelpWindow *>(&helpEnglish)}) {
        window->openAt(HelpWindow::SoftwarePage);
        ASSERT_TRUE(window->contentsBuilt());
        EXPECT_EQ(window->findChild<QLabel *>(window == &help ? "Image2" : "Image3")->pixmap().size(),
                  QSize(543, 100));
        EXPECT_EQ(window->findChild<QLabel *>("donationPicture")->pixmap().size(), QSize(504, 289));
        // The overview's rows have fixed places: every text fits in its own.
        const QWidget *contents = window->softwareFrame()->scrollBox()->widget();
        for (const QLabel *label : contents->findChildren<QLabel *>()) {
            const QSize needed =
                label->fontMetrics()
                    .boundingRect(QRect(0, 0, label->width(), 1000), Qt::TextWordWrap, label->text())
                    .size();
            EXPECT_LE(needed.height(), label->height()) << label->text().toStdString();
            EXPECT_LE(needed.width(), label->width()) << label->text().toStdString();
            EXPECT_LE(label->geometry().right(), contents->width()) << label->text().toStdString();
        }
    }
}
