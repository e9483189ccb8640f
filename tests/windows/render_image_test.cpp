// Images drawn into a DIB section, checked against pixels computed from the
// drawing rules: exact where GDI copies 1:1, within 1 per channel where it
// stretches or blends.
#include "render_canvas.h"
#include "render_system.h"

using namespace SkinUI;

namespace {

// A 20 x 8 opaque image whose every pixel tells where it came from.
uint32_t GridPixel(int x, int y)
{
    return 0xFF000040u | static_cast<uint32_t>(x * 12) << 16 | static_cast<uint32_t>(y * 30) << 8;
}

// Source-over of a straight colour with alpha a, faded, onto an opaque background.
uint32_t Blend(uint32_t color, int a, int fade, uint32_t background)
{
    const int sa = a * fade / 255;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int s = static_cast<int>((color >> shift) & 0xFF) * sa / 255;
        const int d = static_cast<int>((background >> shift) & 0xFF);
        out |= static_cast<uint32_t>(s + d * (255 - sa) / 255) << shift;
    }
    return out;
}

// Counts the pixels of [0, w) x [0, h) that differ from expected(x, y)
// (skip(x, y) leaves a pixel out) and reports the first.
::testing::AssertionResult Matches(const Canvas& canvas, int w, int h,
                                   const std::function<uint32_t(int, int)>& expected, int tolerance,
                                   const std::function<bool(int, int)>& skip = nullptr)
{
    int bad = 0;
    std::string first;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if ((!skip || !skip(x, y)) && !Near(canvas.Rgb(x, y), expected(x, y) & 0xFFFFFF, tolerance)) {
                if (bad++ == 0) {
                    first = "(" + std::to_string(x) + "," + std::to_string(y) + ")";
                }
            }
        }
    }
    if (bad == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << bad << " pixels differ, first at " << first;
}

class RenderImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        skin.AddPng(L"grid.png", 20, 8, GridPixel);
        skin.AddPng(L"half.png", 4, 1, [](int x, int) {
            const uint32_t pixels[] = {0xFFFF0000, 0x8000FF00, 0x00FFFFFF, 0xFF0000FF};
            return pixels[x];
        });
        skin.AddPng(L"strip.png", 90, 30, [](int x, int) {
            return x < 30 ? 0xFFFF0000 : x < 60 ? 0xFF00FF00 : 0xFF0000FF;
        });
        skin.AddPng(L"logo.png", 2, 2, [](int, int) { return 0xFF3366CC; });
        skin.AddPng(L"masked.png", 2, 1, [](int x, int) { return x == 0 ? 0xFFFF00FF : 0xFF00FF00; });
        skin.AddPng(L"img.png", 30, 30, [](int, int) { return 0xFF0000FF; });
        skin.AddPng(L"img@150.png", 90, 45, [](int x, int) {
            return x < 30 ? 0xFF00FF00 : x < 45 ? 0xFFFF0000 : 0xFF000000;
        });
    }

    SkinFolder skin;
    CPaintManagerUI manager;
};

} // namespace

TEST(RenderNineGrid, CornersAndTilesAreCopiedOneToOne)
{
    HBITMAP image = MakeBitmap(20, 8, GridPixel);
    for (int width : {200, 205}) {
        Canvas canvas(width + 10, 20);
        const RECT all{0, 0, width + 10, 20};
        CRenderEngine::DrawImage(canvas.dc(), image, RECT{0, 0, width, 16}, all, RECT{0, 0, 20, 8}, RECT{5, 3, 5, 3},
                                 false, 255, false, true, true);
        // 19 (or 20, the last cut to 5 pixels) columns of 10 and 5 rows of 2.
        const auto source = [width](int x, int y) {
            const int sx = x < 5 ? x : x >= width - 5 ? x - (width - 20) : 5 + (x - 5) % 10;
            const int sy = y < 3 ? y : y >= 13 ? y - 8 : 3 + (y - 3) % 2;
            return GridPixel(sx, sy);
        };
        // Edges are stretched along their length: only their row or column is kept.
        const auto edge = [width](int x, int y) { return (x < 5 || x >= width - 5) != (y < 3 || y >= 13); };
        EXPECT_TRUE(Matches(canvas, width, 16, source, 0, edge)) << width;
        EXPECT_EQ(canvas.Rgb(width, 0), 0xFFFFFFu);
        EXPECT_EQ(canvas.Rgb(0, 16), 0xFFFFFFu);
    }
    DeleteObject(image);
}

