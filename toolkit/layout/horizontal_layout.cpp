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
    return SkinCompareNoCase(pstrName, L"HorizontalLayout") == 0 ? this : CLinearLayoutUI::GetInterface(pstrName);
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    m_iSepSize = iWidth;
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_iSepSize;
}

void CHorizontalLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName && pstrValue && SkinCompareNoCase(pstrName, L"sepwidth") == 0) {
        SetSepWidth(ReadSkinInt(pstrValue));
    } else {
        CLinearLayoutUI::SetAttribute(pstrName, pstrValue);
    }
}

} // namespace SkinUI
