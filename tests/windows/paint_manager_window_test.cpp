// The paint manager driven by a real window's messages: layout and paint,
// "windowinit", invalidation, focus and Tab, mouse, tool tips, timers,
// asynchronous notifications and what a deleted control leaves behind.
#include "control_tree.h"
#include "skinned_window.h"

#include <stdexcept>

using namespace SkinUI;

namespace {

// A row of 200 x 100: buttons a (0-50), b (70-120), c (120-170) and a label between.
const wchar_t kRow[] = LR"(<Window size="200,100"><HorizontalLayout bkcolor="#FFFFFFFF">
    <Button name="a" width="50" tooltip="first button" />
    <Label name="l" width="20" text="x" />
    <Button name="b" width="50" />
    <Button name="c" width="50" />
</HorizontalLayout></Window>)";

class RowWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(window.Open(), nullptr);
        window.pm().AddNotifier(&log);
        UpdateWindow(window);
        ASSERT_EQ(window.pm().GetFocus(), nullptr) << "the tab order waits for the layout";
        // The paint after it, asked for by the first, moves the focus to the first tab stop.
        PumpPending();
        ASSERT_EQ(window.pm().GetFocus(), Button(L"a"));
        log.types.clear();
    }

    CButtonUI* Button(const wchar_t* name) { return static_cast<CButtonUI*>(window.Find(name)); }
    LRESULT Send(UINT message, POINT pt, WPARAM wParam = 0)
    {
        return SendMessageW(window, message, wParam, MAKELPARAM(pt.x, pt.y));
    }
    void PostKey(WPARAM key)
    {
        PostMessageW(window, WM_KEYDOWN, key, 0);
        PumpPending();
    }

    // Declared first: it outlives the window's last notifications.
    NotifyLog log;
    SkinnedWindow window{kRow};
};

// Sets or clears Shift in the thread's key state, as a real key would.
void SetShift(bool down)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

} // namespace

TEST(PaintManagerWindow, FirstPaintLaysOutAndSendsWindowinitOnceSynchronously)
{
    NotifyLog log;
    SkinnedWindow window(kRow);
    ASSERT_NE(window.Open(), nullptr);
    window.pm().AddNotifier(&log);
    EXPECT_EQ(window.prepared, 0);
    UpdateWindow(window);
    EXPECT_EQ(window.prepared, 1);
    EXPECT_TRUE(window.preparedWhilePainting) << "from inside the paint";
    EXPECT_EQ(window.preparedSender, window.pm().GetRoot());
    EXPECT_EQ(log.types, L"windowinit;") << "windowsize is posted";
    RECT rc{};
    GetClientRect(window, &rc);
    EXPECT_EQ(rc.right, 200);
    EXPECT_EQ(rc.bottom, 100);
    EXPECT_EQ(window.Find(L"b")->GetPos().left, 70);
    // The paint the first asks for moves the focus to the first tab stop.
    ASSERT_TRUE(PumpUntil([&] { return log.types == L"windowinit;windowsize;setfocus;"; })) << log.types;
    EXPECT_EQ(log.last.pSender, window.Find(L"a"));

    window.pm().NeedUpdate();
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(window.prepared, 1) << "later layout passes send only windowsize";
    window.pm().RemoveNotifier(&log);
}

TEST_F(RowWindow, PaintsTheTreeIntoTheOffscreenBitmapAndOnlyWhatChanged)
{
    EXPECT_EQ(OffscreenRgb(window.pm(), 60, 90), 0xFFFFFFu);
    ValidateRect(window, nullptr);
    window.Find(L"l")->SetText(L"y");
    const RegionBox dirty([&](HRGN rgn) { return GetUpdateRgn(window, rgn, FALSE); });
    EXPECT_EQ(dirty.kind, SIMPLEREGION) << "one rectangle";
    EXPECT_EQ(EdgesOf(dirty.box), (Edges{50, 0, 70, 100})) << "the label's";
}

// A new scale lays the tree out again, even at an unchanged window size.
TEST_F(RowWindow, ANewScaleRelaysOutAtTheSameSize)
{
    CControlUI* root = window.pm().GetRoot();
    ASSERT_FALSE(root->IsUpdateNeeded());
    window.pm().SetDPI(96);
    EXPECT_TRUE(root->IsUpdateNeeded());
    UpdateWindow(window);
    PumpPending();
    EXPECT_FALSE(root->IsUpdateNeeded()) << "laid out";
}

TEST(PaintManagerWindow, WithoutARootPaintsBlack)
{
    SkinBoxGuard guard;
    SkinnedWindow window(L"MainFrameWnd.xml", RESTYPE_ZIPRESOURCE, MAKEINTRESOURCEW(999));
    ASSERT_NE(window.Open(), nullptr);
    EXPECT_EQ(window.pm().GetRoot(), nullptr) << "no archive resource, no tree";
    EXPECT_EQ(SkinBoxGuard::Closed(), 0) << "and no message";
    HDC dc = GetDC(window);
    SetPixel(dc, 10, 10, RGB(200, 100, 50));
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 99, 99), RGB(0, 0, 0));
    ReleaseDC(window, dc);
}

