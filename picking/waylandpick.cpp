#include "picking/waylandpick.h"

#ifndef TONFANG_WAYLAND_NATIVE

// Built without the Wayland client libraries: the portal always picks.
struct WaylandPick::Impl {};
WaylandPick::WaylandPick() = default;
WaylandPick::~WaylandPick() = default;
std::unique_ptr<WaylandPick> WaylandPick::connect()
{
    return nullptr;
}
void WaylandPick::start(bool) {}
void WaylandPick::pickAtFirstPointer() {}
bool WaylandPick::magnifierOn() const
{
    return false;
}

#else

#include "picking/capturemapping.h"
#include "picking/captureoverlay.h"
#include "picking/pickaids.h"
#include "picking/pixelsource.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QSocketNotifier>
#include <QTimer>

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "viewporter-client-protocol.h"
// The layer-shell header names a parameter `namespace`, which C++ reserves.
#define namespace layerNamespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

using tonfang::OutputTransform;
using tonfang::PixelPoint;
using tonfang::PixelSize;
using tonfang::PixelSource;
using tonfang::PixelSquare;
using tonfang::SquareView;

namespace {

// Shared memory for a wl_shm pool, unmapped and closed with it.
class SharedMemory {
public:
    SharedMemory() = default;
    SharedMemory(const SharedMemory &) = delete;
    SharedMemory &operator=(const SharedMemory &) = delete;
    ~SharedMemory()
    {
        if (m_data)
            munmap(m_data, m_size);
        if (m_fd >= 0)
            close(m_fd);
    }

    bool allocate(std::size_t size)
    {
        m_fd = memfd_create("tonfang-pick", MFD_CLOEXEC);
        if (m_fd < 0 || ftruncate(m_fd, off_t(size)) != 0)
            return false;
        void *data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
        if (data == MAP_FAILED)
            return false;
        m_data = static_cast<std::uint8_t *>(data);
        m_size = size;
        return true;
    }

    wl_shm_pool *pool(wl_shm *shm) const { return wl_shm_create_pool(shm, m_fd, int(m_size)); }
    std::uint8_t *data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    int m_fd = -1;
    std::uint8_t *m_data = nullptr;
    std::size_t m_size = 0;
};

} // namespace

struct WaylandPick::Impl : PixelSource, SquareView {
    struct Output;

    // A buffer an overlay shows: the capture itself where it can be shown
    // as it is, kept bare, or one of two copies drawn into in turn, each made
    // when first needed.
    struct Buffer {
        Output *output = nullptr;
        wl_buffer *buffer = nullptr;
        std::unique_ptr<SharedMemory> memory;
        QImage image; // on the shared memory; null for the bare capture
        bool busy = false;
        QRect decorated; // what is drawn over the capture here
    };

    struct Output {
        Impl *impl = nullptr;
        std::uint32_t name = 0;
        wl_output *output = nullptr;
        OutputTransform transform = OutputTransform::Normal;

        zwlr_screencopy_frame_v1 *frame = nullptr;
        std::uint32_t format = 0;
        std::optional<tonfang::PixelLayout> layout;
        PixelSize captureSize;
        int captureStride = 0;
        bool yInverted = false;
        std::unique_ptr<SharedMemory> captureMemory;
        wl_buffer *captureBuffer = nullptr;
        QImage shown; // the frozen capture, as the output shows it, maybe in place

        wl_surface *surface = nullptr;
        wp_viewport *viewport = nullptr;
        zwlr_layer_surface_v1 *layer = nullptr;
        PixelSize logical;
        std::array<Buffer, 3> buffers; // the bare capture first
        wl_callback *frameCallback = nullptr;
        bool everShown = false;
        bool firstFrameDone = false;
        bool dirty = false;
        QRect shownDecoration; // on the buffer last committed

        ~Output()
        {
            for (Buffer &b : buffers)
                if (b.buffer)
                    wl_buffer_destroy(b.buffer);
            if (frameCallback)
                wl_callback_destroy(frameCallback);
            if (layer)
                zwlr_layer_surface_v1_destroy(layer);
            if (viewport)
                wp_viewport_destroy(viewport);
            if (surface)
                wl_surface_destroy(surface);
            if (captureBuffer)
                wl_buffer_destroy(captureBuffer);
            if (frame)
                zwlr_screencopy_frame_v1_destroy(frame);
            if (output && wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
                wl_output_release(output);
            else if (output)
                wl_output_destroy(output);
        }
    };

    enum class Phase { Connected, Capturing, Showing, Done };

