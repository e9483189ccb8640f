// The skinned window's frame: the whole window is client area, hit tests
// come from the skin's size box and caption, the window region follows the
// round corners, and the default message handlers.
#include "window_impl_base.h"

#include "control.h"

#include <cstdint>
#include <windowsx.h>

namespace SkinUI {

namespace {

// The handlers that leave a message to the paint manager and the default
// window procedure.
LRESULT PassOn(BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

} // namespace

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (IsIconic(m_hWnd)) {
        bHandled = FALSE;
    }
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&)
{
    return 0;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(m_hWnd, &pt);
    RECT rcClient{};
    GetClientRect(m_hWnd, &rcClient);
    // Each edge is compared on its own in 64 bits: a skin's values may be
    // the extremes of 32 bits, and one edge must not move another.
    if (!IsZoomed(m_hWnd)) {
        const RECT& box = m_pm.GetSizeBox();
        const bool left = pt.x < int64_t{rcClient.left} + box.left;
        const bool right = pt.x > int64_t{rcClient.right} - box.right;
        if (pt.y < int64_t{rcClient.top} + box.top) {
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        }
        if (pt.y > int64_t{rcClient.bottom} - box.bottom) {
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        }
        if (left) {
            return HTLEFT;
        }
        if (right) {
            return HTRIGHT;
        }
    }
    const RECT& caption = m_pm.GetCaptionRect();
    const LONG captionBottom = caption.bottom == -1 ? rcClient.bottom : caption.bottom;
    if (pt.x < int64_t{rcClient.left} + caption.left || pt.x >= int64_t{rcClient.right} - caption.right ||
        pt.y < caption.top || pt.y >= captionBottom) {
        return HTCLIENT;
    }
    return IsInStaticControl(m_pm.FindControl(pt)) ? HTCAPTION : HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT work = monitor.rcWork;
    if (!(monitor.dwFlags & MONITORINFOF_PRIMARY)) {
        OffsetRect(&work, -work.left, -work.top);
    }
    const LONG width = work.right - work.left;
    const LONG height = work.bottom - work.top;
    const SIZE minInfo = m_pm.GetMinInfo();
    const SIZE maxInfo = m_pm.GetMaxInfo();
    info->ptMaxPosition = POINT{work.left, work.top};
    info->ptMaxSize = POINT{width, height};
    info->ptMaxTrackSize = POINT{maxInfo.cx ? maxInfo.cx : width, maxInfo.cy ? maxInfo.cy : height};
    info->ptMinTrackSize = POINT{minInfo.cx, minInfo.cy};
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    const SIZE corner = m_pm.GetRoundCorner();
    if (!IsIconic(m_hWnd)) {
        RECT rc{};
        GetWindowRect(m_hWnd, &rc);
        OffsetRect(&rc, -rc.left, -rc.top);
        HRGN region = CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, corner.cx, corner.cy);
        // The window owns the region once it is set; only a refused one is ours.
        if (region && !SetWindowRgn(m_hWnd, region, TRUE)) {
            DeleteObject(region);
        }
    }
    return PassOn(bHandled);
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // The system uses the low four bits itself.
    // Posted: a close from a click (OnClick sends this) must let the click
    // unwind before a window that deletes itself at its end goes.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return 0;
    }
    const bool zoomed = IsZoomed(m_hWnd) != FALSE;
    const LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    if (zoomed != (IsZoomed(m_hWnd) != FALSE)) {
        CControlUI* maxButton = m_pm.FindControl(L"maxbtn");
        CControlUI* restoreButton = m_pm.FindControl(L"restorebtn");
        if (maxButton) {
            maxButton->SetVisible(zoomed);
        }
        if (restoreButton) {
            restoreButton->SetVisible(!zoomed);
        }
    }
    return lRes;
}

} // namespace SkinUI
