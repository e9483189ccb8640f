// The update window in this process, from the skin archive in the test
// program's resources, with the update check, the download and the launch
// replaced: what it shows and decides, and how the worker reaches it.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <future>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "builtin_controls.h"
#include "child_process.h"
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

// What a screen reader reads of the window: its client's accessible
// object, asked for the way a screen reader asks, and each element's role,
// name, value, states and place (in the client, at 100 %).
struct Element {
    LONG role;
    std::wstring name;
    std::wstring value;
    LONG states;
    RECT place;
};

VARIANT Child(LONG id)
{
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::wstring Read(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible* object, LONG id)
{
    BSTR text = nullptr;
    std::wstring result;
    if (SUCCEEDED((object->*get)(Child(id), &text)) && text) {
        result = text;
    }
    SysFreeString(text);
    return result;
}

LONG ReadI4(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible* object, LONG id)
{
    VARIANT out{};
    return SUCCEEDED((object->*get)(Child(id), &out)) && out.vt == VT_I4 ? out.lVal : -1;
}

// The client, then its children as a screen reader enumerates them.
std::vector<Element> Walk(HWND hwnd, IAccessible* object)
{
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    long count = 0;
    object->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long fetched = 0;
    EXPECT_EQ(AccessibleChildren(object, 0, count, children.data(), &fetched), S_OK);
    std::vector<LONG> ids{CHILDID_SELF};
    for (long i = 0; i < fetched; ++i) {
        ids.push_back(children[static_cast<size_t>(i)].vt == VT_I4 ? children[static_cast<size_t>(i)].lVal : -1);
    }
    std::vector<Element> tree;
    for (const LONG id : ids) {
        Element e{ReadI4(&IAccessible::get_accRole, object, id),
                  Read(&IAccessible::get_accName, object, id),
                  Read(&IAccessible::get_accValue, object, id),
                  ReadI4(&IAccessible::get_accState, object, id),
                  {}};
        long x = 0, y = 0, w = 0, h = 0;
        object->accLocation(&x, &y, &w, &h, Child(id));
        e.place = RECT{x - origin.x, y - origin.y, x - origin.x + w, y - origin.y + h};
        tree.push_back(e);
    }
    return tree;
}

IAccessible* ClientObject(HWND hwnd)
{
    IAccessible* object = nullptr;
    EXPECT_EQ(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&object)),
              S_OK);
    return object;
}

void ExpectTree(const std::vector<Element>& tree, const std::vector<Element>& expected)
{
    ASSERT_EQ(tree.size(), expected.size());
    for (size_t i = 0; i < tree.size(); ++i) {
        EXPECT_EQ(tree[i].role, expected[i].role) << "child " << i;
        EXPECT_EQ(tree[i].name, expected[i].name) << "child " << i;
        EXPECT_EQ(tree[i].value, expected[i].value) << "child " << i;
        EXPECT_EQ(tree[i].states, expected[i].states) << "child " << i;
        if (i > 0) {
            EXPECT_TRUE(EqualRect(&tree[i].place, &expected[i].place))
                << "child " << i << " at " << tree[i].place.left << "," << tree[i].place.top;
        }
    }
}

// The WinEvents of this process's windows' clients while it lives: kind and child id.
class WinEventLog {
public:
    WinEventLog()
        : m_hook(SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE, nullptr, &WinEventLog::Note,
                                 GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT))
    {
        Events().clear();
    }
    WinEventLog(const WinEventLog&) = delete;
    WinEventLog& operator=(const WinEventLog&) = delete;
    ~WinEventLog() { UnhookWinEvent(m_hook); }
    bool Hooked() const { return m_hook != nullptr; }
    void Clear() const { Events().clear(); }
    int Count(DWORD event, std::initializer_list<LONG> children) const
    {
        int count = 0;
        for (const auto& e : Events()) {
            count += e.first == event && std::find(children.begin(), children.end(), e.second) != children.end();
        }
        return count;
    }

private:
    static std::vector<std::pair<DWORD, LONG>>& Events()
    {
        static std::vector<std::pair<DWORD, LONG>> events;
        return events;
    }
    static void CALLBACK Note(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD)
    {
        if (object == OBJID_CLIENT) {
            Events().emplace_back(event, child);
        }
    }
    HWINEVENTHOOK m_hook;
};

const LONG kText = STATE_SYSTEM_READONLY;
const LONG kButton = STATE_SYSTEM_FOCUSABLE;
const wchar_t kVersion[] = L"\u6700\u65b0\u7248\u672c\uff1aV" FERNCASTLE_UPDATER_VERSION;