TEST(RenderNineGrid, CornersWiderThanTheDestinationAreNotMirrored)
{
    HBITMAP image = MakeBitmap(20, 8, GridPixel);
    Canvas canvas(12, 6);
    CRenderEngine::DrawImage(canvas.dc(), image, RECT{0, 0, 8, 4}, RECT{0, 0, 12, 6}, RECT{0, 0, 20, 8},
                             RECT{5, 3, 5, 3}, false);
    // Top-left, top-right, bottom-left and bottom-right overlap, the later on
    // top; edges and middle would be reversed and are left out.
    const auto expected = [](int x, int y) {
        if (x >= 8 || y >= 4) {
            return 0xFFFFFFFFu;
        }
        return GridPixel(x >= 3 ? 15 + x - 3 : x, y >= 1 ? 5 + y - 1 : y);
    };
    EXPECT_TRUE(Matches(canvas, 12, 6, expected, 0));
    DeleteObject(image);
}

TEST(RenderNineGrid, SoftwareBlendMatchesTheSystemBlend)
{
    HBITMAP image = MakeBitmap(2, 1, [](int x, int) { return x == 0 ? 0xFFFF0000 : 0x80008000; });
    Canvas system(4, 1, 0xFF808080), software(4, 1, 0xFF808080);
    CRenderEngine::DrawImage(system.dc(), image, RECT{0, 0, 4, 1}, RECT{0, 0, 4, 1}, RECT{0, 0, 2, 1}, RECT{}, true);
    SoftwareAlphaBlend(software.dc(), RECT{0, 0, 4, 1}, image, RECT{0, 0, 2, 1}, 255);
    const auto expected = [](int x, int) { return x < 2 ? 0xFF0000u : Blend(0x00FF00, 128, 255, 0x808080); };
    EXPECT_TRUE(Matches(software, 4, 1, expected, 1));
    EXPECT_TRUE(Near(system.Rgb(0, 0), 0xFF0000));
    EXPECT_TRUE(Near(system.Rgb(3, 0), Blend(0x00FF00, 128, 255, 0x808080)));
    DeleteObject(image);
}

TEST_F(RenderImage, DrawStringsPlaceCutFadeAndBlend)
{
    struct Case {
        const wchar_t* draw;
        RECT control;
        uint32_t background;
        std::function<uint32_t(int, int)> expected;
        int tolerance;
    };
    const Case cases[] = {
        // A source reaching past the image is cut at its edges (then 1:1).
        {L"file='grid.png' source='10,4,40,20'",
         {0, 0, 10, 4},
         0xFFFFFF,
         [](int x, int y) { return GridPixel(10 + x, 4 + y); },
         0},
        {L"file='grid.png' fade='128'",
         {0, 0, 20, 8},
         0xFFFFFF,
         [](int x, int y) { return Blend(GridPixel(x, y), 255, 128, 0xFFFFFF); },
         1},
        // Opaque, half-transparent and fully transparent pixels.
        {L"file='half.png'",
         {0, 0, 4, 1},
         0x808080,
         [](int x, int) {
             const uint32_t pixels[] = {0xFF0000, Blend(0x00FF00, 128, 255, 0x808080), 0x808080, 0x0000FF};
             return pixels[x];
         },
         1},
        // The hot state of a button strip, stretched to 24 x 24.
        {L"file='strip.png' source='30,0,60,30'", {0, 0, 24, 24}, 0xFFFFFF, [](int, int) { return 0x00FF00u; }, 1},
        // A bare file name: the whole image over the whole control.
        {L"logo.png", {0, 0, 10, 10}, 0xFFFFFF, [](int, int) { return 0x3366CCu; }, 1},
        // A destination larger than the control is cut at its edges.
        {L"file='logo.png' dest='2,2,100,100'",
         {0, 0, 10, 6},
         0xFFFFFF,
         [](int x, int y) { return x >= 2 && y >= 2 && x < 10 && y < 6 ? 0x3366CCu : 0xFFFFFFu; },
         1},
    };
    for (const Case& c : cases) {
        Canvas canvas(c.control.right + 4, c.control.bottom + 4, 0xFF000000 | c.background);
        const RECT paint{0, 0, canvas.w, canvas.h};
        EXPECT_TRUE(CRenderEngine::DrawImageString(canvas.dc(), &manager, c.control, paint, c.draw));
        const auto expected = [&](int x, int y) {
            return x < c.control.right && y < c.control.bottom ? c.expected(x, y) : c.background;
        };
        EXPECT_TRUE(Matches(canvas, canvas.w, canvas.h, expected, c.tolerance)) << testing::PrintToString(c.draw);
    }
}

TEST_F(RenderImage, AtOneHundredFiftyPercentTheScaledFileAndSourceAreUsed)
{
    manager.SetDPI(144);
    Canvas canvas(45, 45);
    EXPECT_TRUE(CRenderEngine::DrawImageString(canvas.dc(), &manager, RECT{0, 0, 45, 45}, RECT{0, 0, 45, 45},
                                               L"file='img.png' source='0,0,30,30'"));
    // img@150.png, source 0,0,45,45 copied 1:1.
    EXPECT_TRUE(Matches(
        canvas, 45, 45, [](int x, int) { return x < 30 ? 0x00FF00u : 0xFF0000u; }, 0));
}

