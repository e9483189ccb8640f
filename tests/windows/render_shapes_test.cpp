// Colours, gradients, lines, rectangles and clips drawn into a DIB section.
#include "render_canvas.h"
#include "render_clip.h"
#include "render_system.h"

using namespace SkinUI;

namespace {

uint32_t Mix(uint32_t a, uint32_t b, int weightOfB)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        out |= static_cast<uint32_t>(ca + (cb - ca) * weightOfB / 255) << shift;
    }
    return out;
}

} // namespace

TEST(RenderShapes, ColoursBlendByTheirAlpha)
{
    GdiplusSession gdiplus;
    Canvas canvas(30, 10);
    CRenderEngine::DrawColor(canvas.dc(), RECT{0, 0, 10, 10}, 0xFF112233);
    CRenderEngine::DrawColor(canvas.dc(), RECT{10, 0, 20, 10}, 0x80FF0000);
    CRenderEngine::DrawColor(canvas.dc(), RECT{20, 0, 30, 10}, 0x00FF0000);
    EXPECT_EQ(canvas.Rgb(0, 0), 0x112233u);
    EXPECT_EQ(canvas.Rgb(9, 9), 0x112233u);
    EXPECT_TRUE(Near(canvas.Rgb(15, 5), Mix(0xFFFFFF, 0xFF0000, 0x80), 2));
    EXPECT_EQ(canvas.Rgb(25, 5), 0xFFFFFFu) << "alpha 0 draws nothing";
}

TEST(RenderShapes, GradientsRunFromTheFirstColour)
{
    struct Case {
        DWORD first, second;
        bool vertical;
        uint32_t start, end;
    };
    const Case cases[] = {
        {0xFFFF0000, 0xFF0000FF, false, 0xFF0000, 0x0000FF},
        {0xFF00FF00, 0xFF000000, true, 0x00FF00, 0x000000},
        // Opaque to fully transparent: both ends at constant alpha 127.
        {0xFF0000FF, 0x00FF0000, false, Mix(0xFFFFFF, 0x0000FF, 127), Mix(0xFFFFFF, 0xFF0000, 127)},
    };
    for (const Case& c : cases) {
        Canvas canvas(64, 64);
        CRenderEngine::DrawGradient(canvas.dc(), RECT{0, 0, 64, 64}, c.first, c.second, c.vertical, 64);
        EXPECT_TRUE(Near(canvas.Rgb(0, 0), c.start, 6)) << std::hex << c.first;
        EXPECT_TRUE(Near(canvas.Rgb(63, 63), c.end, 6)) << std::hex << c.second;
        EXPECT_TRUE(Near(canvas.Rgb(32, 32), Mix(c.start, c.end, 128), 6));
    }
    Canvas none(4, 4);
    CRenderEngine::DrawGradient(none.dc(), RECT{0, 0, 4, 4}, 0x00FF0000, 0x010000FF, false, 64);
    EXPECT_EQ(none.Rgb(0, 0), 0xFFFFFFu) << "average alpha 0";

    // Without the system's gradient fill: four bands for four steps.
    Canvas bands(8, 2);
    DrawGradientBands(bands.dc(), RECT{0, 0, 8, 2}, 0xFFFF0000, 0xFF0000FF, false, 4);
    const uint32_t expected[] = {0xFF0000, 0xBF003F, 0x7F007F, 0x3F00BF};
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(bands.Rgb(x, 1), expected[x / 2]) << x;
    }
}

TEST(RenderShapes, LinesAndRectangleOutlines)
{
    GdiplusSession gdiplus;
    Canvas canvas(40, 20);
    CRenderEngine::DrawLine(canvas.dc(), RECT{2, 15, 12, 15}, 1, 0x00FF0000);
    EXPECT_EQ(canvas.Rgb(2, 15), 0xFF0000u) << "alpha is dropped";
    EXPECT_EQ(canvas.Rgb(11, 15), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(12, 15), 0xFFFFFFu);

    CRenderEngine::DrawRect(canvas.dc(), RECT{0, 0, 10, 10}, 1, 0xFF0000FF);
    EXPECT_EQ(canvas.Rgb(0, 5), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(9, 5), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(5, 9), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(5, 5), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(10, 5), 0xFFFFFFu);

    CRenderEngine::DrawRoundRect(canvas.dc(), RECT{20, 0, 40, 20}, 1, 10, 10, 0xFF00FF00);
    EXPECT_EQ(canvas.Rgb(20, 0), 0xFFFFFFu) << "the corner is round";
    EXPECT_LT(canvas.Rgb(30, 0) & 0xFF, 0x80u) << "the edge is drawn";
    EXPECT_EQ(canvas.Rgb(30, 10), 0xFFFFFFu);
}

TEST(RenderShapes, ClipsNarrowAndComeBack)
{
    Canvas canvas(20, 20);
    const RECT all{0, 0, 20, 20};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    {
        CRenderClip outer;
        CRenderClip::GenerateClip(canvas.dc(), RECT{0, 0, 10, 20}, outer);
        CRenderClip inner;
        CRenderClip::GenerateRoundClip(canvas.dc(), RECT{0, 0, 20, 10}, RECT{0, 0, 20, 10}, 6, 6, inner);
        FillRect(canvas.dc(), &all, red);
        EXPECT_EQ(canvas.Rgb(5, 5), 0xFF0000u);
        EXPECT_EQ(canvas.Rgb(0, 0), 0xFFFFFFu) << "round corner";
        EXPECT_EQ(canvas.Rgb(15, 5), 0xFFFFFFu) << "outside the outer clip";
        EXPECT_EQ(canvas.Rgb(5, 15), 0xFFFFFFu);

        CRenderClip::UseOldClipBegin(canvas.dc(), inner);
        FillRect(canvas.dc(), &all, blue);
        CRenderClip::UseOldClipEnd(canvas.dc(), inner);
        EXPECT_EQ(canvas.Rgb(5, 15), 0x0000FFu) << "the outer clip only";
        EXPECT_EQ(canvas.Rgb(15, 15), 0xFFFFFFu);
        FillRect(canvas.dc(), &all, red);
        EXPECT_EQ(canvas.Rgb(5, 15), 0x0000FFu) << "both clips again";
    }
    FillRect(canvas.dc(), &all, red);
    EXPECT_EQ(canvas.Rgb(19, 19), 0xFF0000u) << "no clip left";
    DeleteObject(red);
    DeleteObject(blue);
}
