// Skinned windows whose skin cannot be had. A missing archive resource
// leaves an empty window that paints black, and nothing is shown. A layout
// that cannot be built shows the failure box and ends the process with exit
// code 1: that runs in a child process, whose box the test dismisses (a box
// left open must never hold a test run up).
#include "window_impl_base.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <windows.h>

using namespace SkinUI;

namespace {

const wchar_t kChildTest[] = L"SkinWindow.DISABLED_ChildWithAnUnbuildableLayout";

class SkinWindow : public WindowImplBase {
public:
    SkinWindow(UILIB_RESTYPE type, const wchar_t* skinFile)
    {
        m_nResType = type;
        m_sSkinFile = skinFile;
    }
    const wchar_t* GetWindowClassName() const override { return L"FerncastleSkinTestWindow"; }
    // No archive resource has this number.
    const wchar_t* GetResourceID() const override { return MAKEINTRESOURCEW(999); }
};

// Closes every failure box ("SkinUI") of one process as soon as it shows,
// keeping the text of the last one.
class BoxDismisser {
public:
    explicit BoxDismisser(DWORD processId) : m_processId(processId), m_thread([this] { Run(); }) {}
    ~BoxDismisser() { Stop(); }

    // Count and Text are read after Stop.
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    int Count() const { return m_count; }
    const std::wstring& Text() const { return m_text; }

private:
    void Run()
    {
        while (!m_stop) {
            EnumWindows(&BoxDismisser::Visit, reinterpret_cast<LPARAM>(this));
            Sleep(50);
        }
    }
    static BOOL CALLBACK Visit(HWND hWnd, LPARAM self)
    {
        auto* dismisser = reinterpret_cast<BoxDismisser*>(self);
        DWORD processId = 0;
        GetWindowThreadProcessId(hWnd, &processId);
        wchar_t title[32] = {};
        GetWindowTextW(hWnd, title, 32);
        if (processId != dismisser->m_processId || !IsWindowVisible(hWnd) || std::wstring(title) != L"SkinUI") {
            return TRUE;
        }
        EnumChildWindows(hWnd, &BoxDismisser::ReadText, self);
        ++dismisser->m_count;
        SendMessageW(hWnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    static BOOL CALLBACK ReadText(HWND hWnd, LPARAM self)
    {
        wchar_t text[64] = {};
        GetWindowTextW(hWnd, text, 64);
        if (std::wstring(text).find(L"失败") != std::wstring::npos) {
            reinterpret_cast<BoxDismisser*>(self)->m_text = text;
        }
        return TRUE;
    }

    const DWORD m_processId;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_count{0};
    std::wstring m_text;
    std::thread m_thread;
};

} // namespace

TEST(SkinWindow, MissingArchiveResourceGivesAnEmptyWindowThatPaintsBlack)
{
    BoxDismisser boxes(GetCurrentProcessId());
    SkinWindow window(RESTYPE_ZIPRESOURCE, L"MainFrameWnd.xml");
    ASSERT_NE(window.Create(nullptr, L"skin", WS_POPUP | WS_VISIBLE, 0, 0, 0, 120, 80), nullptr);
    EXPECT_EQ(window.GetPaintManager().GetRoot(), nullptr);
    HDC dc = GetDC(window);
    RECT rc{0, 0, 120, 80};
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetPixel(dc, 60, 40), RGB(255, 255, 255));
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(GetPixel(dc, 60, 40), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 119, 79), RGB(0, 0, 0));
    ReleaseDC(window, dc);
    DestroyWindow(window);
    boxes.Stop();
    EXPECT_EQ(boxes.Count(), 0);
}

// Run by the next test in a process of its own.
TEST(SkinWindow, DISABLED_ChildWithAnUnbuildableLayout)
{
    SkinWindow window(RESTYPE_FOLDER, L"ferncastle-no-such-layout.xml");
    window.Create(nullptr, L"skin", WS_POPUP, 0, 0, 0, 120, 80);
    ADD_FAILURE() << "the process went on after the failure box";
}

TEST(SkinWindow, UnbuildableLayoutShowsTheBoxAndExitsWithOne)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        std::wstring(L"\"") + self + L"\" --gtest_also_run_disabled_tests --gtest_filter=" + kChildTest;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    DWORD exitCode = STILL_ACTIVE;
    {
        BoxDismisser boxes(child.dwProcessId);
        if (WaitForSingleObject(child.hProcess, 30000) != WAIT_OBJECT_0) {
            TerminateProcess(child.hProcess, 99);
            WaitForSingleObject(child.hProcess, INFINITE);
            ADD_FAILURE() << "the child did not end";
        }
        GetExitCodeProcess(child.hProcess, &exitCode);
        boxes.Stop();
        EXPECT_EQ(boxes.Count(), 1);
        EXPECT_EQ(boxes.Text(), L"加载资源文件失败");
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(exitCode, 1u);
}
