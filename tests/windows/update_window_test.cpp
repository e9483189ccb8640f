// The update window's control tree, built by the dialog builder from the
// skin archive, laid out at 380 x 240 and painted into a DIB section: the
// rectangles the layout rules give, and the images drawn where those
// rectangles say. The skin's images are replaced by flat colours, so that
// every pixel of an image tells which image (and which cell of it) landed
// there.
#include "control_tree.h"
#include "dialog_builder.h"
#include "render_canvas.h"

#include <array>
#include <memory>

using namespace SkinUI;

namespace {

using Box = std::array<LONG, 4>;

Box Of(const RECT& rc)
{
    return Box{rc.left, rc.top, rc.right, rc.bottom};
}

const uint32_t kCloseCells[] = {0xFFE03030, 0xFF30E030, 0xFF3030E0};
const uint32_t kMinCells[] = {0xFF30E0E0, 0xFFE030E0, 0xFFE0E030};
const uint32_t kLogo = 0xFF3366CC;
const uint32_t kBarBack = 0xFF808080;
const uint32_t kBarFore = 0xFF20A060;
const uint32_t kWhite = 0xFFFFFF;

class UpdateWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The layout and the fonts it includes come from the built skin
        // archive; the images, loaded when painted, from the test's folder.
        CPaintManagerUI::SetResourcePath(L"");
        CPaintManagerUI::SetResourceZip(FERNCASTLE_SKIN_ZIP, true);
        CDialogBuilder builder;
        root = builder.Create(L"MainFrameWnd.xml", nullptr, nullptr, &manager);
        ASSERT_NE(root, nullptr) << builder.GetMarkup()->GetLastErrorMessage();
        skin = std::make_unique<SkinFolder>();
        skin->AddPng(L"btn_sys_close.png", 90, 30, [](int x, int) { return kCloseCells[x / 30]; });
        skin->AddPng(L"btn_sys_min.png", 90, 30, [](int x, int) { return kMinCells[x / 30]; });
        skin->AddPng(L"logo.png", 94, 94, [](int, int) { return kLogo; });
        skin->AddPng(L"FullBackground.png", 52, 16, [](int, int) { return kBarBack; });
        skin->AddPng(L"PlanBackground.png", 52, 16, [](int, int) { return kBarFore; });
        manager.AttachDialog(root);
        root->SetPos(RECT{0, 0, 380, 240});
    }

    CControlUI* Find(const wchar_t* name) { return manager.FindControl(name); }
    CControlUI* Row(int index) { return static_cast<CContainerUI*>(root)->GetItemAt(index); }
    CProgressUI* Bar() { return static_cast<CProgressUI*>(Find(L"progressinfo")->GetInterface(L"Progress")); }

    void Paint(Canvas& canvas) { root->Paint(canvas.dc(), RECT{0, 0, 380, 240}, nullptr); }

    GdiplusSession gdiplus;
    std::unique_ptr<SkinFolder> skin;
    CPaintManagerUI manager;
    CControlUI* root = nullptr;
};

} // namespace

TEST_F(UpdateWindow, LaysOutToTheSkinsRectangles)
{
    // The fonts of the included Font.xml: the labels' 160 and the default 120.
    EXPECT_EQ(manager.GetFontInfo(160)->iSize, 16);
    EXPECT_EQ(manager.GetDefaultFontInfo()->iSize, 12);
    const LONG rowTops[] = {0, 79, 176, 196, 232};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Row(i)->GetPos().top, rowTops[i]) << "row " << i;
    }
    const struct {
        CControlUI* control;
        Box expected;
    } cases[] = {
        {Row(0), {0, 0, 380, 32}},
        {Find(L"Title"), {10, 5, 170, 29}},
        {Find(L"CloseNormal"), {332, 0, 356, 24}},
        {Find(L"MinNormal"), {356, 0, 380, 24}},
        {static_cast<CContainerUI*>(Row(1))->GetItemAt(0), {30, 79, 121, 176}},
        {Find(L"lab_descript"), {141, 89, 380, 119}},
        {Find(L"lab_version"), {141, 119, 380, 149}},
        {Row(2), {0, 176, 380, 196}},
        {Find(L"progressbody"), {16, 196, 364, 232}},
        {Find(L"planinstalllabe"), {324, 196, 364, 212}},
        {Find(L"progressinfo"), {16, 216, 364, 232}},
        {Row(4), {0, 232, 380, 240}},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.control, nullptr);
        EXPECT_EQ(Of(c.control->GetPos()), c.expected) << c.control->GetName().GetData();
    }
}

