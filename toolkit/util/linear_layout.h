// The layout arithmetic of containers, apart from the controls themselves:
// where a floating child goes, how a plain container stacks its children,
// how a column or a row shares its length among its children, and how a
// separator drag moves a layout's edge. All lengths are device pixels.
#pragma once

#include "control_values.h"
#include "skin_win32_types.h"

namespace SkinUI {

// A child as the linear layouts see it.
struct tagTLayoutChild {
    bool floating;
    RECT padding;
    // 0 in a dimension: not fixed.
    SIZE fixed;
    SIZE minSize;
    SIZE maxSize;
};

// The children of a layout, asked in the order a layout pass visits them.
class ILayoutChildren {
public:
    virtual int GetCount() const = 0;
    // False for a child that is not visible: the pass skips it.
    virtual bool GetChild(int index, tagTLayoutChild& child) = 0;
    // 0 in a dimension: the child stretches in it.
    virtual SIZE EstimateSize(int index, SIZE available) = 0;
    virtual void SetPos(int index, const RECT& rc) = 0;
    virtual void SetFloatPos(int index) = 0;

protected:
    ~ILayoutChildren() = default;
};

struct tagTLinearLayout {
    // The item rectangle shrunk by the inset.
    RECT rc;
    // The gap between consecutive placed children.
    int childPadding;
    // 0 left, 1 center, 2 right.
    unsigned childAlign;
    // 0 top, 4 vcenter, 8 bottom.
    unsigned childVAlign;
};

// Places the children top to bottom (a vertical layout) or left to right (a
// horizontal one). Returns the size the children need.
SIZE LayOutColumn(const tagTLinearLayout& layout, ILayoutChildren& children);
SIZE LayOutRow(const tagTLinearLayout& layout, ILayoutChildren& children);

// A floating child's rectangle inside its container's item rectangle: by
// its float align when that is not 0, else by its float percents.
RECT FloatChildRect(const RECT& container, SIZE fixedXY, SIZE fixedSize, unsigned floatAlign,
                    const tagTPercentInfo& percent);

// A plain container's child: the client area's left-top corner, its size
// kept within the child's minimum and maximum.
RECT StackedChildRect(const RECT& client, SIZE minSize, SIZE maxSize);

// A separator drag along one axis: lead and trail are the dragged
// rectangle's top and bottom (or left and right). A positive size moves the
// trailing edge, a negative one the leading edge, following the mouse from
// last to now while the mouse is on the thumb's side of the move, and keeps
// the extent within minExtent and maxExtent. False when the move is dropped.
bool DragSeparatorEdge(LONG& lead, LONG& trail, int size, LONG last, LONG now, LONG minExtent, LONG maxExtent);

} // namespace SkinUI
