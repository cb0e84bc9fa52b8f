#pragma once
// The arithmetic of a pick from screen captures on Wayland, without Qt or a
// connection: how the stored pixels of a capture turn into the picture the
// output shows, and which of its device pixels lies under a pointer position
// given in the output's logical pixels.

#include "picking/screenpixel.h"

#include <cstdint>
#include <optional>

namespace tonfang {

// wl_output's transforms, by their protocol values: a turn counter-clockwise,
// the flipped ones mirrored about the vertical axis first.
enum class OutputTransform : int {
    Normal, Turned90, Turned180, Turned270, Flipped, Flipped90, Flipped180, Flipped270
};

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(PixelSize, PixelSize) = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(PixelPoint, PixelPoint) = default;
};

// The size of a capture turned the way its output shows it: a quarter turn
// swaps the sides.
PixelSize shownSize(PixelSize capture, OutputTransform transform);

// The stored pixel of a capture (column and row as the compositor wrote them,
// row 0 at the bottom when it says the capture is y-inverted) that the output
// shows at a device pixel of its own orientation.
PixelPoint capturedPixel(PixelPoint shown, PixelSize capture, OutputTransform transform,
                         bool yInverted);

// The shown device pixel under a position in logical pixels of the output's
// surface, by the ratio of the shown capture to the logical size (not the
// output's integer scale, which a fractional scale rounds up). Nothing outside.
std::optional<PixelPoint> devicePixelAt(double x, double y, PixelSize logical, PixelSize shown);

// How a shared-memory buffer of a wl_shm format stores a pixel: the 8-bit and
// 10-bit RGB formats, with or without alpha, in either channel order. Nothing
// for the rest.
std::optional<PixelLayout> shmFormatLayout(std::uint32_t format);

} // namespace tonfang
