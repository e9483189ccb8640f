#include "progress.h"

#include "attribute_table.h"
#include "paint_manager.h"
#include "render_engine.h"
#include "skin_geometry.h"
#include "skin_values.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace SkinUI {

namespace {

// part * extent / range in single precision, truncated; the product is
// taken in 64 bits so that no range overflows it.
int Share(int64_t part, int64_t extent, int64_t range)
{
    return static_cast<int>(static_cast<float>(part * extent) / static_cast<float>(range));
}

} // namespace

CProgressUI::CProgressUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    m_szFixed.cy = 12;
}

CControlUI* CProgressUI::CreateControl()
{
    return new CProgressUI;
}

const wchar_t* CProgressUI::GetClass() const
{
    return L"ProgressUI";
}

void* CProgressUI::GetInterface(const wchar_t* pstrName)
{
    return SkinCompareNoCase(pstrName, L"Progress") == 0 ? this : CLabelUI::GetInterface(pstrName);
}

bool CProgressUI::IsShowText() const
{
    return m_bShowText;
}

void CProgressUI::SetShowText(bool bShowText)
{
    if (m_bShowText == bShowText) {
        return;
    }
    m_bShowText = bShowText;
    if (!bShowText) {
        SetText(L"");
    }
}

bool CProgressUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CProgressUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) {
        return;
    }
    m_bHorizontal = bHorizontal;
    Invalidate();
}

bool CProgressUI::IsStretchForeImage() const
{
    return m_bStretchForeImage;
}

void CProgressUI::SetStretchForeImage(bool bStretchForeImage)
{
    if (m_bStretchForeImage == bStretchForeImage) {
        return;
    }
    m_bStretchForeImage = bStretchForeImage;
    Invalidate();
}

int CProgressUI::GetMinValue() const
{
    return m_nMin;
}

void CProgressUI::SetMinValue(int nMin)
{
    m_nMin = nMin;
    Invalidate();
}

int CProgressUI::GetMaxValue() const
{
    return m_nMax;
}

void CProgressUI::SetMaxValue(int nMax)
{
    m_nMax = nMax;
    Invalidate();
}

int CProgressUI::GetValue() const
{
    return m_nValue;
}

void CProgressUI::SetValue(int nValue)
{
    if (nValue == m_nValue || nValue < m_nMin || nValue > m_nMax) {
        return;
    }
    const int oldPercent = Percent();
    m_nValue = nValue;
    Invalidate();
    UpdateText();
    if (m_pManager && Percent() != oldPercent) {
        m_pManager->NotifyAccessible(EVENT_OBJECT_VALUECHANGE, this);
    }
}

int CProgressUI::Percent() const
{
    // As NormalizeRange would make them, without storing: a screen reader's
    // question changes nothing.
    const int64_t low = m_nMin;
    const int64_t high = std::max<int64_t>(m_nMax, low + 1);
    const int64_t value = std::min<int64_t>(std::max<int64_t>(m_nValue, low), high);
    return Share(value - low, 100, high - low);
}

void CProgressUI::NormalizeRange()
{
    if (m_nMin >= m_nMax) {
        if (m_nMin == INT_MAX) {
            m_nMin = INT_MAX - 1;
        }
        m_nMax = m_nMin + 1;
    }
    if (m_nValue > m_nMax) {
        m_nValue = m_nMax;
    }
    if (m_nValue < m_nMin) {
        m_nValue = m_nMin;
    }
}

void CProgressUI::UpdateText()
{
    if (!m_bShowText) {
        return;
    }
    NormalizeRange();
    const float percent =
        static_cast<float>(int64_t{m_nValue} - m_nMin) * 100.0f / static_cast<float>(int64_t{m_nMax} - m_nMin);
    CSkinString text;
    text.Format(L"%.0f%%", percent);
    SetText(text);
}

void CProgressUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    using C = CProgressUI;
    static const TAttributeEntry<C> kAttributes[] = {
        {L"hor", [](C& c, const wchar_t* v) { c.SetHorizontal(IsSkinTrue(v)); }},
        {L"min", [](C& c, const wchar_t* v) { c.SetMinValue(ReadSkinInt(v)); }},
        {L"max", [](C& c, const wchar_t* v) { c.SetMaxValue(ReadSkinInt(v)); }},
        {L"value", [](C& c, const wchar_t* v) { c.SetValue(ReadSkinInt(v)); }},
        {L"isstretchfore", [](C& c, const wchar_t* v) { c.SetStretchForeImage(IsSkinTrue(v)); }},
    };
    if (pstrName && pstrValue && ApplyAttributeEntry(kAttributes, *this, pstrName, pstrValue)) {
        return;
    }
    CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CProgressUI::PaintForeColor(HDC hDC)
{
    if (m_dwForeColor == 0) {
        return;
    }
    NormalizeRange();
    const int64_t range = int64_t{m_nMax} - m_nMin;
    RECT rc = m_rcItem;
    if (m_bHorizontal) {
        rc.right = rc.left + static_cast<int>((int64_t{m_nValue} - m_nMin) * GetWidth() / range);
    } else {
        rc.top = rc.top + static_cast<int>(int64_t{GetHeight()} * (int64_t{m_nMax} - m_nValue) / range);
    }
    CRenderEngine::DrawColor(hDC, rc, GetAdjustColor(m_dwForeColor));
}

void CProgressUI::PaintForeImage(HDC hDC)
{
    NormalizeRange();
    const int64_t range = int64_t{m_nMax} - m_nMin;
    const int width = GetWidth();
    const int height = GetHeight();
    int filled = width;
    int top = 0;
    if (m_bHorizontal) {
        filled = Share(int64_t{m_nValue} - m_nMin, width, range);
    } else {
        top = Share(height, int64_t{m_nMax} - m_nValue, range);
    }
    if (m_sForeImage.IsEmpty()) {
        return;
    }
    // The filled part is the destination itself, in device pixels: a
    // "dest" in 96-DPI units would be scaled back with rounding, one pixel
    // too wide or narrow at 125 or 200 %. dest='0,0,0,0' overrides any dest
    // of the fore image's own. A cut source is given in 96-DPI units, as
    // the image's markup is, and scaled with the image's file.
    RECT filledRect = m_rcItem;
    if (m_bHorizontal) {
        filledRect.right = Saturate32(int64_t{m_rcItem.left} + filled);
    } else {
        filledRect.top = Saturate32(int64_t{m_rcItem.top} + top);
    }
    if (m_bStretchForeImage) {
        m_sForeImageModify = L"dest='0,0,0,0'";
    } else {
        const int scale = m_pManager ? static_cast<int>(m_pManager->GetDPIObj()->GetScale()) : 100;
        const int right = MulDiv(filled, 100, scale);
        const int sourceTop = MulDiv(top, 100, scale);
        const int bottom = MulDiv(height - top, 100, scale) + sourceTop;
        m_sForeImageModify.Format(L"dest='0,0,0,0' source='%d,%d,%d,%d'", 0, sourceTop, right, bottom);
    }
    CRenderEngine::DrawImageString(hDC, m_pManager, filledRect, m_rcPaint, m_sForeImage, m_sForeImageModify,
                                   m_instance);
}

} // namespace SkinUI
