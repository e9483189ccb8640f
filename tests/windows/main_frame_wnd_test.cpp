// The update window in this process, from the skin archive in the test
// program's resources, with the update check, the download and the launch
// replaced: what it shows and decides, and how the worker reaches it.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "builtin_controls.h"
#include "control.h"
#include "download_file.h"
#include "main_frame_wnd.h"
#include "progress.h"
#include "updater_identity.h"

namespace {

using Clock = std::chrono::steady_clock;

const wchar_t kPackagePath[] = L"C:\\temp\\Ferncastle_" FERNCASTLE_UPDATER_VERSION L"_1001.exe";

// Runs the window's messages until `done` holds or 20 seconds have passed.
bool PumpUntil(const std::function<bool()>& done)
{
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Counts the worker's progress reports as they reach the window, and sees
// the window take the worker's end: a Finished message after which the
// buttons are enabled. One forged during the download leaves them disabled.
class CountingWindow : public MainFrameWnd {
public:
    using MainFrameWnd::MainFrameWnd;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override
    {
        if (uMsg == kWorkerProgressMessage)
            ++progressMessages;
        const LRESULT result = MainFrameWnd::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
        if (uMsg == kWorkerFinishedMessage && Find(L"CloseNormal")->IsEnabled() && Find(L"MinNormal")->IsEnabled())
            workerEnded = true;
        return result;
    }
    SkinUI::CControlUI* Find(const wchar_t* name) { return GetPaintManager().FindControl(name); }
    int progressMessages = 0;
    bool workerEnded = false;
};

struct Launch {
    std::wstring path;
    uint64_t size;
    bool buttonsEnabled; // when the start was asked for
};

class UpdateWindowFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        SkinUI::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
        SkinUI::RegisterBuiltinControls();
    }
    void TearDown() override
    {
        if (window) {
            if (IsWindow(window->GetHWND()))
                DestroyWindow(window->GetHWND());
            window->StopWorker();
        }
    }

    // Opens the window with a check that offers (or not) and returns once
    // the check has run.
    void Open(bool offer)
    {
        UpdateCheck check = [this, offer](OfferedUpdate& offered) {
            ++checks;
            if (!offer)
                return false;
            offered.url = L"http://127.0.0.1:1/packages/p.exe";
            offered.path = kPackagePath;
            offered.manifest.updateType = 1;
            return true;
        };
        PackageServices services;
        services.download = [this](const std::wstring& url, const std::wstring& path, IDownloadOwner* owner) {
            downloads.push_back(url + L"|" + path);
            download(owner);
        };
        services.launch = [this](const OfferedUpdate& offer, const ReceivedPackage& received, LaunchGate& gate) {
            // The window gave the buttons back before it let the worker go on.
            launches.push_back({offer.path, received.size, Enabled(L"CloseNormal") && Enabled(L"MinNormal")});
            launchStarted = gate.StartUnlessCancelled([this] { return launchResult; });
            return launchStarted;
        };
        services.remove = [this](const std::wstring& path) { removed.push_back(path); };
        window = new CountingWindow(check, services); // never deleted, like the program's window
        ASSERT_NE(window->CreateWnd(nullptr, L"Ferncastle"), nullptr);
        UpdateWindow(window->GetHWND()); // the first paint runs the check
        ASSERT_TRUE(PumpUntil([this] { return checks > 0; }));
    }

    bool Enabled(const wchar_t* name) { return window->Find(name)->IsEnabled(); }
    std::wstring Text(const wchar_t* name) { return window->Find(name)->GetText().GetData(); }
    int BarValue()
    {
        return static_cast<SkinUI::CProgressUI*>(window->Find(L"progressinfo")->GetInterface(L"Progress"))->GetValue();
    }

    CountingWindow* window = nullptr;
    int checks = 0;
    std::function<void(IDownloadOwner*)> download = [](IDownloadOwner* owner) { owner->OnDownloadFinished(false); };
    bool launchResult = true;
    bool launchStarted = false; // what the launch told the worker
    std::vector<std::wstring> downloads;
    std::vector<Launch> launches;
    std::vector<std::wstring> removed;
};

TEST_F(UpdateWindowFlow, TextsAreWideFromTheStart)
{
    Open(false);
    EXPECT_EQ(Text(L"lab_version"), L"\u6700\u65b0\u7248\u672c\uff1aV" FERNCASTLE_UPDATER_VERSION);
    EXPECT_EQ(Text(L"lab_descript"), L"Swiftmere");
    wchar_t title[32] = {};
    GetWindowTextW(window->GetHWND(), title, 32);
    EXPECT_STREQ(title, L"Ferncastle");
}

TEST_F(UpdateWindowFlow, NoUpdateHidesTheProgressAndEnablesTheButtons)
{
    Open(false);
    EXPECT_EQ(checks, 1);
    EXPECT_FALSE(window->Find(L"progressbody")->IsVisible());
    EXPECT_TRUE(Enabled(L"CloseNormal"));
    EXPECT_TRUE(Enabled(L"MinNormal"));
    EXPECT_TRUE(downloads.empty());
    // Painted out, it still has no focused control: Return presses nothing.
    ASSERT_TRUE(PumpUntil([this] { return !GetUpdateRect(window->GetHWND(), nullptr, FALSE); }));
    EXPECT_EQ(window->GetPaintManager().GetFocus(), nullptr);
    // Through the toolkit's own translation, as the program's loop does:
    // Tab focuses the first enabled button, and Escape leaves it there.
    const auto key = [this](WPARAM code) {
        PostMessageW(window->GetHWND(), WM_KEYDOWN, code, 0);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!SkinUI::CPaintManagerUI::TranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        return window->GetPaintManager().GetFocus();
    };
    EXPECT_EQ(key(VK_TAB), window->Find(L"CloseNormal"));
    EXPECT_EQ(key(VK_ESCAPE), window->Find(L"CloseNormal"));
    EXPECT_TRUE(IsWindow(window->GetHWND()));
}