TEST_F(RowWindow, TabWrapsForwardAndShiftTabBackward)
{
    window.pm().SetFocus(Button(L"c"));
    PostKey(VK_TAB);
    EXPECT_EQ(window.pm().GetFocus(), Button(L"a")) << "last wraps to first";
    PostKey(VK_TAB);
    EXPECT_EQ(window.pm().GetFocus(), Button(L"b")) << "the label is no tab stop";
    window.pm().SetFocus(Button(L"a"));
    SetShift(true);
    PostKey(VK_TAB);
    EXPECT_EQ(window.pm().GetFocus(), Button(L"c")) << "first wraps to last";
    PostKey(VK_TAB);
    SetShift(false);
    EXPECT_EQ(window.pm().GetFocus(), Button(L"b"));
}

TEST_F(RowWindow, ReturnActivatesTheFocusedButtonThoughTheWindowIsAskedFirst)
{
    window.pm().SetFocus(Button(L"b"));
    log.types.clear();
    PostKey(VK_RETURN);
    EXPECT_EQ(log.types, L"click;");
    EXPECT_EQ(log.last.pSender, Button(L"b"));
    log.types.clear();
    PostKey(VK_ESCAPE);
    EXPECT_EQ(log.types, L"") << "Escape answers 1 and changes nothing";
    EXPECT_EQ(window.askedKeys, (std::vector<WPARAM>{VK_RETURN, VK_ESCAPE}));
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(RowWindow, APressedButtonKeepsTheMovesAndTheHover)
{
    CButtonUI* a = Button(L"a");
    Send(WM_MOUSEMOVE, {10, 10});
    EXPECT_TRUE(a->GetButtonState() & CButtonUI::StateHot);
    Send(WM_LBUTTONDOWN, {10, 10}, MK_LBUTTON);
    EXPECT_EQ(window.pm().GetFocus(), a);
    EXPECT_TRUE(window.pm().IsCaptured());
    Send(WM_MOUSEMOVE, {150, 10}, MK_LBUTTON);
    EXPECT_FALSE(a->GetButtonState() & CButtonUI::StatePushed) << "the move outside reached a";
    EXPECT_TRUE(a->GetButtonState() & CButtonUI::StateHot) << "no hover change while captured";
    EXPECT_FALSE(Button(L"c")->GetButtonState() & CButtonUI::StateHot);
    log.types.clear();
    Send(WM_LBUTTONUP, {150, 10});
    EXPECT_FALSE(window.pm().IsCaptured());
    EXPECT_EQ(log.types, L"") << "released outside: no click";
    Send(WM_LBUTTONDOWN, {10, 10}, MK_LBUTTON);
    Send(WM_LBUTTONUP, {10, 10});
    EXPECT_EQ(log.types, L"click;");
}

TEST_F(RowWindow, MouseLeaveOverAnotherWindowEndsTheHover)
{
    Send(WM_MOUSEMOVE, {130, 10});
    EXPECT_TRUE(Button(L"c")->GetButtonState() & CButtonUI::StateHot);
    SetCursorPos(900, 900);
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(Button(L"c")->GetButtonState() & CButtonUI::StateHot);
    EXPECT_EQ(window.pm().GetMousePos().x, -1);
}

TEST_F(RowWindow, HoverShowsTheToolTipOfTheControlThere)
{
    EXPECT_EQ(Send(WM_MOUSEHOVER, {80, 10}), 0);
    EXPECT_EQ(window.pm().GetTooltipWindow(), nullptr) << "b has no tool tip";
    Send(WM_MOUSEHOVER, {25, 10});
    const HWND tip = window.pm().GetTooltipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1) << "the tool was added";
    wchar_t text[64] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = window;
    info.uId = reinterpret_cast<UINT_PTR>(window.GetHWND());
    info.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"first button");
}

TEST_F(RowWindow, WindowMessagesWithoutAFocusedControl)
{
    window.pm().SetFocus(nullptr);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100));
    SendMessageW(window, WM_SETFOCUS, 0, 0);
    int sizeEvents = 0;
    CButtonUI* b = Button(L"b");
    Listener listener{
        [&sizeEvents](void* event) { sizeEvents += static_cast<tagTEventUI*>(event)->Type == EventWindowSize; }};
    b->OnEvent += listener.Delegate();
    window.pm().SetFocus(b);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100));
    EXPECT_EQ(sizeEvents, 1);
}

