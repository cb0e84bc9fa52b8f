#include "picking/screenpixel.h"

#include "picking/xcbreply.h"

#include <QGuiApplication>

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace tonfang {

std::optional<std::uint32_t> pixelValue(const PixelLayout &layout,
                                        std::span<const std::uint8_t> bytes)
{
    const int bits = layout.bitsPerPixel;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    const std::size_t count = std::size_t(bits / 8);
    if (bytes.size() < count)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t from = layout.mostSignificantFirst ? i : count - 1 - i;
        value = (value << 8) | bytes[from];
    }
    return value;
}

std::uint8_t channelToByte(std::uint32_t value, int bits)
{
    if (bits <= 0)
        return 0;
    if (bits >= 8)
        return std::uint8_t(value >> (bits - 8));
    // Repeat the bits until a byte is filled, so full intensity stays 255 and
    // the steps in between spread evenly, as the screen shows them.
    std::uint32_t widened = 0;
    int filled = 0;
    while (filled < 8) {
        widened = (widened << bits) | value;
        filled += bits;
    }
    return std::uint8_t(widened >> (filled - 8));
}

namespace {

std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    return channelToByte((pixel & mask) >> shift, std::popcount(mask));
}

} // namespace

std::size_t bytesPerRow(const PixelLayout &layout, int width)
{
    const std::size_t pad = std::size_t(std::max(8, layout.scanlinePad));
    const std::size_t bits =
        std::size_t(std::max(0, width)) * std::size_t(std::max(0, layout.bitsPerPixel));
    return (bits + pad - 1) / pad * pad / 8;
}

bool storePixelValue(const PixelLayout &layout, std::uint32_t value, std::span<std::uint8_t> bytes)
{
    const int bits = layout.bitsPerPixel;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    const std::size_t count = std::size_t(bits / 8);
    if (bytes.size() < count)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t to = layout.mostSignificantFirst ? count - 1 - i : i;
        bytes[to] = std::uint8_t(value >> (8 * i));
    }
    return true;
}

std::uint32_t encodeTrueColour(const PixelLayout &layout, Rgb colour)
{
    // Each byte goes into its channel's bits, the top bits first; a wider
    // channel repeats the byte's top bits below it, so 255 fills the channel.
    const auto place = [](std::uint8_t byte, std::uint32_t mask) -> std::uint32_t {
        if (mask == 0)
            return 0;
        const int bits = std::popcount(mask);
        std::uint32_t value = 0;
        for (int filled = 0; filled < bits; filled += 8)
            value = bits - filled >= 8 ? (value << 8) | byte
                                       : (value << (bits - filled)) | (byte >> (8 - bits + filled));
        return (value << std::countr_zero(mask)) & mask;
    };
    return place(colour.red, layout.redMask) | place(colour.green, layout.greenMask)
           | place(colour.blue, layout.blueMask);
}

Rgb decodeTrueColour(const PixelLayout &layout, std::uint32_t pixel)
{
    return {channel(pixel, layout.redMask), channel(pixel, layout.greenMask),
            channel(pixel, layout.blueMask)};
}

} // namespace tonfang

using tonfang::ScreenPixelReader;

namespace {

using tonfang::owned;
using tonfang::XcbReply;

struct Rect {
    int x, y, width, height;
    bool contains(int px, int py) const
    {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

// The monitors of one root window. An empty list means the layout is unknown
// (no RandR 1.5, or nothing reported), and then the whole root counts.
struct Monitors {
    xcb_window_t root = 0;
    std::vector<Rect> rects;
};

struct Visual {
    xcb_visualid_t id = 0;
    std::uint8_t depth = 0;
    bool trueColour = false;
    xcb_colormap_t colormap = 0;
    tonfang::PixelLayout layout;
};

const xcb_format_t *pixmapFormat(const xcb_setup_t *setup, std::uint8_t depth)
{
    const xcb_format_t *formats = xcb_setup_pixmap_formats(setup);
    const int count = xcb_setup_pixmap_formats_length(setup);
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == depth)
            return &formats[i];
    return nullptr;
}

std::optional<Visual> findVisual(const xcb_setup_t *setup, xcb_visualid_t id, std::uint8_t depth)
{
    const xcb_format_t *format = pixmapFormat(setup, depth);
    if (!format)
        return std::nullopt;
    for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s))
        for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d)) {
            if (d.data->depth != depth)
                continue;
            for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
                if (v.data->visual_id != id)
                    continue;
                Visual found;
                found.id = id;
                found.depth = depth;
                found.trueColour = v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR;
                found.colormap = s.data->default_colormap;
                found.layout.bitsPerPixel = format->bits_per_pixel;
                found.layout.scanlinePad = format->scanline_pad;
                found.layout.mostSignificantFirst =
                    setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
                found.layout.redMask = v.data->red_mask;
                found.layout.greenMask = v.data->green_mask;
                found.layout.blueMask = v.data->blue_mask;
                return found;
            }
        }
    return std::nullopt;
}

} // namespace

