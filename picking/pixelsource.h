#pragma once
// Where a pick reads its pixels, whatever the screen: the X server read afresh
// at each move, or the frozen captures of a Wayland pick. The magnifier and
// the arrow-key steering (PickAids) serve both through this interface.

#include "core/colour.h"

#include <array>
#include <cstddef>
#include <optional>

namespace tonfang {

// The device pixels around the pointer, row by row from the top left. A cell is
// empty where the square reaches beyond the screen or lies on no monitor.
struct PixelSquare {
    static constexpr int radius = 5;
    static constexpr int side = 2 * radius + 1;

    int pointerX = 0; // the centre, in device pixels of the source
    int pointerY = 0;
    std::array<std::optional<Rgb>, std::size_t(side * side)> cells{};

    std::optional<Rgb> &cell(int column, int row)
    {
        return cells[std::size_t(row * side + column)];
    }
    const std::optional<Rgb> &cell(int column, int row) const
    {
        return cells[std::size_t(row * side + column)];
    }
    const std::optional<Rgb> &centre() const { return cell(radius, radius); }
};

class PixelSource {
public:
    virtual ~PixelSource() = default;

    // A pick begins: a source that keeps the monitor layout asks for it again.
    virtual void refreshMonitors() {}
    // The colour of the device pixel under the pointer; nothing when it lies
    // on no monitor or cannot be read.
    virtual std::optional<tonfang::Rgb> pixelUnderPointer() = 0;
    // The square of device pixels around the pointer.
    virtual std::optional<tonfang::PixelSquare> squareUnderPointer() = 0;
    // Moves the point read by device pixels, staying on the monitors.
    virtual void movePointerBy(int dx, int dy) = 0;
};

// Where a pick shows the magnified square: a window of its own on X11, drawn
// on the overlay of a Wayland pick.
class SquareView {
public:
    virtual ~SquareView() = default;
    virtual void showSquare(const tonfang::PixelSquare &square) = 0;
    virtual void hideSquare() = 0;
    // Whether the screen may show the view itself at a device pixel of the
    // source, so that pixel is not to be trusted.
    virtual bool mayCover(int x, int y) const = 0;
};

} // namespace tonfang
