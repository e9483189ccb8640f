// Message maps: an entry for a named control wins over one for any
// control, the base class's map is searched after the class's own, entries
// take the notification or its parameters, and notifications of a virtual
// window go to the pump registered under its name.
#include "skinned_window.h"

#include <string>

using namespace SkinUI;

namespace {

const wchar_t kButtons[] = LR"(<Window size="200,100"><HorizontalLayout>
    <Button name="b" width="50" />
    <Button name="c" width="50" virtualwnd="Page" />
    <Button name="closebtn" width="50" />
</HorizontalLayout></Window>)";

class MappedWindow : public SkinnedWindow {
public:
    MappedWindow() : SkinnedWindow(kButtons) {}

    void OnNamedTimer(tagTNotifyUI&) { calls += L"named;"; }
    void OnAnyTimer(tagTNotifyUI&) { calls += L"any;"; }
    void OnCustom(WPARAM wParam, LPARAM lParam) { calls += std::to_wstring(wParam + lParam) + L";"; }

    std::wstring calls;

    SKIN_DECLARE_MESSAGE_MAP()
};

SKIN_BEGIN_MESSAGE_MAP(MappedWindow, WindowImplBase)
SKIN_ON_MSGTYPE(L"timer", OnAnyTimer)
SKIN_ON_MSGTYPE_CTRNAME(L"timer", L"b", OnNamedTimer)
SKIN_ON_MSGTYPE_PARAMS(L"custom", OnCustom)
SKIN_END_MESSAGE_MAP()

class PagePump : public CNotifyPump {
public:
    void OnTimer(tagTNotifyUI& msg) { senders += msg.pSender->GetName().GetData(); }

    std::wstring senders;

    SKIN_DECLARE_MESSAGE_MAP()
};

SKIN_BEGIN_MESSAGE_MAP(PagePump, CNotifyPump)
SKIN_ON_MSGTYPE(L"timer", OnTimer)
SKIN_END_MESSAGE_MAP()

} // namespace

TEST(MessageMap, NamedEntriesWinThenAnyControlThenTheBaseMap)
{
    MappedWindow window;
    ASSERT_NE(window.Open(), nullptr);
    CPaintManagerUI& pm = window.pm();
    pm.SendNotify(window.Find(L"b"), L"timer");
    pm.SendNotify(window.Find(L"closebtn"), L"timer");
    pm.SendNotify(window.Find(L"b"), L"custom", 3, 4);
    pm.SendNotify(window.Find(L"b"), L"unmapped");
    EXPECT_EQ(window.calls, L"named;any;7;");
    window.Find(L"closebtn")->Activate();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
    EXPECT_EQ(window.closes, std::vector<WPARAM>{0}) << "the base map's click closes through SC_CLOSE";
}

TEST(MessageMap, VirtualWindowsTakeTheirNotificationsFirst)
{
    MappedWindow window;
    ASSERT_NE(window.Open(), nullptr);
    PagePump page;
    EXPECT_TRUE(window.AddVirtualWnd(L"page", &page));
    EXPECT_FALSE(window.AddVirtualWnd(L"page", &page)) << "the name is taken";
    window.pm().SendNotify(window.Find(L"c"), L"timer");
    EXPECT_EQ(page.senders, L"c") << "the name matches ignoring case";
    EXPECT_EQ(window.calls, L"");
    window.pm().SendNotify(window.Find(L"c"), L"custom", 1, 1);
    EXPECT_EQ(window.calls, L"2;") << "what the page does not take, the window does";
    EXPECT_TRUE(window.RemoveVirtualWnd(L"page"));
    window.pm().SendNotify(window.Find(L"c"), L"timer");
    EXPECT_EQ(window.calls, L"2;any;");
}
