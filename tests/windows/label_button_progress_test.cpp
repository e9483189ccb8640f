// Labels (text style and size estimate), buttons (state machine, state
// images) and progress bars (range, text, vertical fill).
#include "control_tree.h"
#include "render_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace SkinUI;

namespace {

// A button of 30 x 30 at (10, 10) in a window that records its notifications.
class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager.AddNotifier(&log);
        button = Make<CButtonUI>(L"width=\"30\" height=\"30\" padding=\"10,10,0,0\"");
        root = Attach<CVerticalLayoutUI>(manager, {button});
        root->SetPos(RECT{0, 0, 100, 100});
    }

    // Sends events (kind and x; y is inside) and returns the button state.
    UINT Send(const std::vector<std::pair<int, LONG>>& events)
    {
        for (const auto& e : events) {
            tagTEventUI event = MakeEvent(e.first, POINT{e.second, 20});
            button->Event(event);
        }
        return button->GetButtonState();
    }

    CPaintManagerUI manager;
    NotifyLog log;
    CVerticalLayoutUI* root = nullptr;
    CButtonUI* button = nullptr;
};

constexpr LONG kIn = 20;
constexpr LONG kOut = 80;

} // namespace

TEST_F(ButtonTest, ClicksOnlyWhenReleasedInside)
{
    const struct {
        const char* what;
        std::vector<std::pair<int, LONG>> events;
        std::wstring notifications;
        UINT state;
    } cases[] = {
        {"press and release", {{EventButtonDown, kIn}, {EventButtonUp, kIn}}, L"click;", 0},
        {"press, move out, release", {{EventButtonDown, kIn}, {EventMouseMove, kOut}, {EventButtonUp, kOut}}, L"", 0},
        {"press, move out", {{EventButtonDown, kIn}, {EventMouseMove, kOut}}, L"", CButtonUI::StateCaptured},
        {"press, out and back in, release",
         {{EventButtonDown, kIn}, {EventMouseMove, kOut}, {EventMouseMove, kIn}, {EventButtonUp, kIn}},
         L"click;",
         0},
        {"press outside", {{EventButtonDown, kOut}, {EventButtonUp, kIn}}, L"", 0},
        {"double click presses", {{EventDoubleClick, kIn}}, L"", CButtonUI::StatePushed | CButtonUI::StateCaptured},
        {"moving without a press", {{EventMouseMove, kIn}}, L"", 0},
        {"hover", {{EventMouseEnter, kIn}}, L"", CButtonUI::StateHot},
        {"hover and leave", {{EventMouseEnter, kIn}, {EventMouseLeave, kOut}}, L"", 0},
    };
    for (const auto& c : cases) {
        log.types.clear();
        Send({{EventButtonUp, kOut}, {EventMouseLeave, kOut}});
        EXPECT_EQ(Send(c.events), c.state) << c.what;
        EXPECT_EQ(log.types, c.notifications) << c.what;
    }
}

TEST_F(ButtonTest, KeysActivateAndDisabledButtonsStayDisabled)
{
    tagTEventUI space = MakeEvent(EventKeyDown);
    space.chKey = VK_SPACE;
    button->Event(space);
    space.chKey = VK_RETURN;
    button->Event(space);
    space.chKey = L'A';
    button->Event(space);
    EXPECT_EQ(log.types, L"click;click;");
    button->SetKeyboardEnabled(false);
    space.chKey = VK_SPACE;
    button->Event(space);
    EXPECT_EQ(log.types, L"click;click;");
    EXPECT_EQ(button->GetControlFlags(), FlagSetCursor);

    Send({{EventMouseEnter, kIn}});
    button->SetEnabled(false);
    EXPECT_EQ(button->GetButtonState(), CButtonUI::StateDisabled);
    EXPECT_EQ(Send({{EventButtonDown, kIn}, {EventButtonUp, kIn}}), CButtonUI::StateDisabled);
    EXPECT_FALSE(button->Activate());
    button->SetEnabled(true);
    EXPECT_EQ(button->GetButtonState(), 0u);
    EXPECT_EQ(log.types, L"click;click;");
}

