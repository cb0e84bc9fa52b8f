// Starts a program on the X server of $DISPLAY and reports, from outside the
// program, how long it took until its first window with a given title was
// mapped, and its resident memory a fixed time after that map, the same moment
// for every program compared:
//   launch_probe FIRST_TITLE -- PROGRAM [ARGS...]
// prints "<milliseconds to FIRST_TITLE> <VmRSS kB 3 s after that map>".
// The title matches as a prefix. The program is then ended with SIGTERM.
//   launch_probe --grab -- PROGRAM [ARGS...]
// prints "<milliseconds until the pointer is grabbed> <VmHWM kB then>" for a
// program that grabs the pointer without showing a window: the probe asks for
// the pointer itself until the server answers that someone else holds it.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// When memory is read: long enough after the first map for a program to have
// settled, the same for every program compared.
constexpr std::chrono::seconds memoryDelay(3);

std::string windowTitle(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netWmName)
{
    for (const xcb_atom_t property : {netWmName, xcb_atom_t(XCB_ATOM_WM_NAME)}) {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        if (!reply)
            continue;
        std::string text(static_cast<const char *>(xcb_get_property_value(reply)),
                         std::size_t(xcb_get_property_value_length(reply)));
        std::free(reply);
        if (!text.empty())
            return text;
    }
    return {};
}

// Whether a newly mapped top-level window is, or under a window manager
// frames, the window with the given title prefix.
bool holdsTitledWindow(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netWmName,
                       const std::string &prefix, int depth = 0)
{
    if (windowTitle(connection, window, netWmName).rfind(prefix, 0) == 0)
        return true;
    if (depth == 3)
        return false;
    xcb_query_tree_reply_t *tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    if (!tree)
        return false;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    bool found = false;
    for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i)
        found = holdsTitledWindow(connection, children[i], netWmName, prefix, depth + 1);
    std::free(tree);
    return found;
}

// A field of /proc/PID/status in kB: VmRSS (resident now) or VmHWM (peak).
long statusKilobytes(pid_t pid, const std::string &field = "VmRSS:")
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::strtol(line.c_str() + field.size(), nullptr, 10);
    return -1;
}

// Whether another client holds the pointer. The ungrab follows the grab in the
// same batch, so a grab of ours lasts too short to make the program's fail.
bool pointerHeldElsewhere(xcb_connection_t *connection, xcb_window_t root)
{
    const xcb_grab_pointer_cookie_t cookie =
        xcb_grab_pointer(connection, 0, root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                         XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_grab_pointer_reply_t *reply = xcb_grab_pointer_reply(connection, cookie, nullptr);
    const bool held = reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    std::free(reply);
    return held;
}

pid_t launch(char *argv[])
{
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    return pid;
}

int probeGrab(xcb_connection_t *connection, xcb_window_t root, char *argv[])
{
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = launch(argv);
    const auto deadline = started + std::chrono::seconds(30);
    double grabbedMs = -1;
    long peak = -1;
    while (std::chrono::steady_clock::now() < deadline) {
        if (pointerHeldElsewhere(connection, root)) {
            grabbedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now()
                                                                  - started)
                            .count();
            peak = statusKilobytes(pid, "VmHWM:");
            break;
        }
        usleep(1000);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(connection);
    if (grabbedMs < 0) {
        std::fprintf(stderr, "no grab seen within 30 s\n");
        return 1;
    }
    std::printf("%.1f %ld\n", grabbedMs, peak);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool grab = argc >= 4 && std::strcmp(argv[1], "--grab") == 0
                      && std::strcmp(argv[2], "--") == 0;
    if (!grab && (argc < 4 || std::strcmp(argv[2], "--") != 0)) {
        std::fprintf(stderr,
                     "usage: %s FIRST_TITLE -- PROGRAM [ARGS...]\n"
                     "       %s --grab -- PROGRAM [ARGS...]\n",
                     argv[0], argv[0]);
        return 2;
    }

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X server\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    if (grab)
        return probeGrab(connection, root, argv + 3);
    const std::string firstTitle = argv[1];
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, 12, "_NET_WM_NAME"), nullptr);
    const xcb_atom_t netWmName = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(atom);
    xcb_flush(connection);

    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = launch(argv + 3);

    double firstMs = -1;
    long rss = -1;
    const auto deadline = started + std::chrono::seconds(30);
    while (firstMs < 0 && std::chrono::steady_clock::now() < deadline) {
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
            poll(&descriptor, 1, 1000);
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto now = std::chrono::steady_clock::now();
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (holdsTitledWindow(connection, map->window, netWmName, firstTitle)) {
                firstMs = std::chrono::duration<double, std::milli>(now - started).count();
                std::this_thread::sleep_until(now + memoryDelay);
                rss = statusKilobytes(pid);
            }
        }
        std::free(event);
    }

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(connection);
    if (firstMs < 0 || rss < 0) {
        std::fprintf(stderr, "window not seen within 30 s\n");
        return 1;
    }
    std::printf("%.1f %ld\n", firstMs, rss);
    return 0;
}
