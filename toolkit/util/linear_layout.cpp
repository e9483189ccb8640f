#include "linear_layout.h"

#include "skin_geometry.h"

#include <algorithm>
#include <cstdint>

namespace SkinUI {

namespace {

// Sums of markup lengths may pass 32 bits; they are kept in 64 and
// saturated where a rectangle or size leaves the arithmetic.
using Length = int64_t;

struct Extent {
    Length cx;
    Length cy;
};

// Toward zero, saturated; NaN counts as 0.
Length Truncate(double value)
{
    if (!(value == value)) {
        return 0;
    }
    return static_cast<Length>(std::min<double>(std::max<double>(value, INT32_MIN), INT32_MAX));
}

Length Clamp(Length value, Length low, Length high)
{
    return std::min(std::max(value, low), high);
}

SIZE Transpose(SIZE size)
{
    return SIZE{size.cy, size.cx};
}

RECT Transpose(const RECT& rc)
{
    return RECT{rc.top, rc.left, rc.bottom, rc.right};
}

// A row is laid out as a column with x and y exchanged.
class TransposedChildren final : public ILayoutChildren {
public:
    explicit TransposedChildren(ILayoutChildren& inner) : m_inner(inner) {}

    int GetCount() const override { return m_inner.GetCount(); }
    bool GetChild(int index, tagTLayoutChild& child) override
    {
        if (!m_inner.GetChild(index, child)) {
            return false;
        }
        child.padding = Transpose(child.padding);
        child.fixed = Transpose(child.fixed);
        child.minSize = Transpose(child.minSize);
        child.maxSize = Transpose(child.maxSize);
        return true;
    }
    SIZE EstimateSize(int index, SIZE available) override
    {
        return Transpose(m_inner.EstimateSize(index, Transpose(available)));
    }
    void SetPos(int index, const RECT& rc) override { m_inner.SetPos(index, Transpose(rc)); }
    void SetFloatPos(int index) override { m_inner.SetFloatPos(index); }

private:
    ILayoutChildren& m_inner;
};

enum class Place { Start, Center, End };

Place PlaceOf(unsigned align, unsigned center, unsigned end)
{
    return align == center ? Place::Center : align == end ? Place::End : Place::Start;
}

// A column: y is the main axis, along which the children share the length.
struct Column {
    RECT rc;
    Length childPadding;
    // Moves the whole block when no child stretches.
    Place mainAlign;
    // Places each child across.
    Place crossAlign;
    // A row's children take their height from their maximum (or the full
    // height), not from their estimate; in the column frame that is the width.
    bool crossFromMaximum;
};

// The available size lowered to the child's fixed size, or to its maximum
// where it has none.
Extent Limit(Extent available, const tagTLayoutChild& child)
{
    const Length width = child.fixed.cx >= 1 ? child.fixed.cx : child.maxSize.cx;
    const Length height = child.fixed.cy >= 1 ? child.fixed.cy : child.maxSize.cy;
    return Extent{std::min(available.cx, width), std::min(available.cy, height)};
}

Extent Estimate(ILayoutChildren& children, int index, Extent available)
{
    const SIZE size = children.EstimateSize(index, SIZE{Saturate32(available.cx), Saturate32(available.cy)});
    return Extent{size.cx, size.cy};
}

SIZE LayOut(const Column& column, ILayoutChildren& children)
{
    const int count = children.GetCount();
    if (count == 0) {
        return SIZE{0, 0};
    }
    const Extent all{Length{column.rc.right} - column.rc.left, Length{column.rc.bottom} - column.rc.top};
    tagTLayoutChild child{};

    // Measure: what the fixed children take, and how many stretch.
    int adjustable = 0;
    int estimated = 0;
    Length fixedSum = 0;
    Length neededCross = 0;
    for (int i = 0; i < count; ++i) {
        if (!children.GetChild(i, child) || child.floating) {
            continue;
        }
        const RECT& p = child.padding;
        Extent size = Estimate(children, i, Limit(Extent{all.cx - p.left - p.right, all.cy}, child));
        if (size.cy == 0) {
            ++adjustable;
        } else {
            size.cy = std::min<Length>(std::max<Length>(size.cy, child.minSize.cy), child.maxSize.cy);
        }
        fixedSum += size.cy + p.top + p.bottom;
        size.cx = std::min<Length>(std::max<Length>(std::max<Length>(size.cx, 0), child.minSize.cx), child.maxSize.cx);
        neededCross = std::max(neededCross, size.cx + p.left + p.right);
        ++estimated;
    }
    fixedSum += (estimated - 1) * column.childPadding;

    const Length share = adjustable > 0 ? std::max<Length>(0, (all.cy - fixedSum) / adjustable) : 0;
    Length y = column.rc.top;
    if (adjustable == 0) {
        if (column.mainAlign == Place::Center) {
            y += (all.cy - fixedSum) / 2;
        } else if (column.mainAlign == Place::End) {
            y += all.cy - fixedSum;
        }
    }

    // Place: the last stretching child takes whatever rounding and clamping left.
    Extent remaining = all;
    Length fixedLeft = fixedSum;
    Length needed = 0;
    int placed = 0;
    int stretched = 0;
    for (int i = 0; i < count; ++i) {
        if (!children.GetChild(i, child)) {
            continue;
        }
        if (child.floating) {
            children.SetFloatPos(i);
            continue;
        }
        const RECT& p = child.padding;
        remaining.cy -= p.top;
        const Extent available = Limit(Extent{remaining.cx - p.left - p.right, remaining.cy}, child);
        fixedLeft -= Length(p.top) + p.bottom + (placed > 0 ? column.childPadding : 0);
        Extent size = Estimate(children, i, available);
        if (size.cy != 0) {
            size.cy = Clamp(size.cy, child.minSize.cy, child.maxSize.cy);
            fixedLeft -= size.cy;
        } else {
            ++stretched;
            size.cy = stretched == adjustable ? std::max<Length>(0, remaining.cy - p.bottom - fixedLeft) : share;
            size.cy = Clamp(size.cy, child.minSize.cy, child.maxSize.cy);
        }

        Length width;
        if (column.crossFromMaximum) {
            width = child.maxSize.cx;
            if (width == 0) {
                width = all.cx - p.left - p.right;
            }
            width = std::max<Length>(width, 0);
        } else {
            width = std::max<Length>(size.cx, 0);
            if (width == 0) {
                width = all.cx - p.left - p.right;
            }
        }
        width = std::max<Length>(std::min(width, available.cx), child.minSize.cx);

        Length left;
        Length right;
        if (column.crossAlign == Place::Center) {
            // Rounded down, so that a negative middle centres as a positive one.
            const Length sum = Length{column.rc.left} + column.rc.right;
            const Length middle = sum >= 0 ? sum / 2 : -((1 - sum) / 2);
            left = middle - width / 2;
            right = middle + width - width / 2;
        } else if (column.crossAlign == Place::End) {
            right = Length{column.rc.right} - p.right;
            left = right - width;
        } else {
            left = Length{column.rc.left} + p.left;
            right = left + width;
        }
        const Length top = y + p.top;
        children.SetPos(i, SaturatedRect(left, top, right, top + size.cy));

        y += size.cy + column.childPadding + p.top + p.bottom;
        needed += size.cy + p.top + p.bottom;
        remaining.cy -= size.cy + column.childPadding + p.bottom;
        ++placed;
    }
    needed += (estimated - 1) * column.childPadding;
    return SIZE{Saturate32(neededCross), Saturate32(needed)};
}

} // namespace

SIZE LayOutColumn(const tagTLinearLayout& layout, ILayoutChildren& children)
{
    const Column column{layout.rc, layout.childPadding, PlaceOf(layout.childVAlign, 4, 8),
                        PlaceOf(layout.childAlign, 1, 2), false};
    return LayOut(column, children);
}

SIZE LayOutRow(const tagTLinearLayout& layout, ILayoutChildren& children)
{
    const Column column{Transpose(layout.rc), layout.childPadding, PlaceOf(layout.childAlign, 1, 2),
                        PlaceOf(layout.childVAlign, 4, 8), true};
    TransposedChildren transposed(children);
    return Transpose(LayOut(column, transposed));
}

RECT FloatChildRect(const RECT& container, SIZE fixedXY, SIZE fixedSize, unsigned floatAlign,
                    const tagTPercentInfo& percent)
{
    const Length width = Length{container.right} - container.left;
    const Length height = Length{container.bottom} - container.top;
    if (floatAlign != 0) {
        Length left = Length{container.left} + fixedXY.cx;
        if (floatAlign & FloatAlignCenter) {
            left = container.left + (width - fixedSize.cx) / 2;
        } else if (floatAlign & FloatAlignRight) {
            left = container.left + width - fixedSize.cx;
        }
        Length top = Length{container.top} + fixedXY.cy;
        if (floatAlign & FloatAlignVCenter) {
            top = container.top + (height - fixedSize.cy) / 2;
        } else if (floatAlign & FloatAlignBottom) {
            top = container.top + height - fixedSize.cy;
        }
        return SaturatedRect(left, top, left + fixedSize.cx, top + fixedSize.cy);
    }
    const Length x = Length{fixedXY.cx} + container.left;
    const Length y = Length{fixedXY.cy} + container.top;
    return SaturatedRect(Truncate(static_cast<double>(width) * percent.left) + x,
                         Truncate(static_cast<double>(height) * percent.top) + y,
                         Truncate(static_cast<double>(width) * percent.right) + x + fixedSize.cx,
                         Truncate(static_cast<double>(height) * percent.bottom) + y + fixedSize.cy);
}

RECT StackedChildRect(const RECT& client, SIZE minSize, SIZE maxSize)
{
    const Length width = std::min<Length>(std::max<Length>(Length{client.right} - client.left, minSize.cx), maxSize.cx);
    const Length height =
        std::min<Length>(std::max<Length>(Length{client.bottom} - client.top, minSize.cy), maxSize.cy);
    return SaturatedRect(client.left, client.top, client.left + width, client.top + height);
}

bool DragSeparatorEdge(LONG& lead, LONG& trail, int size, LONG last, LONG now, LONG minExtent, LONG maxExtent)
{
    const Length move = Length{now} - last;
    Length newLead = lead;
    Length newTrail = trail;
    // The edge follows only while the mouse is not beyond the thumb on the
    // side the move leaves, so that after a limit it waits for the mouse.
    if (size > 0) {
        if ((move > 0 && now < Length{trail} - size) || (move < 0 && now > trail)) {
            return false;
        }
        newTrail += move;
    } else {
        if ((move > 0 && now < lead) || (move < 0 && now > Length{lead} - size)) {
            return false;
        }
        newLead += move;
    }
    const Length extent = newTrail - newLead;
    if (extent < minExtent || extent >= maxExtent) {
        const Length limit = extent < minExtent ? minExtent : maxExtent;
        if (Length{trail} - lead == limit) {
            return false;
        }
        if (size > 0) {
            newTrail = newLead + limit;
        } else {
            newLead = newTrail - limit;
        }
    }
    lead = Saturate32(newLead);
    trail = Saturate32(newTrail);
    return true;
}

} // namespace SkinUI
