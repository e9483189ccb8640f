// The control base: attributes and styles, visibility, focus, events,
// notifications, virtual windows, custom attributes, timers and invalidation.
#include "control_tree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace SkinUI;

namespace {

std::wstring Str(const CSkinString& text)
{
    return text.GetData();
}

struct AttributeCase {
    const wchar_t* list;
    bool (*check)(const CControlUI&);
};

// A top-level window for what needs one: timers, and (visible, since a
// hidden window keeps no update region) invalidation.
class TestWindow {
public:
    explicit TestWindow(bool visible = false)
        : hWnd(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr))
    {
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() { DestroyWindow(hWnd); }

    const HWND hWnd;
};

// A window's manager that records the window's notifications.
class Notified : public ::testing::Test {
protected:
    void SetUp() override { manager.AddNotifier(&log); }

    CPaintManagerUI manager;
    NotifyLog log;
};

} // namespace

TEST(ControlAttributes, MarkupValuesSetTheControl)
{
    const AttributeCase cases[] = {
        {L"pos=\"-1,-1,20,30\"",
         [](const CControlUI& c) {
             return c.GetFixedXY().cx == 20 && c.GetFixedXY().cy == 30 && c.GetFixedWidth() == 21 &&
                    c.GetFixedHeight() == 31;
         }},
        {L"width=\"40\" pos=\"30,0,10,5\"", [](const CControlUI& c) { return c.GetFixedWidth() == 40; }},
        {L"padding=\"10,5\"",
         [](const CControlUI& c) {
             const RECT p = c.GetPadding();
             return p.left == 10 && p.top == 5 && p.right == 0 && p.bottom == 0;
         }},
        {L"bkcolor=\"  #ff6299fe\"", [](const CControlUI& c) { return c.GetBkColor() == 0xFF6299FE; }},
        {L"BKCOLOR1=\"#80000001\" bkcolor2=\"#2\" bkcolor3=\"3\"",
         [](const CControlUI& c) {
             return c.GetBkColor() == 0x80000001 && c.GetBkColor2() == 2 && c.GetBkColor3() == 3;
         }},
        {L"bordercolor=\" #ff6299fe\"", [](const CControlUI& c) { return c.GetBorderColor() == 0; }},
        {L"focusbordercolor=\"#ff6299fe\"", [](const CControlUI& c) { return c.GetFocusBorderColor() == 0xFF6299FE; }},
        {L"bordersize=\"1,2,3,4\" bordersize=\"2\"",
         [](const CControlUI& c) {
             const RECT s = c.GetBorderSides();
             return c.GetBorderSize() == 2 && s.left == 0 && s.top == 0 && s.right == 0 && s.bottom == 0;
         }},
        {L"bordersize=\"1,2,3,4\" rightbordersize=\"7\"",
         [](const CControlUI& c) { return c.GetBorderSides().left == 1 && c.GetBorderSides().right == 7; }},
        {L"text=\"one{\\n}two\"", [](const CControlUI& c) { return Str(c.GetText()) == L"one\ntwo"; }},
        {L"tooltip=\"one<n>two\"", [](const CControlUI& c) { return Str(c.GetToolTip()) == L"one\r\ntwo"; }},
        {L"float=\"0.5,0.25,1,0.75\"",
         [](const CControlUI& c) { return c.IsFloat() && c.GetFloatPercent().top == 0.25; }},
        {L"float=\"TRUE\" floatalign=\"right,bottom\"",
         [](const CControlUI& c) { return c.IsFloat() && c.GetFloatAlign() == 0xA; }},
        {L"cursor=\"hand\" cursor=\"pointer\"", [](const CControlUI& c) { return c.GetCursor() == 32649; }},
        {L"shortcut=\"Xy\" name=\"n\" userdata=\"u\"",
         [](const CControlUI& c) { return c.GetShortcut() == L'X' && c.GetName() == L"n" && c.GetUserData() == L"u"; }},
        {L"visible=\"false\" enabled=\"0\" mouse=\"false\" keyboard=\"false\"",
         [](const CControlUI& c) {
             return !c.IsVisible() && !c.IsEnabled() && !c.IsMouseEnabled() && !c.IsKeyboardEnabled();
         }},
        {L"minwidth=\"5\" maxwidth=\"50\" minheight=\"-3\" maxheight=\"60\"",
         [](const CControlUI& c) {
             return c.GetMinWidth() == 5 && c.GetMaxWidth() == 50 && c.GetMinHeight() == 0 && c.GetMaxHeight() == 60;
         }},
        {L"menu=\"true\" drag=\"true\" drop=\"true\" colorhsl=\"true\" gradient=\"hor\" borderround=\"4,6\"",
         [](const CControlUI& c) {
             return c.IsContextMenuUsed() && c.IsDragEnabled() && c.IsDropEnabled() && c.IsColorHSL() &&
                    c.GetGradient() == L"hor" && c.GetBorderRound().cx == 4 && c.GetBorderRound().cy == 6;
         }},
        {L"bkimage=\"a.png\" foreimage=\"file='b.png'\"",
         [](const CControlUI& c) { return c.GetBkImage() == L"a.png" && c.GetForeImage() == L"file='b.png'"; }},
        {L"data-id=\"42\" data-id=\"43\" empty=\"\"",
         [](const CControlUI& c) {
             return Str(c.GetCustomAttribute(L"data-id")) == L"42" && c.GetCustomAttribute(L"empty") == nullptr;
         }},
    };
    for (const AttributeCase& c : cases) {
        CControlUI control;
        control.ApplyAttributeList(c.list);
        EXPECT_TRUE(c.check(control)) << c.list;
    }
    // As markup gives it: the inner list's quotes written as "&quot;".
    CControlUI control;
    control.SetAttribute(L"InnerStyle", L"width=&quot;7&quot; height=&quot;8&quot;");
    EXPECT_EQ(control.GetFixedWidth(), 7);
    EXPECT_EQ(control.GetFixedHeight(), 8);
}

