#pragma once
// What a pick offers beyond one pixel per move, asked for with keys while the
// pick button is held (or, on Wayland, while the overlay is up): the arrow keys
// move the point read by one device pixel (Shift: ten), and Z shows or hides
// the magnifier. The choice
// holds for the rest of the run; at start the magnifier is off, and a pick
// then reads one pixel per move and shows no extra window. Esc, the menu's
// shortcut for closing the program, does nothing mid-drag.

#include "core/colour.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

class QWidget;
namespace tonfang {
class Magnifier;
class PixelSource;
class SquareView;
struct PixelSquare;
}

class PickAids : public QObject {
    Q_OBJECT
public:
    PickAids(tonfang::PixelSource &reader, QWidget &pickButton);
    // Without a pick button: whoever holds the keyboard hands the keys to
    // handleKey. Without a view the magnifier is a window of its own.
    explicit PickAids(tonfang::PixelSource &reader, tonfang::SquareView *view = nullptr);
    ~PickAids() override;

    // A pick began: the keys come to the pick button until it ends, and the
    // magnifier, when it is on, appears at once.
    void pickStarted();
    // The pick ended or was cancelled: the magnifier goes, the keys are free.
    void pickEnded();

    // What one move reads: the pixel under the pointer, or with the magnifier
    // on the square around it, shown in the magnifier, and its centre. Nothing
    // when no pixel could be read, or when the magnifier may still be on the
    // screen where the pointer is; that move is then read again once the
    // screen has settled (rereadNeeded).
    std::optional<tonfang::Rgb> readForMove();

    bool magnifierOn() const { return m_magnifierOn; }
    void setMagnifierOn(bool on);
    // Steps the pointer for an arrow key and toggles the magnifier for Z; says
    // whether the key was one of these.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat);
    // A read is due once the screen has settled (see readForMove).
    bool rereadPending() const { return m_settle.isActive(); }

    // Null until the magnifier is first shown.
    const tonfang::Magnifier *magnifier() const { return m_magnifier.get(); }

signals:
    void rereadNeeded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Reads the square under the pointer and shows it, without the pixels the
    // magnifier may still cover; says whether the centre was one of them.
    std::optional<tonfang::PixelSquare> magnify(bool *centreCovered = nullptr);

    // The view given, or the magnifier window, made when first needed.
    tonfang::SquareView &view();

    tonfang::PixelSource &m_reader;
    QPointer<QWidget> m_button;
    // The view given, or the magnifier once made; null before that.
    tonfang::SquareView *m_view = nullptr;
    std::unique_ptr<tonfang::Magnifier> m_magnifier;
    QTimer m_settle;
    bool m_picking = false;
    bool m_magnifierOn = false;
};
