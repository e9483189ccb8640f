#include "label.h"

#include "attribute_table.h"
#include "memory_dc.h"
#include "paint_manager.h"
#include "render_engine.h"
#include "skin_geometry.h"
#include "skin_values.h"

namespace SkinUI {

CControlUI* CLabelUI::CreateControl()
{
    return new CLabelUI;
}

const wchar_t* CLabelUI::GetClass() const
{
    return L"LabelUI";
}

void* CLabelUI::GetInterface(const wchar_t* pstrName)
{
    return SkinCompareNoCase(pstrName, L"Label") == 0 ? this : CControlUI::GetInterface(pstrName);
}

UINT CLabelUI::GetControlFlags() const
{
    return IsEnabled() ? FlagSetCursor : 0;
}

bool CLabelUI::GetAutoCalcWidth() const
{
    return m_bAutoCalcWidth;
}

void CLabelUI::SetAutoCalcWidth(bool bAutoCalcWidth)
{
    m_bAutoCalcWidth = bAutoCalcWidth;
}

bool CLabelUI::GetAutoCalcHeight() const
{
    return m_bAutoCalcHeight;
}

void CLabelUI::SetAutoCalcHeight(bool bAutoCalcHeight)
{
    m_bAutoCalcHeight = bAutoCalcHeight;
}

void CLabelUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    Invalidate();
}

DWORD CLabelUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor)
{
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const
{
    return m_dwDisabledTextColor;
}

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    m_bEstimateStale = true;
    Invalidate();
}

int CLabelUI::GetFont() const
{
    return m_iFont;
}

void CLabelUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

UINT CLabelUI::GetTextStyle() const
{
    return m_uTextStyle;
}

RECT CLabelUI::GetTextPadding() const
{
    return Scaled(m_rcTextPadding);
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    m_bEstimateStale = true;
    Invalidate();
}

bool CLabelUI::IsShowHtml() const
{
    return m_bShowHtml;
}

void CLabelUI::SetShowHtml(bool bShowHtml)
{
    if (m_bShowHtml == bShowHtml) {
        return;
    }
    m_bShowHtml = bShowHtml;
    m_bEstimateStale = true;
    Invalidate();
}

void CLabelUI::SetText(const wchar_t* pstrText)
{
    CControlUI::SetText(pstrText);
    if (m_bAutoCalcWidth || m_bAutoCalcHeight) {
        m_bEstimateStale = true;
        NeedParentUpdate();
    }
}

void CLabelUI::DoEvent(tagTEventUI& event)
{
    if (event.Type == EventSetFocus || event.Type == EventKillFocus) {
        m_bFocused = event.Type == EventSetFocus;
        return;
    }
    CControlUI::DoEvent(event);
}

void CLabelUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    using C = CLabelUI;
    static const TAttributeEntry<C> kAttributes[] = {
        {L"align", [](C& c, const wchar_t* v) { c.SetTextStyle(ReadTextAlign(c.m_uTextStyle, v)); }},
        {L"valign", [](C& c, const wchar_t* v) { c.SetTextStyle(ReadTextVAlign(c.m_uTextStyle, v)); }},
        {L"endellipsis",
         [](C& c, const wchar_t* v) {
             c.SetTextStyle(IsSkinTrue(v) ? c.m_uTextStyle | DT_END_ELLIPSIS : c.m_uTextStyle & ~DT_END_ELLIPSIS);
         }},
        {L"wordbreak",
         [](C& c, const wchar_t* v) {
             const UINT multiLine = DT_WORDBREAK | DT_EDITCONTROL;
             c.SetTextStyle(IsSkinTrue(v) ? (c.m_uTextStyle & ~DT_SINGLELINE) | multiLine
                                          : (c.m_uTextStyle & ~multiLine) | DT_SINGLELINE);
         }},
        {L"noprefix",
         [](C& c, const wchar_t* v) {
             c.SetTextStyle(IsSkinTrue(v) ? c.m_uTextStyle | DT_NOPREFIX : c.m_uTextStyle & ~DT_NOPREFIX);
         }},
        {L"font", [](C& c, const wchar_t* v) { c.SetFont(ReadSkinInt(v)); }},
        {L"textcolor", [](C& c, const wchar_t* v) { c.SetTextColor(ReadSkinHashColor(v)); }},
        {L"disabledtextcolor", [](C& c, const wchar_t* v) { c.SetDisabledTextColor(ReadSkinHashColor(v)); }},
        {L"textpadding", [](C& c, const wchar_t* v) { c.SetTextPadding(ReadSkinRect(v)); }},
        {L"showhtml", [](C& c, const wchar_t* v) { c.SetShowHtml(IsSkinTrue(v)); }},
        {L"autocalcwidth", [](C& c, const wchar_t* v) { c.SetAutoCalcWidth(IsSkinTrue(v)); }},
        {L"autocalcheight", [](C& c, const wchar_t* v) { c.SetAutoCalcHeight(IsSkinTrue(v)); }},
    };
    if (pstrName && pstrValue && ApplyAttributeEntry(kAttributes, *this, pstrName, pstrValue)) {
        return;
    }
    CControlUI::SetAttribute(pstrName, pstrValue);
}

