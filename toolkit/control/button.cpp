#include "button.h"

#include "attribute_table.h"
#include "control_store.h"
#include "draw_info.h"
#include "image_info.h"
#include "paint_manager.h"
#include "render_engine.h"
#include "skin_values.h"

namespace SkinUI {

namespace {

} // namespace

CButtonUI::CButtonUI()
{
    m_uTextStyle = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
}

CControlUI* CButtonUI::CreateControl()
{
    return new CButtonUI;
}

const wchar_t* CButtonUI::GetClass() const
{
    return L"ButtonUI";
}

void* CButtonUI::GetInterface(const wchar_t* pstrName)
{
    return SkinCompareNoCase(pstrName, L"Button") == 0 ? this : CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? FlagTabStop : 0) | (IsEnabled() ? FlagSetCursor : 0);
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_pManager) {
        m_pManager->SendNotify(this, L"click");
    }
    return true;
}

void CButtonUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    m_uButtonState = bEnable ? 0 : StateDisabled;
}

UINT CButtonUI::GetButtonState() const
{
    return m_uButtonState;
}

const CSkinString& CButtonUI::GetNormalImage() const
{
    return m_sNormalImage;
}

void CButtonUI::SetNormalImage(const wchar_t* pStrImage)
{
    StoreAndInvalidate(*this, m_sNormalImage, pStrImage);
}

const CSkinString& CButtonUI::GetHotImage() const
{
    return m_sHotImage;
}

void CButtonUI::SetHotImage(const wchar_t* pStrImage)
{
    StoreAndInvalidate(*this, m_sHotImage, pStrImage);
}

const CSkinString& CButtonUI::GetPushedImage() const
{
    return m_sPushedImage;
}

void CButtonUI::SetPushedImage(const wchar_t* pStrImage)
{
    StoreAndInvalidate(*this, m_sPushedImage, pStrImage);
}

const CSkinString& CButtonUI::GetFocusedImage() const
{
    return m_sFocusedImage;
}

void CButtonUI::SetFocusedImage(const wchar_t* pStrImage)
{
    StoreAndInvalidate(*this, m_sFocusedImage, pStrImage);
}

const CSkinString& CButtonUI::GetDisabledImage() const
{
    return m_sDisabledImage;
}

void CButtonUI::SetDisabledImage(const wchar_t* pStrImage)
{
    StoreAndInvalidate(*this, m_sDisabledImage, pStrImage);
}

const CSkinString& CButtonUI::GetHotForeImage() const
{
    return m_sHotForeImage;
}

void CButtonUI::SetHotForeImage(const wchar_t* pStrImage)
{
    StoreAndInvalidate(*this, m_sHotForeImage, pStrImage);
}

const CSkinString& CButtonUI::GetStateImage() const
{
    return m_sStateImage;
}

void CButtonUI::SetStateImage(const wchar_t* pStrImage)
{
    m_sNormalImage.Empty();
    StoreAndInvalidate(*this, m_sStateImage, pStrImage);
}

void CButtonUI::SetStateCount(int nCount)
{
    StoreAndInvalidate(*this, m_nStateCount, nCount);
}

int CButtonUI::GetStateCount() const
{
    return m_nStateCount;
}

void CButtonUI::SetHotBkColor(DWORD dwColor)
{
    StoreAndInvalidate(*this, m_dwHotBkColor, dwColor);
}

DWORD CButtonUI::GetHotBkColor() const
{
    return m_dwHotBkColor;
}

void CButtonUI::SetPushedBkColor(DWORD dwColor)
{
    StoreAndInvalidate(*this, m_dwPushedBkColor, dwColor);
}

DWORD CButtonUI::GetPushedBkColor() const
{
    return m_dwPushedBkColor;
}

void CButtonUI::SetDisabledBkColor(DWORD dwColor)
{
    StoreAndInvalidate(*this, m_dwDisabledBkColor, dwColor);
}

DWORD CButtonUI::GetDisabledBkColor() const
{
    return m_dwDisabledBkColor;
}

void CButtonUI::SetHotTextColor(DWORD dwColor)
{
    StoreAndInvalidate(*this, m_dwHotTextColor, dwColor);
}

DWORD CButtonUI::GetHotTextColor() const
{
    return m_dwHotTextColor;
}

void CButtonUI::SetPushedTextColor(DWORD dwColor)
{
    StoreAndInvalidate(*this, m_dwPushedTextColor, dwColor);
}

DWORD CButtonUI::GetPushedTextColor() const
{
    return m_dwPushedTextColor;
}

void CButtonUI::SetFocusedTextColor(DWORD dwColor)
{
    StoreAndInvalidate(*this, m_dwFocusedTextColor, dwColor);
}

DWORD CButtonUI::GetFocusedTextColor() const
{
    return m_dwFocusedTextColor;
}

