// Controls removed while their own events and notifications are delivered,
// windows that delete themselves at their end, and the paint manager's
// re-entrant paths, in real windows with real messages. A use after free
// does not crash reliably under Wine: controls record their end and every
// event they get in tables the test owns, and each row asserts that nothing
// ended twice or was reached after its end.
#include "skinned_window.h"

#include "button.h"
#include "container.h"
#include "dialog_builder.h"

#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace SkinUI;

namespace {

const wchar_t kLayout[] = LR"(<Window size="300,60"><HorizontalLayout name="root">
    <Button name="closebtn" width="40" />
</HorizontalLayout></Window>)";

// What the recorded controls did: (control, event type) in order, -1 for an end.
using Journal = std::vector<std::pair<const void*, int>>;
constexpr int kEnded = -1;
constexpr int kInitialised = -2;

class RecordedButton : public CButtonUI {
public:
    RecordedButton(Journal& journal, const wchar_t* name) : journal_(journal)
    {
        SetName(name);
        SetFixedWidth(40);
    }
    ~RecordedButton() override { journal_.emplace_back(this, kEnded); }
    void DoInit() override { journal_.emplace_back(this, kInitialised); }
    void DoEvent(tagTEventUI& event) override
    {
        journal_.emplace_back(this, event.Type);
        if (onEvent)
            onEvent(event);
        CButtonUI::DoEvent(event);
    }
    std::function<void(tagTEventUI&)> onEvent;

private:
    Journal& journal_;
};

// Runs a function for each notification.
struct Notifier : INotifyUI {
    std::function<void(tagTNotifyUI&)> call;
    void Notify(tagTNotifyUI& msg) override
    {
        if (call)
            call(msg);
    }
};

class LifetimeWindow : public SkinnedWindow {
public:
    explicit LifetimeWindow(bool* deleted = nullptr) : SkinnedWindow(kLayout), deleted_(deleted) {}
    void OnFinalMessage(HWND hWnd) override
    {
        SkinnedWindow::OnFinalMessage(hWnd);
        if (deleted_) {
            *deleted_ = true;
            delete this; // as the header invites
        }
    }

private:
    bool* deleted_;
};

struct Lifetime {
    LifetimeWindow* window = nullptr;
    Journal journal;
    Notifier first, second;
    int clicks = 0;
    // Set by a self-deleting window as it deletes itself.
    bool deleted = false;