TEST_F(UpdateWindow, PaintsItsImagesWhereTheRectanglesSay)
{
    Canvas canvas(380, 240, 0xFF000000);
    Paint(canvas);
    // The root's white background, and the images inside their rectangles.
    EXPECT_EQ(canvas.Rgb(200, 60), kWhite);
    EXPECT_EQ(canvas.Rgb(0, 239), kWhite);
    const struct {
        int x, y;
        uint32_t expected;
    } pixels[] = {
        {333, 1, kCloseCells[0]}, {344, 12, kCloseCells[0]}, {354, 22, kCloseCells[0]}, {331, 12, kWhite},
        {344, 24, kWhite},        {357, 1, kMinCells[0]},    {368, 12, kMinCells[0]},   {379, 22, kMinCells[0]},
        {30, 79, kLogo},          {120, 175, kLogo},         {75, 127, kLogo},          {29, 127, kWhite},
        {121, 127, kWhite},       {75, 78, kWhite},          {75, 176, kWhite},         {16, 216, kBarFore},
        {84, 231, kBarFore},      {85, 216, kBarBack},       {363, 231, kBarBack},      {15, 224, kWhite},
        {364, 224, kWhite},       {200, 215, kWhite},        {200, 232, kWhite},
    };
    for (const auto& p : pixels) {
        EXPECT_TRUE(Near(canvas.Rgb(p.x, p.y), p.expected & 0xFFFFFF)) << p.x << "," << p.y;
    }
}

TEST_F(UpdateWindow, ProgressFillFollowsTheValue)
{
    CProgressUI* bar = Bar();
    EXPECT_EQ(bar->GetValue(), 20);
    bar->SetValue(100);
    Canvas canvas(380, 240, 0xFF000000);
    Paint(canvas);
    EXPECT_TRUE(Near(canvas.Rgb(363, 224), kBarFore & 0xFFFFFF));
    EXPECT_TRUE(Near(canvas.Rgb(16, 224), kBarFore & 0xFFFFFF));

    bar->SetValue(101);
    EXPECT_EQ(bar->GetValue(), 100);
    bar->SetValue(0);
    Paint(canvas);
    EXPECT_TRUE(Near(canvas.Rgb(16, 224), kBarBack & 0xFFFFFF)) << "an empty bar draws no fore image";

    bar->SetMinValue(50);
    bar->SetMaxValue(50);
    Paint(canvas);
    EXPECT_EQ(bar->GetMaxValue(), 51);
    EXPECT_EQ(bar->GetValue(), 50);
}

TEST_F(UpdateWindow, ButtonsShowTheirStateCells)
{
    CControlUI* close = Find(L"CloseNormal");
    Canvas canvas(380, 240, 0xFF000000);
    tagTEventUI enter = MakeEvent(EventMouseEnter, POINT{340, 10});
    close->Event(enter);
    Paint(canvas);
    EXPECT_TRUE(Near(canvas.Rgb(344, 12), kCloseCells[1] & 0xFFFFFF)) << "hot";
    tagTEventUI down = MakeEvent(EventButtonDown, POINT{340, 10});
    close->Event(down);
    Paint(canvas);
    EXPECT_TRUE(Near(canvas.Rgb(344, 12), kCloseCells[2] & 0xFFFFFF)) << "pushed";
    tagTEventUI out = MakeEvent(EventMouseMove, POINT{100, 100});
    close->Event(out);
    Paint(canvas);
    EXPECT_TRUE(Near(canvas.Rgb(344, 12), kCloseCells[1] & 0xFFFFFF)) << "hot again outside while pressed";
}

TEST_F(UpdateWindow, LabelsDrawTheirTextInsideTheirRectangles)
{
    Find(L"lab_descript")->SetText(L"Swiftmere");
    Canvas canvas(380, 240, 0xFF000000);
    Paint(canvas);
    // Dark pixels (the default black text) lie inside the label's rectangle only.
    const auto darkColumns = [&](const RECT& area, LONG& first, LONG& last) {
        first = LONG_MAX;
        last = LONG_MIN;
        for (LONG y = area.top; y < area.bottom; ++y) {
            for (LONG x = area.left; x < area.right; ++x) {
                if ((canvas.Rgb(x, y) & 0xFF) < 0x80) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
    };
    LONG first = 0, last = 0;
    darkColumns(RECT{141, 89, 380, 119}, first, last);
    EXPECT_LT(first, 160) << "left-aligned";
    darkColumns(RECT{141, 80, 380, 89}, first, last);
    EXPECT_EQ(first, LONG_MAX) << "nothing above";
    // "20%" is right-aligned in 324..364.
    darkColumns(RECT{324, 196, 364, 212}, first, last);
    EXPECT_GT(first, 330);
    EXPECT_GE(last, 355);
}
