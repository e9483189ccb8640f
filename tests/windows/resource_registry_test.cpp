// A window's resource registries and the shared set behind them; DPI
// scaling and colour adjustment.
#include "draw_info.h"
#include "font_info.h"
#include "render_canvas.h"

#include <string>

using namespace SkinUI;

namespace {

std::wstring Str(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring(L"<null>");
}

LONG FontHeight(HFONT font)
{
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    return lf.lfHeight;
}

class ResourceRegistry : public ::testing::Test {
protected:
    // Nothing shared survives a test.
    void TearDown() override { CPaintManagerUI::Term(); }
};

} // namespace

TEST_F(ResourceRegistry, FontsByNumberWithTheDefaultBehind)
{
    CPaintManagerUI manager;
    EXPECT_NE(manager.GetFont(-1), nullptr) << "the shared default is the GUI font";
    manager.SetDefaultFont(L"\u5FAE\u8F6F\u96C5\u9ED1", 12, false, false, false);
    HFONT font120 = manager.AddFont(120, L"\u5FAE\u8F6F\u96C5\u9ED1", 12, false, false, false);
    HFONT font160 = manager.AddFont(160, L"\u5FAE\u8F6F\u96C5\u9ED1", 16, true, false, false);
    ASSERT_NE(font160, nullptr);
    EXPECT_EQ(manager.GetFont(1), manager.GetDefaultFontInfo()->hFont) << "unregistered: the default";
    EXPECT_EQ(manager.GetFont(-1), manager.GetDefaultFontInfo()->hFont);
    EXPECT_EQ(manager.GetFont(120), font120);
    EXPECT_EQ(manager.GetFontIndex(font160), 160);
    EXPECT_EQ(manager.GetFontIndex(nullptr), -1);
    const tagTFontInfo* info = manager.GetFontInfo(160);
    EXPECT_EQ(Str(info->sFontName), L"\u5FAE\u8F6F\u96C5\u9ED1");
    EXPECT_EQ(info->iSize, 16);
    EXPECT_TRUE(info->bBold);
    EXPECT_GT(info->tm.tmHeight, 0) << "measured on first use";
    EXPECT_EQ(FontHeight(font160), -16);

    HFONT again = manager.AddFont(160, nullptr, 20, false, false, false);
    EXPECT_EQ(manager.GetFont(160), again);
    EXPECT_EQ(GetObjectType(font160), 0u) << "the replaced font is deleted";
    manager.RemoveFont(160);
    EXPECT_EQ(manager.GetFont(160), manager.GetDefaultFontInfo()->hFont);
}

TEST_F(ResourceRegistry, OwnEntriesHideSharedOnes)
{
    CPaintManagerUI first, second;
    HFONT shared = first.AddFont(120, nullptr, 12, false, false, false, true);
    HFONT own = second.AddFont(120, nullptr, 14, false, false, false);
    EXPECT_EQ(first.GetFont(120), shared);
    EXPECT_EQ(second.GetFont(120), own);

    first.AddStyle(L"title", L"font=\"160\"", true);
    first.AddStyle(L"title", L"font=\"300\"", true);
    second.AddStyle(L"title", L"font=\"200\"");
    EXPECT_EQ(Str(first.GetStyle(L"title")), L"font=\"160\"") << "the first value stays";
    EXPECT_EQ(Str(second.GetStyle(L"title")), L"font=\"200\"");

    first.AddDefaultAttributeList(L"Label", L"textcolor=\"#FF3A4642\"", true);
    first.AddDefaultAttributeList(L"Label", L"textcolor=\"#FF1F9D6B\"", true);
    EXPECT_EQ(Str(second.GetDefaultAttributeList(L"Label")), L"textcolor=\"#FF1F9D6B\"") << "replaced";
    EXPECT_TRUE(second.RemoveDefaultAttributeList(L"Label", true));
    EXPECT_EQ(first.GetDefaultAttributeList(L"Label"), nullptr);

    second.SetForceUseSharedRes(true);
    second.AddStyle(L"forced", L"x");
    EXPECT_EQ(Str(first.GetStyle(L"forced")), L"x");

    CPaintManagerUI::Term();
    EXPECT_EQ(first.GetStyle(L"title"), nullptr) << "Term frees the shared set";
    EXPECT_EQ(GetObjectType(shared), 0u) << "Term deletes the shared fonts";
    EXPECT_NE(first.GetFont(120), shared);
}

TEST_F(ResourceRegistry, DefaultColoursAreCopiedFromTheSharedSet)
{
    CPaintManagerUI first;
    EXPECT_EQ(first.GetDefaultDisabledColor(), 0xFFA7A6AAu);
    EXPECT_EQ(first.GetDefaultFontColor(), 0xFF000000u);
    EXPECT_EQ(first.GetDefaultLinkFontColor(), 0xFF0000FFu);
    EXPECT_EQ(first.GetDefaultLinkHoverFontColor(), 0xFFD3215Fu);
    EXPECT_EQ(first.GetDefaultSelectedBkColor(), 0xFFBAE4FFu);
    first.SetDefaultFontColor(0xFF6299FE, true);
    first.SetDefaultLinkFontColor(0xFF123456);
    EXPECT_EQ(first.GetDefaultFontColor(), 0xFF000000u) << "copied at construction";
    EXPECT_EQ(first.GetDefaultLinkFontColor(), 0xFF123456u);
    CPaintManagerUI second;
    EXPECT_EQ(second.GetDefaultFontColor(), 0xFF6299FEu);
    first.SetDefaultFontColor(0xFF000000, true);
}

