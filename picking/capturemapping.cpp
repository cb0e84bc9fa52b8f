#include "picking/capturemapping.h"

#include <cmath>

namespace tonfang {

namespace {

bool quarterTurn(OutputTransform t)
{
    return (int(t) & 1) != 0;
}

constexpr std::uint32_t fourcc(char a, char b, char c, char d)
{
    return std::uint32_t(a) | std::uint32_t(b) << 8 | std::uint32_t(c) << 16
           | std::uint32_t(d) << 24;
}

} // namespace

PixelSize shownSize(PixelSize capture, OutputTransform transform)
{
    return quarterTurn(transform) ? PixelSize{capture.height, capture.width} : capture;
}

PixelPoint capturedPixel(PixelPoint shown, PixelSize capture, OutputTransform transform,
                         bool yInverted)
{
    // The capture holds the output's pixels in the device's own orientation;
    // the output shows them turned by the transform (a quarter turn the way
    // wlroots and grim read it). Going back, x and y count from the far side
    // wherever the transform turned or mirrored that axis.
    const PixelSize s = shownSize(capture, transform);
    const int x = shown.x, y = shown.y;
    const int rx = s.width - 1 - x, ry = s.height - 1 - y;
    PixelPoint p;
    switch (transform) {
    case OutputTransform::Normal: p = {x, y}; break;
    case OutputTransform::Turned90: p = {y, rx}; break;
    case OutputTransform::Turned180: p = {rx, ry}; break;
    case OutputTransform::Turned270: p = {ry, x}; break;
    case OutputTransform::Flipped: p = {rx, y}; break;
    case OutputTransform::Flipped90: p = {y, x}; break;
    case OutputTransform::Flipped180: p = {x, ry}; break;
    case OutputTransform::Flipped270: p = {ry, rx}; break;
    }
    if (yInverted)
        p.y = capture.height - 1 - p.y;
    return p;
}

std::optional<PixelPoint> devicePixelAt(double x, double y, PixelSize logical, PixelSize shown)
{
    if (logical.width <= 0 || logical.height <= 0 || !(x >= 0) || !(y >= 0) || x >= logical.width
        || y >= logical.height)
        return std::nullopt;
    const auto toDevice = [](double at, int logicalSide, int shownSide) {
        const int pixel = int(std::floor(at * shownSide / logicalSide));
        return pixel < shownSide ? pixel : shownSide - 1;
    };
    return PixelPoint{toDevice(x, logical.width, shown.width),
                      toDevice(y, logical.height, shown.height)};
}

std::optional<PixelLayout> shmFormatLayout(std::uint32_t format)
{
    // Little-endian 32-bit words; wl_shm names its two oldest formats 0 and 1,
    // the rest by their DRM four-character codes.
    const auto word = [](std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
        PixelLayout layout;
        layout.bitsPerPixel = 32;
        layout.mostSignificantFirst = false;
        layout.redMask = red;
        layout.greenMask = green;
        layout.blueMask = blue;
        return layout;
    };
    switch (format) {
    case 0: // ARGB8888
    case 1: // XRGB8888
        return word(0x00ff0000, 0x0000ff00, 0x000000ff);
    case fourcc('A', 'B', '2', '4'):
    case fourcc('X', 'B', '2', '4'):
        return word(0x000000ff, 0x0000ff00, 0x00ff0000);
    case fourcc('R', 'A', '2', '4'):
    case fourcc('R', 'X', '2', '4'):
        return word(0xff000000, 0x00ff0000, 0x0000ff00);
    case fourcc('B', 'A', '2', '4'):
    case fourcc('B', 'X', '2', '4'):
        return word(0x0000ff00, 0x00ff0000, 0xff000000);
    case fourcc('A', 'R', '3', '0'):
    case fourcc('X', 'R', '3', '0'):
        return word(0x3ff00000, 0x000ffc00, 0x000003ff);
    case fourcc('A', 'B', '3', '0'):
    case fourcc('X', 'B', '3', '0'):
        return word(0x000003ff, 0x000ffc00, 0x3ff00000);
    default:
        return std::nullopt;
    }
}

} // namespace tonfang