TEST(ControlAttributes, StylesReplaceValuesAndMayNotLoop)
{
    CPaintManagerUI manager;
    manager.AddStyle(L"red", L"bkcolor=\"#ffff0000\" width=\"12\"");
    manager.AddStyle(L"self", L"bkcolor=\"self\"");
    manager.AddStyle(L"ping", L"pong");
    manager.AddStyle(L"pong", L"ping");
    manager.AddStyle(L"deep", L"innerstyle=\"deep\"");
    // Each level names itself four times: 4^16 applications without a budget.
    manager.AddStyle(L"fan", L"a=\"fan\" b=\"fan\" c=\"fan\" d=\"fan\" width=\"7\"");
    CControlUI control;
    control.SetManager(&manager, nullptr, false);
    control.SetAttribute(L"tooltip", L"red");
    EXPECT_EQ(control.GetBkColor(), 0xFFFF0000u) << "the style, whatever the attribute";
    EXPECT_EQ(control.GetFixedWidth(), 12);
    EXPECT_TRUE(control.GetToolTip().IsEmpty());
    control.ApplyAttributeList(L"red");
    EXPECT_EQ(control.GetBkColor(), 0xFFFF0000u);

    control.SetAttribute(L"bkcolor", L"self");
    EXPECT_EQ(control.GetBkColor(), 0u) << "at the depth limit the value is read as written";
    control.ApplyAttributeList(L"ping");
    control.ApplyAttributeList(L"deep");
    control.SetAttribute(L"text", L"pong");
    EXPECT_TRUE(control.GetText().IsEmpty());
    control.SetAttribute(L"text", L"plain");
    EXPECT_EQ(Str(control.GetText()), L"plain") << "the guard is released again";
    control.SetAttribute(L"x", L"fan"); // must end soon
    EXPECT_EQ(control.GetFixedWidth(), 7);
}