std::optional<tonfang::PixelLayout> tonfang::visualLayout(xcb_connection_t *connection,
                                                          std::uint32_t visualId, int depth)
{
    const std::optional<Visual> found =
        findVisual(xcb_get_setup(connection), visualId, std::uint8_t(depth));
    if (!found)
        return std::nullopt;
    return found->layout;
}

struct ScreenPixelReader::Impl {
    xcb_connection_t *connection;
    const xcb_setup_t *setup;
    xcb_window_t firstRoot = 0;
    bool hasMonitorQuery = false;
    std::vector<Monitors> monitors;
    std::vector<Visual> visuals;

    explicit Impl(xcb_connection_t *c) : connection(c), setup(xcb_get_setup(c))
    {
        firstRoot = xcb_setup_roots_iterator(setup).data->root;
        const xcb_query_extension_reply_t *randr = xcb_get_extension_data(c, &xcb_randr_id);
        if (randr && randr->present) {
            auto version = owned(xcb_randr_query_version_reply(
                c, xcb_randr_query_version(c, 1, 5), nullptr));
            hasMonitorQuery = version && (version->major_version > 1
                                          || (version->major_version == 1
                                              && version->minor_version >= 5));
        }
    }

    const xcb_screen_t *screenOf(xcb_window_t root) const
    {
        for (auto it = xcb_setup_roots_iterator(setup); it.rem; xcb_screen_next(&it))
            if (it.data->root == root)
                return it.data;
        return nullptr;
    }

    const Monitors &monitorsOf(xcb_window_t root)
    {
        for (const Monitors &m : monitors)
            if (m.root == root)
                return m;
        Monitors found{root, {}};
        if (hasMonitorQuery) {
            auto reply = owned(xcb_randr_get_monitors_reply(
                connection, xcb_randr_get_monitors(connection, root, 1), nullptr));
            if (reply) {
                for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
                     xcb_randr_monitor_info_next(&it))
                    found.rects.push_back(
                        {it.data->x, it.data->y, it.data->width, it.data->height});
            }
        }
        monitors.push_back(std::move(found));
        return monitors.back();
    }

    // The monitor showing a device pixel; null when none does or the layout is
    // unknown.
    const Rect *monitorAt(xcb_window_t root, int x, int y)
    {
        for (const Rect &r : monitorsOf(root).rects)
            if (r.contains(x, y))
                return &r;
        return nullptr;
    }

    bool onSomeMonitor(xcb_window_t root, int x, int y)
    {
        return monitorsOf(root).rects.empty() || monitorAt(root, x, y);
    }

    const Visual *visual(xcb_visualid_t id, std::uint8_t depth)
    {
        for (const Visual &v : visuals)
            if (v.id == id && v.depth == depth)
                return &v;
        const std::optional<Visual> found = findVisual(setup, id, depth);
        if (!found)
            return nullptr;
        visuals.push_back(*found);
        return &visuals.back();
    }

    XcbReply<xcb_query_pointer_reply_t> queryPointer()
    {
        if (xcb_connection_has_error(connection))
            return owned<xcb_query_pointer_reply_t>(nullptr);
        xcb_generic_error_t *error = nullptr;
        auto pointer = owned(xcb_query_pointer_reply(
            connection, xcb_query_pointer(connection, firstRoot), &error));
        auto errorOwner = owned(error);
        return pointer;
    }

    std::optional<tonfang::Rgb> read(xcb_window_t root, int x, int y)
    {
        const xcb_screen_t *screen = screenOf(root);
        if (!screen || x < 0 || y < 0 || x >= screen->width_in_pixels
            || y >= screen->height_in_pixels || !onSomeMonitor(root, x, y))
            return std::nullopt;
        const auto colours = readRect(root, {x, y, 1, 1});
        if (!colours)
            return std::nullopt;
        return colours->front();
    }

    std::optional<tonfang::PixelSquare> square(xcb_window_t root, int x, int y)
    {
        const xcb_screen_t *screen = screenOf(root);
        if (!screen)
            return std::nullopt;
        constexpr int r = tonfang::PixelSquare::radius;
        tonfang::PixelSquare square;
        square.pointerX = x;
        square.pointerY = y;
        // Cut to the screen: the server refuses a read that reaches beyond it.
        const int left = std::max(0, x - r), top = std::max(0, y - r);
        const int right = std::min(screen->width_in_pixels - 1, x + r);
        const int bottom = std::min(screen->height_in_pixels - 1, y + r);
        if (left > right || top > bottom)
            return square;
        const Rect onScreen{left, top, right - left + 1, bottom - top + 1};
        const auto colours = readRect(root, onScreen);
        if (!colours)
            return std::nullopt;
        for (int py = top; py <= bottom; ++py)
            for (int px = left; px <= right; ++px)
                if (onSomeMonitor(root, px, py))
                    square.cell(px - x + r, py - y + r) =
                        (*colours)[std::size_t((py - top) * onScreen.width + px - left)];
        return square;
    }

    // The colours of a rectangle of the root, row by row, from one image
    // request. The rectangle must lie on the root.
    std::optional<std::vector<tonfang::Rgb>> readRect(xcb_window_t root, Rect r)
    {
        xcb_generic_error_t *error = nullptr;
        auto image = owned(xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, std::int16_t(r.x),
                          std::int16_t(r.y), std::uint16_t(r.width), std::uint16_t(r.height),
                          ~0u),
            &error));
        auto errorOwner = owned(error);
        if (!image)
            return std::nullopt;

        const Visual *v = visual(image->visual, image->depth);
        if (!v)
            return std::nullopt;
        const std::span<const std::uint8_t> bytes(xcb_get_image_data(image.get()),
                                                  std::size_t(std::max(
                                                      0, xcb_get_image_data_length(image.get()))));
        const std::size_t stride = tonfang::bytesPerRow(v->layout, r.width);
        const std::size_t step = std::size_t(v->layout.bitsPerPixel / 8);
        std::vector<std::uint32_t> pixels;
        pixels.reserve(std::size_t(r.width * r.height));
        for (int row = 0; row < r.height; ++row)
            for (int column = 0; column < r.width; ++column) {
                const std::size_t offset = std::size_t(row) * stride + std::size_t(column) * step;
                if (offset > bytes.size())
                    return std::nullopt;
                const std::optional<std::uint32_t> pixel =
                    tonfang::pixelValue(v->layout, bytes.subspan(offset));
                if (!pixel)
                    return std::nullopt;
                pixels.push_back(*pixel);
            }
        if (!v->trueColour)
            return lookUpColours(v->colormap, pixels);
        std::vector<tonfang::Rgb> colours;
        colours.reserve(pixels.size());
        for (const std::uint32_t pixel : pixels)
            colours.push_back(tonfang::decodeTrueColour(v->layout, pixel));
        return colours;
    }

    // Palette and direct-colour screens: the colour map says what is shown.
    std::optional<std::vector<tonfang::Rgb>> lookUpColours(xcb_colormap_t colormap,
                                                           const std::vector<std::uint32_t> &pixels)
    {
        auto reply = owned(xcb_query_colors_reply(
            connection,
            xcb_query_colors(connection, colormap, std::uint32_t(pixels.size()), pixels.data()),
            nullptr));
        if (!reply || xcb_query_colors_colors_length(reply.get()) < int(pixels.size()))
            return std::nullopt;
        const xcb_rgb_t *shown = xcb_query_colors_colors(reply.get());
        std::vector<tonfang::Rgb> colours;
        colours.reserve(pixels.size());
        for (std::size_t i = 0; i < pixels.size(); ++i)
            colours.push_back({std::uint8_t(shown[i].red >> 8), std::uint8_t(shown[i].green >> 8),
                               std::uint8_t(shown[i].blue >> 8)});
        return colours;
    }
};