    CContainerUI* Root() { return static_cast<CContainerUI*>(window->pm().GetRoot()); }
    RecordedButton* Add(const wchar_t* name)
    {
        auto* button = new RecordedButton(journal, name);
        Root()->Add(button);
        return button;
    }
    HWND Hwnd() { return window->GetHWND(); }
    // Lays the window out so that the controls have their places.
    void Settle()
    {
        window->pm().NeedUpdate();
        InvalidateRect(Hwnd(), nullptr, FALSE);
        UpdateWindow(Hwnd());
        PumpPending();
    }
    static LPARAM Centre(CControlUI* control)
    {
        const RECT& rc = control->GetPos();
        return MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    void Press(CControlUI* control) { SendMessageW(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(control)); }
    void Release(CControlUI* control) { SendMessageW(Hwnd(), WM_LBUTTONUP, 0, Centre(control)); }
    int Count(const void* control, int type) const
    {
        return int(std::count(journal.begin(), journal.end(), std::make_pair(control, type)));
    }
    // Whether the control got anything after its end.
    bool ReachedAfterItsEnd(const void* control) const
    {
        bool ended = false;
        for (const auto& entry : journal) {
            if (entry.first != control)
                continue;
            if (ended)
                return true;
            ended = entry.second == kEnded;
        }
        return false;
    }
};

struct Row {
    const char* name;
    bool selfDeleting;
    std::function<void(Lifetime&)> run;
};

const Row kRows[] = {
    {"RemovedByItsClickUnderANestedLoop", false,
     [](Lifetime& t) {
         RecordedButton* button = t.Add(L"victim");
         t.Settle();
         bool aliveForTheNext = false;
         t.first.call = [&](tagTNotifyUI& msg) {
             if (msg.sType == L"click" && msg.pSender == button) {
                 t.Root()->Remove(button);
                 PumpPending(); // a message box's loop
             }
         };
         t.second.call = [&](tagTNotifyUI& msg) {
             if (msg.sType == L"click")
                 aliveForTheNext = t.Count(button, kEnded) == 0 && msg.pSender->GetName() == L"victim";
         };
         t.Press(button);
         t.Release(button);
         EXPECT_TRUE(aliveForTheNext) << "deleted under the notifiers still to come";
         PumpPending();
         EXPECT_EQ(t.Count(button, kEnded), 1);
         EXPECT_FALSE(t.ReachedAfterItsEnd(button));
     }},
    {"RemovedByItsOwnEventUnderANestedLoop", false,
     [](Lifetime& t) {
         RecordedButton* button = t.Add(L"victim");
         t.Settle();
         t.Root()->SetDelayedDestroy(false); // would delete at once
         bool aliveAfterTheLoop = false;
         button->onEvent = [&](tagTEventUI& event) {
             if (event.Type == EventButtonDown) {
                 t.Root()->Remove(button);
                 PumpPending(); // a menu's or a drag's loop
                 aliveAfterTheLoop = t.Count(button, kEnded) == 0;
             }
         };
         t.Press(button);
         EXPECT_TRUE(aliveAfterTheLoop) << "deleted under its own event";
         PumpPending();
         EXPECT_EQ(t.Count(button, kEnded), 1);
         EXPECT_FALSE(t.ReachedAfterItsEnd(button));
     }},
    {"AHandlerThatThrows", false,
     [](Lifetime& t) {
         RecordedButton* button = t.Add(L"button");
         t.first.call = [](tagTNotifyUI& msg) {
             if (msg.sType == L"custom")
                 throw 1;
         };
         EXPECT_THROW(t.window->pm().SendNotify(button, L"custom"), int);
         t.first.call = nullptr;
         t.Root()->Remove(button);
         PumpPending();
         EXPECT_EQ(t.Count(button, kEnded), 1) << "the delivery the throw left counted for ever";
     }},
    {"SelfDeletingWindowClosedByItsCloseButton", true,
     [](Lifetime& t) {
         t.Settle();
         bool deletedDuringTheClick = true;
         t.second.call = [&](tagTNotifyUI& msg) {
             if (msg.sType == L"click")
                 deletedDuringTheClick = t.deleted;
         };
         CControlUI* close = t.window->Find(L"closebtn");
         ASSERT_NE(close, nullptr);
         t.Press(close);
         t.Release(close);
         EXPECT_FALSE(deletedDuringTheClick) << "the close ran inside the click";
     }},
    {"QueuedTwiceAndTheLiveRoot", false,
     [](Lifetime& t) {
         RecordedButton* gone = t.Add(L"gone");
         RecordedButton* kept = t.Add(L"kept");
         t.Root()->Remove(gone); // queued once by the container
         t.window->pm().AddDelayedCleanup(gone);
         t.window->pm().AddDelayedCleanup(t.Root());
         PumpPending();
         EXPECT_EQ(t.Count(gone, kEnded), 1);
         EXPECT_EQ(t.Count(kept, kEnded), 0) << "the tree in use was deleted";
         EXPECT_EQ(t.window->Find(L"kept"), kept);
     }},
    {"FocusMovedByAKillFocusHandler", false,
     [](Lifetime& t) {
         RecordedButton* a = t.Add(L"a");
         RecordedButton* b = t.Add(L"b");
         RecordedButton* c = t.Add(L"c");
         t.Settle();
         CPaintManagerUI& pm = t.window->pm();
         pm.SetFocus(a);
         int killed = 0;
         t.first.call = [&](tagTNotifyUI& msg) {
             if (msg.sType == L"killfocus" && msg.pSender == a && ++killed == 1)
                 pm.SetFocus(c);
         };
         pm.SetFocus(b);
         EXPECT_EQ(killed, 1);
         EXPECT_EQ(pm.GetFocus(), c) << "the handler's choice stands";
         EXPECT_EQ(t.Count(b, EventSetFocus), 0);
     }},
    {"LeaveListChangedByAnEarlierLeave", false,
     [](Lifetime& t) {
         RecordedButton* first = t.Add(L"first");
         RecordedButton* second = t.Add(L"second");
         t.Settle();
         CPaintManagerUI& pm = t.window->pm();
         pm.AddMouseLeaveNeeded(first);
         pm.AddMouseLeaveNeeded(second);
         // Deleted outright by its owner, no container in between.
         first->onEvent = [&](tagTEventUI& event) {
             if (event.Type == EventMouseLeave && t.Count(second, kEnded) == 0) {
                 t.Root()->SetAutoDestroy(false);
                 t.Root()->Remove(second);
                 delete second;
             }
         };
         SendMessageW(t.Hwnd(), WM_MOUSEMOVE, 0, Lifetime::Centre(first));
         SendMessageW(t.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
         EXPECT_EQ(t.Count(second, kEnded), 1);
         EXPECT_FALSE(t.ReachedAfterItsEnd(second));
     }},
    // The capture taken away, the focus lost, the window closed: the press
    // ends without a click, even with the pointer still inside.
    {"PressEndedWithoutARelease", false,
     [](Lifetime& t) {
         RecordedButton* button = t.Add(L"button");
         t.Settle();
         for (const UINT ending : {WM_CAPTURECHANGED, WM_KILLFOCUS, WM_CLOSE}) {
             t.Press(button);
             SendMessageW(t.Hwnd(), ending, 0, 0);
             if (IsWindow(t.Hwnd()))
                 t.Release(button);
             EXPECT_EQ(t.clicks, 0) << "clicked after message " << ending;
         }
     }},
    {"LeaveAfterATrackingEnded", false,
     [](Lifetime& t) {
         RecordedButton* button = t.Add(L"button");
         t.Settle();
         SendMessageW(t.Hwnd(), WM_MOUSEMOVE, 0, Lifetime::Centre(button));
         SendMessageW(t.Hwnd(), WM_MOUSEHOVER, 0, Lifetime::Centre(button)); // ends the tracking, as a tool tip does
         SendMessageW(t.Hwnd(), WM_MOUSELEAVE, 0, 0);
         EXPECT_EQ(t.Count(button, EventMouseLeave), 1) << "left hot";
     }},
    {"BuiltIntoALiveParent", false,
     [](Lifetime& t) {
         CPaintManagerUI& pm = t.window->pm();
         struct Recorded : IDialogBuilderCallback {
             Journal* journal = nullptr;
             CControlUI* CreateControl(const wchar_t*) override { return new RecordedButton(*journal, L""); }
         } callback;
         callback.journal = &t.journal;
         CDialogBuilder builder;
         CControlUI* built = builder.Create(L"<Window size=\"10,10\"><Recorded name=\"built\" /></Window>", nullptr,
                                            &callback, &pm, t.Root());
         ASSERT_NE(built, nullptr);
         EXPECT_EQ(t.Count(built, kInitialised), 1);
         EXPECT_NE(pm.GetInitSize().cx, 10) << "a layout built into a parent set the window's size";
         EXPECT_EQ(built->GetManager(), &pm);
         EXPECT_EQ(built->GetParent(), t.Root());
         EXPECT_EQ(pm.FindControl(L"built"), built);
         t.Root()->RemoveAll();
         PumpPending();
         EXPECT_EQ(pm.FindControl(L"built"), nullptr) << "a name left to a deleted control";
     }},
    {"ManagerOutlivesItsWindow", false,
     [](Lifetime& t) {
         CPaintManagerUI& pm = t.window->pm();
         RecordedButton* button = t.Add(L"button");
         ASSERT_TRUE(pm.SetTimer(button, 1, 60000));
         DestroyWindow(t.Hwnd());
         EXPECT_EQ(pm.GetPaintWindow(), nullptr);
         EXPECT_EQ(pm.GetPaintDC(), nullptr);
         EXPECT_FALSE(pm.KillTimer(button, 1)) << "a timer kept for a window that is gone";
     }},
    {"AccessibleObjectOutlivesItsControlsAndWindow", true,
     [](Lifetime& t) {
         RecordedButton* button = t.Add(L"button");
         button->SetText(L"Press me");
         t.Add(L"second")->SetText(L"Second");
         t.Settle();
         IAccessible* client = nullptr;
         ASSERT_EQ(AccessibleObjectFromWindow(t.Hwnd(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&client)),
                   S_OK);
         VARIANT child{};
         child.vt = VT_I4;
         child.lVal = 2; // after "closebtn"
         BSTR name = nullptr;
         ASSERT_EQ(client->get_accName(child, &name), S_OK);
         EXPECT_STREQ(name, L"Press me");
         SysFreeString(name);
         // Asked from another thread, it answers without touching the tree.
         std::thread([&] {
             BSTR other = nullptr;
             EXPECT_EQ(client->get_accName(child, &other), RPC_E_WRONG_THREAD);
         }).join();
         // Its control removed, a child id reaches nothing, not the next one.
         t.Root()->Remove(button);
         PumpPending();
         EXPECT_EQ(client->get_accName(child, &name), E_INVALIDARG);
         child.lVal = 3;
         ASSERT_EQ(client->get_accName(child, &name), S_OK);
         EXPECT_STREQ(name, L"Second");
         SysFreeString(name);
         // The window and its manager deleted, the object a screen reader
         // still holds answers without touching them.
         PostMessageW(t.Hwnd(), WM_CLOSE, 0, 0);
         ASSERT_TRUE(PumpUntil([&] { return t.deleted; }));
         child.lVal = CHILDID_SELF;
         EXPECT_EQ(client->get_accName(child, &name), CO_E_OBJNOTCONNECTED);
         long count = -1;
         EXPECT_EQ(client->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
         client->Release();
     }},
    {"TimersSetAndKilledBeyondTheIdSpace", false,
     [](Lifetime& t) {
         RecordedButton* button = t.Add(L"button");
         CPaintManagerUI& pm = t.window->pm();
         int refused = 0;
         for (UINT id = 0; id < 600; ++id) {
             refused += pm.SetTimer(button, id, 60000) ? 0 : 1;
             pm.KillTimer(button, id);
         }
         EXPECT_EQ(refused, 0);
     }},
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.name;
}

class ToolkitLifetime : public ::testing::TestWithParam<Row> {};

TEST_P(ToolkitLifetime, Row)
{
    const Row& row = GetParam();
    Lifetime t;
    t.window = row.selfDeleting ? new LifetimeWindow(&t.deleted) : new LifetimeWindow();
    ASSERT_NE(t.window->Open(), nullptr);
    CPaintManagerUI& pm = t.window->pm();
    pm.AddNotifier(&t.first);
    pm.AddNotifier(&t.second);
    Notifier clicks;
    clicks.call = [&](tagTNotifyUI& msg) { t.clicks += msg.sType == L"click" ? 1 : 0; };
    pm.AddNotifier(&clicks);
    row.run(t);
    if (row.selfDeleting) {
        EXPECT_TRUE(PumpUntil([&] { return t.deleted; })) << "never closed";
        return;
    }
    if (IsWindow(t.Hwnd())) {
        pm.RemoveNotifier(&t.first);
        pm.RemoveNotifier(&t.second);
        pm.RemoveNotifier(&clicks);
    }
    delete t.window;
    PumpPending();
}

INSTANTIATE_TEST_SUITE_P(Cases, ToolkitLifetime, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

} // namespace