TEST_F(RowWindow, TimerIdsSkipThoseStillHeld)
{
    CControlUI* a = Button(L"a");
    CControlUI* b = Button(L"b");
    ASSERT_TRUE(window.pm().SetTimer(a, 1, 60000));
    for (UINT id = 1; id < 240; ++id) {
        ASSERT_TRUE(window.pm().SetTimer(b, id, 60000)) << id;
    }
    EXPECT_FALSE(window.pm().SetTimer(b, 240, 60000)) << "every id is held";
    window.pm().KillTimer(b);
    ASSERT_TRUE(window.pm().SetTimer(b, 1, 60000));
    EXPECT_TRUE(KillTimer(window, 18)) << "17 is a's; the counter wrapped onto it and moved on";
    EXPECT_TRUE(window.pm().KillTimer(a, 1));
}

TEST_F(RowWindow, TimerMessagesReachTheirControl)
{
    CControlUI* c = Button(L"c");
    ASSERT_TRUE(c->SetTimer(5, 10));
    ASSERT_TRUE(PumpUntil([&] { return log.types.find(L"timer;") != std::wstring::npos; }));
    EXPECT_EQ(log.last.pSender, c);
    EXPECT_EQ(log.last.wParam, 5u) << "the control's own id";
    c->KillTimer(5);
}

TEST_F(RowWindow, AnAsynchronousNotificationOfADeletedSenderArrivesWithoutIt)
{
    PumpPending();
    SenderLog senders;
    window.pm().AddNotifier(&senders);
    auto* row = static_cast<CContainerUI*>(window.pm().GetRoot());
    CControlUI* b = Button(L"b");
    window.pm().SendNotify(b, L"later", 7, 0, true);
    window.pm().SendNotify(row, L"kept", 0, 0, true);
    EXPECT_TRUE(senders.seen.empty());
    ASSERT_TRUE(row->Remove(b));
    ASSERT_TRUE(PumpUntil([&] { return senders.seen.size() >= 2; }));

    EXPECT_EQ(senders.seen[0], std::make_pair(std::wstring(L"later"), static_cast<CControlUI*>(nullptr)));
    EXPECT_EQ(senders.seen[1], std::make_pair(std::wstring(L"kept"), static_cast<CControlUI*>(row)));
    window.pm().RemoveNotifier(&senders);
}

TEST_F(RowWindow, ADeletedControlLeavesEveryList)
{
    auto* row = static_cast<CContainerUI*>(window.pm().GetRoot());
    CControlUI* b = Button(L"b");
    ASSERT_TRUE(window.pm().AddMouseLeaveNeeded(b));
    ASSERT_TRUE(window.pm().AddPostPaint(b));
    ASSERT_TRUE(window.pm().AddOptionGroup(L"group", b));
    ASSERT_TRUE(window.pm().AddOptionGroup(L"group", Button(L"c")));
    bool destroyed = false;
    Listener listener{[&destroyed](void*) { destroyed = true; }};
    b->OnDestroy += listener.Delegate();
    ASSERT_TRUE(row->Remove(b));
    ASSERT_TRUE(PumpUntil([&] { return destroyed; })) << "containers delete their children later";
    EXPECT_FALSE(window.pm().RemoveMouseLeaveNeeded(b));
    EXPECT_FALSE(window.pm().RemovePostPaint(b));
    EXPECT_EQ(window.pm().GetOptionGroup(L"group")->Find(b), -1);
    EXPECT_EQ(window.pm().GetOptionGroup(L"group")->GetSize(), 1);
    // The hover ends on the other controls without reaching the deleted one.
    Send(WM_MOUSEMOVE, {25, 10});
    Send(WM_MOUSEMOVE, {190, 90});
}

TEST_F(RowWindow, DelayedCleanupDeletesOnThePostedMessage)
{
    bool destroyed = false;
    Listener listener{[&destroyed](void*) { destroyed = true; }};
    auto* extra = new CControlUI;
    extra->OnDestroy += listener.Delegate();
    window.pm().AddDelayedCleanup(extra);
    EXPECT_FALSE(destroyed);
    ASSERT_TRUE(PumpUntil([&] { return destroyed; }));
}

namespace {

class ThrowingWindow : public CWindowWnd {
public:
    const wchar_t* GetWindowClassName() const override { return L"FerncastleThrowingWindow"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_APP + 7) {
            throw std::runtime_error("handler failed");
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { finalMessage = true; }

    bool finalMessage = false;
};

} // namespace

TEST(WindowProcedure, KeepsExceptionsOutOfTheSystem)
{
    ThrowingWindow window;
    ASSERT_NE(window.Create(nullptr, L"", WS_POPUP, 0), nullptr);
    EXPECT_EQ(SendMessageW(window, WM_APP + 7, 0, 0), 0);
    EXPECT_EQ(window.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"alive")), TRUE);
    const HWND hWnd = window;
    DestroyWindow(hWnd);
    EXPECT_TRUE(window.finalMessage);
    EXPECT_EQ(window.GetHWND(), nullptr);
}
