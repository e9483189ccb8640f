// Containers: ownership and delayed destruction, search, placement of
// stacked and floating children, clipping, and separator dragging.
#include "control_tree.h"
#include "render_canvas.h"

#include <gtest/gtest.h>

using namespace SkinUI;

namespace {

// Records its own destruction.
class Tracked : public CControlUI {
public:
    explicit Tracked(bool& destroyed) : m_destroyed(destroyed) {}
    ~Tracked() override { m_destroyed = true; }

private:
    bool& m_destroyed;
};

CControlUI* Named(const wchar_t* name, const wchar_t* attributes = L"")
{
    CControlUI* control = Make<CControlUI>(attributes);
    control->SetName(name);
    return control;
}

CControlUI* Accept(CControlUI* control, void*)
{
    return control;
}

} // namespace

TEST(Container, ChildManagementRefusesWhatItCannotDo)
{
    CContainerUI container;
    CControlUI* a = Named(L"a");
    CControlUI* b = Named(L"b");
    CControlUI stranger;
    EXPECT_FALSE(container.Add(nullptr));
    EXPECT_FALSE(container.AddAt(a, 1));
    EXPECT_TRUE(container.AddAt(a, 0));
    EXPECT_TRUE(container.AddAt(b, 0));
    EXPECT_EQ(container.GetItemAt(0), b);
    EXPECT_EQ(container.GetItemAt(2), nullptr);
    EXPECT_EQ(container.GetItemIndex(&stranger), -1);
    EXPECT_FALSE(container.SetItemIndex(&stranger, 0));
    EXPECT_FALSE(container.SetItemIndex(a, 2));
    EXPECT_TRUE(container.SetItemIndex(a, 0));
    EXPECT_EQ(container.GetItemAt(0), a);
    EXPECT_FALSE(container.Remove(&stranger));
    EXPECT_FALSE(container.RemoveAt(5));
    EXPECT_TRUE(container.RemoveAt(1));
    EXPECT_EQ(container.GetCount(), 1);
    container.SetAutoDestroy(false);
    CControlUI kept;
    container.Add(&kept);
    EXPECT_TRUE(container.Remove(&kept)) << "not deleted: it is on the stack";
}

TEST(Container, ChildRemovedDuringItsOwnEventLivesUntilCleanup)
{
    bool destroyed = false;
    {
        CPaintManagerUI manager;
        auto* child = new Tracked(destroyed);
        auto* root = Attach<CVerticalLayoutUI>(manager, {child});
        struct RemoveSelf {
            CContainerUI* parent;
            CControlUI* child;
            bool* destroyed;
            bool aliveAfter = false;
            bool Call(void*)
            {
                parent->Remove(child);
                aliveAfter = !*destroyed;
                return true;
            }
        } handler{root, child, &destroyed};
        child->OnEvent += CDelegate<RemoveSelf, RemoveSelf>(&handler, &RemoveSelf::Call);
        tagTEventUI event = MakeEvent(EventMouseMove);
        child->Event(event);
        EXPECT_TRUE(handler.aliveAfter);
        EXPECT_FALSE(destroyed);
        EXPECT_EQ(root->GetCount(), 0);
        EXPECT_EQ(child->GetParent(), nullptr);
    }
    EXPECT_TRUE(destroyed) << "deleted with the manager's delayed cleanup";

    destroyed = false;
    CContainerUI orphan;
    orphan.Add(new Tracked(destroyed));
    orphan.RemoveAt(0);
    EXPECT_TRUE(destroyed) << "without a manager, at once";
}

TEST(Container, NamesAreRegisteredAndTheLastOneWins)
{
    CPaintManagerUI manager;
    auto* second = Named(L"twin");
    auto* root = Attach<CVerticalLayoutUI>(manager, {Named(L"twin"), second});
    EXPECT_EQ(manager.FindControl(L"twin"), second);
    auto* late = Named(L"late");
    root->Add(late);
    EXPECT_EQ(manager.FindControl(L"late"), late);
    EXPECT_EQ(root->FindSubControl(L"late"), late);
    EXPECT_TRUE(root->SetSubControlText(L"late", L"t"));
    EXPECT_EQ(root->GetSubControlText(L"late"), CSkinString(L"t"));
    EXPECT_FALSE(root->SetSubControlFixedWdith(L"missing", 3));
    EXPECT_EQ(root->GetSubControlFixedHeight(L"missing"), -1);
    root->SetDelayedDestroy(false);
    root->Remove(second);
    EXPECT_EQ(manager.FindControl(L"twin"), nullptr) << "forgotten with the control it named";
}

TEST(Container, HitTestsFindTheTopmostControl)
{
    CContainerUI root;
    root.SetInset(RECT{10, 10, 10, 10});
    CControlUI* under = Named(L"under");
    CControlUI* over = Named(L"over");
    CControlUI* outside = Named(L"outside", L"float=\"true\" pos=\"0,0,5,5\"");
    root.Add(under);
    root.Add(over);
    root.Add(outside);
    root.SetPos(RECT{0, 0, 100, 100});
    const struct {
        POINT point;
        UINT flags;
        const CControlUI* expected;
    } cases[] = {
        {{50, 50}, FindHitTest | FindTopFirst, over},
        {{50, 50}, FindHitTest, under},
        {{50, 50}, FindHitTest | FindMeFirst, &root},
        {{2, 2}, FindHitTest | FindTopFirst, outside},
        {{95, 95}, FindHitTest | FindTopFirst, &root},
        {{150, 50}, FindHitTest, nullptr},
        {{50, 50}, FindAll, under},
    };
    for (const auto& c : cases) {
        POINT point = c.point;
        EXPECT_EQ(root.FindControl(Accept, &point, c.flags), c.expected) << c.point.x << "," << c.flags;
    }
    root.SetMouseChildEnabled(false);
    POINT point{50, 50};
    EXPECT_EQ(root.FindControl(Accept, &point, FindHitTest), &root);
    over->SetVisible(false);
    root.SetMouseChildEnabled(true);
    EXPECT_EQ(root.FindControl(Accept, &point, FindHitTest | FindTopFirst | FindVisible), under);
}

