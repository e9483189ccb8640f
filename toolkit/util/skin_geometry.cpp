#include "skin_geometry.h"

#include <algorithm>
#include <cstdint>

namespace SkinUI {

namespace {
bool IsEmptyRect(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}
} // namespace

CSkinRect::CSkinRect() : RECT{0, 0, 0, 0} {}
CSkinRect::CSkinRect(const RECT& src) : RECT(src) {}
CSkinRect::CSkinRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}

void CSkinRect::Empty()
{
    left = top = right = bottom = 0;
}

bool CSkinRect::IsNull() const
{
    return left == 0 && top == 0 && right == 0 && bottom == 0;
}

void CSkinRect::Join(const RECT& rect)
{
    left = std::min(left, rect.left);
    top = std::min(top, rect.top);
    right = std::max(right, rect.right);
    bottom = std::max(bottom, rect.bottom);
}

void CSkinRect::ResetOffset()
{
    Offset(-left, -top);
}

void CSkinRect::Normalize()
{
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
}

void CSkinRect::Offset(LONG dx, LONG dy)
{
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
}

void CSkinRect::Inflate(LONG dx, LONG dy)
{
    left -= dx;
    right += dx;
    top -= dy;
    bottom += dy;
}

void CSkinRect::Deflate(LONG dx, LONG dy)
{
    Inflate(-dx, -dy);
}

void CSkinRect::Union(const RECT& rect)
{
    if (IsEmptyRect(rect)) {
        if (IsEmptyRect(*this)) {
            Empty();
        }
        return;
    }
    if (IsEmptyRect(*this)) {
        *static_cast<RECT*>(this) = rect;
        return;
    }
    Join(rect);
}

CSkinSize::CSkinSize() : SIZE{0, 0} {}
CSkinSize::CSkinSize(const SIZE& src) : SIZE(src) {}
CSkinSize::CSkinSize(LONG w, LONG h) : SIZE{w, h} {}
CSkinSize::CSkinSize(const RECT& rect) : SIZE{rect.right - rect.left, rect.bottom - rect.top} {}

CSkinPoint::CSkinPoint() : POINT{0, 0} {}
CSkinPoint::CSkinPoint(const POINT& src) : POINT(src) {}
CSkinPoint::CSkinPoint(LONG px, LONG py) : POINT{px, py} {}
CSkinPoint::CSkinPoint(LPARAM lParam)
    : POINT{static_cast<int16_t>(static_cast<uint16_t>(lParam & 0xFFFF)),
            static_cast<int16_t>(static_cast<uint16_t>((lParam >> 16) & 0xFFFF))}
{
}

LONG Saturate32(long long value)
{
    return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : static_cast<LONG>(value);
}

RECT SaturatedRect(long long left, long long top, long long right, long long bottom)
{
    const LONG l = Saturate32(left);
    const LONG t = Saturate32(top);
    const long long r =
        std::min(std::max(right, static_cast<long long>(l) - INT32_MAX), static_cast<long long>(l) + INT32_MAX);
    const long long b =
        std::min(std::max(bottom, static_cast<long long>(t) - INT32_MAX), static_cast<long long>(t) + INT32_MAX);
    return RECT{l, t, Saturate32(r), Saturate32(b)};
}

bool Meets(const RECT& a, const RECT& b)
{
    const RECT common{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom)};
    return !IsEmptyRect(common);
}

RECT DeflatedRect(const RECT& outer, const RECT& inset)
{
    return SaturatedRect(static_cast<long long>(outer.left) + inset.left, static_cast<long long>(outer.top) + inset.top,
                         static_cast<long long>(outer.right) - inset.right,
                         static_cast<long long>(outer.bottom) - inset.bottom);
}

} // namespace SkinUI
