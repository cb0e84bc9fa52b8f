#include "picking/pickaids.h"

#include "picking/magnifier.h"
#include "picking/pixelsource.h"

#include <QKeyEvent>
#include <QWidget>

using tonfang::Magnifier;
using tonfang::PixelSource;
using tonfang::PixelSquare;
using tonfang::SquareView;

namespace {

// A little more than the magnifier gives the screen to redraw where it stood.
constexpr int rereadAfterMs = Magnifier::settleMs + 50;

} // namespace

PickAids::PickAids(PixelSource &reader, QWidget &pickButton) : PickAids(reader)
{
    m_button = &pickButton;
    pickButton.installEventFilter(this);
}

PickAids::PickAids(PixelSource &reader, SquareView *view) : m_reader(reader), m_view(view)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(rereadAfterMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        if (m_picking)
            emit rereadNeeded();
    });
}

PickAids::~PickAids()
{
    pickEnded();
}

void PickAids::pickStarted()
{
    m_picking = true;
    // The pointer grab of the pressed button does not bring the keys along:
    // the focus may be on another program's window (focus follows the mouse,
    // a click that did not raise us), which would then get the Z and the
    // arrows. For as long as the button is held they come to us.
    if (m_button && QWidget::keyboardGrabber() != m_button)
        m_button->grabKeyboard();
    if (m_magnifierOn)
        magnify();
}

void PickAids::pickEnded()
{
    m_picking = false;
    m_settle.stop();
    if (m_button && QWidget::keyboardGrabber() == m_button)
        m_button->releaseKeyboard();
    if (m_view)
        m_view->hideSquare();
}

SquareView &PickAids::view()
{
    if (!m_view) {
        m_magnifier = std::make_unique<Magnifier>();
        m_view = m_magnifier.get();
    }
    return *m_view;
}

std::optional<tonfang::Rgb> PickAids::readForMove()
{
    if (!m_magnifierOn)
        return m_reader.pixelUnderPointer();
    bool centreCovered = false;
    const std::optional<PixelSquare> square = magnify(&centreCovered);
    if (centreCovered)
        m_settle.start();
    return square ? square->centre() : std::nullopt;
}

void PickAids::setMagnifierOn(bool on)
{
    m_magnifierOn = on;
    if (!m_picking)
        return;
    if (on)
        magnify();
    else if (m_view)
        m_view->hideSquare();
}

std::optional<PixelSquare> PickAids::magnify(bool *centreCovered)
{
    std::optional<PixelSquare> square = m_reader.squareUnderPointer();
    if (!square)
        return std::nullopt;
    SquareView &shown = view();
    // Pixels the screen may still show the magnifier on are not trusted: a
    // fast move can land where it stood before it had moved out of the way.
    for (int row = 0; row < PixelSquare::side; ++row)
        for (int column = 0; column < PixelSquare::side; ++column)
            if (shown.mayCover(square->pointerX + column - PixelSquare::radius,
                               square->pointerY + row - PixelSquare::radius))
                square->cell(column, row).reset();
    if (centreCovered)
        *centreCovered = shown.mayCover(square->pointerX, square->pointerY);
    shown.showSquare(*square);
    return square;
}

bool PickAids::eventFilter(QObject *watched, QEvent *event)
{
    const bool shortcut = event->type() == QEvent::ShortcutOverride;
    if (!m_picking || watched != m_button || !(shortcut || event->type() == QEvent::KeyPress))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (shortcut && key->key() == Qt::Key_Escape) {
        // Esc is the menu's shortcut for closing the program: mid-drag it
        // comes to the button as a plain key instead, which ends nothing.
        key->accept();
        return true;
    }
    if (shortcut)
        return false;
    // Esc ends nothing here either.
    return key->key() == Qt::Key_Escape
           || handleKey(key->key(), key->modifiers(), key->isAutoRepeat());
}

bool PickAids::handleKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat)
{
    const int step = modifiers & Qt::ShiftModifier ? 10 : 1;
    switch (key) {
    case Qt::Key_Left:
        m_reader.movePointerBy(-step, 0);
        return true;
    case Qt::Key_Right:
        m_reader.movePointerBy(step, 0);
        return true;
    case Qt::Key_Up:
        m_reader.movePointerBy(0, -step);
        return true;
    case Qt::Key_Down:
        m_reader.movePointerBy(0, step);
        return true;
    case Qt::Key_Z:
        if (!autoRepeat)
            setMagnifierOn(!m_magnifierOn);
        return true;
    default:
        return false;
    }
}
