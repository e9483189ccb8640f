#include "layout_separator.h"

#include "linear_layout.h"
#include "paint_manager.h"
#include "render_engine.h"

#include <algorithm>

namespace SkinUI {

void CLayoutSeparator::SetImmMode(CControlUI& owner, bool immediate)
{
    if (m_bImmMode == immediate) {
        return;
    }
    if ((m_uButtonState & kDragging) && !m_bImmMode && owner.GetManager()) {
        owner.GetManager()->RemovePostPaint(&owner);
    }
    m_bImmMode = immediate;
}

RECT CLayoutSeparator::GetThumbRect(const CControlUI& owner, bool bUseNew) const
{
    LONG RECT::*lead = m_bVertical ? &RECT::top : &RECT::left;
    LONG RECT::*trail = m_bVertical ? &RECT::bottom : &RECT::right;
    RECT rc = bUseNew ? m_rcNewPos : owner.m_rcItem;
    if (m_iSize > 0) {
        rc.*lead = std::max(rc.*lead, rc.*trail - m_iSize);
    } else if (m_iSize < 0) {
        rc.*trail = std::min(rc.*lead - m_iSize, rc.*trail);
    }
    return rc;
}

UINT CLayoutSeparator::GetControlFlags(const CControlUI& owner) const
{
    return owner.IsEnabled() && m_iSize != 0 ? FlagSetCursor : 0;
}

bool CLayoutSeparator::DoEvent(CControlUI& owner, tagTEventUI& event)
{
    if (m_iSize == 0) {
        return false;
    }
    CPaintManagerUI* manager = owner.GetManager();
    const bool dragging = (m_uButtonState & kDragging) != 0;
    const RECT thumb = GetThumbRect(owner, false);
    switch (event.Type) {
    case EventButtonDown:
        if (!owner.IsEnabled() || !PtInRect(&thumb, event.ptMouse)) {
            return false;
        }
        m_uButtonState |= kDragging;
        m_ptLastMouse = event.ptMouse;
        m_rcNewPos = owner.m_rcItem;
        if (!m_bImmMode && manager) {
            manager->AddPostPaint(&owner);
        }
        return true;
    case EventButtonUp:
        if (!dragging) {
            return false;
        }
        m_uButtonState &= ~kDragging;
        owner.m_rcItem = m_rcNewPos;
        if (!m_bImmMode && manager) {
            manager->RemovePostPaint(&owner);
        }
        owner.NeedParentUpdate();
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
        const int minExtent = m_bVertical ? owner.GetMinHeight() : owner.GetMinWidth();
        const int maxExtent = m_bVertical ? owner.GetMaxHeight() : owner.GetMaxWidth();
        if (!DragSeparatorEdge(lead, trail, m_iSize, last, event.ptMouse.*axis, minExtent, maxExtent)) {
            return true;
        }
        const RECT oldThumb = GetThumbRect(owner, true);
        m_rcNewPos = rc;
        // Stored in 96-DPI units like every fixed size, so that the getter
        // gives back the dragged extent.
        const int extent = trail - lead;
        const int stored = manager ? manager->GetDPIObj()->ScaleBack(extent) : extent;
        (m_bVertical ? owner.m_szFixed.cy : owner.m_szFixed.cx) = stored;
        if (m_bImmMode) {
            owner.m_rcItem = m_rcNewPos;
            owner.NeedParentUpdate();
        } else if (manager) {
            const RECT newThumb = GetThumbRect(owner, true);
            RECT invalid;
            UnionRect(&invalid, &oldThumb, &newThumb);
            manager->Invalidate(invalid);
        }
        return true;
    }
    case EventSetCursor:
        if (!owner.IsEnabled() || !PtInRect(&thumb, event.ptMouse)) {
            return false;
        }
        ::SetCursor(LoadCursorW(nullptr, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    default:
        return false;
    }
}

void CLayoutSeparator::DoPostPaint(const CControlUI& owner, HDC hDC) const
{
    if ((m_uButtonState & kDragging) && !m_bImmMode) {
        CRenderEngine::DrawColor(hDC, GetThumbRect(owner, true), 0xAA000000);
    }
}

} // namespace SkinUI
