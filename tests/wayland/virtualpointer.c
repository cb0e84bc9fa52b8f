/* A pointer for a compositor without input devices. It stays plugged in and
 * reads one command a line, each sent as a pointer frame of its own:
 *   motion X Y XEXTENT YEXTENT   absolute: X/XEXTENT of the layout's width
 *   button CODE 1|0              a Linux button code (272 left, 273 right)
 * and answers "ok" once the compositor has it, so that no one need sleep. */
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <stdio.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct zwlr_virtual_pointer_manager_v1 *manager;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                   uint32_t version)
{
    (void)data, (void)version;
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener listener = {global, global_remove};

int main(void)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (display) {
        wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
        wl_display_roundtrip(display);
    }
    if (!manager) {
        fputs("virtualpointer: no compositor that offers virtual pointers\n", stderr);
        return 1;
    }
    struct zwlr_virtual_pointer_v1 *pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, NULL);
    char line[256];
    unsigned a, b, c, d;
    while (fgets(line, sizeof line, stdin)) {
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const uint32_t ms = (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
        if (sscanf(line, "motion %u %u %u %u", &a, &b, &c, &d) == 4)
            zwlr_virtual_pointer_v1_motion_absolute(pointer, ms, a, b, c, d);
        else if (sscanf(line, "button %u %u", &a, &b) == 2)
            zwlr_virtual_pointer_v1_button(pointer, ms, a, b);
        else
            continue;
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        puts("ok");
        fflush(stdout);
    }
    return 0;
}
