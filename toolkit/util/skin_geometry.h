// Thin wrappers over RECT, SIZE and POINT; they add no fields.
#pragma once

#include "skin_win32_types.h"

namespace SkinUI {

class CSkinRect : public RECT {
public:
    CSkinRect();
    CSkinRect(const RECT& src);
    CSkinRect(LONG left, LONG top, LONG right, LONG bottom);

    LONG GetWidth() const { return right - left; }
    LONG GetHeight() const { return bottom - top; }
    void Empty();
    bool IsNull() const;
    // Grows to include rect, even when either rectangle is empty.
    void Join(const RECT& rect);
    void ResetOffset();
    void Normalize();
    void Offset(LONG dx, LONG dy);
    void Inflate(LONG dx, LONG dy);
    void Deflate(LONG dx, LONG dy);
    // Like UnionRect: an empty rectangle does not count.
    void Union(const RECT& rect);
};

class CSkinSize : public SIZE {
public:
    CSkinSize();
    CSkinSize(const SIZE& src);
    CSkinSize(LONG cx, LONG cy);
    explicit CSkinSize(const RECT& rect);
};

class CSkinPoint : public POINT {
public:
    CSkinPoint();
    CSkinPoint(const POINT& src);
    CSkinPoint(LONG x, LONG y);
    // From the LPARAM of a mouse message: signed 16-bit x (low) and y (high).
    explicit CSkinPoint(LPARAM lParam);
};

// Lengths and edges are summed in 64 bits and saturated to 32, so that
// paddings and insets from a skin never wrap round.
LONG Saturate32(long long value);
// A rectangle from 64-bit edges: the left and top saturated to 32 bits, the
// right and bottom kept within INT32_MAX of them, either way. Edges
// saturated one by one could lie 2^32 apart, and every width taken from
// them would overflow.
RECT SaturatedRect(long long left, long long top, long long right, long long bottom);
// Whether the two rectangles share a pixel, as IntersectRect answers.
bool Meets(const RECT& a, const RECT& b);
// `outer` made smaller by `inset` on each side, as SaturatedRect (named apart
// from windowsx.h's InsetRect macro).
RECT DeflatedRect(const RECT& outer, const RECT& inset);

static_assert(sizeof(CSkinRect) == sizeof(RECT), "CSkinRect adds no fields");
static_assert(sizeof(CSkinSize) == sizeof(SIZE), "CSkinSize adds no fields");
static_assert(sizeof(CSkinPoint) == sizeof(POINT), "CSkinPoint adds no fields");

} // namespace SkinUI
