// The drag strip of a linear layout. With a size other than 0, the strip of
// that many pixels along the layout's bottom (or right) edge, or its top (or
// left) edge when the size is negative, can be dragged to change the
// layout's fixed height (or width). In immediate mode the layout follows the
// mouse; otherwise a translucent strip shows where it will go and the
// layout changes when the button is released.
#pragma once

#include "control.h"

namespace SkinUI {

class CLayoutSeparator {
public:
    explicit CLayoutSeparator(bool vertical) : m_bVertical(vertical) {}

    int GetSize() const { return m_iSize; }
    void SetSize(int size) { m_iSize = size; }
    bool IsImmMode() const { return m_bImmMode; }
    void SetImmMode(CControlUI& owner, bool immediate);
    // The strip over the layout's item rectangle, or over where it is being dragged.
    RECT GetThumbRect(const CControlUI& owner, bool bUseNew) const;
    // FlagSetCursor while the strip can be dragged.
    UINT GetControlFlags(const CControlUI& owner) const;
    // False for events that are not the strip's.
    bool DoEvent(CControlUI& owner, tagTEventUI& event);
    void DoPostPaint(const CControlUI& owner, HDC hDC) const;

private:
    static constexpr UINT kDragging = 0x40;

    bool m_bVertical;
    int m_iSize = 0;
    UINT m_uButtonState = 0;
    POINT m_ptLastMouse{};
    RECT m_rcNewPos{};
    bool m_bImmMode = false;
};

} // namespace SkinUI