TEST_F(ResourceRegistry, ImagesAndParsedDrawStrings)
{
    SkinFolder skin;
    skin.AddPng(L"red.png", 2, 2, [](int, int) { return 0xFFFF0000; });
    CPaintManagerUI manager;
    EXPECT_EQ(manager.AddImage(L""), nullptr);
    EXPECT_EQ(manager.AddImage(L"red.png", L"PNG"), nullptr) << "a resource type wants a number";
    const tagTImageInfo* resource = manager.AddImage(L"130", L"PNG");
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->nX, 120); // btn_sys_close.png: four 30-pixel frames
    EXPECT_EQ(Str(resource->sResType), L"PNG");
    EXPECT_EQ(manager.AddImage(L"131", L"PNG"), nullptr);
    EXPECT_EQ(manager.GetImageEx(L"none.png"), nullptr);
    const tagTImageInfo* image = manager.GetImageEx(L"red.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(manager.GetImage(L"red.png"), image);
    manager.RemoveImage(L"red.png");
    EXPECT_EQ(manager.GetImage(L"red.png"), nullptr);

    const tagTDrawInfo* info = manager.GetDrawInfo(L"file='red.png'", L"fade='10'");
    EXPECT_EQ(manager.GetDrawInfo(L"file='red.png'", L"fade='10'"), info);
    EXPECT_EQ(info->uFade, 10);
    EXPECT_NE(manager.GetDrawInfo(L"a", L"bc"), manager.GetDrawInfo(L"ab", L"c"));
}

TEST_F(ResourceRegistry, DpiScalesLengthsAndFonts)
{
    CDPI dpi;
    EXPECT_EQ(dpi.GetScale(), 100u);
    dpi.SetScale(144);
    EXPECT_EQ(dpi.GetScale(), 150u);
    EXPECT_EQ(dpi.GetDPI(), 144u);
    EXPECT_EQ(dpi.Scale(10), 15);
    EXPECT_EQ(dpi.ScaleBack(15), 10);
    const RECT rc = dpi.Scale(RECT{2, 4, 6, 8});
    EXPECT_EQ(rc.left + rc.top + rc.right + rc.bottom, 3 + 6 + 9 + 12);
    EXPECT_EQ(dpi.Scale(SIZE{10, 20}).cy, 30);
    EXPECT_GT(CDPI::GetMainMonitorDPI(), 0);
    // System aware, the first scale (100) stays; a refusal changes nothing
    // (Wine keeps every process per-monitor aware).
    if (dpi.SetDPIAwareness(UI_SYSTEM_DPI_AWARE)) {
        EXPECT_EQ(dpi.GetScale(), 100u);
    } else {
        EXPECT_EQ(dpi.GetScale(), 150u) << "a refused change keeps the scale";
    }

    CPaintManagerUI manager;
    manager.AddFont(120, nullptr, 12, false, false, false);
    const tagTDrawInfo* before = manager.GetDrawInfo(L"file='a.png' corner='2,2,2,2'", nullptr);
    EXPECT_EQ(before->rcCorner.left, 2);
    manager.SetDPI(144);
    EXPECT_EQ(FontHeight(manager.GetFont(120)), -18) << "fonts are made again";
    const tagTDrawInfo* after = manager.GetDrawInfo(L"file='a.png' corner='2,2,2,2'", nullptr);
    EXPECT_EQ(after->rcCorner.left, 3);
    EXPECT_EQ(Str(after->sImageName), L"a@150.png");
}

TEST_F(ResourceRegistry, ColourAdjustmentIsClampedAndReachesImages)
{
    SkinFolder skin;
    skin.AddPng(L"red.png", 1, 1, [](int, int) { return 0xFFFF0000; });
    CPaintManagerUI manager;
    const tagTImageInfo* adjusted = manager.AddImage(L"red.png", nullptr, 0, true);
    const tagTImageInfo* plain = manager.AddImage(L"red.png", nullptr, 0, false, true);
    ASSERT_TRUE(adjusted && plain);

    CPaintManagerUI::SetHSL(true, 400, -5, 250);
    short h = 0, s = 0, l = 0;
    EXPECT_TRUE(CPaintManagerUI::GetHSL(&h, &s, &l));
    EXPECT_EQ(h, 360);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(l, 200);

    CPaintManagerUI::SetHSL(true, 300, 100, 100);
    EXPECT_TRUE(Near(adjusted->pBits[0], 0x00FF00, 1)) << "red + 120 degrees";
    EXPECT_EQ(plain->pBits[0], 0xFFFF0000u) << "only images that use it";
    CPaintManagerUI::SetHSL(false, 300, 100, 100);
    EXPECT_EQ(adjusted->pBits[0], 0xFFFF0000u) << "switching off restores the pixels";
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
    CPaintManagerUI::SetHSL(false, 180, 100, 100);
    EXPECT_FALSE(CPaintManagerUI::GetHSL(nullptr, nullptr, nullptr));
}
