// The paint manager's message table: each window message becomes control
// events, a paint, or work on the manager's own state.
#include "paint_manager.h"

#include "control.h"

#include <windowsx.h>

namespace SkinUI {

namespace {

POINT PointOf(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// The offset that turns a control notification into its reflected form.
constexpr UINT kReflectBase = 0x2000;

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
        m_ptLastMousePos = PointOf(lParam);
        break;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL: {
        POINT pt = PointOf(lParam);
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

void CPaintManagerUI::ReleasePressedControl()
{
    CControlUI* pressed = m_pEventClick;
    if (!pressed) {
        return;
    }
    m_pEventClick = nullptr;
    const RECT& rc = pressed->GetPos();
    SendEvent(pressed, EventButtonUp, POINT{rc.left - 1, rc.top - 1});
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

bool CPaintManagerUI::OnSetCursor(WPARAM, LPARAM lParam)
{
    if (!m_pRoot || LOWORD(lParam) != HTCLIENT) {
        return false;
    }
    if (m_bMouseCapture) {
        return true;
    }
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(m_hWndPaint, &pt);
    CControlUI* control = FindControl(pt);
    if (!control || !(control->GetControlFlags() & FlagSetCursor)) {
        return false;
    }
    SendEvent(control, EventSetCursor, pt, 0, 0, CurrentKeyState());
    return true;
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

void CPaintManagerUI::OnContextMenu(WPARAM wParam)
{
    if (!m_pRoot || !m_pEventClick) {
        return;
    }
    ReleaseCapture();
    CControlUI* control = m_pEventClick;
    m_pEventClick = nullptr;
    SendEvent(control, EventContextMenu, m_ptLastMousePos, wParam, reinterpret_cast<LPARAM>(control));
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

void CPaintManagerUI::OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!IsNoActivate()) {
        ::SetFocus(m_hWndPaint);
    }
    const POINT pt = PointOf(lParam);
    m_ptLastMousePos = pt;
    if (!m_pRoot) {
        return;
    }
    CControlUI* control = FindControl(pt);
    if (!control) {
        return;
    }
    const bool doubleClick = uMsg == WM_LBUTTONDBLCLK;
    if (!doubleClick) {
        control->SetFocus();
    }
    SetCapture();
    m_pEventClick = control;
    const int type = doubleClick              ? EventDoubleClick
                     : uMsg == WM_LBUTTONDOWN ? EventButtonDown
                     : uMsg == WM_RBUTTONDOWN ? EventRButtonDown
                                              : EventMButtonDown;
    SendEvent(control, type, pt, wParam, lParam, LOWORD(wParam));
}

void CPaintManagerUI::OnButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    m_ptLastMousePos = pt;
    if (uMsg != WM_LBUTTONUP) {
        // The other buttons end on whatever lies under the point.
        m_pEventClick = m_pRoot ? FindControl(pt) : nullptr;
    }
    CControlUI* control = m_pEventClick;
    if (!control) {
        return;
    }
    ReleaseCapture();
    if (uMsg == WM_LBUTTONUP) {
        m_pEventClick = nullptr;
    }
    const int type = uMsg == WM_LBUTTONUP ? EventButtonUp : uMsg == WM_RBUTTONUP ? EventRButtonUp : EventMButtonUp;
    SendEvent(control, type, pt, wParam, lParam, LOWORD(wParam));
}

void CPaintManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    if (!m_pRoot) {
        return;
    }
    POINT pt = PointOf(lParam);
    ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    if (CControlUI* control = FindControl(pt)) {
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        const WPARAM wheel = MAKEWPARAM(delta < 0 ? 1 : 0, static_cast<WORD>(delta));
        SendEvent(control, EventScrollWheel, pt, wheel, lParam, CurrentKeyState());
    }
    // The hover follows what now lies under the pointer.
    SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
}

} // namespace SkinUI
