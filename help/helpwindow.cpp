#include "help/helpwindow.h"

#include "editor/jpeg.h"
#include "help/addresslabel.h"
#include "help/helptexts.h"
#include "help/helpwidgets.h"
#include "help/links.h"
#include "help/softwareframe.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace {

constexpr QSize clientSize(543, 495);
constexpr QRect headerRect(0, 0, 543, 100);
constexpr QRect pagesRect(12, 110, 518, 342);
constexpr QRect backRect(370, 464, 75, 25);
constexpr QRect nextRect(451, 464, 75, 25);
constexpr int buttonRuleTop = 458;
constexpr QSize donationBoxSize(504, 291);
constexpr int pageMargin = 10;
constexpr QMargins donationMargins(7, 4, 7, 0);

const auto headerPicture = QStringLiteral(":/help/help_header.jpg");

QFrame *horizontalRule(QWidget *parent, QRect where)
{
    auto *rule = new QFrame(parent);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(where);
    return rule;
}

// A page's texts scroll if a desktop font runs taller than the page, rather
// than being cut off.
QScrollArea *scrollingColumn(QWidget *page, QVBoxLayout *&column)
{
    auto *area = new QScrollArea(page);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->viewport()->setAutoFillBackground(false);
    auto *contents = new QWidget;
    contents->setAutoFillBackground(false);
    column = new QVBoxLayout(contents);
    column->setContentsMargins(pageMargin, pageMargin, pageMargin, pageMargin);
    column->setSpacing(6);
    area->setWidget(contents);
    return area;
}

} // namespace

HelpWindow::HelpWindow(bool german, const Names &names)
    : ToolWindow({})
    , m_german(german)
{
    const tonfang::HelpWindowText &text = tonfang::helpWindowText();
    setObjectName(QString::fromLatin1(names.window));
    setWindowTitle(text.caption.in(german));
    setFixedSize(clientSize);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QString::fromLatin1(names.panel));
    m_panel->setFrameShape(QFrame::NoFrame);
    m_panel->setGeometry(rect());

    m_header = new QLabel(m_panel);
    m_header->setObjectName(QString::fromLatin1(names.header));
    m_header->setGeometry(headerRect);
    m_header->installEventFilter(this);
    horizontalRule(m_panel, QRect(0, headerRect.bottom() + 1, clientSize.width(), 2));

    m_pages = new QTabWidget(m_panel);
    m_pages->setObjectName(QString::fromLatin1(names.pages));
    m_pages->setGeometry(pagesRect);
    m_pages->setDocumentMode(true);
    m_pages->setUsesScrollButtons(false);
    for (std::size_t index = 0; index < m_pageWidgets.size(); ++index) {
        const tonfang::HelpPageText &pageText = text.pages[index];
        auto *page = new QWidget;
        page->setObjectName(QString::fromLatin1(german ? pageText.germanName
                                                       : pageText.englishName));
        m_pages->addTab(page, pageText.tab.in(german));
        m_pageWidgets[index] = page;
    }

    horizontalRule(m_panel, QRect(pagesRect.left(), buttonRuleTop, pagesRect.width(), 2));
    m_back = new QPushButton(text.back.in(german), m_panel);
    m_back->setObjectName(QString::fromLatin1(names.back));
    m_back->setGeometry(backRect);
    m_next = new QPushButton(text.next.in(german), m_panel);
    m_next->setObjectName(QString::fromLatin1(names.next));
    m_next->setGeometry(nextRect);
    connect(m_back, &QPushButton::clicked, this, &HelpWindow::previousPage);
    connect(m_next, &QPushButton::clicked, this, &HelpWindow::nextPage);
}

void HelpWindow::ensureContents()
{
    if (m_contentsBuilt)
        return;
    m_contentsBuilt = true;
    const QPixmap header = tonfang::loadJpegPixmap(headerPicture, devicePixelRatioF());
    if (!header.isNull())
        m_header->setPixmap(header);
    for (std::size_t index = 0; index < m_pageWidgets.size(); ++index)
        buildPage(Page(index));
}

