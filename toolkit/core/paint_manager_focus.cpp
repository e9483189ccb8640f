// Keyboard input and focus: key events, the focused control and Tab navigation.
#include "paint_manager.h"

#include "control.h"

namespace SkinUI {

namespace {

void SendFocusEvent(CControlUI* target, int type, CControlUI* sender)
{
    tagTEventUI event{};
    event.Type = type;
    event.pSender = sender;
    event.dwTimestamp = GetTickCount();
    target->Event(event);
}

// Tab stops in tree order, with the focused control among them wherever it
// is, so that the ones before and after it can be told apart.
struct TabSearch {
    CStdPtrArray* found;
    CControlUI* focus;
};

bool IsTabStop(const CControlUI* control)
{
    return (control->GetControlFlags() & FlagTabStop) != 0;
}

CControlUI* CollectTabStops(CControlUI* pControl, void* pData)
{
    auto* search = static_cast<TabSearch*>(pData);
    if (IsTabStop(pControl) || pControl == search->focus) {
        search->found->Add(pControl);
    }
    return nullptr;
}

} // namespace

WORD CPaintManagerUI::CurrentKeyState()
{
    WORD state = 0;
    const struct {
        int key;
        WORD flag;
    } keys[] = {{VK_LBUTTON, 0x01}, {VK_RBUTTON, 0x02}, {VK_SHIFT, 0x04}, {VK_CONTROL, 0x08}, {VK_MENU, 0x20}};
    for (const auto& k : keys) {
        if (GetKeyState(k.key) < 0) {
            state |= k.flag;
        }
    }
    return state;
}

void CPaintManagerUI::OnKey(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!m_pRoot) {
        return;
    }
    const auto key = static_cast<wchar_t>(wParam);
    switch (uMsg) {
    case WM_KEYDOWN:
        if (m_pFocus) {
            // The event may move the focus; key up goes where key down went.
            m_pEventKey = m_pFocus;
            SendEvent(m_pFocus, EventKeyDown, m_ptLastMousePos, wParam, lParam, CurrentKeyState(), key);
        }
        break;
    case WM_KEYUP:
        if (CControlUI* control = m_pEventKey) {
            m_pEventKey = nullptr;
            SendEvent(control, EventKeyUp, m_ptLastMousePos, wParam, lParam, CurrentKeyState(), key);
        }
        break;
    default:
        if (m_pFocus) {
            SendEvent(m_pFocus, EventChar, m_ptLastMousePos, wParam, lParam, CurrentKeyState(), key);
        }
        break;
    }
}

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    if (m_hWndPaint && ::GetFocus() != m_hWndPaint && pControl != m_pFocus) {
        ::SetFocus(m_hWndPaint);
    }
    if (pControl == m_pFocus) {
        return;
    }
    const DeliveryScope delivering(*this);
    if (CControlUI* old = m_pFocus) {
        // Out first: a handler of these may move the focus itself, and then
        // its choice stands.
        m_pFocus = nullptr;
        SendFocusEvent(old, EventKillFocus, pControl);
        SendNotify(old, L"killfocus");
        if (m_pFocus) {
            return;
        }
    }
    if (!pControl || pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled()) {
        // The focus is the client's own again.
        if (m_hWndPaint && ::GetFocus() == m_hWndPaint) {
            NotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWndPaint, OBJID_CLIENT, CHILDID_SELF);
        }
        return;
    }
    m_pFocus = pControl;
    NotifyAccessible(EVENT_OBJECT_FOCUS, pControl);
    SendFocusEvent(pControl, EventSetFocus, pControl);
    SendNotify(pControl, L"setfocus");
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl)
{
    if (m_hWndPaint) {
        ::SetFocus(m_hWndPaint);
    }
    if (!pControl || !m_pRoot) {
        return;
    }
    SetFocus(nullptr);
    // Focus rests on the tab stop before pControl, so that the next paint's
    // forward move lands on it; without another tab stop it rests nowhere.
    m_aFoundControls.Empty();
    TabSearch search{&m_aFoundControls, pControl};
    m_pRoot->FindControl(CollectTabStops, &search, FindVisible | FindEnabled | FindMeFirst);
    const int at = m_aFoundControls.Find(pControl);
    const int count = m_aFoundControls.GetSize();
    CControlUI* before = nullptr;
    if (count > 0) {
        before = static_cast<CControlUI*>(m_aFoundControls[at > 0 ? at - 1 : count - 1]);
    }
    m_aFoundControls.Empty();
    m_pFocus = before != pControl ? before : nullptr;
    m_bFocusNeeded = true;
    m_pRoot->NeedUpdate();
}

bool CPaintManagerUI::SetNextTabControl(bool bForward)
{
    if (m_bUpdateNeeded && bForward) {
        // The tab order needs the pending layout; the next paint moves on.
        m_bFocusNeeded = true;
        Invalidate();
        return true;
    }
    m_bFocusNeeded = false;
    if (!m_pRoot) {
        return true;
    }
    m_aFoundControls.Empty();
    TabSearch search{&m_aFoundControls, m_pFocus};
    m_pRoot->FindControl(CollectTabStops, &search, FindVisible | FindEnabled | FindMeFirst);
    const int count = m_aFoundControls.GetSize();
    const int at = m_pFocus ? m_aFoundControls.Find(m_pFocus) : -1;
    CControlUI* next = nullptr;
    if (bForward) {
        for (int i = at + 1; i < count && !next; ++i) {
            next = static_cast<CControlUI*>(m_aFoundControls[i]);
        }
        for (int i = 0; i < count && !next; ++i) {
            auto* candidate = static_cast<CControlUI*>(m_aFoundControls[i]);
            next = IsTabStop(candidate) ? candidate : nullptr;
        }
    } else {
        for (int i = (at < 0 ? count : at) - 1; i >= 0 && !next; --i) {
            next = static_cast<CControlUI*>(m_aFoundControls[i]);
        }
        for (int i = count - 1; i >= 0 && !next; --i) {
            auto* candidate = static_cast<CControlUI*>(m_aFoundControls[i]);
            next = IsTabStop(candidate) ? candidate : nullptr;
        }
    }
    m_aFoundControls.Empty();
    if (next) {
        SetFocus(next);
    }
    return true;
}

} // namespace SkinUI