TEST_F(ButtonTest, MouseEventsGoToTheParentWhenMouseInputIsOff)
{
    root->SetContextMenuUsed(true);
    button->SetMouseEnabled(false);
    EXPECT_EQ(Send({{EventButtonDown, kIn}, {EventButtonUp, kIn}}), 0u);
    Send({{EventContextMenu, kIn}});
    EXPECT_EQ(log.types, L"menu;");
    EXPECT_EQ(log.last.pSender, root);
}

TEST(ButtonImages, StateImageCellsFollowTheStateCount)
{
    GdiplusSession gdiplus;
    SkinFolder skin;
    const uint32_t cells[] = {0xFFC00000, 0xFF00C000, 0xFF0000C0, 0xFF808000};
    skin.AddPng(L"state.png", 120, 30, [&](int x, int) { return cells[x / 30]; });
    skin.AddPng(L"pair.png", 60, 30, [&](int x, int) { return cells[x / 30]; });
    CPaintManagerUI manager;
    auto* four = Make<CButtonUI>(L"width=\"30\" stateimage=\"file='state.png'\" statecount=\"4\"");
    auto* two = Make<CButtonUI>(L"width=\"30\" stateimage=\"pair.png\" statecount=\"2\"");
    auto* root = Attach<CHorizontalLayoutUI>(manager, {four, two});
    root->SetPos(RECT{0, 0, 60, 30});
    Canvas canvas(60, 30);
    root->Paint(canvas.dc(), RECT{0, 0, 60, 30}, nullptr);

    const auto cell = [](const wchar_t* file, int left) {
        return L"res='" + std::wstring(file) + L"' restype='' dest='0,0,0,0' source='" + std::to_wstring(left) +
               L",0," + std::to_wstring(left + 30) + L",30'";
    };
    EXPECT_EQ(std::wstring(four->GetNormalImage()), cell(L"state.png", 0));
    EXPECT_EQ(std::wstring(four->GetHotImage()), cell(L"state.png", 30));
    EXPECT_EQ(std::wstring(four->GetPushedImage()), cell(L"state.png", 60));
    EXPECT_EQ(std::wstring(four->GetDisabledImage()), cell(L"state.png", 90));
    EXPECT_EQ(std::wstring(two->GetPushedImage()), cell(L"pair.png", 30)) << "two cells: pushed looks hot";
    EXPECT_TRUE(two->GetDisabledImage().IsEmpty());

    const struct {
        const char* what;
        void (*prepare)(CButtonUI&);
        uint32_t fourColor, twoColor;
    } states[] = {
        {"normal", [](CButtonUI&) {}, cells[0], cells[0]},
        {"hot",
         [](CButtonUI& b) {
             tagTEventUI e = MakeEvent(EventMouseEnter);
             b.Event(e);
         },
         cells[1], cells[1]},
        {"pushed",
         [](CButtonUI& b) {
             tagTEventUI e = MakeEvent(EventButtonDown, POINT{b.GetX() + 1, 1});
             b.Event(e);
         },
         cells[2], cells[1]},
        {"disabled", [](CButtonUI& b) { b.SetEnabled(false); }, cells[3], cells[0]},
    };
    for (const auto& s : states) {
        s.prepare(*four);
        s.prepare(*two);
        root->Paint(canvas.dc(), RECT{0, 0, 60, 30}, nullptr);
        EXPECT_TRUE(Near(canvas.Rgb(15, 15), s.fourColor & 0xFFFFFF)) << s.what;
        EXPECT_TRUE(Near(canvas.Rgb(45, 15), s.twoColor & 0xFFFFFF)) << s.what << ": a missing image falls back";
    }

    // At 150 % the cells come from state@150.png, 45 pixels each: scaled once.
    const uint32_t scaledCells[] = {0xFF00C0C0, 0xFFC000C0, 0xFFC0C0C0, 0xFF404040};
    skin.AddPng(L"state@150.png", 180, 45, [&](int x, int) { return scaledCells[x / 45]; });
    CPaintManagerUI scaled;
    scaled.SetDPI(144);
    auto* button = Make<CButtonUI>(L"width=\"30\" stateimage=\"state.png\" statecount=\"4\"");
    Attach<CHorizontalLayoutUI>(scaled, {button})->SetPos(RECT{0, 0, 45, 45});
    Canvas large(45, 45);
    for (int state = 0; state < 2; ++state) {
        button->Paint(large.dc(), RECT{0, 0, 45, 45}, nullptr);
        EXPECT_TRUE(Near(large.Rgb(40, 40), scaledCells[state] & 0xFFFFFF)) << "state " << state;
        tagTEventUI enter = MakeEvent(EventMouseEnter);
        button->Event(enter);
    }
}

