// The update window's skin, from the ZIPRES archive in this program's
// resources, in a real window: it opens and paints, centres on the work
// area, answers hit tests from its caption, turns the system close into
// WM_CLOSE, runs modally until a real click closes it, and a layout that
// cannot be built ends the process with the failure box.
#include "child_process.h"
#include "skinned_window.h"

using namespace SkinUI;

namespace {

POINT CentreOnScreen(HWND window, const RECT& rc)
{
    POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(window, &pt);
    return pt;
}

class UpdateWindowSkin : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The pointer stays off the window unless a test moves it there.
        SetCursorPos(5, 1000);
        ASSERT_NE(window.Open(), nullptr);
        ASSERT_NE(window.pm().GetRoot(), nullptr);
        UpdateWindow(window);
    }

    LRESULT HitTest(const wchar_t* name)
    {
        const POINT pt = CentreOnScreen(window, window.Find(name)->GetPos());
        return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }

    SkinnedWindow window{L"MainFrameWnd.xml", RESTYPE_ZIPRESOURCE};
};

} // namespace

TEST_F(UpdateWindowSkin, OpensAndPaintsAtTheSkinsSize)
{
    RECT rc{};
    GetClientRect(window, &rc);
    EXPECT_EQ(rc.right, 380);
    EXPECT_EQ(rc.bottom, 240);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, 0) << "no native caption";
    EXPECT_EQ(window.prepared, 1);
    EXPECT_EQ(OffscreenRgb(window.pm(), 200, 60), 0xFFFFFFu) << "the white background";
    EXPECT_NE(OffscreenRgb(window.pm(), 75, 127), 0xFFFFFFu) << "the logo";
    const RECT& close = window.Find(L"CloseNormal")->GetPos();
    EXPECT_EQ(close.left, 332);
    EXPECT_EQ(close.bottom, 24);
}

TEST_F(UpdateWindowSkin, CentresOnTheWorkArea)
{
    window.CenterWindow();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT rc{};
    GetWindowRect(window, &rc);
    EXPECT_EQ(rc.left, (work.left + work.right) / 2 - 190);
    EXPECT_EQ(rc.top, (work.top + work.bottom) / 2 - 120);
}

TEST_F(UpdateWindowSkin, DragsByStaticControlsOnly)
{
    EXPECT_EQ(HitTest(L"Title"), HTCAPTION);
    EXPECT_EQ(HitTest(L"lab_version"), HTCAPTION);
    EXPECT_EQ(HitTest(L"progressinfo"), HTCLIENT);
    EXPECT_EQ(HitTest(L"CloseNormal"), HTCLIENT);
    EXPECT_EQ(HitTest(L"MinNormal"), HTCLIENT);
    // Size-box and caption edges at the extremes of 32 bits do not wrap round.
    for (const RECT& extreme : {RECT{0, 0, INT32_MIN, INT32_MIN}, RECT{INT32_MIN, INT32_MIN, 0, 0}}) {
        window.pm().SetSizeBox(extreme);
        window.pm().SetCaptionRect(RECT{extreme.left, 0, extreme.right, -1});
        EXPECT_EQ(HitTest(L"Title"), HTCAPTION) << extreme.left;
        EXPECT_EQ(HitTest(L"CloseNormal"), HTCLIENT) << extreme.left;
    }
}

TEST_F(UpdateWindowSkin, RoundCornersZeroKeepThePlainRectangle)
{
    const RegionBox region([&](HRGN rgn) { return GetWindowRgn(window, rgn); });
    EXPECT_EQ(region.kind, SIMPLEREGION);
    EXPECT_EQ(EdgesOf(region.box), (Edges{0, 0, 380, 240}));
}

// Posted, so that a click that closes its window unwinds first.
TEST_F(UpdateWindowSkin, TheSystemCloseBecomesAPostedWmClose)
{
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(window.closes.empty());
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); })) << "closed by the default handling";
    EXPECT_EQ(window.closes, std::vector<WPARAM>{0});
    EXPECT_EQ(window.finalMessages, 1);
    EXPECT_EQ(window.GetHWND(), nullptr);
}

