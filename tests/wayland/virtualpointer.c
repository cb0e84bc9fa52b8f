/* A pointer for a compositor that has no input devices: it stays plugged in
 * and reads one command a line from standard input,
 *   motion X Y XEXTENT YEXTENT   absolute, X/XEXTENT of the output layout's width
 *   button CODE 1|0              a Linux button code (272 left, 273 right) pressed or released
 * and answers each with "ok" once the compositor has received it (a round
 * trip), so whoever drives it can wait for that instead of sleeping. Each
 * command is a pointer frame of its own. */
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <stdio.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct zwlr_virtual_pointer_manager_v1 *manager;
static struct wl_seat *seat;

static void global(void *data, struct wl_registry *registry, uint32_t name,
                   const char *interface, uint32_t version)
{
    (void)data, (void)version;
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    else if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static uint32_t now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

int main(void)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "virtualpointer: no compositor\n");
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!manager) {
        fprintf(stderr, "virtualpointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    struct zwlr_virtual_pointer_v1 *pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    setvbuf(stdout, NULL, _IOLBF, 0);

    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        unsigned a, b, c, d;
        if (sscanf(line, "motion %u %u %u %u", &a, &b, &c, &d) == 4)
            zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), a, b, c, d);
        else if (sscanf(line, "button %u %u", &a, &b) == 2)
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), a, b);
        else {
            fprintf(stderr, "virtualpointer: unknown command: %s", line);
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        puts("ok");
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
