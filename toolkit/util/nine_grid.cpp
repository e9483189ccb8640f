#include "nine_grid.h"

#include <algorithm>
#include <cstdint>

namespace SkinUI {

namespace {

// One axis of a piece: destination [d0, d1) drawn from source [s0, s1).
// 64-bit so that offsets added to coordinates cannot overflow.
struct Span {
    int64_t d0, d1, s0, s1;

    bool IsEmpty() const { return d1 <= d0 || s1 <= s0; }
};

// A piece copied 1:1 along this axis that sticks out of the destination or
// the source is cut on both sides alike.
Span CutOneToOne(Span span, int64_t destLow, int64_t destHigh, int64_t sourceLow, int64_t sourceHigh)
{
    const int64_t front = std::max<int64_t>({0, destLow - span.d0, sourceLow - span.s0});
    const int64_t back = std::max<int64_t>({0, span.d1 - destHigh, span.s1 - sourceHigh});
    span.d0 += front;
    span.s0 += front;
    span.d1 -= back;
    span.s1 -= back;
    return span;
}

// The three spans of one axis: low border, middle, high border.
struct Axis {
    Span low, middle, high;
};

Axis SplitAxis(int64_t d0, int64_t d1, int64_t s0, int64_t s1, int64_t kLow, int64_t kHigh)
{
    Axis axis;
    axis.low = CutOneToOne(Span{d0, d0 + kLow, s0, s0 + kLow}, d0, d1, s0, s1);
    axis.middle = Span{d0 + kLow, d1 - kHigh, s0 + kLow, s1 - kHigh};
    axis.high = CutOneToOne(Span{d1 - kHigh, d1, s1 - kHigh, s1}, d0, d1, s0, s1);
    return axis;
}

bool Meets(const Span& x, const Span& y, const RECT& paint)
{
    return x.d0 < paint.right && x.d1 > paint.left && y.d0 < paint.bottom && y.d1 > paint.top;
}

void Emit(const Span& x, const Span& y, const RECT& paint, ISkinBlitSink& sink)
{
    if (x.IsEmpty() || y.IsEmpty() || !Meets(x, y, paint)) {
        return;
    }
    const RECT dest{static_cast<LONG>(x.d0), static_cast<LONG>(y.d0), static_cast<LONG>(x.d1), static_cast<LONG>(y.d1)};
    const RECT source{static_cast<LONG>(x.s0), static_cast<LONG>(y.s0), static_cast<LONG>(x.s1),
                      static_cast<LONG>(y.s1)};
    sink.Blit(dest, source);
}

// The tiles of a tiled middle along one axis that meet [paintLow,
// paintHigh): index range [first, last].
void TileRange(const Span& middle, int64_t paintLow, int64_t paintHigh, int64_t& first, int64_t& last)
{
    const int64_t tile = middle.s1 - middle.s0;
    const int64_t count = (middle.d1 - middle.d0 + tile - 1) / tile;
    first = paintLow > middle.d0 ? (paintLow - middle.d0) / tile : 0;
    last = paintHigh > middle.d0 ? std::min(count - 1, (paintHigh - 1 - middle.d0) / tile) : -1;
}

Span Tile(const Span& middle, int64_t index)
{
    const int64_t tile = middle.s1 - middle.s0;
    const int64_t d0 = middle.d0 + index * tile;
    const int64_t d1 = std::min(d0 + tile, middle.d1);
    return Span{d0, d1, middle.s0, middle.s0 + (d1 - d0)};
}

void EmitMiddle(const SkinNineGrid& grid, const Span& x, const Span& y, ISkinBlitSink& sink)
{
    if (x.IsEmpty() || y.IsEmpty() || !Meets(x, y, grid.paint)) {
        return;
    }
    int64_t firstColumn = 0, lastColumn = 0, firstRow = 0, lastRow = 0;
    if (grid.xtiled) {
        TileRange(x, grid.paint.left, grid.paint.right, firstColumn, lastColumn);
    }
    if (grid.ytiled) {
        TileRange(y, grid.paint.top, grid.paint.bottom, firstRow, lastRow);
    }
    for (int64_t row = firstRow; row <= lastRow; ++row) {
        const Span tileY = grid.ytiled ? Tile(y, row) : y;
        for (int64_t column = firstColumn; column <= lastColumn; ++column) {
            Emit(grid.xtiled ? Tile(x, column) : x, tileY, grid.paint, sink);
        }
    }
}

int64_t Clamp(int64_t value, int64_t low, int64_t high)
{
    return std::min(std::max(value, low), high);
}

} // namespace

void PlanNineGrid(const SkinNineGrid& grid, LONG imageWidth, LONG imageHeight, ISkinBlitSink& sink)
{
    const RECT& d = grid.dest;
    const int64_t width = std::max<LONG>(imageWidth, 0);
    const int64_t height = std::max<LONG>(imageHeight, 0);
    const int64_t sl = Clamp(grid.source.left, 0, width);
    const int64_t st = Clamp(grid.source.top, 0, height);
    const int64_t sr = Clamp(grid.source.right, sl, width);
    const int64_t sb = Clamp(grid.source.bottom, st, height);
    if (d.right <= d.left || d.bottom <= d.top || sr <= sl || sb <= st) {
        return;
    }
    const int64_t kl = std::max<LONG>(grid.corner.left, 0);
    const int64_t kt = std::max<LONG>(grid.corner.top, 0);
    const int64_t kr = std::max<LONG>(grid.corner.right, 0);
    const int64_t kb = std::max<LONG>(grid.corner.bottom, 0);

    if (grid.opaque && !grid.hole && kl == 0 && kt == 0 && kr == 0 && kb == 0 && int64_t{d.right} - d.left == sr - sl &&
        int64_t{d.bottom} - d.top == sb - st) {
        const Span x = CutOneToOne(Span{d.left, d.right, sl, sr}, grid.paint.left, grid.paint.right, sl, sr);
        const Span y = CutOneToOne(Span{d.top, d.bottom, st, sb}, grid.paint.top, grid.paint.bottom, st, sb);
        Emit(x, y, grid.paint, sink);
        return;
    }

    const Axis x = SplitAxis(d.left, d.right, sl, sr, kl, kr);
    const Axis y = SplitAxis(d.top, d.bottom, st, sb, kt, kb);
    if (!grid.hole) {
        EmitMiddle(grid, x.middle, y.middle, sink);
    }
    Emit(x.low, y.low, grid.paint, sink);
    Emit(x.middle, y.low, grid.paint, sink);
    Emit(x.high, y.low, grid.paint, sink);
    Emit(x.low, y.middle, grid.paint, sink);
    Emit(x.high, y.middle, grid.paint, sink);
    Emit(x.low, y.high, grid.paint, sink);
    Emit(x.middle, y.high, grid.paint, sink);
    Emit(x.high, y.high, grid.paint, sink);
}

} // namespace SkinUI
