// Mouse input: hover, tool tip, leaving the window, buttons, wheel, cursor and capture.
#include "paint_manager.h"

#include "control.h"
#include "proc_address.h"
#include "skin_geometry.h"
#include "system_library.h"

namespace SkinUI {

namespace {

// The tool tip's window class comes with the common controls. They are
// loaded for the first tool tip, not at start-up, where loading them took
// longer than everything else before the window's first paint.
bool RegisterToolTipClass()
{
    static const bool registered = [] {
        // Loaded once and kept for the life of the process.
        const HMODULE module = LoadSystemLibrary(L"comctl32.dll");
        const auto init = GetProcAddressAs<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(module, "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
        return init && init(&classes) != FALSE;
    }();
    return registered;
}

} // namespace

void CPaintManagerUI::EndHover(POINT pt)
{
    // A copy: a control may ask to be left out while it is told. One that
    // an earlier leave took out of the live list (or deleted) is skipped.
    const CStdPtrArray leaving(m_aNeedMouseLeaveNeeded);
    for (int i = 0; i < leaving.GetSize(); ++i) {
        if (m_aNeedMouseLeaveNeeded.Find(leaving[i]) >= 0) {
            SendEvent(static_cast<CControlUI*>(leaving[i]), EventMouseLeave, pt, 0, 0, CurrentKeyState());
        }
    }
    if (CControlUI* hover = m_pEventHover) {
        m_pEventHover = nullptr;
        SendEvent(hover, EventMouseLeave, pt, 0, 0, CurrentKeyState());
    }
    if (m_hwndTooltip) {
        SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
}

void CPaintManagerUI::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!m_bMouseTracking) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWndPaint;
        track.dwHoverTime = m_hwndTooltip
                                ? static_cast<DWORD>(SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                                : static_cast<DWORD>(GetHoverTime());
        TrackMouseEvent(&track);
        m_bMouseTracking = true;
    }
    const POINT pt = CSkinPoint(lParam);
    m_ptLastMousePos = pt;
    CControlUI* control = FindControl(pt);
    if (!m_bMouseCapture) {
        if (control != m_pEventHover && m_pEventHover) {
            EndHover(pt);
        }
        if (control && control != m_pEventHover) {
            m_pEventHover = control;
            SendEvent(control, EventMouseEnter, pt, 0, 0, CurrentKeyState());
        }
    }
    // While a button is held, its control keeps receiving the moves.
    CControlUI* target = m_pEventClick ? m_pEventClick : control;
    if (target) {
        SendEvent(target, EventMouseMove, pt, wParam, lParam, CurrentKeyState());
    }
}

bool CPaintManagerUI::OnMouseHover(LPARAM lParam)
{
    m_bMouseTracking = false;
    const POINT pt = CSkinPoint(lParam);
    CControlUI* control = FindControl(pt);
    if (!control) {
        return false;
    }
    if (m_pEventHover) {
        SendEvent(m_pEventHover, EventMouseHover, pt, 0, 0, CurrentKeyState());
    }
    CSkinString text = control->GetToolTip();
    if (text.IsEmpty()) {
        return true;
    }
    m_ToolTip = TOOLINFOW{};
    // The record's own size: the 64-bit record is larger than the 32-bit one.
    m_ToolTip.cbSize = sizeof(TOOLINFOW);
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = GetInstance();
    m_ToolTip.lpszText = const_cast<wchar_t*>(text.GetData());
    m_ToolTip.rect = control->GetPos();
    if (!m_hwndTooltip && RegisterToolTipClass()) {
        m_hwndTooltip =
            CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint, nullptr, GetInstance(), nullptr);
        SendMessageW(m_hwndTooltip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
        SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
    }
    if (!IsWindowVisible(m_hwndTooltip)) {
        SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
        SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    // The tool tip keeps its own copy of the text.
    m_ToolTip.lpszText = nullptr;
    return true;
}

void CPaintManagerUI::OnMouseLeave()
{
    if (m_hwndTooltip) {
        SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    if (!m_bMouseTracking) {
        // A hover tracked no more (a tool tip ended it) still ends here.
        if (m_pEventHover) {
            EndHover(POINT{-1, -1});
        }
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT window{};
    GetWindowRect(m_hWndPaint, &window);
    LPARAM move = -1;
    if (!IsIconic(m_hWndPaint) && GetActiveWindow() == m_hWndPaint && PtInRect(&window, cursor) &&
        SendMessageW(m_hWndPaint, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y)) == HTCLIENT) {
        ScreenToClient(m_hWndPaint, &cursor);
        move = MAKELPARAM(cursor.x, cursor.y);
    }
    // (-1, -1) finds no control, which ends the hover.
    SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, move);
    m_bMouseTracking = false;
}

void CPaintManagerUI::DestroyTooltip()
{
    // A window's owned pop-ups go with it, so the tool tip may be gone already.
    if (m_hwndTooltip && IsWindow(m_hwndTooltip)) {
        DestroyWindow(m_hwndTooltip);
    }
    m_hwndTooltip = nullptr;
}

bool CPaintManagerUI::AddMouseLeaveNeeded(CControlUI* pControl)
{
    return AddOnce(m_aNeedMouseLeaveNeeded, pControl);
}

bool CPaintManagerUI::RemoveMouseLeaveNeeded(CControlUI* pControl)
{
    return RemoveItem(m_aNeedMouseLeaveNeeded, pControl);
}

void CPaintManagerUI::OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!IsNoActivate()) {
        ::SetFocus(m_hWndPaint);
    }
    const POINT pt = CSkinPoint(lParam);
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
    const POINT pt = CSkinPoint(lParam);
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
    POINT pt = CSkinPoint(lParam);
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

} // namespace SkinUI