    WaylandPick *q;
    wl_display *display = nullptr;
    wl_registry *registry = nullptr;
    wl_compositor *compositor = nullptr;
    wl_shm *shm = nullptr;
    wl_seat *seat = nullptr;
    wl_pointer *pointer = nullptr;
    wl_keyboard *keyboard = nullptr;
    zwlr_screencopy_manager_v1 *screencopy = nullptr;
    zwlr_layer_shell_v1 *layerShell = nullptr;
    wp_viewporter *viewporter = nullptr;
    std::vector<std::unique_ptr<Output>> outputs;
    QSocketNotifier *readable = nullptr;
    QSocketNotifier *writable = nullptr;
    Phase phase = Phase::Connected;

    xkb_context *xkb = nullptr;
    xkb_keymap *keymap = nullptr;
    xkb_state *keyState = nullptr;
    // Held arrow keys repeat, as the compositor asks its clients to do.
    QTimer repeat;
    std::uint32_t repeatingKey = 0;
    int repeatRate = 25, repeatDelay = 600; // per second, milliseconds

    // The output the pointer is on, and the crosshair in its device pixels.
    Output *focus = nullptr;
    PixelPoint crosshair;
    std::optional<tonfang::Rgb> live;
    std::optional<PixelSquare> magnified;
    bool pickAtFirstPointer = false;
    bool enteredSinceShown = false;
    int buttonsHeld = 0;
    enum class Outcome { None, Picked, Cancelled };
    Outcome outcome = Outcome::None;
    tonfang::Rgb pickedColour{};

    PickAids aids{*this, this};

    // Figures for the benchmark on standard error, only when
    // TONFANG_BENCH_READY=1 asks: "bench ready" as every overlay shows, and
    // after each committed frame "bench frame N", the nanoseconds spent on
    // Wayland events since the line before.
    struct BenchLines {
        bool on = qEnvironmentVariable("TONFANG_BENCH_READY") == QLatin1String("1");
        qint64 busy = 0;
        bool committed = false;
    } bench;

    explicit Impl(WaylandPick *owner) : q(owner)
    {
        repeat.callOnTimeout(q, [this] {
            repeat.setInterval(1000 / repeatRate);
            if (keyState)
                keyPressed(repeatingKey, true);
        });
    }

    ~Impl() override
    {
        phase = Phase::Done;
        // Nothing watches the socket once it is closed.
        delete readable;
        delete writable;
        dropOutputs();
        if (keyState)
            xkb_state_unref(keyState);
        if (keymap)
            xkb_keymap_unref(keymap);
        if (xkb)
            xkb_context_unref(xkb);
        if (keyboard)
            wl_keyboard_release(keyboard);
        if (pointer)
            wl_pointer_release(pointer);
        if (seat)
            wl_seat_release(seat);
        if (viewporter)
            wp_viewporter_destroy(viewporter);
        if (layerShell)
            zwlr_layer_shell_v1_destroy(layerShell);
        if (screencopy)
            zwlr_screencopy_manager_v1_destroy(screencopy);
        if (shm)
            wl_shm_destroy(shm);
        if (compositor)
            wl_compositor_destroy(compositor);
        if (registry)
            wl_registry_destroy(registry);
        if (display) {
            wl_display_flush(display);
            wl_display_disconnect(display);
        }
    }

    // --- The connection, driven from Qt's event loop ---

    void watchSocket()
    {
        const int fd = wl_display_get_fd(display);
        readable = new QSocketNotifier(fd, QSocketNotifier::Read, q);
        QObject::connect(readable, &QSocketNotifier::activated, q, [this] { timed(&Impl::readEvents); });
        writable = new QSocketNotifier(fd, QSocketNotifier::Write, q);
        writable->setEnabled(false);
        QObject::connect(writable, &QSocketNotifier::activated, q, [this] { timed(&Impl::flush); });
        // Requests made anywhere in Qt's loop go out before it sleeps.
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock, q, [this] { timed(&Impl::flush); });
    }

    void timed(void (Impl::*work)())
    {
        if (!bench.on)
            return (this->*work)();
        QElapsedTimer timer;
        timer.start();
        (this->*work)();
        bench.busy += timer.nsecsElapsed();
        if (std::exchange(bench.committed, false))
            std::fprintf(stderr, "bench frame %lld\n", static_cast<long long>(std::exchange(bench.busy, 0)));
    }

    void readEvents()
    {
        if (!display || phase == Phase::Done)
            return;
        // Events already queued are dispatched first, as the library requires
        // before a read.
        while (wl_display_prepare_read(display) != 0)
            if (wl_display_dispatch_pending(display) < 0)
                return lost();
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
            return lost();
        flush();
    }

