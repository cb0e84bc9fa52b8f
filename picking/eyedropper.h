#pragma once
// The eyedropper: press any mouse button on the pick button, drag anywhere on
// the screen and let go. At every move the device pixel under the pointer
// becomes the current colour; on release the swatch keeps the last one and the
// colour may be added to the list. On a Wayland session, where the X server
// cannot see other programs' pixels, the desktop portal's picker is asked.

#include "core/colour.h"

#include <QObject>

#include <memory>

class ColourPortal;
class PickAids;
class QAction;
class ScreenPixelReader;
class Tprog;

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
    void Button1MouseDown();
    void Button1MouseMove();
    void Button1MouseUp();
    void applyPortalColour(tonfang::Rgb colour);
    void addIfChecked(const QAction *option);
    void showCrosshair(bool on);

    Tprog &m_prog;
    std::unique_ptr<ScreenPixelReader> m_reader;
    std::unique_ptr<PickAids> m_aids; // reads through m_reader
    ColourPortal *m_portal = nullptr;
    bool m_picking = false;
    tonfang::ColourNumber m_pickedColour = 0;
    bool m_pressWentToPortal = false;
    bool m_crosshair = false;
};
