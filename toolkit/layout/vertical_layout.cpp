#include "vertical_layout.h"

#include "skin_text.h"
#include "skin_values.h"

namespace SkinUI {

CControlUI* CVerticalLayoutUI::CreateControl()
{
    return new CVerticalLayoutUI;
}

const wchar_t* CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayoutUI";
}

void* CVerticalLayoutUI::GetInterface(const wchar_t* pstrName)
{
    return SkinCompareNoCase(pstrName, L"VerticalLayout") == 0 ? this : CContainerUI::GetInterface(pstrName);
}

UINT CVerticalLayoutUI::GetControlFlags() const
{
    return m_separator.GetControlFlags(*this);
}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    m_separator.SetSize(iHeight);
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return m_separator.GetSize();
}

void CVerticalLayoutUI::SetSepImmMode(bool bImmediately)
{
    m_separator.SetImmMode(*this, bImmediately);
}

bool CVerticalLayoutUI::IsSepImmMode() const
{
    return m_separator.IsImmMode();
}

RECT CVerticalLayoutUI::GetThumbRect(bool bUseNew) const
{
    return m_separator.GetThumbRect(*this, bUseNew);
}

void CVerticalLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName && pstrValue && SkinCompareNoCase(pstrName, L"sepheight") == 0) {
        SetSepHeight(ReadSkinInt(pstrValue));
    } else if (pstrName && pstrValue && SkinCompareNoCase(pstrName, L"sepimm") == 0) {
        SetSepImmMode(IsSkinTrue(pstrValue));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CVerticalLayoutUI::DoEvent(tagTEventUI& event)
{
    if (!m_separator.DoEvent(*this, event)) {
        CContainerUI::DoEvent(event);
    }
}

void CVerticalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate)
{
    CControlUI::SetPos(rc, bNeedInvalidate);
    LayOutChildren(LayOutColumn);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT&)
{
    m_separator.DoPostPaint(*this, hDC);
}

} // namespace SkinUI