TEST(ProgressBar, TextShowsThePercentageOfANormalisedRange)
{
    CProgressUI bar;
    EXPECT_EQ(bar.GetFixedHeight(), 12);
    bar.SetShowText(true);
    bar.SetValue(20);
    EXPECT_EQ(std::wstring(bar.GetText()), L"20%");
    bar.SetMinValue(50);
    bar.SetMaxValue(50);
    bar.SetValue(50);
    EXPECT_EQ(std::wstring(bar.GetText()), L"0%") << "an empty range is one unit wide";
    EXPECT_EQ(bar.GetMaxValue(), 51);
    bar.SetMinValue(0);
    bar.SetMaxValue(3);
    bar.SetValue(2);
    EXPECT_EQ(std::wstring(bar.GetText()), L"67%");
    bar.SetShowText(false);
    EXPECT_TRUE(bar.GetText().IsEmpty());
    bar.SetValue(1);
    EXPECT_TRUE(bar.GetText().IsEmpty());
}

TEST(ProgressBar, VerticalBarFillsFromTheBottom)
{
    GdiplusSession gdiplus;
    SkinFolder skin;
    skin.AddPng(L"fill.png", 10, 10, [](int, int) { return 0xFF00C000; });
    CPaintManagerUI manager;
    const wchar_t* bar = L"width=\"20\" height=\"40\" hor=\"false\" value=\"25\"";
    auto* byColor = Make<CProgressUI>(bar);
    byColor->SetForeColor(0xFFC00000);
    auto* byImage = Make<CProgressUI>(bar);
    byImage->SetForeImage(L"fill.png");
    auto* root = Attach<CHorizontalLayoutUI>(manager, {byColor, byImage});
    root->SetPos(RECT{0, 0, 40, 40});
    Canvas canvas(40, 40);
    root->Paint(canvas.dc(), RECT{0, 0, 40, 40}, nullptr);
    EXPECT_EQ(canvas.Rgb(10, 29), 0xFFFFFFu);
    EXPECT_TRUE(Near(canvas.Rgb(10, 30), 0xC00000));
    EXPECT_TRUE(Near(canvas.Rgb(10, 39), 0xC00000));
    EXPECT_EQ(canvas.Rgb(30, 29), 0xFFFFFFu);
    EXPECT_TRUE(Near(canvas.Rgb(30, 30), 0x00C000));
    EXPECT_TRUE(Near(canvas.Rgb(30, 39), 0x00C000));
}

// The fore image fills value/range of the width in device pixels at every
// scale, not a width that went through 96-DPI units and back.
TEST(ProgressBar, ForeImageFillsItsShareAtEveryScale)
{
    GdiplusSession gdiplus;
    SkinFolder skin;
    skin.AddPng(L"fill.png", 10, 10, [](int, int) { return 0xFF00C000; });
    const struct {
        int dpi;
        int value;
        int filled;
    } cases[] = {{96, 35, 17}, {120, 24, 12}, {192, 35, 17}, {192, 50, 25}};
    for (const auto& c : cases) {
        CPaintManagerUI manager;
        manager.SetDPI(c.dpi);
        auto* bar = Make<CProgressUI>(L"");
        bar->SetForeImage(L"fill.png");
        bar->SetValue(c.value);
        auto* root = Attach<CHorizontalLayoutUI>(manager, {bar});
        root->SetPos(RECT{0, 0, 50, 40});
        Canvas canvas(50, 40);
        root->Paint(canvas.dc(), RECT{0, 0, 50, 40}, nullptr);
        EXPECT_TRUE(Near(canvas.Rgb(c.filled - 1, 5), 0x00C000)) << c.dpi << " dpi, value " << c.value;
        EXPECT_EQ(canvas.Rgb(c.filled, 5), 0xFFFFFFu) << c.dpi << " dpi, value " << c.value;
    }
}

