#include "editor/floatupdown.h"

#include "core/numbertext.h"
#include "editor/fieldtext.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMetaObject>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int defaultWidth = 17;
constexpr int defaultHeight = 21;
constexpr int wheelNotch = 120; // angle delta of one notch, in eighths of a degree

// 10^exponent in extended precision. Up to 10^27 the power is exact (5^27 still
// fits the 64-bit mantissa), which keeps units() free of representation error.
long double powerOfTen(int exponent)
{
    if (exponent >= 0 && exponent <= 27) {
        long double power = 1.0L;
        for (int i = 0; i < exponent; ++i)
            power *= 10.0L;
        return power;
    }
    return std::pow(10.0L, static_cast<long double>(exponent));
}

std::string utf8(const QString &text) { return text.toStdString(); }

} // namespace

TFloatUpDown::TFloatUpDown(QWidget *owner)
    : QWidget(owner)
{
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    for (QToolButton *button : {m_up, m_down}) {
        button->setObjectName(button == m_up ? QStringLiteral("up") : QStringLiteral("down"));
        button->setArrowType(button == m_up ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    // A step comes with the press, as with any spin box, and with auto-repeat
    // pressed() comes again and again while the button is held.
    connect(m_up, &QToolButton::pressed, this, [this] { step(+1); });
    connect(m_down, &QToolButton::pressed, this, [this] { step(-1); });
    setFocusPolicy(Qt::NoFocus);
    resize(defaultWidth, defaultHeight);

    setPrecision(2);
    setIncrement(1);
    setPosition(0);
    setDefaultDecimalSign(true);
    setMin(0);
    setMax(100);
}

QString TFloatUpDown::localeDecimalSeparator()
{
    const QString separator = QLocale::system().decimalPoint();
    return separator.isEmpty() ? QStringLiteral(".") : separator;
}

void TFloatUpDown::setPrecision(int precision)
{
    // The step in units follows from Increment and Precision whenever it is
    // needed; the field's text stays as it is.
    m_precision = precision;
}

void TFloatUpDown::setIncrement(double increment)
{
    m_increment = increment;
}

void TFloatUpDown::setDefaultDecimalSign(bool followLocale)
{
    m_defaultDecimalSign = followLocale;
    if (followLocale)
        m_decimalSign = localeDecimalSeparator().front();
    WriteText();
}

void TFloatUpDown::setDecimalSign(QChar sign)
{
    if (sign.isNull() || (sign == m_decimalSign && !m_defaultDecimalSign))
        return;
    m_decimalSign = sign;
    setDefaultDecimalSign(false);
}

void TFloatUpDown::setMin(double min)
{
    if (min == m_min)
        return;
    m_min = min;
    setPosition(m_position); // clamps into the new bounds
}

void TFloatUpDown::setMax(double max)
{
    if (max == m_max)
        return;
    m_max = max;
    setPosition(m_position);
}

void TFloatUpDown::setPosition(double position)
{
    // Written so that NaN ends at Min.
    if (!(position >= m_min))
        position = m_min;
    if (position > m_max)
        position = m_max;
    if (position == m_position)
        return;
    m_position = position;
    WriteText();
}

void TFloatUpDown::setAssociate(QLineEdit *field)
{
    if (field == m_associate)
        return;
    if (m_associate) {
        m_associate->removeEventFilter(this);
        disconnect(m_associate, &QObject::destroyed, this, nullptr);
    }
    m_associate = field;
    if (!field)
        return;

    field->installEventFilter(this);
    connect(field, &QObject::destroyed, this, [this, field] {
        if (m_associate == field)
            m_associate = nullptr;
    });
    // Sit at the right edge of the field, inside its old extent: the field gives
    // up the width of the buttons.
    const QRect fieldGeometry = field->geometry();
    if (field->parentWidget() && parentWidget() != field->parentWidget())
        setParent(field->parentWidget());
    setGeometry(fieldGeometry.x() + fieldGeometry.width() - width(), fieldGeometry.y(), width(),
                fieldGeometry.height());
    field->resize(std::max(0, fieldGeometry.width() - width()), fieldGeometry.height());
    setVisible(!field->isHidden());
    raise();
    WriteText();
}

void TFloatUpDown::step(int direction)
{
    const long double stepUnits = units(m_increment);
    const long double change = direction >= 0 ? stepUnits : -stepUnits;
    ReadText();
    // Applied after the click, key or wheel event has been handled completely,
    // so that whatever runs in between sees the position as read.
    QMetaObject::invokeMethod(
        this, [this, change] { applyStep(change); }, Qt::QueuedConnection);
}

void TFloatUpDown::applyStep(long double change)
{
    // An infinite step ends at a bound like any step that overshoots.
    setPosition(static_cast<double>(static_cast<long double>(m_position) + value(change)));
}

long double TFloatUpDown::units(double x) const
{
    // nearbyint rounds halves to the even neighbour in the default rounding
    // mode. Even 10^308 times 10^13 fits the extended range, so nothing here
    // saturates; only Min and Max limit where a step ends.
    const long double scaled = std::nearbyint(static_cast<long double>(x) * powerOfTen(m_precision));
    return std::isnan(scaled) ? 0.0L : scaled; // NaN: zero times an overflowing power
}

long double TFloatUpDown::value(long double units) const
{
    return units / powerOfTen(m_precision);
}

QString TFloatUpDown::positionText() const
{
    const QString separator = localeDecimalSeparator();
    QString text = QString::fromStdString(
        tonfang::formatNumber(m_position, 15, 0, utf8(separator)));
    const qsizetype at = text.indexOf(separator);
    if (at >= 0)
        text.replace(at, separator.size(), m_decimalSign);
    return text;
}

void TFloatUpDown::WriteText()
{
    if (!m_associate)
        return;
    tonfang::writeFieldText(m_associate, positionText());
}

void TFloatUpDown::ReadText()
{
    if (!m_associate)
        return;
    QString text = m_associate->text();
    const qsizetype sign = text.indexOf(m_decimalSign);
    if (sign >= 0)
        text.replace(sign, 1, localeDecimalSeparator());
    // A unit may follow the number behind a blank ("50 %").
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        text.truncate(blank);
    if (const auto number = tonfang::parseFloat(utf8(text), utf8(localeDecimalSeparator())))
        setPosition(static_cast<double>(*number));
}

bool TFloatUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_associate)
        return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            step(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
        break;
    }
    case QEvent::Wheel:
        turnWheel(static_cast<QWheelEvent *>(event)->angleDelta().y());
        event->accept();
        return true;
    case QEvent::Move:
    case QEvent::Resize:
        followBuddyGeometry();
        break;
    case QEvent::Show:
        show();
        break;
    case QEvent::Hide:
        // A field hidden with its parent keeps its buttons; one hidden on its own
        // takes them along.
        if (m_associate->isHidden())
            hide();
        break;
    case QEvent::ParentChange:
        if (m_associate->parentWidget() && parentWidget() != m_associate->parentWidget()) {
            setParent(m_associate->parentWidget());
            setVisible(!m_associate->isHidden());
            followBuddyGeometry();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TFloatUpDown::wheelEvent(QWheelEvent *event)
{
    turnWheel(event->angleDelta().y());
    event->accept();
}

void TFloatUpDown::turnWheel(int angleDelta)
{
    // Touchpads send fractions of a notch: a step is taken per whole notch.
    m_wheelRemainder += angleDelta;
    while (m_wheelRemainder >= wheelNotch) {
        m_wheelRemainder -= wheelNotch;
        step(+1);
    }
    while (m_wheelRemainder <= -wheelNotch) {
        m_wheelRemainder += wheelNotch;
        step(-1);
    }
}

QSize TFloatUpDown::sizeHint() const
{
    return QSize(defaultWidth, defaultHeight);
}

void TFloatUpDown::followBuddyGeometry()
{
    if (!m_associate || m_associate->parentWidget() != parentWidget())
        return;
    const QRect field = m_associate->geometry();
    if (y() != field.y() || height() != field.height())
        setGeometry(x(), field.y(), width(), field.height());
}

void TFloatUpDown::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LocaleChange && m_defaultDecimalSign)
        setDefaultDecimalSign(true);
    QWidget::changeEvent(event);
}

void TFloatUpDown::resizeEvent(QResizeEvent *event)
{
    const int upHeight = height() / 2;
    m_up->setGeometry(0, 0, width(), upHeight);
    m_down->setGeometry(0, upHeight, width(), height() - upHeight);
    QWidget::resizeEvent(event);
}
