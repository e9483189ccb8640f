#include "horizontal_layout.h"

#include "skin_text.h"
#include "skin_values.h"

namespace SkinUI {

CControlUI* CHorizontalLayoutUI::CreateControl()
{
    return new CHorizontalLayoutUI;
}

const wchar_t* CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayoutUI";
}

void* CHorizontalLayoutUI::GetInterface(const wchar_t* pstrName)
{
    return SkinCompareNoCase(pstrName, L"HorizontalLayout") == 0 ? this : CContainerUI::GetInterface(pstrName);
}

UINT CHorizontalLayoutUI::GetControlFlags() const
{
    return m_separator.GetControlFlags(*this);
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    m_separator.SetSize(iWidth);
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_separator.GetSize();
}

void CHorizontalLayoutUI::SetSepImmMode(bool bImmediately)
{
    m_separator.SetImmMode(*this, bImmediately);
}

bool CHorizontalLayoutUI::IsSepImmMode() const
{
    return m_separator.IsImmMode();
}

RECT CHorizontalLayoutUI::GetThumbRect(bool bUseNew) const
{
    return m_separator.GetThumbRect(*this, bUseNew);
}

void CHorizontalLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName && pstrValue && SkinCompareNoCase(pstrName, L"sepwidth") == 0) {
        SetSepWidth(ReadSkinInt(pstrValue));
    } else if (pstrName && pstrValue && SkinCompareNoCase(pstrName, L"sepimm") == 0) {
        SetSepImmMode(IsSkinTrue(pstrValue));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CHorizontalLayoutUI::DoEvent(tagTEventUI& event)
{
    if (!m_separator.DoEvent(*this, event)) {
        CContainerUI::DoEvent(event);
    }
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CControlUI::SetPos(rc, bNeedInvalidate);
    LayOutChildren(LayOutRow);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT&)
{
    m_separator.DoPostPaint(*this, hDC);
}

} // namespace SkinUI