void CLabelUI::MeasureText(const CSkinString& text, RECT& rc) const
{
    // Without a window yet, a screen-compatible DC measures alike.
    CMemoryDC screen(nullptr);
    HDC hDC = m_pManager->GetPaintDC() ? m_pManager->GetPaintDC() : screen.Get();
    const UINT style = (m_uTextStyle & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT;
    CRenderEngine::DrawText(hDC, m_pManager, rc, text, 0, m_iFont, style);
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable)
{
    if (m_szFixed.cx >= 1 && m_szFixed.cy >= 1) {
        return CControlUI::EstimateSize(szAvailable);
    }
    if (szAvailable.cx != m_szAvailableLast.cx || szAvailable.cy != m_szAvailableLast.cy) {
        m_bEstimateStale = true;
    }
    // Without a manager there is no font to measure with: the fixed size
    // stands in, and the estimate stays stale until it can be made.
    if (!m_pManager) {
        return m_bEstimateStale ? SIZE{GetFixedWidth(), GetFixedHeight()} : m_szEstimate;
    }
    const UINT scale = m_pManager->GetDPIObj()->GetScale();
    if (!m_bEstimateStale && scale == m_uEstimateScale) {
        return m_szEstimate;
    }
    const CSkinString text = GetText();
    m_bEstimateStale = false;
    m_uEstimateScale = scale;
    m_szAvailableLast = szAvailable;
    m_szEstimate = SIZE{GetFixedWidth(), GetFixedHeight()};
    const RECT padding = GetTextPadding();
    if (m_uTextStyle & DT_SINGLELINE) {
        if (m_szEstimate.cy == 0) {
            m_szEstimate.cy = Saturate32(static_cast<long long>(m_pManager->GetFontInfo(m_iFont)->tm.tmHeight) + 8 +
                                         padding.top + padding.bottom);
        }
        if (m_szEstimate.cx == 0 && m_bAutoCalcWidth) {
            RECT rc{0, 0, 9999, m_szEstimate.cy};
            MeasureText(text, rc);
            m_szEstimate.cx = Saturate32(static_cast<long long>(rc.right) - rc.left + padding.left + padding.right);
        }
    } else if (m_szEstimate.cy == 0 && m_bAutoCalcHeight) {
        RECT rc{padding.left, 0, Saturate32(static_cast<long long>(m_szEstimate.cx) - padding.right), 9999};
        MeasureText(text, rc);
        m_szEstimate.cy = Saturate32(static_cast<long long>(rc.bottom) - rc.top + padding.top + padding.bottom);
    }
    return m_szEstimate;
}

void CLabelUI::ResolveDefaultColors()
{
    if (!m_pManager) {
        return;
    }
    if (m_dwTextColor == 0) {
        m_dwTextColor = m_pManager->GetDefaultFontColor();
    }
    if (m_dwDisabledTextColor == 0) {
        m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
    }
}

void CLabelUI::DrawLabelText(HDC hDC, DWORD dwColor, int iFont)
{
    const CSkinString text = GetText();
    if (text.IsEmpty()) {
        return;
    }
    RECT rc = DeflatedRect(m_rcItem, GetTextPadding());
    CRenderEngine::DrawText(hDC, m_pManager, rc, text, dwColor, iFont, m_uTextStyle);
}

void CLabelUI::PaintText(HDC hDC)
{
    ResolveDefaultColors();
    DrawLabelText(hDC, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_iFont);
}

} // namespace SkinUI
