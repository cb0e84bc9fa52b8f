#pragma once
// Which way a pick reads the screen. On a Wayland session the X server (if
// there is one, for older programs) sees only its own windows, so the desktop
// portal's picker must be asked; on X11 the server's pixels are the screen.

#include <QString>

#include <memory>

class WaylandPick;

namespace tonfang {

// The rule on its own: Qt on the Wayland platform, or a session that says it
// is Wayland. WAYLAND_DISPLAY counts only when the session type is not given:
// an X11 session may inherit a stray one from a nested compositor.
bool sessionNeedsPortal(const QString &platformName, const QString &sessionType,
                        const QString &waylandDisplay);

// The rule for this process: the running platform and the environment.
bool pickThroughPortal();

// How a Wayland session picks: natively where the compositor offers screen
// capture and overlay layers (the wlroots desktops), else through the portal.
// TONFANG_WAYLAND_PICKER=portal or native overrides the automatic choice.
enum class WaylandPicker { Automatic, Portal, Native };

// The choice a value of that variable makes; an unknown value chooses
// automatically and is reported through `unknown`.
WaylandPicker waylandPickerChoice(const QString &value, bool *unknown = nullptr);

// The choice of this process. An unknown value is named in one line on
// standard error, once per run.
WaylandPicker waylandPickerChoice();

// A connection for a native pick on this Wayland session, made now (not at
// start-up); null when the portal is to pick: chosen so, or the compositor
// lacks what a native pick needs, which is said on standard error when the
// native pick was asked for.
std::unique_ptr<WaylandPick> openWaylandPick();

} // namespace tonfang
