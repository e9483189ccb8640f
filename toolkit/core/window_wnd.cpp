#include "window_wnd.h"

#include "paint_manager.h"

namespace SkinUI {

namespace {

// Where a superclassed window keeps its object: the user data belongs to
// the class it is built on.
const wchar_t kObjectProperty[] = L"SkinUI.CWindowWnd";

} // namespace

const wchar_t* CWindowWnd::GetSuperClassName() const
{
    return nullptr;
}

UINT CWindowWnd::GetClassStyle() const
{
    return 0;
}

void CWindowWnd::OnFinalMessage(HWND) {}

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSW wc{};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = WndProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWindowClassName();
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, GetSuperClassName(), &wc) &&
        !GetClassInfoExW(CPaintManagerUI::GetInstance(), GetSuperClassName(), &wc)) {
        return false;
    }
    m_OldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.lpszClassName = GetWindowClassName();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, const wchar_t* pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                        HMENU hMenu)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                  hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, const wchar_t* pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx,
                        int cy, HMENU hMenu)
{
    const bool registered = GetSuperClassName() ? RegisterSuperclass() : RegisterWindowClass();
    if (!registered) {
        return nullptr;
    }
    m_hWnd = CreateWindowExW(dwExStyle, GetWindowClassName(), pstrName, dwStyle, x, y, cx, cy, hwndParent, hMenu,
                             CPaintManagerUI::GetInstance(), this);
    return m_hWnd;
}

HWND CWindowWnd::Subclass(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        return nullptr;
    }
    m_OldWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(static_cast<WNDPROC>(WndProc))));
    if (!m_OldWndProc) {
        m_OldWndProc = ::DefWindowProcW;
        return nullptr;
    }
    m_bSubclassed = true;
    m_hWnd = hWnd;
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return m_hWnd;
}

void CWindowWnd::Unsubclass()
{
    if (!m_bSubclassed || !IsWindow(m_hWnd)) {
        return;
    }
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
    m_OldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus)
{
    if (!IsWindow(m_hWnd)) {
        return;
    }
    ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal()
{
    const HWND hWnd = m_hWnd;
    const HWND owner = GetWindow(hWnd, GW_OWNER);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    EnableWindow(owner, FALSE);
    UINT result = 0;
    MSG msg{};
    // GetMessageW gives -1 on failure, which ends the loop like WM_QUIT's 0.
    while (IsWindow(hWnd) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_CLOSE && msg.hwnd == hWnd) {
            result = static_cast<UINT>(msg.wParam);
            EnableWindow(owner, TRUE);
            ::SetFocus(owner);
        }
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    EnableWindow(owner, TRUE);
    ::SetFocus(owner);
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
    }
    return result;
}

void CWindowWnd::Close(UINT nRet)
{
    if (IsWindow(m_hWnd)) {
        ::PostMessageW(m_hWnd, WM_CLOSE, nRet, 0);
    }
}

void CWindowWnd::CenterWindow()
{
    RECT rcWindow{};
    GetWindowRect(m_hWnd, &rcWindow);
    const HWND owner = GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT reference = work;
    if (owner) {
        GetWindowRect(owner, &reference);
    }
    const int width = rcWindow.right - rcWindow.left;
    const int height = rcWindow.bottom - rcWindow.top;
    int x = (reference.left + reference.right) / 2 - width / 2;
    int y = (reference.top + reference.bottom) / 2 - height / 2;
    if (x < work.left) {
        x = work.left;
    } else if (x + width > work.right) {
        x = work.right - width;
    }
    if (y < work.top) {
        y = work.top;
    } else if (y + height > work.bottom) {
        y = work.bottom - height;
    }
    SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes)
{
    const HINSTANCE instance = CPaintManagerUI::GetInstance();
    // Shared icons belong to the system, which frees them.
    const auto load = [&](int metric) {
        return LoadImageW(instance, MAKEINTRESOURCEW(nRes), IMAGE_ICON, GetSystemMetrics(metric),
                          GetSystemMetrics(metric + 1), LR_DEFAULTCOLOR | LR_SHARED);
    };
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(load(SM_CXICON)));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(load(SM_CXSMICON)));
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::ResizeClient(int cx, int cy)
{
    RECT rc{};
    if (!GetClientRect(m_hWnd, &rc)) {
        return;
    }
    if (cx != -1) {
        rc.right = cx;
    }
    if (cy != -1) {
        rc.bottom = cy;
    }
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    if (!AdjustWindowRectEx(&rc, style, !(style & WS_CHILD) && GetMenu(m_hWnd) != nullptr, exStyle)) {
        return;
    }
    SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::Route(bool superclassed, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // No exception may unwind through the system's frames.
    try {
        CWindowWnd* pThis = nullptr;
        if (uMsg == WM_NCCREATE) {
            pThis = static_cast<CWindowWnd*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            if (!pThis) {
                return DefWindowProcW(hWnd, uMsg, wParam, lParam);
            }
            pThis->m_hWnd = hWnd;
            if (superclassed) {
                SetPropW(hWnd, kObjectProperty, pThis);
            } else {
                SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
            }
        } else if (superclassed) {
            pThis = static_cast<CWindowWnd*>(GetPropW(hWnd, kObjectProperty));
        } else {
            pThis = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        }
        if (!pThis) {
            return DefWindowProcW(hWnd, uMsg, wParam, lParam);
        }
        if (uMsg != WM_NCDESTROY) {
            return pThis->HandleMessage(uMsg, wParam, lParam);
        }
        const LRESULT result = CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
        if (superclassed) {
            RemovePropW(hWnd, kObjectProperty);
        } else {
            SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        }
        if (pThis->m_bSubclassed) {
            pThis->Unsubclass();
        }
        pThis->m_hWnd = nullptr;
        pThis->OnFinalMessage(hWnd);
        return result;
    } catch (...) {
        // A paint that failed would otherwise be asked for again forever.
        if (uMsg == WM_PAINT) {
            ValidateRect(hWnd, nullptr);
        }
        return 0;
    }
}

LRESULT CALLBACK CWindowWnd::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return Route(false, hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return Route(true, hWnd, uMsg, wParam, lParam);
}

} // namespace SkinUI
