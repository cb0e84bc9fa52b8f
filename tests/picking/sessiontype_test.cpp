// When a pick must go through the desktop portal.

#include "picking/sessiontype.h"

#include <gtest/gtest.h>

TEST(SessionType, ThePortalOnWaylandOnlyAndAStrayWaylandDisplayCountsOnlyWithoutASessionType)
{
    const struct {
        const char *platform, *session, *waylandDisplay;
        bool portal;
    } cases[] = {
        {"wayland", "x11", "", true},         {"wayland-egl", "", "", true},
        {"xcb", "wayland", "", true},         {"xcb", "Wayland", "wayland-0", true},
        {"xcb", "x11", "wayland-0", false},   {"xcb", "tty", "wayland-0", false},
        {"xcb", "", "wayland-0", true},       {"xcb", "", "", false},
        {"offscreen", "x11", "", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(tonfang::sessionNeedsPortal(QString::fromLatin1(c.platform),
                                              QString::fromLatin1(c.session),
                                              QString::fromLatin1(c.waylandDisplay)),
                  c.portal)
            << c.platform << " / " << c.session << " / " << c.waylandDisplay;
}