// The tree while there is no update: the progress area is hidden, so
// neither the percentage nor the bar is read.
std::vector<Element> NoUpdateTree()
{
    return {{ROLE_SYSTEM_CLIENT, L"Ferncastle", L"", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED, {}},
            {ROLE_SYSTEM_STATICTEXT, L"Ferncastle\u7248\u672c\u66f4\u65b0", L"", kText, {10, 5, 170, 29}},
            {ROLE_SYSTEM_PUSHBUTTON, L"\u5173\u95ed", L"", kButton, {332, 0, 356, 24}},
            {ROLE_SYSTEM_PUSHBUTTON, L"\u6700\u5c0f\u5316", L"", kButton, {356, 0, 380, 24}},
            {ROLE_SYSTEM_GRAPHIC, L"Swiftmere", L"", kText, {30, 79, 121, 176}},
            {ROLE_SYSTEM_STATICTEXT, L"Swiftmere", L"", kText, {141, 89, 380, 119}},
            {ROLE_SYSTEM_STATICTEXT, kVersion, L"", kText, {141, 119, 380, 149}}};
}

TEST_F(UpdateWindowFlow, AScreenReaderReadsTheWindowWithoutAnUpdate)
{
    // The window's thread is an apartment, as the updater's is: calls from
    // another process are served there while it runs its messages.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const WinEventLog events;
    ASSERT_TRUE(events.Hooked());
    Open(false);
    const HWND hwnd = window->GetHWND();
    ASSERT_TRUE(PumpUntil([hwnd] { return !GetUpdateRect(hwnd, nullptr, FALSE); }));
    IAccessible* client = ClientObject(hwnd);
    ASSERT_NE(client, nullptr);
    const std::vector<Element> tree = NoUpdateTree();
    ExpectTree(Walk(hwnd, client), tree);

    // A screen reader in a process of its own reads the same names, roles and places.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string out = std::string(temp) + "accessible-tree-" + std::to_string(GetCurrentProcessId()) + ".txt";
    {
        ChildProcess reader(L"\"" FERNCASTLE_ACCESSIBLE_TREE L"\" \"" + std::wstring(out.begin(), out.end()) + L"\"");
        ASSERT_TRUE(reader.Started());
        ASSERT_TRUE(PumpUntil([&reader] { return reader.Ended(); }));
        EXPECT_EQ(reader.Wait(0), 0);
    }
    std::ifstream file(out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    file.close();
    DeleteFileA(out.c_str());
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    ASSERT_EQ(lines.size(), tree.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        wchar_t role[64] = {};
        GetRoleTextW(static_cast<DWORD>(tree[i].role), role, 64);
        const RECT& at = i == 0 ? RECT{0, 0, 380, 240} : tree[i].place;
        std::wstring want = std::wstring(role) + L" \"" + tree[i].name + L"\"";
        const std::wstring place = std::to_wstring(at.right - at.left) + L"x" + std::to_wstring(at.bottom - at.top) +
                                   L" at " + std::to_wstring(frame.left + at.left) + L"," +
                                   std::to_wstring(frame.top + at.top);
        const int size = MultiByteToWideChar(CP_UTF8, 0, lines[i].c_str(), -1, nullptr, 0);
        std::wstring line(static_cast<size_t>(size), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, lines[i].c_str(), -1, &line[0], size);
        EXPECT_NE(line.find(want), std::wstring::npos) << lines[i];
        EXPECT_NE(line.find(place), std::wstring::npos) << lines[i];
    }

    EXPECT_EQ(Read(&IAccessible::get_accDefaultAction, client, 2), L"Press");

    // Navigation, hit testing and the focus, before and after Tab.
    const struct {
        long direction;
        LONG from;
        LONG to; // 0: nothing there
    } moves[] = {{NAVDIR_FIRSTCHILD, CHILDID_SELF, 1},
                 {NAVDIR_LASTCHILD, CHILDID_SELF, 6},
                 {NAVDIR_NEXT, 2, 3},
                 {NAVDIR_PREVIOUS, 3, 2},
                 {NAVDIR_PREVIOUS, 1, 0},
                 {NAVDIR_NEXT, 6, 0}};
    for (const auto& m : moves) {
        VARIANT to{};
        client->accNavigate(m.direction, Child(m.from), &to);
        EXPECT_EQ(to.vt == VT_I4 ? to.lVal : 0, m.to) << "direction " << m.direction << " from " << m.from;
    }
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    const struct {
        POINT at;
        LONG id;
    } hits[] = {{{344, 12}, 2}, {{60, 120}, 4}, {{200, 60}, CHILDID_SELF}};
    for (const auto& h : hits) {
        VARIANT hit{};
        EXPECT_EQ(client->accHitTest(origin.x + h.at.x, origin.y + h.at.y, &hit), S_OK);
        EXPECT_EQ(hit.vt == VT_I4 ? hit.lVal : -1, h.id) << h.at.x << "," << h.at.y;
    }
    VARIANT focus{};
    ASSERT_EQ(client->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, CHILDID_SELF);
    MSG tab{hwnd, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    ASSERT_TRUE(SkinUI::CPaintManagerUI::TranslateMessage(&tab));
    ASSERT_EQ(client->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, 2);
    EXPECT_EQ(ReadI4(&IAccessible::get_accState, client, 2), kButton | STATE_SYSTEM_FOCUSED);
    // Told: the progress area's percentage and bar hidden (children 7 and
    // 8 until then), the new order, and the focus.
    PumpUntil([&events] { return events.Count(EVENT_OBJECT_FOCUS, {2}) > 0; });
    EXPECT_EQ(events.Count(EVENT_OBJECT_HIDE, {7, 8}), 2);
    EXPECT_EQ(events.Count(EVENT_OBJECT_REORDER, {CHILDID_SELF}), 1);
    EXPECT_EQ(events.Count(EVENT_OBJECT_FOCUS, {2}), 1);

    // "最小化" minimises; "关闭" closes, and the object a screen reader
    // still holds is disconnected rather than reaching freed memory.
    EXPECT_EQ(client->accDoDefaultAction(Child(3)), S_OK);
    EXPECT_TRUE(PumpUntil([hwnd] { return IsIconic(hwnd) != FALSE; }));
    EXPECT_EQ(client->accDoDefaultAction(Child(2)), S_OK);
    EXPECT_TRUE(PumpUntil([hwnd] { return !IsWindow(hwnd); }));
    BSTR name = nullptr;
    EXPECT_EQ(client->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(client->accDoDefaultAction(Child(2)), CO_E_OBJNOTCONNECTED);
    client->Release();
    CoUninitialize();
}

TEST_F(UpdateWindowFlow, AScreenReaderReadsTheDownloadAndHearsEachPercentOnce)
{
    // Held at 37 % until the tree has been read, then 100 MB in 1 KiB pieces.
    std::promise<void> go;
    std::shared_future<void> held = go.get_future().share();
    std::atomic<bool> at37{false};
    download = [held, &at37](IDownloadOwner* owner) {
        owner->SetProgress(37);
        at37 = true;
        held.wait();
        static const char piece[1024] = {};
        const unsigned long long total = 100ull * 1024 * 1024;
        for (unsigned long long received = 0; received < total;) {
            received += sizeof piece;
            owner->OnPieceWritten(piece, sizeof piece);
            owner->SetProgress(DownloadPercent(received, total));
        }
        owner->OnDownloadFinished(true);
    };
    const WinEventLog events;
    ASSERT_TRUE(events.Hooked());
    Open(true);
    const HWND hwnd = window->GetHWND();
    ASSERT_TRUE(PumpUntil([&] { return at37 && Text(L"planinstalllabe") == L"37%"; }));
    IAccessible* client = ClientObject(hwnd);
    ASSERT_NE(client, nullptr);
    // As without an update, with both buttons disabled and the progress area read.
    std::vector<Element> downloading = NoUpdateTree();
    downloading[2].states = downloading[3].states = STATE_SYSTEM_UNAVAILABLE;
    downloading.push_back({ROLE_SYSTEM_STATICTEXT, L"37%", L"", kText, {324, 196, 364, 212}});
    downloading.push_back({ROLE_SYSTEM_PROGRESSBAR, L"", L"37%", kText, {16, 216, 364, 232}});
    ExpectTree(Walk(hwnd, client), downloading);
    // From here one download of 100 MB, its percentages 0 to 100.
    events.Clear();
    EXPECT_EQ(client->accDoDefaultAction(Child(2)), E_FAIL) << "a disabled button does nothing";
    go.set_value();
    ASSERT_TRUE(PumpUntil([this] { return window->workerEnded; }));
    PumpUntil([&] { return ReadI4(&IAccessible::get_accState, client, 2) == kButton; });
    // Each percentage once at most, the percentage's text, and the buttons
    // enabled again.
    EXPECT_GE(events.Count(EVENT_OBJECT_VALUECHANGE, {8}), 2);
    EXPECT_LE(events.Count(EVENT_OBJECT_VALUECHANGE, {8}), 101);
    EXPECT_GE(events.Count(EVENT_OBJECT_NAMECHANGE, {7}), 2);
    EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE, {2, 3}), 2);
    // On a finer range each percentage is told once, not each value.
    auto* bar = static_cast<SkinUI::CProgressUI*>(window->Find(L"progressinfo")->GetInterface(L"Progress"));
    const auto pump = [] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    };
    bar->SetValue(0);
    bar->SetMaxValue(1000);
    pump();
    events.Clear();
    for (int value = 1; value <= 1000; ++value) {
        bar->SetValue(value);
    }
    PumpUntil([&] { return events.Count(EVENT_OBJECT_VALUECHANGE, {8}) >= 100; });
    pump();
    EXPECT_EQ(events.Count(EVENT_OBJECT_VALUECHANGE, {8}), 100);
    client->Release();
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