TEST(Label, TextStyleFromAttributes)
{
    const struct {
        const wchar_t* list;
        UINT style;
    } cases[] = {
        {L"", DT_VCENTER | DT_SINGLELINE},
        {L"align=\"right\"", DT_RIGHT | DT_VCENTER | DT_SINGLELINE},
        {L"align=\"left right\"", DT_RIGHT | DT_VCENTER | DT_SINGLELINE},
        {L"valign=\"bottom\" align=\"center\"", DT_CENTER | DT_BOTTOM | DT_SINGLELINE},
        {L"wordbreak=\"true\"", DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL},
        {L"wordbreak=\"true\" valign=\"vcenter\"", DT_VCENTER | DT_EDITCONTROL | DT_SINGLELINE},
        {L"wordbreak=\"true\" wordbreak=\"false\"", DT_VCENTER | DT_SINGLELINE},
        {L"endellipsis=\"true\" noprefix=\"true\"", DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX},
    };
    for (const auto& c : cases) {
        CLabelUI label;
        label.ApplyAttributeList(c.list);
        EXPECT_EQ(label.GetTextStyle(), c.style) << c.list;
    }
    CLabelUI label;
    label.ApplyAttributeList(
        L"font=\"160\" textcolor=\"#FF3A4642\" disabledtextcolor=\"FFA7B1AD\" textpadding=\"1,2,3,4\"");
    EXPECT_EQ(label.GetFont(), 160);
    EXPECT_EQ(label.GetTextColor(), 0xFF3A4642u);
    EXPECT_EQ(label.GetDisabledTextColor(), 0xFFA7B1ADu);
    EXPECT_EQ(label.GetTextPadding().bottom, 4);
    EXPECT_EQ(CButtonUI().GetTextStyle(), UINT{DT_CENTER | DT_VCENTER | DT_SINGLELINE});
    EXPECT_EQ(CProgressUI().GetTextStyle(), UINT{DT_CENTER | DT_SINGLELINE});
}

TEST(Label, EstimatesItsSizeFromItsFontAndText)
{
    CPaintManagerUI manager;
    const int fontHeight = manager.GetFontInfo(-1)->tm.tmHeight;
    ASSERT_GT(fontHeight, 0);
    auto* root = Attach<CVerticalLayoutUI>(manager, {});
    const struct {
        const wchar_t* list;
        LONG cx, cy;
    } cases[] = {
        {L"width=\"40\" height=\"16\"", 40, 16},
        {L"height=\"30\"", 0, 30},
        {L"", 0, fontHeight + 8},
        {L"textpadding=\"0,2,0,3\"", 0, fontHeight + 13},
        {L"width=\"25\" wordbreak=\"true\"", 25, 0},
    };
    for (const auto& c : cases) {
        auto* label = Make<CLabelUI>(c.list);
        root->Add(label);
        const SIZE size = label->EstimateSize(SIZE{200, 100});
        EXPECT_EQ(size.cx, c.cx) << c.list;
        EXPECT_EQ(size.cy, c.cy) << c.list;
    }

    auto* measured = Make<CLabelUI>(L"text=\"Ferncastle\" autocalcwidth=\"true\" textpadding=\"4,0,6,0\"");
    root->Add(measured);
    const LONG width = measured->EstimateSize(SIZE{200, 100}).cx;
    EXPECT_GT(width, 10 + 5 * fontHeight / 4);
    measured->SetText(L"Ferncastle Ferncastle");
    const LONG longer = measured->EstimateSize(SIZE{200, 100}).cx;
    EXPECT_GT(longer, width) << "a new text is measured again";
    manager.SetDPI(144);
    EXPECT_GT(measured->EstimateSize(SIZE{200, 100}).cx, longer) << "a new scale is measured again";

    auto* tall = Make<CLabelUI>(L"text=\"a b c d e f g h\" width=\"12\" wordbreak=\"true\" autocalcheight=\"true\"");
    root->Add(tall);
    EXPECT_GT(tall->EstimateSize(SIZE{200, 100}).cy, 2 * fontHeight) << "several lines";

    // Asked before it has a manager, a label still measures once it has one.
    auto* early = Make<CLabelUI>(L"");
    EXPECT_EQ(early->EstimateSize(SIZE{200, 100}).cy, 0);
    root->Add(early);
    EXPECT_EQ(early->EstimateSize(SIZE{200, 100}).cy, fontHeight + 8);
}