    void flush()
    {
        if (!display || phase == Phase::Done)
            return;
        if (wl_display_dispatch_pending(display) < 0)
            return lost();
        const int sent = wl_display_flush(display);
        if (sent < 0 && errno != EAGAIN)
            return lost();
        // A full socket takes the rest once it can.
        writable->setEnabled(sent < 0);
    }

    // Ends the pick: no more events, and the overlays go at once, before
    // anyone hears of the outcome. Says whether it was still running.
    bool end()
    {
        if (phase == Phase::Done)
            return false;
        phase = Phase::Done;
        repeat.stop();
        aids.pickEnded();
        dropOutputs();
        wl_display_flush(display);
        if (readable) {
            readable->setEnabled(false);
            writable->setEnabled(false);
        }
        return true;
    }

    void dropOutputs()
    {
        focus = nullptr;
        outputs.clear();
    }

    void lost()
    {
        if (end())
            emit q->compositorLost();
    }

    void finish(Outcome how)
    {
        if (!end())
            return;
        if (how == Outcome::Picked)
            emit q->picked(pickedColour);
        else
            emit q->cancelled();
    }

    void refuse()
    {
        if (end())
            emit q->captureRefused();
    }

    // --- Globals ---

    static void global(void *data, wl_registry *registry, std::uint32_t name,
                       const char *interface, std::uint32_t version)
    {
        auto *self = static_cast<Impl *>(data);
        const auto is = [interface](const wl_interface &i) {
            return std::strcmp(interface, i.name) == 0;
        };
        const auto bind = [&](const wl_interface &i, std::uint32_t wanted) {
            return wl_registry_bind(registry, name, &i, std::min(version, wanted));
        };
        if (is(wl_output_interface)) {
            if (self->phase != Phase::Connected)
                return self->finish(Outcome::Cancelled); // a new output mid-pick
            auto output = std::make_unique<Output>();
            output->impl = self;
            output->name = name;
            output->output = static_cast<wl_output *>(bind(wl_output_interface, 3));
            wl_output_add_listener(output->output, &outputListener, output.get());
            self->outputs.push_back(std::move(output));
        } else if (is(wl_compositor_interface) && version >= 4) {
            self->compositor = static_cast<wl_compositor *>(bind(wl_compositor_interface, 4));
        } else if (is(wl_shm_interface)) {
            self->shm = static_cast<wl_shm *>(bind(wl_shm_interface, 1));
        } else if (is(wl_seat_interface) && !self->seat && version >= 5) {
            self->seat = static_cast<wl_seat *>(bind(wl_seat_interface, 5));
            wl_seat_add_listener(self->seat, &seatListener, self);
        } else if (is(zwlr_screencopy_manager_v1_interface) && version >= 3) {
            self->screencopy = static_cast<zwlr_screencopy_manager_v1 *>(
                bind(zwlr_screencopy_manager_v1_interface, 3));
        } else if (is(zwlr_layer_shell_v1_interface)) {
            self->layerShell =
                static_cast<zwlr_layer_shell_v1 *>(bind(zwlr_layer_shell_v1_interface, 4));
        } else if (is(wp_viewporter_interface)) {
            self->viewporter = static_cast<wp_viewporter *>(bind(wp_viewporter_interface, 1));
        }
    }

    static void globalRemove(void *data, wl_registry *, std::uint32_t name)
    {
        auto *self = static_cast<Impl *>(data);
        for (const auto &o : self->outputs)
            if (o->name == name)
                return self->finish(Outcome::Cancelled); // an output went mid-pick
    }

    static constexpr wl_registry_listener registryListener{&Impl::global, &Impl::globalRemove};

    static void outputGeometry(void *data, wl_output *, std::int32_t, std::int32_t, std::int32_t,
                               std::int32_t, std::int32_t, const char *, const char *,
                               std::int32_t transform)
    {
        auto *o = static_cast<Output *>(data);
        if (transform >= 0 && transform <= 7)
            o->transform = OutputTransform(transform);
    }
    static void outputMode(void *, wl_output *, std::uint32_t, std::int32_t, std::int32_t,
                           std::int32_t)
    {
    }
    static void outputDone(void *, wl_output *) {}
    static void outputScale(void *, wl_output *, std::int32_t) {}
    static void outputText(void *, wl_output *, const char *) {}
    static constexpr wl_output_listener outputListener{
        &Impl::outputGeometry, &Impl::outputMode, &Impl::outputDone,
        &Impl::outputScale,    &Impl::outputText, &Impl::outputText};

    bool offersNativePick() const
    {
        return compositor && shm && seat && screencopy && layerShell && viewporter
               && !outputs.empty();
    }

    // --- Capturing ---

