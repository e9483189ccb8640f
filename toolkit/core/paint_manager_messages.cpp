// The paint manager's message table, its message filters and accelerators, and the message loop.
#include "paint_manager.h"

#include "control.h"
#include "skin_geometry.h"

#include <cwctype>

namespace SkinUI {

namespace {

// The offset that turns a control notification into its reflected form.
constexpr UINT kReflectBase = 0x2000;

CControlUI* FindShortcut(CControlUI* pControl, void* pData)
{
    const auto ch = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(pData));
    return pControl->GetShortcut() == ch ? pControl : nullptr;
}

} // namespace

bool CPaintManagerUI::AskFilters(const CStdPtrArray& filters, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    for (int i = 0; i < filters.GetSize(); ++i) {
        bool handled = false;
        const LRESULT result =
            static_cast<IMessageFilterUI*>(filters[i])->MessageHandler(uMsg, wParam, lParam, handled);
        if (handled) {
            lRes = result;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::SendEvent(CControlUI* pControl, int iType, POINT pt, WPARAM wParam, LPARAM lParam, WORD wKeyState,
                                wchar_t chKey)
{
    tagTEventUI event{};
    event.Type = iType;
    event.pSender = pControl;
    event.dwTimestamp = GetTickCount();
    event.ptMouse = pt;
    event.chKey = chKey;
    event.wKeyState = wKeyState;
    event.wParam = wParam;
    event.lParam = lParam;
    const DeliveryScope delivering(*this);
    pControl->Event(event);
}

void CPaintManagerUI::NoteFilteredMousePos(UINT uMsg, LPARAM lParam)
{
    switch (uMsg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        m_ptLastMousePos = CSkinPoint(lParam);
        break;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL: {
        POINT pt = CSkinPoint(lParam);
        ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        break;
    }
    default:
        break;
    }
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (!m_hWndPaint) {
        return false;
    }
    lRes = 0;
    if (AskFilters(m_aMessageFilters, uMsg, wParam, lParam, lRes)) {
        NoteFilteredMousePos(uMsg, lParam);
        return true;
    }
    switch (uMsg) {
    case kAsyncMessage:
        OnAsyncMessage();
        return false;
    case WM_SIZE:
        if (m_pFocus) {
            SendEvent(m_pFocus, EventWindowSize, m_ptLastMousePos, wParam, lParam);
        }
        if (m_pRoot) {
            m_pRoot->NeedUpdate();
        }
        lRes = 0;
        return true;
    case WM_SETFOCUS:
        if (m_pFocus) {
            SendEvent(m_pFocus, EventSetFocus, m_ptLastMousePos, wParam, lParam);
        }
        return false;
    case WM_KILLFOCUS:
        if (m_bMouseCapture) {
            ReleaseCapture();
        }
        ReleasePressedControl();
        return false;
    case WM_CAPTURECHANGED:
        // Taken away: the press ended elsewhere, and a later stray button-up
        // must click nothing.
        if (m_bMouseCapture && reinterpret_cast<HWND>(lParam) != m_hWndPaint) {
            m_bMouseCapture = false;
            ReleasePressedControl();
        }
        return false;
    case WM_PAINT:
        return OnPaint(lRes);
    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
        return false;
    case WM_CLOSE:
        OnClose();
        return false;
    case WM_ERASEBKGND:
        lRes = 1;
        return true;
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam, lRes);
    case WM_SETCURSOR:
        lRes = TRUE;
        return OnSetCursor(wParam, lParam);
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return false;
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return ReflectToChild(uMsg, wParam, lParam, lRes);
    case WM_CONTEXTMENU:
        OnContextMenu(wParam);
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        OnKey(uMsg, wParam, lParam);
        return false;
    case WM_TIMER:
        OnTimer(wParam, lParam);
        return false;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return false;
    case WM_MOUSEHOVER:
        return OnMouseHover(lParam);
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        OnButtonDown(uMsg, wParam, lParam);
        return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnButtonUp(uMsg, wParam, lParam);
        return false;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        return false;
    default:
        return false;
    }
}

void CPaintManagerUI::OnClose()
{
    if (m_pEventHover) {
        SendEvent(m_pEventHover, EventMouseLeave, m_ptLastMousePos);
        m_pEventHover = nullptr;
    }
    // Released without a click, wherever the pointer is.
    ReleasePressedControl();
    SetFocus(nullptr);
    if (GetActiveWindow() == m_hWndPaint) {
        if (HWND owner = GetWindow(m_hWndPaint, GW_OWNER)) {
            ::SetFocus(owner);
        }
    }
    DestroyTooltip();
}

void CPaintManagerUI::OnGetMinMaxInfo(MINMAXINFO& info) const
{
    if (m_szMinWindow.cx > 0) {
        info.ptMinTrackSize.x = m_szMinWindow.cx;
    }
    if (m_szMinWindow.cy > 0) {
        info.ptMinTrackSize.y = m_szMinWindow.cy;
    }
    if (m_szMaxWindow.cx > 0) {
        info.ptMaxTrackSize.x = info.ptMaxSize.x = m_szMaxWindow.cx;
    }
    if (m_szMaxWindow.cy > 0) {
        info.ptMaxTrackSize.y = info.ptMaxSize.y = m_szMaxWindow.cy;
    }
}

bool CPaintManagerUI::ReflectToChild(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (lParam == 0) {
        return false;
    }
    const HWND child =
        uMsg == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : reinterpret_cast<HWND>(lParam);
    if (!child) {
        return false;
    }
    lRes = SendMessageW(child, uMsg + kReflectBase, wParam, lParam);
    return uMsg == WM_NOTIFY || lRes != 0;
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return AddOnce(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveItem(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return AddOnce(m_aMessageFilters, pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveItem(m_aMessageFilters, pFilter);
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return AddOnce(m_aTranslateAccelerator, pTranslateAccelerator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return RemoveItem(m_aTranslateAccelerator, pTranslateAccelerator);
}

bool CPaintManagerUI::TranslateAccelerator(MSG* pMsg)
{
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
        if (static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i])->TranslateAccelerator(pMsg) == 0) {
            return true;
        }
    }
    return false;
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
