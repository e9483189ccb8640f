// One native window and the object behind it: the window class is
// registered on first use, the window is created with a pointer back to
// the object, and every message of the window reaches the object's
// HandleMessage. Closing, centring and a modal loop come with it.
#pragma once

#include <windows.h>

namespace SkinUI {

class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    bool RegisterWindowClass();
    // Registers GetWindowClassName as a class built on GetSuperClassName.
    bool RegisterSuperclass();

    // The window, or null when its class cannot be registered or the
    // system refuses it.
    HWND Create(HWND hwndParent, const wchar_t* pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                HMENU hMenu = nullptr);
    HWND Create(HWND hwndParent, const wchar_t* pstrName, DWORD dwStyle, DWORD dwExStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
    // Takes over an existing window's messages until Unsubclass.
    HWND Subclass(HWND hWnd);
    void Unsubclass();
    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    // Runs the window modally; the result is the wParam of the WM_CLOSE
    // that ended it, or 0.
    UINT ShowModal();
    // Posts WM_CLOSE with nRet as wParam.
    void Close(UINT nRet = IDOK);
    // Over the owner, or on the work area of the nearest monitor.
    void CenterWindow();
    void SetIcon(UINT nRes);

    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Resizes the window so that its client area is cx by cy.
    void ResizeClient(int cx = -1, int cy = -1);
    void EnableUnicode() { m_bUnicode = true; }

    virtual const wchar_t* GetWindowClassName() const = 0;
    virtual const wchar_t* GetSuperClassName() const;
    virtual UINT GetClassStyle() const;
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // After the window's last message; the object may go now.
    virtual void OnFinalMessage(HWND hWnd);

protected:
    // Objects are deleted through the most derived type.
    ~CWindowWnd() = default;

    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // The window procedure of superclassed windows.
    static LRESULT CALLBACK ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_OldWndProc = ::DefWindowProcW;
    bool m_bSubclassed = false;
    bool m_bUnicode = false;

private:
    // One message to the window's object, which a superclassed window keeps
    // in a property and any other in its user data.
    static LRESULT Route(bool superclassed, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};

} // namespace SkinUI
