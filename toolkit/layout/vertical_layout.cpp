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
    return SkinCompareNoCase(pstrName, L"VerticalLayout") == 0 ? this : CLinearLayoutUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    m_iSepSize = iHeight;
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return m_iSepSize;
}

void CVerticalLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName && pstrValue && SkinCompareNoCase(pstrName, L"sepheight") == 0) {
        SetSepHeight(ReadSkinInt(pstrValue));
    } else {
        CLinearLayoutUI::SetAttribute(pstrName, pstrValue);
    }
}

} // namespace SkinUI
