#pragma once
// Whether a display can be reached, asked before the application object is
// made: Qt aborts the process when its platform cannot connect, and a person
// who started the program from a text console deserves a sentence instead.

#include <QByteArray>
#include <QStringList>

struct xcb_connection_t;

namespace tonfang {

// What the check reads from the environment.
struct DisplayEnvironment {
    QByteArray qpaPlatform = {};     // QT_QPA_PLATFORM
    QByteArray sessionType = {};     // XDG_SESSION_TYPE
    QByteArray display = {};         // DISPLAY
    QByteArray waylandDisplay = {};  // WAYLAND_DISPLAY
    QByteArray runtimeDir = {};      // XDG_RUNTIME_DIR
    QByteArray waylandSocket = {};   // WAYLAND_SOCKET, a connection handed over
    static DisplayEnvironment current();
};

// The connections Qt may make as it chooses its platform, from -platform and
// -display among the arguments and from the environment. A platform list
// that names any other platform (offscreen, vnc ...) is not checked; without
// one, X is tried and, on a Wayland session, Wayland too.
struct DisplayPlan {
    bool check = true;
    bool x11 = false;
    QByteArray xDisplay; // empty: DISPLAY
    bool wayland = false;
};
DisplayPlan displayPlan(const QStringList &qtArguments, const DisplayEnvironment &environment);

// Whether the session is a Wayland one, by the pick's rule: XDG_SESSION_TYPE
// says so, or, only when it is unset, WAYLAND_DISPLAY is set.
bool isWaylandSession(const DisplayEnvironment &environment);

// The X connection a check made, kept open until Qt has made its own: on an
// X server with no other client, closing the last connection resets the
// server, which holds the next connection back for some 20 ms or refuses it.
class HeldXConnection {
public:
    HeldXConnection() = default;
    ~HeldXConnection() { close(); }
    HeldXConnection(const HeldXConnection &) = delete;
    HeldXConnection &operator=(const HeldXConnection &) = delete;
    void hold(xcb_connection_t *connection);
    bool isOpen() const { return m_connection != nullptr; }
    void close();

private:
    xcb_connection_t *m_connection = nullptr;
};

bool canReachX(const QByteArray &displayName, HeldXConnection &held);
// A connect to the compositor's socket, as libwayland would make it.
bool canReachWayland(const DisplayEnvironment &environment);

// True when Qt can start: nothing to check, or one planned connection works.
// An X connection that answered is left in `held`, to be closed once the
// application object exists.
bool displayReachable(const QStringList &qtArguments, HeldXConnection &held,
                      const DisplayEnvironment &environment = DisplayEnvironment::current());

} // namespace tonfang