void CButtonUI::SetHotFont(int index)
{
    StoreAndInvalidate(*this, m_iHotFont, index);
}

int CButtonUI::GetHotFont() const
{
    return m_iHotFont;
}

void CButtonUI::SetPushedFont(int index)
{
    StoreAndInvalidate(*this, m_iPushedFont, index);
}

int CButtonUI::GetPushedFont() const
{
    return m_iPushedFont;
}

void CButtonUI::SetFocusedFont(int index)
{
    StoreAndInvalidate(*this, m_iFocusedFont, index);
}

int CButtonUI::GetFocusedFont() const
{
    return m_iFocusedFont;
}

void CButtonUI::BindTabIndex(int index)
{
    if (index >= 0) {
        m_iBindTabIndex = index;
    }
}

void CButtonUI::BindTabLayoutName(const wchar_t* pstrName)
{
    if (pstrName) {
        m_sBindTabLayoutName = pstrName;
    }
}

int CButtonUI::GetBindTabLayoutIndex() const
{
    return m_iBindTabIndex;
}

const CSkinString& CButtonUI::GetBindTabLayoutName() const
{
    return m_sBindTabLayoutName;
}

void CButtonUI::DoEvent(tagTEventUI& event)
{
    if (PassMouseEventOn(event)) {
        return;
    }
    const bool inside = PtInRect(&m_rcItem, event.ptMouse) != FALSE;
    const bool captured = (m_uButtonState & StateCaptured) != 0;
    switch (event.Type) {
    case EventSetFocus:
    case EventKillFocus:
        Invalidate();
        break;
    case EventKeyDown:
        if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case EventButtonDown:
    case EventDoubleClick:
        if (inside && IsEnabled()) {
            m_uButtonState |= StatePushed | StateCaptured;
            Invalidate();
        }
        return;
    case EventMouseMove:
        if (captured) {
            m_uButtonState = inside ? m_uButtonState | StatePushed : m_uButtonState & ~StatePushed;
            Invalidate();
        }
        return;
    case EventButtonUp:
        if (captured) {
            m_uButtonState &= ~(StatePushed | StateCaptured);
            Invalidate();
            if (inside) {
                Activate();
            }
        }
        return;
    case EventContextMenu:
        if (IsContextMenuUsed() && m_pManager) {
            m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        }
        return;
    case EventMouseEnter:
        if (IsEnabled()) {
            m_uButtonState |= StateHot;
            Invalidate();
        }
        break;
    case EventMouseLeave:
        if (IsEnabled()) {
            m_uButtonState &= ~StateHot;
            Invalidate();
        }
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    using C = CButtonUI;
    static const TAttributeEntry<C> kAttributes[] = {
        {L"normalimage", [](C& c, const wchar_t* v) { c.SetNormalImage(v); }},
        {L"hotimage", [](C& c, const wchar_t* v) { c.SetHotImage(v); }},
        {L"pushedimage", [](C& c, const wchar_t* v) { c.SetPushedImage(v); }},
        {L"focusedimage", [](C& c, const wchar_t* v) { c.SetFocusedImage(v); }},
        {L"disabledimage", [](C& c, const wchar_t* v) { c.SetDisabledImage(v); }},
        {L"hotforeimage", [](C& c, const wchar_t* v) { c.SetHotForeImage(v); }},
        {L"stateimage", [](C& c, const wchar_t* v) { c.SetStateImage(v); }},
        {L"statecount", [](C& c, const wchar_t* v) { c.SetStateCount(ReadSkinInt(v)); }},
        {L"bindtabindex", [](C& c, const wchar_t* v) { c.BindTabIndex(ReadSkinInt(v)); }},
        {L"bindtablayoutname", [](C& c, const wchar_t* v) { c.BindTabLayoutName(v); }},
        {L"hotbkcolor", [](C& c, const wchar_t* v) { c.SetHotBkColor(ReadSkinHashColor(v)); }},
        {L"pushedbkcolor", [](C& c, const wchar_t* v) { c.SetPushedBkColor(ReadSkinHashColor(v)); }},
        {L"disabledbkcolor", [](C& c, const wchar_t* v) { c.SetDisabledBkColor(ReadSkinHashColor(v)); }},
        {L"hottextcolor", [](C& c, const wchar_t* v) { c.SetHotTextColor(ReadSkinHashColor(v)); }},
        {L"pushedtextcolor", [](C& c, const wchar_t* v) { c.SetPushedTextColor(ReadSkinHashColor(v)); }},
        {L"focusedtextcolor", [](C& c, const wchar_t* v) { c.SetFocusedTextColor(ReadSkinHashColor(v)); }},
        {L"hotfont", [](C& c, const wchar_t* v) { c.SetHotFont(ReadSkinInt(v)); }},
        {L"pushedfont", [](C& c, const wchar_t* v) { c.SetPushedFont(ReadSkinInt(v)); }},
        {L"focuedfont", [](C& c, const wchar_t* v) { c.SetFocusedFont(ReadSkinInt(v)); }},
    };
    if (pstrName && pstrValue && ApplyAttributeEntry(kAttributes, *this, pstrName, pstrValue)) {
        return;
    }
    CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CButtonUI::RefreshState()
{
    m_uButtonState = IsFocused() ? m_uButtonState | StateFocused : m_uButtonState & ~StateFocused;
    m_uButtonState = IsEnabled() ? m_uButtonState & ~StateDisabled : m_uButtonState | StateDisabled;
    HWND window = m_pManager ? m_pManager->GetPaintWindow() : nullptr;
    if (window && !IsWindowEnabled(window)) {
        m_uButtonState &= StateDisabled;
    }
}

void CButtonUI::PaintBkColor(HDC hDC)
{
    DWORD color = 0;
    if (m_uButtonState & StateDisabled) {
        color = m_dwDisabledBkColor;
    } else if (m_uButtonState & StatePushed) {
        color = m_dwPushedBkColor;
    } else if (m_uButtonState & StateHot) {
        color = m_dwHotBkColor;
    }
    if (color != 0) {
        CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(color));
    } else {
        CLabelUI::PaintBkColor(hDC);
    }
}

void CButtonUI::SplitStateImage()
{
    if (!m_pManager) {
        return;
    }
    // The cells are draw strings of their own, which painting scales: they
    // are cut from the unscaled name, destination and image, so that a scale
    // other than 100 % applies once.
    tagTDrawInfo info;
    info.Parse(m_sStateImage, L"", 100);
    const tagTImageInfo* image = m_pManager->GetImageEx(info.sImageName, info.sResType, info.dwMask, info.bHSL);
    if (!image || image->nX <= 0 || image->nY <= 0) {
        return;
    }
    const int width = image->nX / m_nStateCount;
    const RECT& dest = info.rcDest;
    const auto cell = [&](int index) {
        CSkinString text;
        text.Format(L"res='%ls' restype='%ls' dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", info.sImageName.GetData(),
                    info.sResType.GetData(), dest.left, dest.top, dest.right, dest.bottom, index * width, 0,
                    (index + 1) * width, image->nY);
        return text;
    };
    m_sNormalImage = cell(0);
    if (m_nStateCount > 1) {
        m_sHotImage = cell(1);
        m_sPushedImage = cell(1);
    }
    if (m_nStateCount > 2) {
        m_sPushedImage = cell(2);
    }
    if (m_nStateCount > 3) {
        m_sDisabledImage = cell(3);
    }
}

void CButtonUI::PaintStatusImage(HDC hDC)
{
    RefreshState();
    if (!m_sStateImage.IsEmpty() && m_nStateCount > 0 && m_sNormalImage.IsEmpty()) {
        SplitStateImage();
    }
    const CSkinString* image = nullptr;
    if (m_uButtonState & StateDisabled) {
        image = &m_sDisabledImage;
    } else if (m_uButtonState & StatePushed) {
        image = &m_sPushedImage;
    } else if (m_uButtonState & StateHot) {
        image = &m_sHotImage;
    } else if (m_uButtonState & StateFocused) {
        image = &m_sFocusedImage;
    }
    if (image && !image->IsEmpty() && DrawImage(hDC, *image)) {
        return;
    }
    if (!m_sNormalImage.IsEmpty()) {
        DrawImage(hDC, m_sNormalImage);
    }
}

// A pushed button has no fore image of its own: it shows the control's.
void CButtonUI::PaintForeImage(HDC hDC)
{
    const bool hot = (m_uButtonState & (StatePushed | StateHot)) == StateHot;
    if (hot && !m_sHotForeImage.IsEmpty() && DrawImage(hDC, m_sHotForeImage)) {
        return;
    }
    CLabelUI::PaintForeImage(hDC);
}

void CButtonUI::PaintText(HDC hDC)
{
    RefreshState();
    ResolveDefaultColors();
    DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if ((m_uButtonState & StatePushed) && m_dwPushedTextColor != 0) {
        color = m_dwPushedTextColor;
    } else if ((m_uButtonState & StateHot) && m_dwHotTextColor != 0) {
        color = m_dwHotTextColor;
    } else if ((m_uButtonState & StateFocused) && m_dwFocusedTextColor != 0) {
        color = m_dwFocusedTextColor;
    }
    int font = m_iFont;
    if ((m_uButtonState & StatePushed) && m_iPushedFont != -1) {
        font = m_iPushedFont;
    } else if ((m_uButtonState & StateHot) && m_iHotFont != -1) {
        font = m_iHotFont;
    } else if ((m_uButtonState & StateFocused) && m_iFocusedFont != -1) {
        font = m_iFocusedFont;
    }
    DrawLabelText(hDC, color, font);
}

} // namespace SkinUI
