// Text in the update window's fonts, drawn with GDI and with GDI+: where it
// lands and in which colour, not the shapes of its glyphs.
#include "font_info.h"
#include "gdiplus_flat.h"
#include "render_canvas.h"
#include "text_format_flags.h"

using namespace SkinUI;

namespace {

const wchar_t* const kYaHei = L"\u5FAE\u8F6F\u96C5\u9ED1";

// The skin's Font.xml: ten fonts, 120 the default.
void RegisterSkinFonts(CPaintManagerUI& manager)
{
    const int fonts[][5] = {{120, 12, 0, 0, 1}, {121, 12, 1, 0, 0}, {122, 12, 0, 1, 0}, {130, 13, 0, 0, 0},
                            {140, 14, 0, 0, 0}, {150, 15, 0, 0, 0}, {160, 16, 0, 0, 0}, {200, 20, 0, 0, 0},
                            {240, 24, 0, 0, 0}, {300, 30, 0, 0, 0}};
    for (const auto& f : fonts) {
        manager.AddFont(f[0], kYaHei, f[1], f[2] != 0, f[3] != 0, false);
        if (f[4]) {
            manager.SetDefaultFont(kYaHei, f[1], f[2] != 0, f[3] != 0, false);
        }
    }
}

struct Ink {
    int count = 0;
    bool outside = false;
    uint32_t darkest = 0xFFFFFF;
};

// The pixels that are no longer white.
Ink Inked(const Canvas& canvas, const RECT& rc)
{
    Ink ink;
    for (int y = 0; y < canvas.h; ++y) {
        for (int x = 0; x < canvas.w; ++x) {
            const uint32_t p = canvas.Rgb(x, y);
            if (p == 0xFFFFFF) {
                continue;
            }
            ++ink.count;
            ink.outside |= x < rc.left || x >= rc.right || y < rc.top || y >= rc.bottom;
            if ((p & 0xFF) < (ink.darkest & 0xFF)) {
                ink.darkest = p;
            }
        }
    }
    return ink;
}

} // namespace

TEST(RenderText, TextLandsInsideItsRectangleInItsColour)
{
    GdiplusSession gdiplus;
    CPaintManagerUI manager;
    RegisterSkinFonts(manager);
    for (bool gdiplusText : {false, true}) {
        manager.SetUseGdiplusText(gdiplusText);
        Canvas canvas(200, 60);
        RECT rc{20, 10, 180, 50};
        CRenderEngine::DrawText(canvas.dc(), &manager, rc, L"Ferncastle \u7248\u672C\u66F4\u65B0", 0xFF202080, 160,
                                DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        const Ink ink = Inked(canvas, RECT{20, 10, 180, 50});
        EXPECT_GT(ink.count, 100) << gdiplusText;
        EXPECT_FALSE(ink.outside) << gdiplusText;
        EXPECT_TRUE(Near(ink.darkest, 0x202080, 48)) << gdiplusText;

        RECT measured{20, 10, 1000, 1000};
        CRenderEngine::DrawText(canvas.dc(), &manager, measured, L"Ferncastle", 0xFF000000, 300,
                                DT_SINGLELINE | DT_CALCRECT);
        EXPECT_GT(measured.right - measured.left, 60) << gdiplusText;
        EXPECT_GE(measured.bottom - measured.top, 28) << gdiplusText;
        EXPECT_LT(measured.bottom - measured.top, 60) << gdiplusText;
    }
}

TEST(RenderText, UnregisteredFontIsTheDefaultAndCharacterReferencesDrawOneCharacter)
{
    CPaintManagerUI manager;
    RegisterSkinFonts(manager);
    const auto draw = [&](const wchar_t* text, int font) {
        auto canvas = std::make_unique<Canvas>(60, 30);
        RECT rc{0, 0, 60, 30};
        CRenderEngine::DrawText(canvas->dc(), &manager, rc, text, 0xFF000000, font, DT_SINGLELINE);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 60; ++x) {
                pixels.push_back(canvas->Rgb(x, y));
            }
        }
        return pixels;
    };
    EXPECT_EQ(draw(L"20%", 1), draw(L"20%", 120));
    EXPECT_NE(draw(L"20%", 1), draw(L"20%", 300));
    EXPECT_EQ(draw(L"x&#x41; ", 120), draw(L"A", 120));
    EXPECT_EQ(draw(L"&#x4E2D;", 120), draw(L"\u4E2D", 120));
    EXPECT_EQ(draw(L"&#x", 120), draw(L"", 120)) << "nothing after the marker";
    const auto measure = [&](const wchar_t* text) {
        Canvas canvas(10, 10);
        RECT rc{0, 0, 9999, 9999};
        CRenderEngine::DrawText(canvas.dc(), &manager, rc, text, 0xFF000000, 120, DT_SINGLELINE | DT_CALCRECT);
        return std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom};
    };
    EXPECT_EQ(measure(L"&#x;"), measure(L"")) << "an empty reference measures as empty";
}

TEST(RenderText, GdiplusTextClipsUnlessAskedNotTo)
{
    constexpr INT kNoClip = Gdiplus::StringFormatFlagsNoClip;
    constexpr INT kNoWrap = Gdiplus::StringFormatFlagsNoWrap;
    const struct {
        UINT style;
        INT flags;
    } cases[] = {
        {0, 0},
        {DT_SINGLELINE, kNoWrap},
        {DT_NOCLIP, kNoClip},
        {DT_CALCRECT, kNoClip},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextFormatFlags(kNoClip, c.style), c.flags) << c.style;
    }
}
