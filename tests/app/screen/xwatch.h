#pragma once
// Watches the top-level windows of an X server without a window manager:
// waits, event-driven and with a deadline, for a window to be mapped or
// unmapped, and asks a window to close the way a window manager would.

#include <xcb/xcb.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

class XWatch {
public:
    XWatch();
    ~XWatch();
    XWatch(const XWatch &) = delete;
    XWatch &operator=(const XWatch &) = delete;

    bool connected() const { return m_connection != nullptr; }

    struct Window {
        xcb_window_t id = 0;
        int x = 0, y = 0, width = 0, height = 0;
    };

    // The first viewable top-level window whose title starts with the prefix,
    // as soon as there is one, or nothing once the deadline has passed.
    std::optional<Window> waitForMapped(const std::string &titlePrefix,
                                        std::chrono::milliseconds timeout);
    // True once the window is no longer viewable (or gone).
    bool waitForUnmapped(xcb_window_t window, std::chrono::milliseconds timeout);
    bool isViewable(xcb_window_t window);
    // True once `upper` is stacked above `lower`.
    bool waitForAbove(xcb_window_t upper, xcb_window_t lower, std::chrono::milliseconds timeout);

    // The names of the atoms an ATOM-list property holds, such as
    // _NET_WM_WINDOW_TYPE, in order; what a window manager and taskbar read.
    std::vector<std::string> atomNames(xcb_window_t window, const char *property);

    // Sends WM_DELETE_WINDOW, what a close button does.
    void requestClose(xcb_window_t window);

    int screenWidth() const;
    int screenHeight() const;

private:
    std::optional<Window> findMapped(const std::string &titlePrefix);
    bool isAbove(xcb_window_t upper, xcb_window_t lower);
    std::string title(xcb_window_t window);
    xcb_atom_t atom(const char *name);
    // Waits for the next event until the deadline; false when it has passed.
    bool nextEvent(std::chrono::steady_clock::time_point deadline);

    xcb_connection_t *m_connection = nullptr;
    xcb_screen_t *m_screen = nullptr;
};