// Without a file for the scale, the nearest smaller scale's file is
// stretched into the scaled destination, else the 100 % image.
TEST_F(RenderImage, AScaleWithoutItsFileDrawsTheNearestSmallerOne)
{
    const struct {
        int dpi;
        LONG size;
        uint32_t left, right;
        int split;
    } cases[] = {
        // 175 %: img@150.png's 0-45 (green to 30, red to 45) over 52 pixels.
        {168, 52, 0x00FF00, 0xFF0000, 35},
        // 200 %: no img@175.png either, so img@150.png again, over 60 pixels.
        {192, 60, 0x00FF00, 0xFF0000, 40},
        // 125 %: img.png, all blue, over 37 pixels.
        {120, 37, 0x0000FF, 0x0000FF, 37},
        // 75 %: below every scaled file, img.png over 23 pixels.
        {72, 23, 0x0000FF, 0x0000FF, 23},
    };
    for (const auto& c : cases) {
        manager.SetDPI(c.dpi);
        Canvas canvas(64, 64, 0xFF808080);
        EXPECT_TRUE(CRenderEngine::DrawImageString(canvas.dc(), &manager, RECT{0, 0, c.size, c.size},
                                                   RECT{0, 0, 64, 64}, L"file='img.png' source='0,0,30,30'"));
        const auto expected = [&](int x, int y) {
            return x >= c.size || y >= c.size ? 0x808080u : x < c.split ? c.left : c.right;
        };
        // Where the stretch meets the two colours, they blend.
        const auto seam = [&](int x, int y) { return y < c.size && x >= c.split - 2 && x <= c.split + 1; };
        EXPECT_TRUE(Matches(canvas, 64, 64, expected, 8, seam)) << c.dpi;
    }

    // A file found missing is not looked for at every paint: one that
    // appears is taken once the scale is set again.
    skin.AddPng(L"img@125.png", 37, 37, [](int, int) { return 0xFF000000; });
    const auto drawn = [&] {
        Canvas canvas(37, 37);
        CRenderEngine::DrawImageString(canvas.dc(), &manager, RECT{0, 0, 37, 37}, RECT{0, 0, 37, 37},
                                       L"file='img.png' source='0,0,30,30'");
        return canvas.Rgb(18, 18);
    };
    EXPECT_EQ(drawn(), 0x0000FFu) << "still the 100 % image";
    manager.SetDPI(120);
    EXPECT_EQ(drawn(), 0x000000u) << "the new file";
}

TEST_F(RenderImage, LoadingPremultipliesAndMasks)
{
    std::unique_ptr<tagTImageInfo> half(CRenderEngine::LoadImage(L"half.png"));
    ASSERT_TRUE(half);
    EXPECT_EQ(half->nX, 4);
    EXPECT_TRUE(half->bAlpha);
    EXPECT_EQ(half->pBits[0], 0xFFFF0000u);
    EXPECT_EQ(half->pBits[1], 0x80008000u) << "255 * 128 / 255";
    EXPECT_EQ(half->pBits[2], 0u);

    std::unique_ptr<tagTImageInfo> masked(CRenderEngine::LoadImage(L"masked.png", nullptr, 0xFFFF00FF));
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->pBits[0], 0u);
    EXPECT_EQ(masked->pBits[1], 0xFF00FF00u);
    EXPECT_TRUE(masked->bAlpha);
    std::unique_ptr<tagTImageInfo> opaque(CRenderEngine::LoadImage(L"masked.png"));
    EXPECT_FALSE(opaque->bAlpha);

    EXPECT_EQ(CRenderEngine::LoadImage(L"missing.png"), nullptr);
}

TEST_F(RenderImage, MissingPiecesDrawNothing)
{
    Canvas canvas(10, 10);
    const RECT rc{0, 0, 10, 10};
    EXPECT_FALSE(CRenderEngine::DrawImageString(nullptr, &manager, rc, rc, L"logo.png"));
    EXPECT_FALSE(CRenderEngine::DrawImageString(canvas.dc(), nullptr, rc, rc, L"logo.png"));
    EXPECT_FALSE(CRenderEngine::DrawImageString(canvas.dc(), &manager, rc, rc, L"file='missing.png'"));
    const tagTDrawInfo unnamed;
    EXPECT_FALSE(CRenderEngine::DrawImageInfo(canvas.dc(), &manager, rc, rc, &unnamed)) << "an empty image name";
    // Outside the paint rectangle: done, nothing drawn.
    EXPECT_TRUE(CRenderEngine::DrawImageString(canvas.dc(), &manager, rc, RECT{20, 20, 30, 30}, L"logo.png"));
    EXPECT_EQ(manager.GetImage(L"missing.png"), nullptr) << "a miss is not cached";
    EXPECT_TRUE(Matches(
        canvas, 10, 10, [](int, int) { return 0xFFFFFFu; }, 0));
}
