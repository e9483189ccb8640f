#include "linear_layout_ui.h"

#include "paint_manager.h"
#include "render_engine.h"
#include "skin_text.h"
#include "skin_values.h"

#include <algorithm>

namespace SkinUI {

UINT CLinearLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepSize != 0 ? FlagSetCursor : 0;
}

void CLinearLayoutUI::SetSepImmMode(bool bImmediately)
{
    if (m_bImmMode == bImmediately) {
        return;
    }
    if ((m_uButtonState & kDragging) && !m_bImmMode && m_pManager) {
        m_pManager->RemovePostPaint(this);
    }
    m_bImmMode = bImmediately;
}

bool CLinearLayoutUI::IsSepImmMode() const
{
    return m_bImmMode;
}

RECT CLinearLayoutUI::GetThumbRect(bool bUseNew) const
{
    LONG RECT::*lead = m_bVertical ? &RECT::top : &RECT::left;
    LONG RECT::*trail = m_bVertical ? &RECT::bottom : &RECT::right;
    RECT rc = bUseNew ? m_rcNewPos : m_rcItem;
    if (m_iSepSize > 0) {
        rc.*lead = std::max(rc.*lead, rc.*trail - m_iSepSize);
    } else if (m_iSepSize < 0) {
        rc.*trail = std::min(rc.*lead - m_iSepSize, rc.*trail);
    }
    return rc;
}

void CLinearLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName && pstrValue && SkinCompareNoCase(pstrName, L"sepimm") == 0) {
        SetSepImmMode(IsSkinTrue(pstrValue));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CLinearLayoutUI::DoEvent(tagTEventUI& event)
{
    if (m_iSepSize == 0 || !DoSeparatorEvent(event)) {
        CContainerUI::DoEvent(event);
    }
}

bool CLinearLayoutUI::DoSeparatorEvent(tagTEventUI& event)
{
    const bool dragging = (m_uButtonState & kDragging) != 0;
    const RECT thumb = GetThumbRect(false);
    switch (event.Type) {
    case EventButtonDown:
        if (!IsEnabled() || !PtInRect(&thumb, event.ptMouse)) {
            return false;
        }
        m_uButtonState |= kDragging;
        m_ptLastMouse = event.ptMouse;
        m_rcNewPos = m_rcItem;
        if (!m_bImmMode && m_pManager) {
            m_pManager->AddPostPaint(this);
        }
        return true;
    case EventButtonUp:
        if (!dragging) {
            return false;
        }
        m_uButtonState &= ~kDragging;
        m_rcItem = m_rcNewPos;
        if (!m_bImmMode && m_pManager) {
            m_pManager->RemovePostPaint(this);
        }
        NeedParentUpdate();
        return true;
    case EventMouseMove: {
        if (!dragging) {
            return false;
        }
        LONG POINT::*axis = m_bVertical ? &POINT::y : &POINT::x;
        const LONG last = m_ptLastMouse.*axis;
        m_ptLastMouse = event.ptMouse;
        RECT rc = m_rcNewPos;
        LONG& lead = m_bVertical ? rc.top : rc.left;
        LONG& trail = m_bVertical ? rc.bottom : rc.right;
        const int minExtent = m_bVertical ? GetMinHeight() : GetMinWidth();
        const int maxExtent = m_bVertical ? GetMaxHeight() : GetMaxWidth();
        if (!DragSeparatorEdge(lead, trail, m_iSepSize, last, event.ptMouse.*axis, minExtent, maxExtent)) {
            return true;
        }
        const RECT oldThumb = GetThumbRect(true);
        m_rcNewPos = rc;
        // Stored in 96-DPI units like every fixed size, so that the getter
        // gives back the dragged extent. Set directly: the layout waits
        // for the release unless it is in immediate mode.
        const int extent = trail - lead;
        (m_bVertical ? m_szFixed.cy : m_szFixed.cx) = m_pManager ? m_pManager->GetDPIObj()->ScaleBack(extent) : extent;
        if (m_bImmMode) {
            m_rcItem = m_rcNewPos;
            NeedParentUpdate();
        } else if (m_pManager) {
            const RECT newThumb = GetThumbRect(true);
            RECT invalid;
            UnionRect(&invalid, &oldThumb, &newThumb);
            m_pManager->Invalidate(invalid);
        }
        return true;
    }
    case EventSetCursor:
        if (!IsEnabled() || !PtInRect(&thumb, event.ptMouse)) {
            return false;
        }
        ::SetCursor(LoadCursorW(nullptr, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    default:
        return false;
    }
}

void CLinearLayoutUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CControlUI::SetPos(rc, bNeedInvalidate);
    LayOutChildren(m_bVertical ? LayOutColumn : LayOutRow);
}

void CLinearLayoutUI::DoPostPaint(HDC hDC, const RECT&)
{
    if ((m_uButtonState & kDragging) && !m_bImmMode) {
        CRenderEngine::DrawColor(hDC, GetThumbRect(true), 0xAA000000);
    }
}

} // namespace SkinUI
