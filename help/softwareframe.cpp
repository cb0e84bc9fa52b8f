#include "help/softwareframe.h"

#include "help/addresslabel.h"
#include "help/helptexts.h"
#include "help/helpwidgets.h"
#include "help/links.h"
#include "help/softwarelist.h"

#include <QEvent>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr int headingTop = 5;
constexpr int introductionTop = 26;
constexpr int left = 5;
constexpr int textLeft = 45;
constexpr QSize iconButtonSize(36, 36);
constexpr QSize iconSize(32, 32);
constexpr int wheelNotch = 120;  // angle delta of one wheel step

// Rows every 50 pixels from 76; the last one stands a little higher.
int rowTop(int row)
{
    return row < tonfang::softwareCount - 1 ? 76 + 50 * row : 824;
}

QLabel *placedLabel(QWidget *parent, const QString &text, const QFont &font, QRect where)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(where);
    return label;
}

} // namespace

SoftwareFrame::SoftwareFrame(bool german, const char *frameName, const char *boxName,
                             QPoint addressAt, QWidget *parent)
    : QFrame(parent)
{
    using namespace tonfang;
    setObjectName(QString::fromLatin1(frameName));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_box = new QScrollArea(this);
    m_box->setObjectName(QString::fromLatin1(boxName));
    m_box->setFrameShape(QFrame::NoFrame);
    m_box->setBackgroundRole(QPalette::Button);
    m_box->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(m_box);

    // Fixed ranges: the contents have one size, whatever they hold.
    m_contents = new QWidget;
    m_contents->setFixedSize(contentsSize);
    const int textWidth = contentsSize.width() - textLeft - left;

    const OverviewText &text = overviewText();
    placedLabel(m_contents, text.heading.in(german), helpFont(16),
                QRect(left, headingTop, contentsSize.width() - 2 * left, 20));
    placedLabel(m_contents, text.introduction.in(german), font(),
                QRect(left, introductionTop, contentsSize.width() - 2 * left,
                      rowTop(0) - introductionTop - 4));

    const QList<QPixmap> pictures = softwarePictures(iconSize.width());
    QFont nameFont = font();
    nameFont.setBold(true);
    for (int row = 0; row < softwareCount; ++row) {
        const int index = softwareRowOrder()[std::size_t(row)];
        const SoftwareProgram &program = softwarePrograms()[std::size_t(index)];
        const int top = rowTop(row);

        auto *icon = new QToolButton(m_contents);
        icon->setObjectName(QStringLiteral("SpeedButton%1").arg(row + 1));
        icon->setAutoRaise(true);
        icon->setIcon(QIcon(pictures.value(index)));
        icon->setIconSize(iconSize);
        icon->setGeometry(QRect(QPoint(left, top), iconButtonSize));
        icon->setToolTip(softwareTarget(program, german));
        icon->setAccessibleName(program.name(german));
        connect(icon, &QToolButton::clicked, this, [this, icon] { BrowseToHint(icon); });

        placedLabel(m_contents, program.name(german), nameFont,
                    QRect(textLeft, top, textWidth, 15));
        placedLabel(m_contents, program.about(german), font(),
                    QRect(textLeft, top + 15, textWidth, 30));
    }

    auto *address = new AddressLabel(text.address.in(german), AddressLabel::helpColour,
                                     m_contents);
    address->adjustSize();
    // At the lower right; a font wider than the design's moves it left rather
    // than past the edge.
    address->move(std::min(addressAt.x(), contentsSize.width() - left - address->width()),
                  addressAt.y());
    connect(address, &AddressLabel::clicked, this, &SoftwareFrame::BrowseToCaption);

    m_box->setWidget(m_contents);
    m_box->viewport()->installEventFilter(this);
    m_box->verticalScrollBar()->installEventFilter(this);
    watchPointer(m_box->viewport());
    watchPointer(m_contents);
    for (QLabel *label : m_contents->findChildren<QLabel *>())
        watchPointer(label);
}

void SoftwareFrame::watchPointer(QWidget *widget)
{
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

QScrollBar *SoftwareFrame::verticalBar() const
{
    return m_box->verticalScrollBar();
}

void SoftwareFrame::focusScrollBox()
{
    m_box->setFocus(Qt::MouseFocusReason);
}

void SoftwareFrame::scrollDown()
{
    verticalBar()->setValue(verticalBar()->value() + wheelStep);
}

void SoftwareFrame::scrollUp()
{
    verticalBar()->setValue(verticalBar()->value() - wheelStep);
}

void SoftwareFrame::BrowseToCaption(const QLabel *label)
{
    tonfang::openLink(tonfang::linkAddress(label->text(), tonfang::LinkSource::Help));
}

void SoftwareFrame::BrowseToHint(const QAbstractButton *button)
{
    tonfang::openLink(tonfang::linkAddress(button->toolTip(), tonfang::LinkSource::Help));
}

bool SoftwareFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        focusScrollBox();
    } else if (event->type() == QEvent::Wheel
               && (watched == m_box->viewport() || watched == verticalBar())) {
        // Whole steps of 10 pixels; the finer steps of a touchpad add up to one.
        m_wheelRemainder += static_cast<QWheelEvent *>(event)->angleDelta().y();
        for (; m_wheelRemainder >= wheelNotch; m_wheelRemainder -= wheelNotch)
            scrollUp();
        for (; m_wheelRemainder <= -wheelNotch; m_wheelRemainder += wheelNotch)
            scrollDown();
        event->accept();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

TFrame1::TFrame1(QWidget *parent)
    : SoftwareFrame(true, "TFrame1", "ScrollBox1", {357, 866}, parent)
    , ScrollBox1(m_box)
{
}

TFrame2::TFrame2(QWidget *parent)
    : SoftwareFrame(false, "TFrame2", "ScrollBox2", {352, 868}, parent)
    , ScrollBox2(m_box)
{
}