void HelpWindow::buildPage(Page which)
{
    QWidget *page = m_pageWidgets[std::size_t(which)];
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    const auto &rows = tonfang::helpWindowText().pages[std::size_t(which)].rows;
    const auto open = [this](QLabel *label) { BrowseToCaption(label); };

    if (which == SoftwarePage) {
        m_overview = m_german ? static_cast<SoftwareFrame *>(new TFrame1(page))
                              : static_cast<SoftwareFrame *>(new TFrame2(page));
        pageLayout->addWidget(m_overview);
        return;
    }
    QVBoxLayout *column = pageLayout;
    if (which == DonationPage) {
        // The picture all but fills the page; its address goes just below it.
        pageLayout->setContentsMargins(donationMargins);
        pageLayout->setSpacing(2);
    } else {
        pageLayout->addWidget(scrollingColumn(page, column));
    }
    tonfang::addTextRows(*column, rows, m_german, AddressLabel::helpColour, open,
                         [this](const tonfang::HelpRow &row) {
                             return pictureBox(row.text.in(m_german));
                         });
    column->addStretch();
}

// The donation picture sits in a box of its own whose scroll bars stay hidden.
QWidget *HelpWindow::pictureBox(const QString &resource)
{
    auto *box = new QScrollArea;
    box->setObjectName(QStringLiteral("donationBox"));
    box->setFixedSize(donationBoxSize);
    box->setFrameShape(QFrame::NoFrame);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("donationPicture"));
    // The label has no window yet; the help window knows its screen.
    const QPixmap image = tonfang::loadJpegPixmap(resource, devicePixelRatioF());
    if (!image.isNull())
        picture->setPixmap(image);
    box->setWidget(picture);
    // As large as its picture. (Before it had a parent, adjustSize would have
    // bounded it to a share of the screen, which cuts the picture on a small
    // or scaled screen.)
    picture->adjustSize();
    return box;
}

void HelpWindow::openAt(Page page)
{
    ensureContents();
    m_pages->setCurrentIndex(int(page));
    present();
}

void HelpWindow::previousPage()
{
    stepPage(-1);
}

void HelpWindow::nextPage()
{
    stepPage(+1);
}

void HelpWindow::stepPage(int direction)
{
    const int count = m_pages->count();
    int index = m_pages->currentIndex();
    for (int tried = 0; tried < count; ++tried) {
        index = (index + direction + count) % count;
        if (m_pages->isTabVisible(index)) {
            m_pages->setCurrentIndex(index);
            return;
        }
    }
}

void HelpWindow::Image2MouseDown()
{
    if (QWindow *handle = windowHandle())
        handle->startSystemMove();
}

void HelpWindow::BrowseToCaption(const QLabel *label)
{
    tonfang::openLink(tonfang::linkAddress(label->text(), tonfang::LinkSource::Help));
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_header && event->type() == QEvent::MouseButtonPress) {
        Image2MouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- the two windows, under their own names ------------------------------------------

Thilfe::Thilfe()
    : HelpWindow(true, {"Thilfe", "pinfo_de", "Image2", "pcide", "btide1", "btide2"})
    , pinfo_de(m_panel)
    , Image2(m_header)
    , pcide(m_pages)
    , btide1(m_back)
    , btide2(m_next)
    , tide1(page(IntroductionPage))
    , tide2(page(RecommendationsPage))
    , tidesoft(page(SoftwarePage))
    , tide3(page(DonationPage))
    , tide4(page(LicencePage))
{
}

Thilfe_en::Thilfe_en()
    : HelpWindow(false, {"Thilfe_en", "pinfo_en", "Image3", "pcien", "btien1", "btien2"})
    , pinfo_en(m_panel)
    , Image3(m_header)
    , pcien(m_pages)
    , btien1(m_back)
    , btien2(m_next)
    , tien1(page(IntroductionPage))
    , tien2(page(RecommendationsPage))
    , tiensoft(page(SoftwarePage))
    , tien3(page(DonationPage))
    , tien4(page(LicencePage))
{
}