ScreenPixelReader::ScreenPixelReader(xcb_connection_t *connection)
    : d(std::make_unique<Impl>(connection))
{
}

ScreenPixelReader::~ScreenPixelReader() = default;

std::unique_ptr<ScreenPixelReader> ScreenPixelReader::forApplication()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                        : nullptr;
    if (!x11 || !x11->connection())
        return nullptr;
    return std::make_unique<ScreenPixelReader>(x11->connection());
}

void ScreenPixelReader::refreshMonitors()
{
    d->monitors.clear();
}

std::optional<tonfang::Rgb> ScreenPixelReader::pixelUnderPointer()
{
    auto pointer = d->queryPointer();
    if (!pointer)
        return std::nullopt;
    // root, root_x and root_y describe the screen the pointer is on, also when
    // that is another X screen than the first one.
    return d->read(pointer->root, pointer->root_x, pointer->root_y);
}

std::optional<tonfang::PixelSquare> ScreenPixelReader::squareUnderPointer()
{
    auto pointer = d->queryPointer();
    if (!pointer)
        return std::nullopt;
    return d->square(pointer->root, pointer->root_x, pointer->root_y);
}

void ScreenPixelReader::movePointerBy(int dx, int dy)
{
    auto pointer = d->queryPointer();
    const xcb_screen_t *screen = pointer ? d->screenOf(pointer->root) : nullptr;
    if (!screen)
        return;
    const int fromX = pointer->root_x, fromY = pointer->root_y;
    int x = fromX + dx, y = fromY + dy;
    Rect bounds{0, 0, screen->width_in_pixels, screen->height_in_pixels};
    if (!d->onSomeMonitor(pointer->root, x, y))
        if (const Rect *start = d->monitorAt(pointer->root, fromX, fromY))
            bounds = *start;
    x = std::clamp(x, bounds.x, bounds.x + bounds.width - 1);
    y = std::clamp(y, bounds.y, bounds.y + bounds.height - 1);
    xcb_warp_pointer(d->connection, XCB_NONE, pointer->root, 0, 0, 0, 0, std::int16_t(x),
                     std::int16_t(y));
    xcb_flush(d->connection);
}

std::optional<tonfang::Rgb> ScreenPixelReader::pixelAt(int x, int y)
{
    if (xcb_connection_has_error(d->connection))
        return std::nullopt;
    return d->read(d->firstRoot, x, y);
}