TEST(ControlAttributes, CustomAttributesKeepTheFirstValue)
{
    CControlUI control;
    control.AddCustomAttribute(L"k", L"1");
    control.AddCustomAttribute(L"k", L"2");
    control.AddCustomAttribute(L"", L"3");
    EXPECT_EQ(Str(control.GetCustomAttribute(L"k")), L"1");
    EXPECT_TRUE(control.RemoveCustomAttribute(L"k"));
    EXPECT_FALSE(control.RemoveCustomAttribute(L"k"));
    EXPECT_FALSE(control.RemoveCustomAttribute(L""));
    control.AddCustomAttribute(L"a", L"1");
    control.RemoveAllCustomAttribute();
    EXPECT_EQ(control.GetCustomAttribute(L"a"), nullptr);
}

TEST(ControlState, HidingAContainerHidesDescendantsWithoutTheirFlags)
{
    CVerticalLayoutUI root;
    auto* inner = new CHorizontalLayoutUI;
    auto* leaf = new CControlUI;
    auto* hidden = new CControlUI;
    hidden->SetVisible(false);
    inner->Add(leaf);
    inner->Add(hidden);
    root.Add(inner);
    root.SetVisible(false);
    EXPECT_FALSE(inner->IsVisible());
    EXPECT_FALSE(leaf->IsVisible());
    root.SetVisible(true);
    EXPECT_TRUE(leaf->IsVisible()) << "its own flag was never cleared";
    EXPECT_FALSE(hidden->IsVisible());
    inner->SetVisible(false);
    root.SetVisible(false);
    root.SetVisible(true);
    EXPECT_FALSE(leaf->IsVisible()) << "still under a hidden container";
    auto* late = new CControlUI;
    inner->Add(late);
    EXPECT_FALSE(late->IsVisible()) << "added to a hidden container";
}

TEST_F(Notified, FocusMovesThroughTheManager)
{
    auto* a = new CButtonUI;
    auto* b = new CButtonUI;
    Attach<CVerticalLayoutUI>(manager, {a, b});
    a->SetFocus();
    EXPECT_EQ(manager.GetFocus(), a);
    EXPECT_TRUE(a->IsFocused());
    b->SetFocus();
    EXPECT_FALSE(a->IsFocused());
    EXPECT_EQ(log.types, L"setfocus;killfocus;setfocus;");
    b->SetVisible(false);
    EXPECT_EQ(manager.GetFocus(), nullptr) << "hiding the focused control";
    b->SetVisible(false);
    a->SetEnabled(false);
    a->SetFocus();
    EXPECT_EQ(manager.GetFocus(), nullptr) << "a disabled control takes no focus";
}

TEST_F(Notified, ListenersFirstThenUnhandledEventsBubbleUp)
{
    auto* child = new CControlUI;
    auto* root = Attach<CVerticalLayoutUI>(manager, {child});

    tagTEventUI timer = MakeEvent(EventTimer, POINT{}, 7);
    child->Event(timer);
    EXPECT_EQ(log.types, L"timer;");
    EXPECT_EQ(log.last.pSender, child);
    EXPECT_EQ(log.last.wParam, 7u);

    tagTEventUI menu = MakeEvent(EventContextMenu);
    child->Event(menu);
    EXPECT_EQ(log.types, L"timer;") << "no menu without the menu attribute";
    root->SetContextMenuUsed(true);
    child->Event(menu);
    EXPECT_EQ(log.types, L"timer;menu;") << "the parent handles it";
    EXPECT_EQ(log.last.pSender, root);

    struct Veto {
        static bool No(void*) { return false; }
    };
    child->OnEvent += Veto::No;
    child->Event(timer);
    EXPECT_EQ(log.types, L"timer;menu;") << "a listener refused the event";
}

