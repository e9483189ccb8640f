// Real skinned windows for the window tests: a WindowImplBase built from
// layout markup (or from the skin archive in the test program's
// resources), a message pump that stops at a condition or a deadline,
// pixels of the paint manager's offscreen bitmap, and child processes.
#pragma once

#include "builtin_controls.h"
#include "control.h"
#include "window_impl_base.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

class SkinnedWindow : public SkinUI::WindowImplBase {
public:
    // skin: layout markup, or a layout file name in the skin source.
    explicit SkinnedWindow(const wchar_t* skin, SkinUI::UILIB_RESTYPE type = SkinUI::RESTYPE_FOLDER,
                           const wchar_t* resourceId = MAKEINTRESOURCEW(129))
        : m_skin(skin), m_resourceId(resourceId)
    {
        SkinUI::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
        SkinUI::RegisterBuiltinControls();
        m_nResType = type;
    }
    ~SkinnedWindow() override
    {
        if (IsWindow(m_hWnd)) {
            DestroyWindow(m_hWnd);
        }
    }

    // A visible popup window; its size comes from the layout. Its place is
    // one where the other test programs, which may run at the same time,
    // put no window: one over it would take part of its paint.
    HWND Open() { return Create(nullptr, L"Ferncastle test", WS_POPUP | WS_VISIBLE, 0, 860, 40, 100, 100); }

    const wchar_t* GetWindowClassName() const override { return L"FerncastleSkinnedTestWindow"; }
    SkinUI::CSkinString GetSkinFile() const override { return m_skin.c_str(); }
    const wchar_t* GetResourceID() const override { return m_resourceId; }
    void OnPrepare() override
    {
        ++prepared;
        preparedWhilePainting = m_pm.IsPainting();
        preparedSender = m_pm.GetRoot();
    }
    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        ++finalMessages;
    }
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override
    {
        askedKeys.push_back(wParam);
        return WindowImplBase::ResponseDefaultKeyEvent(wParam);
    }
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override
    {
        closes.push_back(wParam);
        return WindowImplBase::OnClose(uMsg, wParam, lParam, bHandled);
    }

    SkinUI::CPaintManagerUI& pm() { return m_pm; }
    SkinUI::CControlUI* Find(const wchar_t* name) { return m_pm.FindControl(name); }

    int prepared = 0;
    bool preparedWhilePainting = false;
    SkinUI::CControlUI* preparedSender = nullptr;
    int finalMessages = 0;
    std::vector<WPARAM> closes;
    std::vector<WPARAM> askedKeys;

private:
    std::wstring m_skin;
    const wchar_t* m_resourceId;
};

// A listener for a control's events or notifications that runs a function.
struct Listener {
    std::function<void(void*)> call;
    bool Call(void* param)
    {
        call(param);
        return true;
    }
    SkinUI::CDelegate<Listener, Listener> Delegate()
    {
        return SkinUI::CDelegate<Listener, Listener>(this, &Listener::Call);
    }
};

// The type and sender of every notification of a window.
struct SenderLog : SkinUI::INotifyUI {
    void Notify(SkinUI::tagTNotifyUI& msg) override { seen.emplace_back(msg.sType.GetData(), msg.pSender); }
    std::vector<std::pair<std::wstring, SkinUI::CControlUI*>> seen;
};

// Dispatches the thread's messages the way the toolkit's loop does until
// done() holds; false when the deadline passes first. done() is checked
// at least every 20 ms, so it may also watch other processes.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20)),
                                  QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!SkinUI::CPaintManagerUI::TranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    return true;
}

// Everything already queued (posted notifications, paints).
inline void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!SkinUI::CPaintManagerUI::TranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// A window's region (update or window region) as fill(region) gives it:
// its kind (SIMPLEREGION, ...) and bounding box.
struct RegionBox {
    template <typename Fill> explicit RegionBox(Fill fill)
    {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        kind = fill(region);
        GetRgnBox(region, &box);
        DeleteObject(region);
    }
    int kind = ERROR;
    RECT box{};
};

using Edges = std::array<LONG, 4>;
inline Edges EdgesOf(const RECT& rc)
{
    return Edges{rc.left, rc.top, rc.right, rc.bottom};
}

// 0xRRGGBB of the offscreen bitmap the window was last painted into.
inline uint32_t OffscreenRgb(SkinUI::CPaintManagerUI& pm, int x, int y)
{
    DIBSECTION dib{};
    if (!GetObjectW(pm.GetOffscreenBitmap(), sizeof(dib), &dib) || !dib.dsBm.bmBits) {
        ADD_FAILURE() << "no offscreen bitmap";
        return 0xDEADBEEF;
    }
    GdiFlush();
    const auto* row = static_cast<const uint8_t*>(dib.dsBm.bmBits) + static_cast<size_t>(y) * dib.dsBm.bmWidthBytes;
    return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

// Starts a program of the host system by a command line that names it by
// its Z: path; under Wine its end cannot be waited for.
inline bool StartHostProgram(const std::wstring& commandLine)
{
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The toolkit's failure box of a process, once it shows.
inline HWND FindSkinBox(DWORD processId)
{
    for (HWND box = FindWindowW(L"#32770", L"SkinUI"); box; box = FindWindowExW(nullptr, box, L"#32770", L"SkinUI")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == processId) {
            return box;
        }
    }
    return nullptr;
}

// Closes a failure box of this process that shows within the next two
// seconds (its own loop runs the timer), so that no test waits on one; the
// count of boxes closed so.
class SkinBoxGuard {
public:
    SkinBoxGuard() : m_timer(SetTimer(nullptr, 0, 2000, &SkinBoxGuard::Close)) { Closed() = 0; }
    SkinBoxGuard(const SkinBoxGuard&) = delete;
    SkinBoxGuard& operator=(const SkinBoxGuard&) = delete;
    ~SkinBoxGuard() { KillTimer(nullptr, m_timer); }
    static int& Closed()
    {
        static int closed = 0;
        return closed;
    }

private:
    static void CALLBACK Close(HWND, UINT, UINT_PTR, DWORD)
    {
        if (HWND box = FindSkinBox(GetCurrentProcessId())) {
            ++Closed();
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }

    UINT_PTR m_timer;
};

inline std::wstring OwnPath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}
