#include "xwatch.h"

#include "picking/xcbreply.h"

#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <memory>

using tonfang::owned;

XWatch::XWatch()
{
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return;
    }
    auto it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    m_screen = it.data;
    // Map and unmap of every top-level window arrive as events on the root.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
}

XWatch::~XWatch()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

int XWatch::screenWidth() const { return m_screen->width_in_pixels; }
int XWatch::screenHeight() const { return m_screen->height_in_pixels; }

xcb_atom_t XWatch::atom(const char *name)
{
    auto r = owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::string XWatch::title(xcb_window_t window)
{
    for (const xcb_atom_t property : {atom("_NET_WM_NAME"), xcb_atom_t(XCB_ATOM_WM_NAME)}) {
        auto r = owned(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr));
        if (r && xcb_get_property_value_length(r.get()) > 0)
            return std::string(static_cast<const char *>(xcb_get_property_value(r.get())),
                               std::size_t(xcb_get_property_value_length(r.get())));
    }
    return {};
}

std::vector<std::string> XWatch::atomNames(xcb_window_t window, const char *property)
{
    std::vector<std::string> names;
    auto r = owned(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, window, atom(property), XCB_ATOM_ATOM, 0, 64), nullptr));
    if (!r)
        return names;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(r.get()));
    const int count = xcb_get_property_value_length(r.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i) {
        auto name = owned(xcb_get_atom_name_reply(
            m_connection, xcb_get_atom_name(m_connection, atoms[i]), nullptr));
        if (name)
            names.emplace_back(xcb_get_atom_name_name(name.get()),
                               std::size_t(xcb_get_atom_name_name_length(name.get())));
    }
    return names;
}

bool XWatch::isViewable(xcb_window_t window)
{
    auto r = owned(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return r && r->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<XWatch::Window> XWatch::findMapped(const std::string &titlePrefix)
{
    auto tree = owned(xcb_query_tree_reply(
        m_connection, xcb_query_tree(m_connection, m_screen->root), nullptr));
    if (!tree)
        return std::nullopt;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const xcb_window_t child = children[i];
        if (!isViewable(child) || title(child).rfind(titlePrefix, 0) != 0)
            continue;
        auto geometry = owned(xcb_get_geometry_reply(
            m_connection, xcb_get_geometry(m_connection, child), nullptr));
        if (!geometry)
            continue;
        return Window{child, geometry->x, geometry->y, geometry->width, geometry->height};
    }
    return std::nullopt;
}

bool XWatch::nextEvent(std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        if (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            std::free(event);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        if (poll(&descriptor, 1, int(left.count())) <= 0)
            return false;
    }
}

std::optional<XWatch::Window> XWatch::waitForMapped(const std::string &titlePrefix,
                                                    std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (auto found = findMapped(titlePrefix))
            return found;
    } while (nextEvent(deadline));
    return std::nullopt;
}

bool XWatch::waitForUnmapped(xcb_window_t window, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (!isViewable(window))
            return true;
    } while (nextEvent(deadline));
    return false;
}

bool XWatch::isAbove(xcb_window_t upper, xcb_window_t lower)
{
    // The root's children come bottom first.
    auto tree = owned(xcb_query_tree_reply(
        m_connection, xcb_query_tree(m_connection, m_screen->root), nullptr));
    if (!tree)
        return false;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    int upperAt = -1, lowerAt = -1;
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (children[i] == upper)
            upperAt = i;
        if (children[i] == lower)
            lowerAt = i;
    }
    return upperAt >= 0 && lowerAt >= 0 && upperAt > lowerAt;
}

bool XWatch::waitForAbove(xcb_window_t upper, xcb_window_t lower, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (isAbove(upper, lower))
            return true;
    } while (nextEvent(deadline));
    return false;
}

void XWatch::requestClose(xcb_window_t window)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
}