    void captureAll()
    {
        phase = Phase::Capturing;
        for (const auto &o : outputs) {
            // Without the cursor: the overlay draws its own crosshair.
            o->frame = zwlr_screencopy_manager_v1_capture_output(screencopy, 0, o->output);
            zwlr_screencopy_frame_v1_add_listener(o->frame, &frameListener, o.get());
        }
    }

    static void frameBuffer(void *data, zwlr_screencopy_frame_v1 *, std::uint32_t format,
                            std::uint32_t width, std::uint32_t height, std::uint32_t stride)
    {
        auto *o = static_cast<Output *>(data);
        // The first format offered that we can read; every one we know holds
        // a pixel in four bytes.
        if (o->layout)
            return;
        o->layout = tonfang::shmFormatLayout(format);
        if (!o->layout)
            return;
        o->format = format;
        o->captureSize = {int(width), int(height)};
        o->captureStride = int(stride);
    }
    static void frameFlags(void *data, zwlr_screencopy_frame_v1 *, std::uint32_t flags)
    {
        static_cast<Output *>(data)->yInverted = flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
    }
    static void frameReady(void *data, zwlr_screencopy_frame_v1 *, std::uint32_t, std::uint32_t,
                           std::uint32_t)
    {
        auto *o = static_cast<Output *>(data);
        o->impl->captured(*o);
    }
    static void frameFailed(void *data, zwlr_screencopy_frame_v1 *)
    {
        static_cast<Output *>(data)->impl->refuse();
    }
    static void frameDamage(void *, zwlr_screencopy_frame_v1 *, std::uint32_t, std::uint32_t,
                            std::uint32_t, std::uint32_t)
    {
    }
    static void frameDmabuf(void *, zwlr_screencopy_frame_v1 *, std::uint32_t, std::uint32_t,
                            std::uint32_t)
    {
    }
    static void frameBufferDone(void *data, zwlr_screencopy_frame_v1 *frame)
    {
        auto *o = static_cast<Output *>(data);
        Impl *self = o->impl;
        const PixelSize s = o->captureSize;
        if (!o->layout || s.width <= 0 || s.height <= 0 || o->captureStride < s.width * 4
            || !(o->captureMemory = std::make_unique<SharedMemory>())
                    ->allocate(std::size_t(o->captureStride) * std::size_t(s.height)))
            return self->refuse();
        wl_shm_pool *pool = o->captureMemory->pool(self->shm);
        o->captureBuffer = wl_shm_pool_create_buffer(pool, 0, s.width, s.height,
                                                     o->captureStride, o->format);
        wl_shm_pool_destroy(pool);
        zwlr_screencopy_frame_v1_copy(frame, o->captureBuffer);
    }
    static constexpr zwlr_screencopy_frame_v1_listener frameListener{
        &Impl::frameBuffer, &Impl::frameFlags,  &Impl::frameReady,     &Impl::frameFailed,
        &Impl::frameDamage, &Impl::frameDmabuf, &Impl::frameBufferDone};

    void captured(Output &o)
    {
        o.shown = tonfang::shownCapture(o.captureMemory->data(), o.captureSize, o.captureStride,
                                        *o.layout, o.transform, o.yInverted);
        zwlr_screencopy_frame_v1_destroy(std::exchange(o.frame, nullptr));
        wl_buffer_destroy(std::exchange(o.captureBuffer, nullptr));
        if (o.shown.isNull())
            return refuse();
        if (o.shown.constBits() == o.captureMemory->data()) {
            // Read in place: the first frame shows the capture with no copy.
            makeBuffer(o, o.buffers[0], *o.captureMemory);
        } else {
            o.captureMemory.reset();
        }
        // Shown once every output is captured, so no capture holds an overlay.
        if (std::all_of(outputs.begin(), outputs.end(),
                        [](const auto &each) { return !each->shown.isNull(); }))
            showOverlays();
    }

    // --- The overlays ---

