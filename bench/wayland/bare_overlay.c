/* The least a native pick must do before it shows: capture every output once
 * with screencopy into shared memory, then map one overlay layer surface on
 * each showing its capture, and wait for every surface's first frame
 * callback. Prints "ready" then and ends; the benchmark times it from exec. */
#define _GNU_SOURCE /* memfd_create */
#include "viewporter-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

enum { MAX_OUTPUTS = 8 };

struct output {
    struct wl_output *output;
    struct zwlr_screencopy_frame_v1 *frame;
    struct wl_buffer *buffer;
    struct wl_surface *surface;
    struct zwlr_layer_surface_v1 *layer;
    struct wp_viewport *viewport;
    uint32_t format, width, height, stride;
    int captured, shown;
};

static struct wl_compositor *compositor;
static struct wl_shm *shm;
static struct zwlr_screencopy_manager_v1 *screencopy;
static struct zwlr_layer_shell_v1 *layer_shell;
static struct wp_viewporter *viewporter;
static struct output outputs[MAX_OUTPUTS];
static int output_count, failed;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                   uint32_t version)
{
    (void)data, (void)version;
    if (strcmp(interface, wl_compositor_interface.name) == 0)
        compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 4);
    else if (strcmp(interface, wl_shm_interface.name) == 0)
        shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    else if (strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0)
        screencopy = wl_registry_bind(registry, name, &zwlr_screencopy_manager_v1_interface, 3);
    else if (strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0)
        layer_shell = wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 1);
    else if (strcmp(interface, wp_viewporter_interface.name) == 0)
        viewporter = wl_registry_bind(registry, name, &wp_viewporter_interface, 1);
    else if (strcmp(interface, wl_output_interface.name) == 0 && output_count < MAX_OUTPUTS)
        outputs[output_count++].output = wl_registry_bind(registry, name, &wl_output_interface, 1);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static void frame_buffer(void *data, struct zwlr_screencopy_frame_v1 *frame, uint32_t format,
                         uint32_t width, uint32_t height, uint32_t stride)
{
    (void)frame;
    struct output *o = data;
    o->format = format, o->width = width, o->height = height, o->stride = stride;
}

static void frame_buffer_done(void *data, struct zwlr_screencopy_frame_v1 *frame)
{
    struct output *o = data;
    const size_t size = (size_t)o->stride * o->height;
    const int fd = memfd_create("bare-capture", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, (off_t)size) < 0) {
        failed = 1;
        return;
    }
    struct wl_shm_pool *pool = wl_shm_create_pool(shm, fd, (int32_t)size);
    o->buffer = wl_shm_pool_create_buffer(pool, 0, (int32_t)o->width, (int32_t)o->height,
                                          (int32_t)o->stride, o->format);
    wl_shm_pool_destroy(pool);
    close(fd);
    zwlr_screencopy_frame_v1_copy(frame, o->buffer);
}

static void frame_flags(void *data, struct zwlr_screencopy_frame_v1 *frame, uint32_t flags)
{
    (void)data, (void)frame, (void)flags;
}

static void frame_ready(void *data, struct zwlr_screencopy_frame_v1 *frame, uint32_t hi,
                        uint32_t lo, uint32_t nsec)
{
    (void)frame, (void)hi, (void)lo, (void)nsec;
    ((struct output *)data)->captured = 1;
}

static void frame_failed(void *data, struct zwlr_screencopy_frame_v1 *frame)
{
    (void)data, (void)frame;
    failed = 1;
}

static void frame_damage(void *data, struct zwlr_screencopy_frame_v1 *frame, uint32_t x,
                         uint32_t y, uint32_t width, uint32_t height)
{
    (void)data, (void)frame, (void)x, (void)y, (void)width, (void)height;
}

static void frame_dmabuf(void *data, struct zwlr_screencopy_frame_v1 *frame, uint32_t format,
                         uint32_t width, uint32_t height)
{
    (void)data, (void)frame, (void)format, (void)width, (void)height;
}

static const struct zwlr_screencopy_frame_v1_listener frame_listener = {
    frame_buffer, frame_flags, frame_ready, frame_failed, frame_damage, frame_dmabuf,
    frame_buffer_done};

static void shown(void *data, struct wl_callback *callback, uint32_t time)
{
    (void)time;
    wl_callback_destroy(callback);
    ((struct output *)data)->shown = 1;
}

static const struct wl_callback_listener shown_listener = {shown};

static void configure(void *data, struct zwlr_layer_surface_v1 *layer, uint32_t serial,
                      uint32_t width, uint32_t height)
{
    struct output *o = data;
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    wp_viewport_set_destination(o->viewport, (int32_t)width, (int32_t)height);
    wl_surface_attach(o->surface, o->buffer, 0, 0);
    wl_surface_damage_buffer(o->surface, 0, 0, INT32_MAX, INT32_MAX);
    wl_callback_add_listener(wl_surface_frame(o->surface), &shown_listener, o);
    wl_surface_commit(o->surface);
}

static void closed(void *data, struct zwlr_layer_surface_v1 *layer)
{
    (void)data, (void)layer;
    failed = 1;
}

static const struct zwlr_layer_surface_v1_listener layer_listener = {configure, closed};

static int all(size_t offset)
{
    for (int i = 0; i < output_count; ++i)
        if (!*(int *)((char *)&outputs[i] + offset))
            return 0;
    return 1;
}

int main(void)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (!display)
        return 1;
    wl_registry_add_listener(wl_display_get_registry(display), &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!compositor || !shm || !screencopy || !layer_shell || !viewporter || !output_count) {
        fputs("bare_overlay: the compositor lacks what a native pick needs\n", stderr);
        return 1;
    }
    for (int i = 0; i < output_count; ++i) {
        outputs[i].frame = zwlr_screencopy_manager_v1_capture_output(screencopy, 0, outputs[i].output);
        zwlr_screencopy_frame_v1_add_listener(outputs[i].frame, &frame_listener, &outputs[i]);
    }
    while (!failed && !all(offsetof(struct output, captured)))
        if (wl_display_dispatch(display) < 0)
            return 1;
    for (int i = 0; i < output_count && !failed; ++i) {
        struct output *o = &outputs[i];
        o->surface = wl_compositor_create_surface(compositor);
        o->viewport = wp_viewporter_get_viewport(viewporter, o->surface);
        o->layer = zwlr_layer_shell_v1_get_layer_surface(layer_shell, o->surface, o->output,
                                                         ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "bare");
        zwlr_layer_surface_v1_set_anchor(o->layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP
                                                       | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM
                                                       | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT
                                                       | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
        zwlr_layer_surface_v1_set_exclusive_zone(o->layer, -1);
        zwlr_layer_surface_v1_add_listener(o->layer, &layer_listener, o);
        wl_surface_commit(o->surface);
    }
    while (!failed && !all(offsetof(struct output, shown)))
        if (wl_display_dispatch(display) < 0)
            return 1;
    if (failed)
        return 1;
    puts("ready");
    fflush(stdout);
    return 0;
}
