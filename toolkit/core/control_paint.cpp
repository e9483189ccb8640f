// The control base: placement, invalidation, the look and painting.
#include "control.h"

#include "control_store.h"
#include "paint_manager.h"
#include "render_clip.h"
#include "render_engine.h"
#include "skin_geometry.h"

#include <algorithm>
#include <cstdint>

namespace SkinUI {

namespace {

// Clips area to every ancestor's item rectangle; false when nothing is left.
// With checkVisible, an invisible ancestor leaves nothing either.
bool ClipToAncestors(const CControlUI* control, RECT& area, bool checkVisible)
{
    for (const CControlUI* parent = control->GetParent(); parent; parent = parent->GetParent()) {
        if (checkVisible && !parent->IsVisible()) {
            return false;
        }
        if (!IntersectRect(&area, &area, &parent->GetPos())) {
            return false;
        }
    }
    return true;
}

} // namespace

void CControlUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    // Never inverted, and never wider or taller than 32 bits can say.
    rc = SaturatedRect(rc.left, rc.top, std::max(rc.right, rc.left), std::max(rc.bottom, rc.top));
    RECT invalid = IsRectEmpty(&m_rcItem) ? rc : m_rcItem;
    m_rcItem = rc;
    if (!m_pManager) {
        return;
    }
    if (!m_bInSizeNotify) {
        m_bInSizeNotify = true;
        OnSize(this);
        m_bInSizeNotify = false;
    }
    m_bUpdateNeeded = false;
    if (bNeedInvalidate && IsVisible()) {
        invalid.left = std::min(invalid.left, m_rcItem.left);
        invalid.top = std::min(invalid.top, m_rcItem.top);
        invalid.right = std::max(invalid.right, m_rcItem.right);
        invalid.bottom = std::max(invalid.bottom, m_rcItem.bottom);
        if (ClipToAncestors(this, invalid, true)) {
            m_pManager->Invalidate(invalid);
        }
    }
}

void CControlUI::Invalidate()
{
    if (!IsVisible()) {
        return;
    }
    RECT invalid = m_rcItem;
    if (ClipToAncestors(this, invalid, false) && m_pManager) {
        m_pManager->Invalidate(invalid);
    }
}

bool CControlUI::IsUpdateNeeded() const
{
    return m_bUpdateNeeded;
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible()) {
        return;
    }
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager) {
        m_pManager->NeedUpdate();
    }
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager) {
        m_pManager->NeedUpdate();
    }
}

SIZE CControlUI::EstimateSize(SIZE)
{
    return SIZE{GetFixedWidth(), GetFixedHeight()};
}

bool CControlUI::Paint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl)
{
    if (pStopControl == this) {
        return false;
    }
    if (!IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return true;
    }
    return DoPaint(hDC, m_rcPaint, pStopControl);
}

bool CControlUI::DoPaint(HDC hDC, const RECT&, CControlUI*)
{
    const SIZE round = GetBorderRound();
    CRenderClip clip;
    if (round.cx > 0 || round.cy > 0) {
        CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, round.cx, round.cy, clip);
    }
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintForeColor(hDC);
    PaintForeImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
    return true;
}

void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0) {
        return;
    }
    const bool vertical = m_sGradient.CompareNoCase(L"hor") != 0;
    if (m_dwBackColor2 == 0) {
        // An opaque colour only needs the dirty part; a translucent one
        // blends over the whole control.
        const RECT& area = (m_dwBackColor >> 24) == 0xFF ? m_rcPaint : m_rcItem;
        CRenderEngine::DrawColor(hDC, area, GetAdjustColor(m_dwBackColor));
    } else if (m_dwBackColor3 != 0) {
        RECT upper = m_rcItem;
        upper.bottom = static_cast<LONG>((int64_t{m_rcItem.top} + m_rcItem.bottom) / 2);
        RECT lower = m_rcItem;
        lower.top = upper.bottom;
        CRenderEngine::DrawGradient(hDC, upper, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2), vertical,
                                    8);
        CRenderEngine::DrawGradient(hDC, lower, GetAdjustColor(m_dwBackColor2), GetAdjustColor(m_dwBackColor3),
                                    vertical, 8);
    } else {
        CRenderEngine::DrawGradient(hDC, m_rcItem, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2),
                                    vertical, 16);
    }
}

void CControlUI::PaintBkImage(HDC hDC)
{
    if (!m_sBkImage.IsEmpty()) {
        DrawImage(hDC, m_sBkImage);
    }
}

void CControlUI::PaintStatusImage(HDC) {}

void CControlUI::PaintForeColor(HDC hDC)
{
    CRenderEngine::DrawColor(hDC, m_rcItem, GetAdjustColor(m_dwForeColor));
}

void CControlUI::PaintForeImage(HDC hDC)
{
    if (!m_sForeImage.IsEmpty()) {
        DrawImage(hDC, m_sForeImage);
    }
}