TEST_F(Notified, NotificationsReachTheSendersListenersFirst)
{
    auto* page = new CVerticalLayoutUI;
    auto* button = new CButtonUI;
    page->Add(button);
    Attach<CVerticalLayoutUI>(manager, {page});
    page->SetVirtualWnd(L"page");
    button->SetName(L"ok");

    struct Listener {
        std::wstring seen;
        NotifyLog* log;
        bool Call(void* param)
        {
            seen = static_cast<tagTNotifyUI*>(param)->sVirtualWnd.GetData();
            seen += log->types.empty() ? L" first" : L" late";
            return true;
        }
    } listener{L"", &log};
    button->OnNotify += CDelegate<Listener, Listener>(&listener, &Listener::Call);
    button->Activate();
    EXPECT_EQ(listener.seen, L"page first") << "the virtual window of the nearest owner, not the name";
    EXPECT_EQ(log.types, L"click;");
    EXPECT_EQ(log.last.ptMouse.x, -1);
    button->SetVirtualWnd(L"own");
    EXPECT_EQ(Str(button->GetVirtualWnd()), L"own");
    EXPECT_TRUE(CControlUI().GetVirtualWnd().IsEmpty());
}

TEST(ControlTimers, SystemIdsStartAt17AndAreReused)
{
    TestWindow window;
    CPaintManagerUI manager;
    manager.Init(window.hWnd);
    auto* child = new CControlUI;
    auto* root = Attach<CVerticalLayoutUI>(manager, {child});
    EXPECT_FALSE(CControlUI().SetTimer(1, 10)) << "no manager";
    EXPECT_TRUE(child->SetTimer(1, 1000));
    EXPECT_FALSE(child->SetTimer(1, 1000)) << "already running";
    EXPECT_TRUE(root->SetTimer(1, 1000));
    EXPECT_TRUE(child->KillTimer(1));
    EXPECT_FALSE(child->KillTimer(1));
    EXPECT_FALSE(KillTimer(window.hWnd, 17)) << "the first timer had system id 17";
    EXPECT_TRUE(KillTimer(window.hWnd, 18));
    EXPECT_TRUE(child->SetTimer(1, 1000));
    EXPECT_TRUE(KillTimer(window.hWnd, 17)) << "restarted under its old id";
    root->Remove(child);
    manager.Init(window.hWnd);
}

// Edges saturated one by one can lie 2^32 apart: a width stays within 32 bits.
TEST(ControlPosition, NoRectangleOutgrows32Bits)
{
    CControlUI control;
    control.SetPos(RECT{INT32_MIN, INT32_MIN + 10, INT32_MAX, INT32_MAX}, false);
    const RECT& rc = control.GetPos();
    EXPECT_EQ(rc.left, INT32_MIN);
    EXPECT_EQ(static_cast<long long>(rc.right) - rc.left, INT32_MAX);
    EXPECT_EQ(static_cast<long long>(rc.bottom) - rc.top, INT32_MAX);
}

TEST(ControlInvalidation, PositionChangesRepaintInsideTheAncestorsOnly)
{
    TestWindow window(true);
    CPaintManagerUI manager;
    manager.Init(window.hWnd);
    auto* child = new CControlUI;
    auto* root = Attach<CContainerUI>(manager, {child});
    root->SetPos(RECT{10, 10, 60, 60}, false);
    child->SetPos(RECT{20, 20, 30, 30}, false);
    ValidateRect(window.hWnd, nullptr);
    child->SetPos(RECT{40, 40, 90, 90});
    RECT dirty{};
    GetUpdateRect(window.hWnd, &dirty, FALSE);
    EXPECT_EQ(dirty.left, 20);
    EXPECT_EQ(dirty.top, 20);
    EXPECT_EQ(dirty.right, 60) << "clipped to the parent";
    EXPECT_EQ(dirty.bottom, 60);
    root->SetVisible(false);
    ValidateRect(window.hWnd, nullptr);
    child->SetPos(RECT{0, 0, 5, 5});
    EXPECT_FALSE(GetUpdateRect(window.hWnd, &dirty, FALSE)) << "under a hidden parent";
}
