// What the vertical and horizontal layouts share: the linear placement of
// their children and the separator strip. With a separator size other than
// 0, the strip of that many pixels along the layout's trailing edge (bottom
// or right), or its leading edge when the size is negative, can be dragged
// to change the layout's fixed height or width. In immediate mode the
// layout follows the mouse; otherwise a translucent strip shows where it
// will go and the layout changes when the button is released.
#pragma once

#include "container.h"

namespace SkinUI {

class CLinearLayoutUI : public CContainerUI {
public:
    // FlagSetCursor while the strip can be dragged.
    UINT GetControlFlags() const override;
    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const;
    // The strip over the item rectangle, or over where it is being dragged.
    RECT GetThumbRect(bool bUseNew = false) const;

    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoEvent(tagTEventUI& event) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

protected:
    explicit CLinearLayoutUI(bool vertical) : m_bVertical(vertical) {}

    // Set by SetSepHeight or SetSepWidth.
    int m_iSepSize = 0;

private:
    static constexpr UINT kDragging = 0x40;

    // The strip's events; false for the others.
    bool DoSeparatorEvent(tagTEventUI& event);

    bool m_bVertical;
    UINT m_uButtonState = 0;
    POINT m_ptLastMouse{};
    RECT m_rcNewPos{};
    bool m_bImmMode = false;
};

} // namespace SkinUI