TEST(Container, StacksChildrenAndPlacesFloats)
{
    CContainerUI root;
    root.SetInset(RECT{5, 5, 5, 5});
    CControlUI* stacked = Named(L"s", L"maxwidth=\"30\" minheight=\"200\"");
    CControlUI* floated = Named(L"f", L"float=\"true\" pos=\"10,20,40,60\"");
    CControlUI* centred = Named(L"c", L"float=\"true\" pos=\"0,0,20,10\" floatalign=\"center,bottom\"");
    CControlUI* percent = Named(L"p", L"pos=\"0,0,10,10\" float=\"0.5,0.5,0.5,0.5\"");
    for (CControlUI* c : {stacked, floated, centred, percent}) {
        root.Add(c);
    }
    root.SetPos(RECT{100, 100, 200, 150});
    const struct {
        CControlUI* control;
        RECT expected;
    } cases[] = {
        {stacked, {105, 105, 135, 305}},
        {floated, {110, 120, 140, 160}},
        {centred, {140, 140, 160, 150}},
        {percent, {150, 125, 160, 135}},
    };
    for (const auto& c : cases) {
        const RECT& rc = c.control->GetPos();
        EXPECT_EQ(rc.left, c.expected.left) << c.control->GetName().GetData();
        EXPECT_EQ(rc.top, c.expected.top) << c.control->GetName().GetData();
        EXPECT_EQ(rc.right, c.expected.right) << c.control->GetName().GetData();
        EXPECT_EQ(rc.bottom, c.expected.bottom) << c.control->GetName().GetData();
    }
}

TEST(Container, PaintsChildrenInsideItsClientAreaAndFloatsInsideItself)
{
    GdiplusSession gdiplus;
    CPaintManagerUI manager;
    CControlUI* floated = Named(L"float", L"float=\"true\" pos=\"0,0,6,6\" bkcolor=\"#FF00FF00\"");
    auto* root = Attach<CContainerUI>(manager, {Named(L"child", L"bkcolor=\"#FFFF0000\""), floated});
    root->ApplyAttributeList(L"inset=\"10,10,10,10\" bkcolor=\"#FF0000FF\"");
    root->SetPos(RECT{0, 0, 40, 40});
    Canvas canvas(50, 50);
    EXPECT_TRUE(root->Paint(canvas.dc(), RECT{0, 0, 50, 50}, nullptr));
    EXPECT_EQ(canvas.Rgb(20, 20), 0xFF0000u) << "the child";
    EXPECT_EQ(canvas.Rgb(8, 20), 0x0000FFu) << "the inset shows the container";
    EXPECT_EQ(canvas.Rgb(2, 2), 0x00FF00u) << "a float outside the client area";
    EXPECT_EQ(canvas.Rgb(45, 45), 0xFFFFFFu);

    Canvas partial(50, 50);
    EXPECT_FALSE(root->Paint(partial.dc(), RECT{0, 0, 50, 50}, floated)) << "stops at the stop control";
    EXPECT_EQ(partial.Rgb(2, 2), 0x0000FFu);
}

TEST(Container, SeparatorDragSetsTheFixedHeight)
{
    GdiplusSession gdiplus;
    CPaintManagerUI manager;
    auto* pane = Make<CVerticalLayoutUI>(L"height=\"100\" sepheight=\"4\" minheight=\"50\"");
    auto* root = Attach<CVerticalLayoutUI>(manager, {pane});
    root->SetPos(RECT{0, 0, 100, 300});
    EXPECT_EQ(pane->GetControlFlags(), FlagSetCursor);
    EXPECT_EQ(pane->GetThumbRect().top, 96);

    tagTEventUI down = MakeEvent(EventButtonDown, POINT{50, 98});
    pane->Event(down);
    tagTEventUI move = MakeEvent(EventMouseMove, POINT{50, 130});
    pane->Event(move);
    EXPECT_EQ(pane->GetFixedHeight(), 132);
    EXPECT_EQ(pane->GetPos().bottom, 100) << "not before the button is released";
    Canvas canvas(100, 300);
    pane->DoPostPaint(canvas.dc(), RECT{0, 0, 100, 300});
    EXPECT_TRUE(Near(canvas.Rgb(50, 130), 0x555555)) << "the strip where it will go";
    EXPECT_EQ(canvas.Rgb(50, 100), 0xFFFFFFu);
    tagTEventUI up = MakeEvent(EventButtonUp, POINT{50, 130});
    pane->Event(up);
    EXPECT_EQ(pane->GetPos().bottom, 132);

    pane->SetSepImmMode(true);
    down.ptMouse = POINT{50, 130};
    pane->Event(down);
    move.ptMouse = POINT{50, 10};
    pane->Event(move);
    EXPECT_EQ(pane->GetFixedHeight(), 50) << "not below the minimum";
    EXPECT_EQ(pane->GetPos().bottom, 50) << "at once in immediate mode";
    pane->Event(up);
}
