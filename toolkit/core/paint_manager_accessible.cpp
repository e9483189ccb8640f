// The window's accessible tree: the object handed out for WM_GETOBJECT,
// its elements, and the WinEvents that tell assistive technology of changes.
#include "paint_manager.h"

#include "accessible_client.h"
#include "accessible_info.h"
#include "container.h"
#include "control.h"

namespace SkinUI {

namespace {

void CollectElements(CControlUI* control, std::vector<CControlUI*>& elements)
{
    if (!control || !control->IsVisible()) {
        return;
    }
    tagTAccessibleInfo info;
    if (DescribeAccessible(*control, info)) {
        elements.push_back(control);
    }
    if (auto* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"))) {
        for (int i = 0; i < container->GetCount(); ++i) {
            CollectElements(container->GetItemAt(i), elements);
        }
    }
}

bool IsWithin(CControlUI* control, CControlUI* ancestor)
{
    for (; control; control = control->GetParent()) {
        if (control == ancestor) {
            return true;
        }
    }
    return false;
}

} // namespace

bool CPaintManagerUI::OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) {
        return false;
    }
    if (!m_pAccessible) {
        m_pAccessible = new (std::nothrow) CAccessibleClient(this);
        if (!m_pAccessible) {
            return false;
        }
    }
    lRes = LresultFromObject(__uuidof(IAccessible), wParam, m_pAccessible);
    return true;
}

void CPaintManagerUI::DisconnectAccessible()
{
    m_aAccessibleShown.Empty();
    if (m_pAccessible) {
        m_pAccessible->Disconnect();
        m_pAccessible->Release();
        m_pAccessible = nullptr;
    }
}

void CPaintManagerUI::GetAccessibleElements(std::vector<CControlUI*>& elements) const
{
    elements.clear();
    CollectElements(m_pRoot, elements);
}

LONG CPaintManagerUI::GetAccessibleChildId(CControlUI* pControl) const
{
    std::vector<CControlUI*> elements;
    GetAccessibleElements(elements);
    for (size_t i = 0; i < elements.size(); ++i) {
        if (elements[i] == pControl) {
            return static_cast<LONG>(i + 1);
        }
    }
    return 0;
}

void CPaintManagerUI::NotifyAccessible(DWORD event, CControlUI* pControl)
{
    if (!m_hWndPaint || !pControl || pControl->GetManager() != this) {
        return;
    }
    const LONG id = GetAccessibleChildId(pControl);
    if (id > 0) {
        NotifyWinEvent(event, m_hWndPaint, OBJID_CLIENT, id);
    }
}

void CPaintManagerUI::NotifyAccessibleVisibility(CControlUI* pControl, bool bVisible)
{
    if (!m_hWndPaint || !pControl || pControl->GetManager() != this) {
        return;
    }
    if (bVisible) {
        // A container shows its children after itself: their ids exist once
        // the change is complete, when the posted message is handled.
        if (m_aAccessibleShown.Find(pControl) < 0) {
            m_aAccessibleShown.Add(pControl);
        }
    } else {
        // Told while the ids of the elements going away still hold.
        std::vector<CControlUI*> elements;
        GetAccessibleElements(elements);
        for (size_t i = 0; i < elements.size(); ++i) {
            if (IsWithin(elements[i], pControl)) {
                NotifyWinEvent(EVENT_OBJECT_HIDE, m_hWndPaint, OBJID_CLIENT, static_cast<LONG>(i + 1));
            }
        }
    }
    m_bAccessibleReorder = true;
    PostAsyncMessage();
}

void CPaintManagerUI::FlushAccessibleEvents()
{
    if (!m_bAccessibleReorder || !m_hWndPaint) {
        return;
    }
    m_bAccessibleReorder = false;
    std::vector<CControlUI*> elements;
    GetAccessibleElements(elements);
    for (size_t i = 0; i < elements.size(); ++i) {
        for (int j = 0; j < m_aAccessibleShown.GetSize(); ++j) {
            if (IsWithin(elements[i], static_cast<CControlUI*>(m_aAccessibleShown[j]))) {
                NotifyWinEvent(EVENT_OBJECT_SHOW, m_hWndPaint, OBJID_CLIENT, static_cast<LONG>(i + 1));
                break;
            }
        }
    }
    m_aAccessibleShown.Empty();
    NotifyWinEvent(EVENT_OBJECT_REORDER, m_hWndPaint, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace SkinUI
