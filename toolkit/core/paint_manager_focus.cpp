// Keyboard focus and Tab navigation, mouse capture, and what happens to a
// message before it is dispatched: accelerators, pre-message filters, Tab,
// system keys and shortcuts; and the process message loop.
#include "paint_manager.h"

#include "control.h"

#include <cwctype>

namespace SkinUI {

namespace {

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

} // namespace

CControlUI* CPaintManagerUI::CollectTabStops(CControlUI* pControl, void* pData)
{
    auto* search = static_cast<TabSearch*>(pData);
    if (IsTabStop(pControl) || pControl == search->focus) {
        search->found->Add(pControl);
    }
    return nullptr;
}

CControlUI* CPaintManagerUI::FindShortcut(CControlUI* pControl, void* pData)
{
    const auto ch = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(pData));
    return pControl->GetShortcut() == ch ? pControl : nullptr;
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

void CPaintManagerUI::SetCapture()
{
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture()
{
    // Cleared first: the WM_CAPTURECHANGED this sends is no capture lost.
    m_bMouseCapture = false;
    ::ReleaseCapture();
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (AskFilters(m_aPreMessageFilters, uMsg, wParam, lParam, lRes)) {
        return true;
    }
    switch (uMsg) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB) {
            return false;
        }
        SetNextTabControl(GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN:
        if (m_pFocus) {
            SendEvent(m_pFocus, EventSysKey, m_ptLastMousePos, wParam, lParam, 0, static_cast<wchar_t>(wParam));
        }
        return false;
    case WM_SYSCHAR: {
        if (!m_pRoot) {
            return false;
        }
        const auto ch = static_cast<UINT_PTR>(std::towupper(static_cast<wint_t>(wParam)));
        CControlUI* control =
            m_pRoot->FindControl(FindShortcut, reinterpret_cast<void*>(ch), FindEnabled | FindTopFirst | FindMeFirst);
        if (!control) {
            return false;
        }
        control->SetFocus();
        control->Activate();
        return true;
    }
    default:
        return false;
    }
}

bool CPaintManagerUI::TranslateMessage(const MSG* pMsg)
{
    const bool child = (GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE) & WS_CHILD) != 0;
    const CStdPtrArray& managers = LiveManagers();
    for (int i = 0; i < managers.GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>(managers[i]);
        const HWND own = manager->GetPaintWindow();
        if (!own || (own != pMsg->hwnd && !(child && IsChild(own, pMsg->hwnd)))) {
            continue;
        }
        MSG copy = *pMsg;
        LRESULT result = 0;
        if (manager->TranslateAccelerator(&copy) ||
            manager->PreMessageHandler(copy.message, copy.wParam, copy.lParam, result)) {
            return true;
        }
        if (!child) {
            return false;
        }
    }
    return false;
}

void CPaintManagerUI::MessageLoop()
{
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateMessage(&msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        // A failing handler costs its message, not the program.
        try {
            DispatchMessageW(&msg);
        } catch (...) {
        }
    }
}

} // namespace SkinUI