void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC)
{
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) {
        return;
    }
    const int size = GetBorderSize();
    const SIZE round = GetBorderRound();
    const RECT sides = GetBorderSides();
    const bool focusColor = IsFocused() && m_dwFocusBorderColor != 0;
    const DWORD border = GetAdjustColor(m_dwBorderColor);
    if (size >= 1 && (round.cx >= 1 || round.cy >= 1)) {
        const DWORD color = focusColor ? GetAdjustColor(m_dwFocusBorderColor) : border;
        CRenderEngine::DrawRoundRect(hDC, m_rcItem, size, round.cx, round.cy, color, m_nBorderStyle);
    } else if (focusColor && size > 0) {
        CRenderEngine::DrawRect(hDC, m_rcItem, size, GetAdjustColor(m_dwFocusBorderColor), m_nBorderStyle);
    } else if (sides.left > 0 || sides.top > 0 || sides.right > 0 || sides.bottom > 0) {
        const RECT& rc = m_rcItem;
        if (sides.left > 0) {
            CRenderEngine::DrawLine(hDC, RECT{rc.left, rc.top, rc.left, rc.bottom}, sides.left, border, m_nBorderStyle);
        }
        if (sides.top > 0) {
            CRenderEngine::DrawLine(hDC, RECT{rc.left, rc.top, rc.right, rc.top}, sides.top, border, m_nBorderStyle);
        }
        if (sides.right > 0) {
            CRenderEngine::DrawLine(hDC, RECT{rc.right - 1, rc.top, rc.right - 1, rc.bottom}, sides.right, border,
                                    m_nBorderStyle);
        }
        if (sides.bottom > 0) {
            CRenderEngine::DrawLine(hDC, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom - 1}, sides.bottom, border,
                                    m_nBorderStyle);
        }
    } else if (size >= 1) {
        CRenderEngine::DrawRect(hDC, m_rcItem, size, border, m_nBorderStyle);
    }
}

void CControlUI::DoPostPaint(HDC, const RECT&) {}

bool CControlUI::DrawImage(HDC hDC, const wchar_t* pStrImage, const wchar_t* pStrModify)
{
    return CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, pStrImage, pStrModify, m_instance);
}

DWORD CControlUI::GetAdjustColor(DWORD dwColor) const
{
    if (!m_bColorHSL) {
        return dwColor;
    }
    short h = 180;
    short s = 100;
    short l = 100;
    CPaintManagerUI::GetHSL(&h, &s, &l);
    return CRenderEngine::AdjustColor(dwColor, h, s, l);
}

const CSkinString& CControlUI::GetGradient() const
{
    return m_sGradient;
}

void CControlUI::SetGradient(const wchar_t* pStrImage)
{
    StoreAndInvalidate(*this, m_sGradient, pStrImage);
}

DWORD CControlUI::GetBkColor() const
{
    return m_dwBackColor;
}

void CControlUI::SetBkColor(DWORD dwBackColor)
{
    StoreAndInvalidate(*this, m_dwBackColor, dwBackColor);
}

DWORD CControlUI::GetBkColor2() const
{
    return m_dwBackColor2;
}

void CControlUI::SetBkColor2(DWORD dwBackColor)
{
    StoreAndInvalidate(*this, m_dwBackColor2, dwBackColor);
}

DWORD CControlUI::GetBkColor3() const
{
    return m_dwBackColor3;
}

void CControlUI::SetBkColor3(DWORD dwBackColor)
{
    StoreAndInvalidate(*this, m_dwBackColor3, dwBackColor);
}

DWORD CControlUI::GetForeColor() const
{
    return m_dwForeColor;
}

void CControlUI::SetForeColor(DWORD dwForeColor)
{
    StoreAndInvalidate(*this, m_dwForeColor, dwForeColor);
}

const CSkinString& CControlUI::GetBkImage() const
{
    return m_sBkImage;
}

void CControlUI::SetBkImage(const wchar_t* pStrImage)
{
    StoreAndInvalidate(*this, m_sBkImage, pStrImage);
}

const CSkinString& CControlUI::GetForeImage() const
{
    return m_sForeImage;
}

void CControlUI::SetForeImage(const wchar_t* pStrImage)
{
    StoreAndInvalidate(*this, m_sForeImage, pStrImage);
}

DWORD CControlUI::GetBorderColor() const
{
    return m_dwBorderColor;
}

void CControlUI::SetBorderColor(DWORD dwBorderColor)
{
    StoreAndInvalidate(*this, m_dwBorderColor, dwBorderColor);
}

DWORD CControlUI::GetFocusBorderColor() const
{
    return m_dwFocusBorderColor;
}

void CControlUI::SetFocusBorderColor(DWORD dwBorderColor)
{
    StoreAndInvalidate(*this, m_dwFocusBorderColor, dwBorderColor);
}

bool CControlUI::IsColorHSL() const
{
    return m_bColorHSL;
}

void CControlUI::SetColorHSL(bool bColorHSL)
{
    StoreAndInvalidate(*this, m_bColorHSL, bColorHSL);
}

int CControlUI::GetBorderSize() const
{
    return Scaled(m_nBorderSize);
}

void CControlUI::SetBorderSize(int nSize)
{
    StoreAndInvalidate(*this, m_nBorderSize, nSize);
}

RECT CControlUI::GetBorderSides() const
{
    return Scaled(m_rcBorderSides);
}

void CControlUI::SetBorderSize(RECT rc)
{
    m_rcBorderSides = rc;
    Invalidate();
}

void CControlUI::SetLeftBorderSize(int nSize)
{
    m_rcBorderSides.left = nSize;
    Invalidate();
}

void CControlUI::SetTopBorderSize(int nSize)
{
    m_rcBorderSides.top = nSize;
    Invalidate();
}

void CControlUI::SetRightBorderSize(int nSize)
{
    m_rcBorderSides.right = nSize;
    Invalidate();
}

void CControlUI::SetBottomBorderSize(int nSize)
{
    m_rcBorderSides.bottom = nSize;
    Invalidate();
}

int CControlUI::GetBorderStyle() const
{
    return m_nBorderStyle;
}

void CControlUI::SetBorderStyle(int nStyle)
{
    m_nBorderStyle = nStyle;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const
{
    return Scaled(m_szBorderRound);
}

void CControlUI::SetBorderRound(SIZE cxyRound)
{
    m_szBorderRound = cxyRound;
    Invalidate();
}

} // namespace SkinUI
