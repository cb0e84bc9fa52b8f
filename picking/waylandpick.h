#pragma once
// A pick on a wlroots compositor, on a Wayland connection of our own (Qt has
// no overlay layers): every output is captured once, then shown frozen on an
// overlay above everything, where a drawn crosshair with a swatch and the hex
// text of the pixel under it follows the pointer. A left click, Enter or Space
// picks; Esc or a right click cancels; Z shows the magnifier drawn from the
// capture, and the arrow keys step the crosshair by device pixels.

#include "core/colour.h"

#include <QObject>

#include <memory>

class WaylandPick : public QObject {
    Q_OBJECT
public:
    // Connects to the compositor. Null when there is none, or it lacks screen
    // capture (version 3), overlay layers or viewports; then the portal picks.
    static std::unique_ptr<WaylandPick> connect();
    ~WaylandPick() override;

    // Captures every output and shows the overlays.
    void start(bool magnifierOn);
    // The window's drag from the pick button ended away from it: the
    // overlay's first pointer position from now on picks.
    void pickAtFirstPointer();
    // As Z left it, for the next pick.
    bool magnifierOn() const;

signals:
    // Every overlay has shown its first frame.
    void ready();
    void picked(tonfang::Rgb colour);
    // Esc or a right click, or an output came or went, or an overlay was closed.
    void cancelled();
    // The compositor would not capture an output, or in no format we read:
    // the portal should pick instead.
    void captureRefused();
    void compositorLost();

private:
    WaylandPick();
    struct Impl;
    std::unique_ptr<Impl> d;
};