TEST_F(UpdateWindowFlow, ProgressOfALargePackageIsCoalescedAndTheVerifiedPackageStartedOnce)
{
    // 100 MB in 1 KiB pieces, held until the window has shown its
    // downloading state.
    std::promise<void> go;
    std::shared_future<void> started = go.get_future().share();
    download = [started](IDownloadOwner* owner) {
        started.wait();
        const unsigned long long total = 100ull * 1024 * 1024;
        static const char piece[1024] = {};
        for (unsigned long long received = 0; received < total;) {
            received += sizeof piece;
            owner->OnPieceWritten(piece, sizeof piece);
            owner->SetProgress(DownloadPercent(received, total));
        }
        owner->OnDownloadFinished(true);
    };
    Open(true);
    EXPECT_TRUE(window->Find(L"progressbody")->IsVisible());
    // Any program can post the worker's messages: before its end they change nothing.
    PostMessageW(window->GetHWND(), kWorkerDownloadedMessage, 0, 0);
    PostMessageW(window->GetHWND(), kWorkerFinishedMessage, 0, 0);
    const auto forged = Clock::now();
    PumpUntil([&] { return Clock::now() - forged > std::chrono::milliseconds(200); });
    EXPECT_FALSE(window->workerEnded);
    EXPECT_FALSE(Enabled(L"CloseNormal"));
    EXPECT_FALSE(Enabled(L"MinNormal"));
    go.set_value();
    ASSERT_TRUE(PumpUntil([this] { return window->workerEnded; }));

    EXPECT_LE(window->progressMessages, 101);
    EXPECT_GE(window->progressMessages, 1);
    EXPECT_EQ(Text(L"planinstalllabe"), L"100%");
    EXPECT_EQ(BarValue(), 100);
    EXPECT_TRUE(Enabled(L"CloseNormal"));
    EXPECT_TRUE(Enabled(L"MinNormal"));
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads[0], std::wstring(L"http://127.0.0.1:1/packages/p.exe|") + kPackagePath);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].path, kPackagePath);
    EXPECT_EQ(launches[0].size, 100ull * 1024 * 1024);
    EXPECT_TRUE(launches[0].buttonsEnabled);
    EXPECT_TRUE(launchStarted);
    EXPECT_TRUE(IsWindow(window->GetHWND()));
}

TEST_F(UpdateWindowFlow, ARefusedPackageEnablesTheButtonsAndTheWindowStays)
{
    download = [](IDownloadOwner* owner) {
        owner->SetProgress(37);
        owner->OnDownloadFinished(true);
    };
    launchResult = false;
    Open(true);
    ASSERT_TRUE(PumpUntil([this] { return window->workerEnded; }));
    EXPECT_EQ(Text(L"planinstalllabe"), L"37%");
    EXPECT_EQ(BarValue(), 37);
    EXPECT_EQ(launches.size(), 1u);
    EXPECT_FALSE(launchStarted);
    EXPECT_TRUE(Enabled(L"CloseNormal"));
    EXPECT_TRUE(Enabled(L"MinNormal"));
    EXPECT_TRUE(IsWindow(window->GetHWND()));
}

TEST_F(UpdateWindowFlow, AnIncompleteDownloadStartsNothing)
{
    download = [](IDownloadOwner* owner) {
        owner->SetProgress(50);
        owner->OnDownloadFinished(false);
    };
    Open(true);
    ASSERT_TRUE(PumpUntil([this] { return window->workerEnded; }));
    EXPECT_TRUE(launches.empty());
    EXPECT_TRUE(Enabled(L"CloseNormal"));
}

TEST_F(UpdateWindowFlow, DestroyingTheWindowCancelsTheDownloadAndNothingStarts)
{
    std::atomic<bool> sawCancel{false};
    download = [&sawCancel](IDownloadOwner* owner) {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (!owner->IsCancelled() && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        sawCancel = owner->IsCancelled();
        // A complete transfer at the very moment of closing is not started either.
        owner->OnDownloadFinished(true);
    };
    Open(true);
    DestroyWindow(window->GetHWND());
    const auto before = Clock::now();
    window->StopWorker();
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - before).count(), 5.0);
    EXPECT_TRUE(sawCancel);
    EXPECT_TRUE(launches.empty());
    EXPECT_EQ(removed.size(), 1u);
}

TEST_F(UpdateWindowFlow, OnlyTheActivationCommandMakesTheWindowTopmost)
{
    Open(false);
    const HWND hwnd = window->GetHWND();
    auto topmost = [hwnd] { return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    COPYDATASTRUCT other = {};
    other.dwData = 99;
    SendMessageW(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other));
    SendMessageW(hwnd, WM_COPYDATA, 0, 0);
    EXPECT_FALSE(topmost());
    COPYDATASTRUCT activate = {};
    activate.dwData = 100;
    SendMessageW(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&activate));
    EXPECT_TRUE(topmost());
    SendMessageW(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&activate));
    EXPECT_TRUE(topmost());
}

TEST_F(UpdateWindowFlow, WorkerMessagesStayClearOfTheToolkitsOwn)
{
    EXPECT_NE(kWorkerProgressMessage, 0x8001u);
    EXPECT_NE(kWorkerFinishedMessage, 0x8001u);
    EXPECT_NE(kWorkerDownloadedMessage, 0x8001u);
    EXPECT_GE(kWorkerProgressMessage, static_cast<UINT>(WM_APP));
    EXPECT_LE(kWorkerDownloadedMessage, 0xBFFFu);
}

} // namespace
