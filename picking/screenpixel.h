#pragma once
// Reads screen pixels from the X server: the pointer position in device pixels,
// then that single pixel of the root window (or, for the magnifier, the small
// square around it), decoded with the visual's own layout so that 16-, 24- and
// 30-bit screens all give the colour as shown. Nothing is captured or kept
// between reads: each read asks the server afresh.

#include "core/colour.h"
#include "picking/pixelsource.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

struct xcb_connection_t;

namespace tonfang {

// How one pixel of a Z-pixmap image is stored.
struct PixelLayout {
    int bitsPerPixel = 32;              // 8, 16, 24 or 32
    bool mostSignificantFirst = false;  // the server's image byte order
    std::uint32_t redMask = 0xff0000;
    std::uint32_t greenMask = 0x00ff00;
    std::uint32_t blueMask = 0x0000ff;
    int scanlinePad = 32;               // rows are padded to a multiple of these bits
};

// The bytes one row of `width` pixels takes in an image the server sends.
std::size_t bytesPerRow(const PixelLayout &layout, int width);

// The pixel value held in the first bitsPerPixel / 8 bytes, or nothing when
// there are too few bytes or the layout is not one a screen uses.
std::optional<std::uint32_t> pixelValue(const PixelLayout &layout,
                                        std::span<const std::uint8_t> bytes);

// One channel of `bits` bits brought to a byte the way the screen shows it:
// narrower channels repeat their bits (5-bit 31 is 255, 16 is 132), wider ones
// keep their top eight bits.
std::uint8_t channelToByte(std::uint32_t value, int bits);

// The colour of a true-colour pixel, split by the visual's masks.
Rgb decodeTrueColour(const PixelLayout &layout, std::uint32_t pixel);

// The other way, for drawing: the pixel that shows a colour (as closely as the
// channels allow), and its bytes in the server's order. Storing fails on too
// few bytes or a layout no screen uses.
std::uint32_t encodeTrueColour(const PixelLayout &layout, Rgb colour);
bool storePixelValue(const PixelLayout &layout, std::uint32_t value, std::span<std::uint8_t> bytes);

// How the server stores the pixels of one of its visuals; nothing when it
// has no such visual.
std::optional<PixelLayout> visualLayout(xcb_connection_t *connection, std::uint32_t visualId,
                                        int depth);

class ScreenPixelReader : public PixelSource {
public:
    explicit ScreenPixelReader(xcb_connection_t *connection);
    ~ScreenPixelReader() override;
    ScreenPixelReader(const ScreenPixelReader &) = delete;
    ScreenPixelReader &operator=(const ScreenPixelReader &) = delete;

    // The reader on the application's own X connection; null when the
    // application does not run on X11.
    static std::unique_ptr<ScreenPixelReader> forApplication();

    // Forgets the monitor layout; the next read asks the server for it again.
    // A gesture calls this once at its start, so a changed layout is seen.
    void refreshMonitors() override;

    // The colour of the device pixel under the pointer. Nothing when the
    // pointer is outside every monitor or the server refuses a request.
    std::optional<tonfang::Rgb> pixelUnderPointer() override;

    // The square of device pixels around the pointer, read with one request
    // for the part that lies on the screen. Nothing when the pointer cannot
    // be asked for or the server refuses the read.
    std::optional<tonfang::PixelSquare> squareUnderPointer() override;

    // Moves the pointer by device pixels. It stays on the monitors: a step
    // that would leave them stops at the edge of the monitor it starts on.
    // The server reports the move like one made with the mouse.
    void movePointerBy(int dx, int dy) override;

    // The colour of one device pixel of the first screen's root window.
    std::optional<tonfang::Rgb> pixelAt(int x, int y);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tonfang
