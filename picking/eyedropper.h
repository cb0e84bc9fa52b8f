#pragma once
// The eyedropper: press any mouse button on the pick button, drag anywhere on
// the screen and let go. At every move the device pixel under the pointer
// becomes the current colour; the first release ends the pick, the swatch
// keeps the last colour and the colour may be added to the list. On a Wayland
// session, where the X server cannot see other programs' pixels, a wlroots
// compositor's screen is captured and shown frozen on an overlay (WaylandPick):
// the press opens it, a drag released away from the button picks where it was
// released, a press and release on the button leaves it open for a click.
// Other compositors' portal picker is asked instead, and without one the user
// is told why nothing can be picked.

#include "core/colour.h"

#include <QObject>
#include <QPointer>

#include <memory>

class ColourPortal;
class PickAids;
class PointerGrabWatch;
class QAction;
class QMessageBox;
class QMouseEvent;
class QPushButton;
namespace tonfang {
class ScreenPixelReader;
}
class Tprog;
class WaylandPick;

class Eyedropper : public QObject {
    Q_OBJECT
public:
    explicit Eyedropper(Tprog &prog);
    ~Eyedropper() override;

    bool isPicking() const { return m_picking; }
    tonfang::ColourNumber pickedColour() const { return m_pickedColour; }
    // The portal asked on Wayland sessions; null when only the X server is read.
    ColourPortal *portal() const { return m_portal; }
    // The magnifier and the arrow keys of a pick on X11; null elsewhere.
    PickAids *pickAids() const { return m_aids.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Button1MouseDown(const QMouseEvent &event);
    void Button1MouseMove();
    void Button1MouseUp(const QMouseEvent &event);

    // The gesture's three ends: the press starts it, the release ends it and
    // keeps the colour, a lost pointer grab cancels it and keeps nothing.
    void startPick();
    void endPick();
    void cancelPick();

    // Wayland: our own overlay where the compositor allows it, else the
    // portal's picker runs the gesture.
    bool startNativePick();
    void endNativePick();
    void pickThroughPortal();
    void portalAvailabilityKnown(bool available);
    void applyPickedColour(tonfang::Rgb colour);
    void tellPortalPickerMissing();

    bool isOverButton(const QMouseEvent &event) const;
    void addIfChecked(const QAction *option);
    void showCrosshair(bool on);

    Tprog &m_prog;
    // Held apart from the window: the button still sends events to the filter
    // while the window is being destroyed.
    QPushButton *const m_button;
    std::unique_ptr<tonfang::ScreenPixelReader> m_reader;
    PointerGrabWatch *m_grabWatch;
    std::unique_ptr<PickAids> m_aids; // reads through m_reader
    ColourPortal *m_portal = nullptr;
    WaylandPick *m_native = nullptr; // while its overlay is up
    bool m_nativeButtonDown = false;  // the press that opened it is not yet released
    bool m_nativeMagnifier = false;   // as Z left it
    bool m_picking = false;
    tonfang::ColourNumber m_pickedColour = 0;
    bool m_pickWhenPortalKnown = false;
    bool m_crosshair = false;
    QPointer<QMessageBox> m_portalMessage;
};
