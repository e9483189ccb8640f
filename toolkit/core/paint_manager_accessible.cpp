// The window's accessible tree: the object handed out for WM_GETOBJECT,
// its elements, and the WinEvents that tell assistive technology of changes.
#include "paint_manager.h"

#include "accessible_client.h"
#include "accessible_info.h"
#include "container.h"
#include "control.h"

#include <climits>

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
    lRes = LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(m_pAccessible));
    return true;
}

void CPaintManagerUI::DisconnectAccessible()
{
    m_aAccessibleShown.Empty();
    m_accessibleIds.clear();
    if (m_pAccessible) {
        m_pAccessible->Disconnect();
        m_pAccessible->Release();
        m_pAccessible = nullptr;
    }
}

void CPaintManagerUI::GetAccessibleElements(std::vector<CControlUI*>& elements)
{
    elements.clear();
    CollectElements(m_pRoot, elements);
    // Ids are handed out in tree order as elements first appear, and kept
    // until the control is deleted: a screen reader's id never moves to
    // another control.
    for (CControlUI* element : elements) {
        if (m_accessibleIds.find(element) == m_accessibleIds.end() && m_nNextAccessibleId < LONG_MAX) {
            m_accessibleIds.emplace(element, m_nNextAccessibleId++);
        }
    }
}

LONG CPaintManagerUI::AccessibleIdOf(CControlUI* pControl) const
{
    const auto found = m_accessibleIds.find(pControl);
    return found == m_accessibleIds.end() ? 0 : found->second;
}

LONG CPaintManagerUI::GetAccessibleChildId(CControlUI* pControl)
{
    std::vector<CControlUI*> elements;
    GetAccessibleElements(elements);
    for (CControlUI* element : elements) {
        if (element == pControl) {
            return AccessibleIdOf(element);
        }
    }
    return 0;
}

CControlUI* CPaintManagerUI::FindAccessibleChild(LONG id)
{
    std::vector<CControlUI*> elements;
    GetAccessibleElements(elements);
    for (CControlUI* element : elements) {
        if (AccessibleIdOf(element) == id) {
            return element;
        }
    }
    return nullptr;
}

void CPaintManagerUI::NotifyAccessible(DWORD event, CControlUI* pControl)
{
    // Nothing listens, as without a screen reader: no tree walk either.
    if (!m_hWndPaint || !pControl || pControl->GetManager() != this || !IsWinEventHookInstalled(event)) {
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
        // Told while the elements going away are still in the tree.
        std::vector<CControlUI*> elements;
        if (IsWinEventHookInstalled(EVENT_OBJECT_HIDE)) {
            GetAccessibleElements(elements);
        }
        for (CControlUI* element : elements) {
            if (IsWithin(element, pControl)) {
                NotifyWinEvent(EVENT_OBJECT_HIDE, m_hWndPaint, OBJID_CLIENT, AccessibleIdOf(element));
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
    // Taken out first: a hook run by the events may show more, for the next pass.
    std::vector<CControlUI*> shown;
    for (int i = 0; i < m_aAccessibleShown.GetSize(); ++i) {
        shown.push_back(static_cast<CControlUI*>(m_aAccessibleShown[i]));
    }
    m_aAccessibleShown.Empty();
    std::vector<CControlUI*> elements;
    GetAccessibleElements(elements);
    for (CControlUI* element : elements) {
        for (CControlUI* root : shown) {
            if (IsWithin(element, root)) {
                NotifyWinEvent(EVENT_OBJECT_SHOW, m_hWndPaint, OBJID_CLIENT, AccessibleIdOf(element));
                break;
            }
        }
    }
    NotifyWinEvent(EVENT_OBJECT_REORDER, m_hWndPaint, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace SkinUI
