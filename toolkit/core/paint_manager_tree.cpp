// The control tree's registry of names, and the searches of the tree by name, point and class.
#include "paint_manager.h"

#include "control.h"
#include "skin_text.h"

namespace SkinUI {

namespace {

struct ClassSearch {
    const wchar_t* className;
    int index;
    CStdPtrArray* found;
};

CControlUI* MatchName(CControlUI* pControl, void* pData)
{
    return pControl->GetName() == static_cast<const wchar_t*>(pData) ? pControl : nullptr;
}

CControlUI* FindControlFromPoint(CControlUI* pControl, void* pData)
{
    return PtInRect(&pControl->GetPos(), *static_cast<const POINT*>(pData)) ? pControl : nullptr;
}

CControlUI* FindControlsByClass(CControlUI* pControl, void* pData)
{
    auto* search = static_cast<ClassSearch*>(pData);
    if (SkinCompareNoCase(pControl->GetClass(), search->className) != 0) {
        return nullptr;
    }
    if (search->found) {
        search->found->Add(pControl);
        return nullptr;
    }
    return search->index-- == 0 ? pControl : nullptr;
}

} // namespace

CControlUI* CPaintManagerUI::RegisterName(CControlUI* pControl, void* pData)
{
    const CSkinString& name = pControl->GetName();
    if (!name.IsEmpty()) {
        static_cast<CPaintManagerUI*>(pData)->m_mNameHash.Set(name, pControl);
    }
    return nullptr;
}

CControlUI* CPaintManagerUI::FindControl(const wchar_t* pstrName) const
{
    return pstrName ? static_cast<CControlUI*>(m_mNameHash.Find(pstrName)) : nullptr;
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    if (!m_pRoot) {
        return nullptr;
    }
    CControlUI* control = m_pRoot->FindControl(FindControlFromPoint, &pt, FindVisible | FindHitTest | FindTopFirst);
    return control && control->GetManager() == this ? control : nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, const wchar_t* pstrName) const
{
    if (!pParent || !pstrName) {
        return nullptr;
    }
    return pParent->FindControl(MatchName, const_cast<wchar_t*>(pstrName), FindAll);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, const wchar_t* pstrClass, int iIndex)
{
    if (!pParent || !pstrClass) {
        return nullptr;
    }
    ClassSearch search{pstrClass, iIndex, nullptr};
    return pParent->FindControl(FindControlsByClass, &search, FindAll);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, const wchar_t* pstrClass)
{
    m_aFoundControls.Empty();
    if (pParent && pstrClass) {
        ClassSearch search{pstrClass, 0, &m_aFoundControls};
        pParent->FindControl(FindControlsByClass, &search, FindAll);
    }
    return &m_aFoundControls;
}

} // namespace SkinUI