TEST_F(UpdateWindowSkin, ReturnClicksTheCloseButtonOnceTheFocusFoundIt)
{
    CControlUI* close = window.Find(L"CloseNormal");
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    ASSERT_EQ(window.pm().GetFocus(), close) << "the first tab stop, after the first layout";
    int clicks = 0;
    Listener listener{[&clicks](void* msg) { clicks += static_cast<tagTNotifyUI*>(msg)->sType == L"click"; }};
    close->OnNotify += listener.Delegate();
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    PumpPending();
    EXPECT_EQ(clicks, 1) << "Return reaches the focused button, whatever the window answers";
    EXPECT_EQ(window.askedKeys, std::vector<WPARAM>{VK_RETURN});
}

namespace {

// Drives the modal loop from inside: clicks a point for real once, or
// closes the window when the deadline passes.
struct ModalDriver {
    static ModalDriver*& Current()
    {
        static ModalDriver* current = nullptr;
        return current;
    }
    static void CALLBACK Click(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        ModalDriver* driver = Current();
        const std::wstring args =
            L"mousemove " + std::to_wstring(driver->target.x) + L" " + std::to_wstring(driver->target.y) + L" click 1";
        driver->clicked = StartHostProgram(L"Z:\\usr\\bin\\xdotool " + args);
    }
    static void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        Current()->window->Close(99);
    }

    CWindowWnd* window;
    POINT target;
    bool clicked = false;
};

} // namespace

TEST_F(UpdateWindowSkin, ShowModalReturnsTheCloseOfARealClick)
{
    // Away from where other test programs put their windows, and on top:
    // the click goes to whatever the display has at that point.
    SetWindowPos(window, HWND_TOPMOST, 880, 760, 0, 0, SWP_NOSIZE);
    UpdateWindow(window);
    CControlUI* close = window.Find(L"CloseNormal");
    Listener listener{[&](void* msg) {
        if (static_cast<tagTNotifyUI*>(msg)->sType == L"click") {
            window.Close(1);
        }
    }};
    close->OnNotify += listener.Delegate();
    ModalDriver driver{&window, CentreOnScreen(window, close->GetPos())};
    ModalDriver::Current() = &driver;
    const UINT_PTR click = SetTimer(nullptr, 0, 300, &ModalDriver::Click);
    const UINT_PTR giveUp = SetTimer(nullptr, 0, 15000, &ModalDriver::GiveUp);
    EXPECT_EQ(window.ShowModal(), 1u);
    KillTimer(nullptr, click);
    KillTimer(nullptr, giveUp);
    ModalDriver::Current() = nullptr;
    EXPECT_TRUE(driver.clicked);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(window.closes, std::vector<WPARAM>{1});
}

TEST(WindowBase, ShowModalOfAGoneWindowReturnsAtOnce)
{
    SkinnedWindow window(L"<Window><Control /></Window>");
    ASSERT_NE(window.Open(), nullptr);
    DestroyWindow(window);
    EXPECT_EQ(window.ShowModal(), 0u);
}

// Run by the test below in a child process only.
TEST(WindowBaseFailure, DISABLED_UnbuildableLayoutChild)
{
    SkinnedWindow window(L"<Window><Unknown><Control /></Unknown></Window>");
    window.Open();
    ADD_FAILURE() << "the process should have ended";
}

TEST(WindowBaseFailure, AnUnbuildableLayoutShowsTheBoxAndExitsWith1)
{
    ChildProcess child(L"\"" + OwnPath() +
                       L"\" --gtest_also_run_disabled_tests"
                       L" --gtest_filter=WindowBaseFailure.DISABLED_UnbuildableLayoutChild");
    ASSERT_TRUE(child.Started());
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindSkinBox(child.Id())) != nullptr; }, 20000)) << "no failure box";
    wchar_t text[64] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 64);
    EXPECT_STREQ(text, L"加载资源文件失败");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(child.Wait(20000), 1);
}