    void showOverlays()
    {
        phase = Phase::Showing;
        for (const auto &o : outputs) {
            o->surface = wl_compositor_create_surface(compositor);
            o->viewport = wp_viewporter_get_viewport(viewporter, o->surface);
            o->layer = zwlr_layer_shell_v1_get_layer_surface(
                layerShell, o->surface, o->output, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY,
                "tonfang-pick");
            zwlr_layer_surface_v1_add_listener(o->layer, &layerListener, o.get());
            zwlr_layer_surface_v1_set_anchor(o->layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP
                                                           | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM
                                                           | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT
                                                           | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
            zwlr_layer_surface_v1_set_exclusive_zone(o->layer, -1);
            zwlr_layer_surface_v1_set_keyboard_interactivity(
                o->layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
            wl_surface_commit(o->surface);
        }
        aids.pickStarted();
    }

    static void layerConfigure(void *data, zwlr_layer_surface_v1 *layer, std::uint32_t serial,
                               std::uint32_t width, std::uint32_t height)
    {
        auto *o = static_cast<Output *>(data);
        zwlr_layer_surface_v1_ack_configure(layer, serial);
        // An output turned or scaled mid-pick no longer matches its capture.
        const PixelSize logical{int(width), int(height)};
        if (width == 0 || height == 0 || (o->logical.width && logical != o->logical))
            return o->impl->finish(Outcome::Cancelled);
        o->logical = logical;
        // The capture's device pixels fill the logical size exactly, also at
        // a fractional scale.
        wp_viewport_set_destination(o->viewport, int(width), int(height));
        o->everShown = false;
        o->impl->draw(*o);
    }
    static void layerClosed(void *data, zwlr_layer_surface_v1 *)
    {
        static_cast<Output *>(data)->impl->finish(Outcome::Cancelled);
    }
    static constexpr zwlr_layer_surface_v1_listener layerListener{&Impl::layerConfigure,
                                                                  &Impl::layerClosed};

    // The output's buffer `b` on `memory`, which holds pixels laid out as
    // the shown capture's. A spare alpha byte, if any, is not the overlay's
    // to honour.
    void makeBuffer(Output &o, Buffer &b, const SharedMemory &memory)
    {
        wl_shm_pool *pool = memory.pool(shm);
        b.output = &o;
        b.buffer = wl_shm_pool_create_buffer(pool, 0, o.shown.width(), o.shown.height(),
                                             int(o.shown.bytesPerLine()), WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
        wl_buffer_add_listener(b.buffer, &bufferListener, &b);
    }

    // A copy of the capture to draw on.
    bool makeDrawnBuffer(Output &o, Buffer &b)
    {
        const std::size_t bytes = std::size_t(o.shown.sizeInBytes());
        b.memory = std::make_unique<SharedMemory>();
        if (!b.memory->allocate(bytes))
            return false;
        makeBuffer(o, b, *b.memory);
        b.image = QImage(b.memory->data(), o.shown.width(), o.shown.height(),
                         int(o.shown.bytesPerLine()), QImage::Format_RGB32);
        std::memcpy(b.image.bits(), o.shown.constBits(), bytes);
        return true;
    }

    // The buffer to show next: the bare capture while nothing is drawn over
    // it, else a free copy. Null when all are busy or a copy cannot be made.
    Buffer *nextBuffer(Output &o, bool decorated)
    {
        Buffer &bare = o.buffers[0];
        if (!decorated && bare.buffer && !bare.busy)
            return &bare;
        for (auto b = o.buffers.begin() + 1; b != o.buffers.end(); ++b) {
            if (b->busy)
                continue;
            if (!b->buffer && !makeDrawnBuffer(o, *b)) {
                refuse();
                return nullptr;
            }
            return &*b;
        }
        return nullptr;
    }

    bool everyOverlayShown() const
    {
        return std::all_of(outputs.begin(), outputs.end(),
                           [](const auto &each) { return each->firstFrameDone; });
    }

    static void bufferRelease(void *data, wl_buffer *)
    {
        auto *b = static_cast<Buffer *>(data);
        b->busy = false;
        if (b->output->dirty && b->output->impl->everyOverlayShown())
            b->output->impl->draw(*b->output);
    }
    static constexpr wl_buffer_listener bufferListener{&Impl::bufferRelease};

    static void frameDone(void *data, wl_callback *callback, std::uint32_t)
    {
        auto *o = static_cast<Output *>(data);
        wl_callback_destroy(callback);
        o->frameCallback = nullptr;
        Impl *self = o->impl;
        const bool first = !std::exchange(o->firstFrameDone, true);
        // Marks wait until every overlay shows: the first of them copies the
        // capture, which would hold up the others.
        if (!self->everyOverlayShown())
            return;
        if (!first) {
            if (o->dirty)
                self->draw(*o);
            return;
        }
        if (self->bench.on)
            std::fputs("bench ready\n", stderr);
        emit self->q->ready();
        for (std::size_t i = 0; i < self->outputs.size() && self->phase == Phase::Showing; ++i)
            if (self->outputs[i]->dirty)
                self->draw(*self->outputs[i]);
    }
    static constexpr wl_callback_listener frameDoneListener{&Impl::frameDone};

    qreal ratioOf(const Output &o) const
    {
        return o.logical.width > 0 ? qreal(o.shown.width()) / o.logical.width : 1;
    }

    // Draws the output's overlay: the capture, and where the pointer is the
    // crosshair with its label and the magnifier. At most one frame is in
    // flight; a change meanwhile is drawn when the compositor is ready.
    void draw(Output &o)
    {
        if (phase != Phase::Showing || o.logical.width == 0)
            return;
        o.dirty = true;
        if (o.frameCallback)
            return;
        Buffer *next = nextBuffer(o, &o == focus);
        if (!next)
            return;
        o.dirty = false;
        Buffer &b = *next;
        QRect decoration;
        if (!b.image.isNull()) {
            QPainter painter(&b.image);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            if (!b.decorated.isEmpty())
                painter.drawImage(b.decorated.topLeft(), o.shown, b.decorated);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (&o == focus)
                decoration = tonfang::drawPickMarks(painter, o.shown.rect(),
                                                    {crosshair.x, crosshair.y}, ratioOf(o), live,
                                                    magnified);
        }
        b.decorated = decoration;
        b.busy = true;
        wl_surface_attach(o.surface, b.buffer, 0, 0);
        if (!o.everShown) {
            wl_surface_damage_buffer(o.surface, 0, 0, INT32_MAX, INT32_MAX);
            o.everShown = true;
        } else {
            for (const QRect &r : {o.shownDecoration, decoration})
                if (!r.isEmpty())
                    wl_surface_damage_buffer(o.surface, r.x(), r.y(), r.width(), r.height());
        }
        o.shownDecoration = decoration;
        o.frameCallback = wl_surface_frame(o.surface);
        wl_callback_add_listener(o.frameCallback, &frameDoneListener, &o);
        wl_surface_commit(o.surface);
        bench.committed = true;
    }

    // --- The pointer ---

    Output *outputOf(wl_surface *surface) const
    {
        for (const auto &o : outputs)
            if (o->surface && o->surface == surface)
                return o.get();
        return nullptr;
    }

    void pointerAt(Output *o, wl_fixed_t x, wl_fixed_t y)
    {
        Output *was = std::exchange(focus, o);
        const PixelSize shown{o->shown.width(), o->shown.height()};
        if (const auto p = tonfang::devicePixelAt(wl_fixed_to_double(x), wl_fixed_to_double(y),
                                                  o->logical, shown))
            crosshair = *p;
        if (was && was != o)
            draw(*was);
        crosshairMoved();
    }

    void crosshairMoved()
    {
        if (!focus)
            return;
        live = aids.readForMove();
        draw(*focus);
    }

    void decidePick()
    {
        if (!focus || !live || outcome != Outcome::None)
            return;
        outcome = Outcome::Picked;
        pickedColour = *live;
        if (buttonsHeld == 0)
            finish(outcome);
    }

    void decideCancel()
    {
        if (outcome != Outcome::None)
            return;
        outcome = Outcome::Cancelled;
        if (buttonsHeld == 0)
            finish(outcome);
    }

    static void pointerEnter(void *data, wl_pointer *pointer, std::uint32_t serial,
                             wl_surface *surface, wl_fixed_t x, wl_fixed_t y)
    {
        auto *self = static_cast<Impl *>(data);
        Output *o = self->outputOf(surface);
        if (!o)
            return;
        // The real cursor goes: the crosshair is drawn on the overlay.
        wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
        self->pointerAt(o, x, y);
        if (!std::exchange(self->enteredSinceShown, true) && self->pickAtFirstPointer)
            self->decidePick();
    }
    static void pointerLeave(void *data, wl_pointer *, std::uint32_t, wl_surface *surface)
    {
        auto *self = static_cast<Impl *>(data);
        if (Output *o = self->outputOf(surface); o && o == self->focus) {
            self->focus = nullptr;
            self->draw(*o);
        }
    }
    static void pointerMotion(void *data, wl_pointer *, std::uint32_t, wl_fixed_t x,
                              wl_fixed_t y)
    {
        auto *self = static_cast<Impl *>(data);
        if (self->focus)
            self->pointerAt(self->focus, x, y);
    }
    static void pointerButton(void *data, wl_pointer *, std::uint32_t, std::uint32_t,
                              std::uint32_t button, std::uint32_t state)
    {
        auto *self = static_cast<Impl *>(data);
        if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
            ++self->buttonsHeld;
            if (button == BTN_LEFT)
                self->decidePick();
            else if (button == BTN_RIGHT)
                self->decideCancel();
            return;
        }
        // The overlay goes once every button is up, so that no program gets a
        // release without its press.
        self->buttonsHeld = std::max(0, self->buttonsHeld - 1);
        if (self->buttonsHeld == 0 && self->outcome != Outcome::None)
            self->finish(self->outcome);
    }
    static void pointerAxis(void *, wl_pointer *, std::uint32_t, std::uint32_t, wl_fixed_t) {}
    static void pointerFrame(void *, wl_pointer *) {}
    static void pointerAxisSource(void *, wl_pointer *, std::uint32_t) {}
    static void pointerAxisStop(void *, wl_pointer *, std::uint32_t, std::uint32_t) {}
    static void pointerAxisDiscrete(void *, wl_pointer *, std::uint32_t, std::int32_t) {}
    static constexpr wl_pointer_listener pointerListener{
        &Impl::pointerEnter,      &Impl::pointerLeave,    &Impl::pointerMotion,
        &Impl::pointerButton,     &Impl::pointerAxis,     &Impl::pointerFrame,
        &Impl::pointerAxisSource, &Impl::pointerAxisStop, &Impl::pointerAxisDiscrete,
        &Impl::pointerAxisDiscrete};

    // --- The keyboard ---

    static void keyboardKeymap(void *data, wl_keyboard *, std::uint32_t format, std::int32_t fd,
                               std::uint32_t size)
    {
        auto *self = static_cast<Impl *>(data);
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
            void *text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (text != MAP_FAILED) {
                if (!self->xkb)
                    self->xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
                xkb_keymap *keymap = self->xkb ? xkb_keymap_new_from_buffer(
                                                     self->xkb, static_cast<const char *>(text),
                                                     strnlen(static_cast<const char *>(text), size),
                                                     XKB_KEYMAP_FORMAT_TEXT_V1,
                                                     XKB_KEYMAP_COMPILE_NO_FLAGS)
                                               : nullptr;
                munmap(text, size);
                if (keymap) {
                    if (self->keyState)
                        xkb_state_unref(self->keyState);
                    if (self->keymap)
                        xkb_keymap_unref(self->keymap);
                    self->keymap = keymap;
                    self->keyState = xkb_state_new(keymap);
                }
            }
        }
        close(fd);
    }
    static void keyboardEnter(void *, wl_keyboard *, std::uint32_t, wl_surface *, wl_array *) {}
    static void keyboardLeave(void *data, wl_keyboard *, std::uint32_t, wl_surface *)
    {
        static_cast<Impl *>(data)->repeat.stop();
    }
    static void keyboardKey(void *data, wl_keyboard *, std::uint32_t, std::uint32_t,
                            std::uint32_t key, std::uint32_t state)
    {
        auto *self = static_cast<Impl *>(data);
        if (state != WL_KEYBOARD_KEY_STATE_PRESSED) {
            if (key == self->repeatingKey)
                self->repeat.stop();
            return;
        }
        self->repeat.stop();
        if (self->keyState)
            self->keyPressed(key, false);
    }
    static void keyboardModifiers(void *data, wl_keyboard *, std::uint32_t, std::uint32_t depressed,
                                  std::uint32_t latched, std::uint32_t locked, std::uint32_t group)
    {
        auto *self = static_cast<Impl *>(data);
        if (self->keyState)
            xkb_state_update_mask(self->keyState, depressed, latched, locked, 0, 0, group);
    }
    static void keyboardRepeat(void *data, wl_keyboard *, std::int32_t rate, std::int32_t delay)
    {
        auto *self = static_cast<Impl *>(data);
        self->repeatRate = std::clamp(rate, 0, 1000);
        self->repeatDelay = std::max(0, delay);
    }
    static constexpr wl_keyboard_listener keyboardListener{
        &Impl::keyboardKeymap, &Impl::keyboardEnter,     &Impl::keyboardLeave,
        &Impl::keyboardKey,    &Impl::keyboardModifiers, &Impl::keyboardRepeat};

    // A key by its evdev code, pressed or repeated while held.
    void keyPressed(std::uint32_t key, bool repeated)
    {
        const xkb_keysym_t symbol = xkb_state_key_get_one_sym(keyState, key + 8);
        const bool shift = xkb_state_mod_name_is_active(keyState, XKB_MOD_NAME_SHIFT,
                                                        XKB_STATE_MODS_EFFECTIVE)
                           > 0;
        int qtKey = 0;
        switch (symbol) {
        case XKB_KEY_Escape:
            return decideCancel();
        case XKB_KEY_Return:
        case XKB_KEY_KP_Enter:
        case XKB_KEY_space:
        case XKB_KEY_KP_Space:
            return decidePick();
        case XKB_KEY_Left: case XKB_KEY_KP_Left: qtKey = Qt::Key_Left; break;
        case XKB_KEY_Right: case XKB_KEY_KP_Right: qtKey = Qt::Key_Right; break;
        case XKB_KEY_Up: case XKB_KEY_KP_Up: qtKey = Qt::Key_Up; break;
        case XKB_KEY_Down: case XKB_KEY_KP_Down: qtKey = Qt::Key_Down; break;
        case XKB_KEY_z: case XKB_KEY_Z: qtKey = Qt::Key_Z; break;
        default:
            return;
        }
        if (!aids.handleKey(qtKey, shift ? Qt::ShiftModifier : Qt::NoModifier, repeated))
            return;
        crosshairMoved();
        if (!repeated && qtKey != Qt::Key_Z && repeatRate > 0) {
            repeatingKey = key;
            repeat.start(repeatDelay);
        }
    }

    static void seatCapabilities(void *data, wl_seat *seat, std::uint32_t capabilities)
    {
        // A device that goes leaves its object dead; one that comes (again)
        // needs a new one.
        auto *self = static_cast<Impl *>(data);
        const bool hasPointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
        const bool hasKeyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
        if (!hasPointer && self->pointer)
            wl_pointer_release(std::exchange(self->pointer, nullptr));
        if (!hasKeyboard && self->keyboard)
            wl_keyboard_release(std::exchange(self->keyboard, nullptr));
        if (hasPointer && !self->pointer) {
            self->pointer = wl_seat_get_pointer(seat);
            wl_pointer_add_listener(self->pointer, &pointerListener, self);
        }
        if (hasKeyboard && !self->keyboard) {
            self->keyboard = wl_seat_get_keyboard(seat);
            wl_keyboard_add_listener(self->keyboard, &keyboardListener, self);
        }
    }
    static void seatName(void *, wl_seat *, const char *) {}
    static constexpr wl_seat_listener seatListener{&Impl::seatCapabilities, &Impl::seatName};

    // --- The capture as a pixel source, and the magnifier drawn on it ---

    std::optional<tonfang::Rgb> pixelAt(int x, int y) const
    {
        if (!focus || !focus->shown.valid(x, y))
            return std::nullopt;
        const QRgb c = focus->shown.pixel(x, y);
        return tonfang::Rgb{std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)),
                            std::uint8_t(qBlue(c))};
    }

    std::optional<tonfang::Rgb> pixelUnderPointer() override
    {
        return pixelAt(crosshair.x, crosshair.y);
    }

    std::optional<PixelSquare> squareUnderPointer() override
    {
        if (!focus)
            return std::nullopt;
        PixelSquare square;
        square.pointerX = crosshair.x;
        square.pointerY = crosshair.y;
        for (int row = 0; row < PixelSquare::side; ++row)
            for (int column = 0; column < PixelSquare::side; ++column)
                square.cell(column, row) = pixelAt(crosshair.x + column - PixelSquare::radius,
                                                   crosshair.y + row - PixelSquare::radius);
        return square;
    }

    void movePointerBy(int dx, int dy) override
    {
        if (!focus)
            return;
        crosshair.x = std::clamp(crosshair.x + dx, 0, focus->shown.width() - 1);
        crosshair.y = std::clamp(crosshair.y + dy, 0, focus->shown.height() - 1);
    }

    void showSquare(const PixelSquare &square) override { magnified = square; }
    void hideSquare() override
    {
        magnified.reset();
        if (focus && phase == Phase::Showing)
            draw(*focus);
    }
    // The capture is frozen: nothing drawn over it is ever read.
    bool mayCover(int, int) const override { return false; }
};

WaylandPick::WaylandPick() : d(std::make_unique<Impl>(this)) {}

WaylandPick::~WaylandPick() = default;

std::unique_ptr<WaylandPick> WaylandPick::connect()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<WaylandPick> pick(new WaylandPick);
    Impl &d = *pick->d;
    d.display = display;
    d.registry = wl_display_get_registry(display);
    wl_registry_add_listener(d.registry, &Impl::registryListener, &d);
    // The globals; what the outputs and the seat say of themselves comes
    // before any answer to the requests that follow.
    if (wl_display_roundtrip(display) < 0 || !d.offersNativePick())
        return nullptr;
    d.watchSocket();
    return pick;
}

void WaylandPick::start(bool magnifierOn)
{
    d->aids.setMagnifierOn(magnifierOn);
    d->captureAll();
    d->flush();
}

void WaylandPick::pickAtFirstPointer()
{
    d->pickAtFirstPointer = true;
    // The pointer may have come onto the overlay before the window heard of
    // its own release.
    if (d->enteredSinceShown)
        d->decidePick();
}

bool WaylandPick::magnifierOn() const
{
    return d->aids.magnifierOn();
}

#endif
