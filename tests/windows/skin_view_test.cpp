// skin-view.exe --screenshot of the built skin archive's update window:
// every pixel is checked against what the layout's rules put there, with
// the skin's own images (scaled to their rectangles and laid over the white
// background) as the reference for the images.
#include "child_process.h"

#include <gtest/gtest.h>

#include <stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <windows.h>

namespace {

struct Box {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct Rgb {
    int r, g, b;
};

class Image {
public:
    explicit Image(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        int channels = 0;
        stbi_uc* data = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                              static_cast<int>(bytes.size()), &w, &h, &channels, 4);
        if (data) {
            pixels.assign(data, data + static_cast<size_t>(w) * h * 4);
            stbi_image_free(data);
        }
    }
    bool Loaded() const { return !pixels.empty(); }
    const stbi_uc* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * w + x) * 4]; }
    Rgb RgbAt(int x, int y) const { return Rgb{At(x, y)[0], At(x, y)[1], At(x, y)[2]}; }

    int w = 0, h = 0;
    std::vector<stbi_uc> pixels;
};

bool Near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

bool IsWhite(Rgb c)
{
    return c.r == 255 && c.g == 255 && c.b == 255;
}

// Black text, and the grey of its smoothed edges.
bool IsDark(Rgb c)
{
    return std::max({c.r, c.g, c.b}) < 96;
}

bool IsInk(Rgb c)
{
    return std::max({c.r, c.g, c.b}) < 200 && std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) < 24;
}

// Whether c is one of image's colours, laid over white.
bool HasColour(const Image& image, Rgb c, int tolerance)
{
    for (int y = 0; y < image.h; ++y) {
        for (int x = 0; x < image.w; ++x) {
            const stbi_uc* p = image.At(x, y);
            const auto over = [&](int v) { return (v * p[3] + 255 * (255 - p[3])) / 255; };
            if (Near(c, Rgb{over(p[0]), over(p[1]), over(p[2])}, tolerance)) {
                return true;
            }
        }
    }
    return false;
}

// The share of dest's pixels that match source's part stretched over dest
// (nearest pixel) and laid over white.
double MatchShare(const Image& shot, const Image& source, Box part, Box dest, int tolerance)
{
    int matches = 0;
    const int dw = dest.right - dest.left;
    const int dh = dest.bottom - dest.top;
    for (int y = dest.top; y < dest.bottom; ++y) {
        for (int x = dest.left; x < dest.right; ++x) {
            const int sx = part.left + (x - dest.left) * (part.right - part.left) / dw;
            const int sy = part.top + (y - dest.top) * (part.bottom - part.top) / dh;
            const stbi_uc* p = source.At(sx, sy);
            const auto over = [&](int c) { return (c * p[3] + 255 * (255 - p[3])) / 255; };
            matches += Near(shot.RgbAt(x, y), Rgb{over(p[0]), over(p[1]), over(p[2])}, tolerance);
        }
    }
    return static_cast<double>(matches) / (dw * dh);
}

// The bounding box of the pixels inside area that pass test; left > right when none.
Box Bounds(const Image& shot, Box area, bool (*test)(Rgb))
{
    Box bounds{area.right, area.bottom, area.left - 1, area.top - 1};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (test(shot.RgbAt(x, y))) {
                bounds = Box{std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
                             std::max(bounds.bottom, y)};
            }
        }
    }
    return bounds;
}

const std::string kSkinDir = FERNCASTLE_SKIN_DIR_A;

// The rectangles of the update window (380 x 240) that hold something.
const Box kTitle{10, 5, 170, 29};
const Box kClose{332, 0, 356, 24};
const Box kMin{356, 0, 380, 24};
const Box kLogo{30, 79, 121, 176};
const Box kDescript{141, 89, 380, 119};
const Box kVersion{141, 119, 380, 149};
const Box kPercent{324, 196, 364, 212};
const Box kBar{16, 216, 364, 232};
// The bar's fore image at the initial value 20 of 0..100.
const int kFillRight = 16 + (364 - 16) * 20 / 100;

class SkinViewScreenshot : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        const std::wstring png = std::wstring(temp) + L"skin-view-" + std::to_wstring(GetCurrentProcessId()) + L".png";
        ChildProcess skinView(
            L"\"" FERNCASTLE_SKIN_VIEW L"\" \"" FERNCASTLE_SKIN_ZIP L"\" MainFrameWnd.xml --screenshot \"" + png +
            L"\"");
        ASSERT_TRUE(skinView.Started());
        exitCode = skinView.Wait(60000);
        char narrow[MAX_PATH] = {};
        WideCharToMultiByte(CP_ACP, 0, png.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
        shot = new Image(narrow);
        DeleteFileW(png.c_str());
    }
    static void TearDownTestSuite()
    {
        delete shot;
        shot = nullptr;
    }
    void SetUp() override
    {
        ASSERT_EQ(exitCode, 0);
        ASSERT_TRUE(shot && shot->Loaded());
        ASSERT_EQ(shot->w, 380);
        ASSERT_EQ(shot->h, 240);
    }

    static int exitCode;
    static Image* shot;
};

int SkinViewScreenshot::exitCode = -1;
Image* SkinViewScreenshot::shot = nullptr;

} // namespace

TEST_F(SkinViewScreenshot, TheLogoFillsItsRectangle)
{
    const Image logo(kSkinDir + "/logo.png");
    ASSERT_TRUE(logo.Loaded());
    EXPECT_GE(MatchShare(*shot, logo, Box{0, 0, 94, 94}, kLogo, 40), 0.9);
}

TEST_F(SkinViewScreenshot, TheButtonsShowTheirNormalFrames)
{
    const Image close(kSkinDir + "/btn_sys_close.png");
    const Image min(kSkinDir + "/btn_sys_min.png");
    ASSERT_TRUE(close.Loaded() && min.Loaded());
    EXPECT_GE(MatchShare(*shot, close, Box{0, 0, 30, 30}, kClose, 60), 0.9);
    EXPECT_GE(MatchShare(*shot, min, Box{0, 0, 30, 30}, kMin, 60), 0.9);
    EXPECT_LT(MatchShare(*shot, close, Box{30, 0, 60, 30}, kClose, 60), 0.8) << "not the hot frame";
}

TEST_F(SkinViewScreenshot, TheBarIsFilledToItsInitialValue)
{
    const Image back(kSkinDir + "/FullBackground.png");
    const Image fore(kSkinDir + "/PlanBackground.png");
    ASSERT_TRUE(back.Loaded() && fore.Loaded());
    int wrong = 0;
    for (int y = kBar.top; y < kBar.bottom; ++y) {
        for (int x = kBar.left; x < kBar.right; ++x) {
            const bool filled = x < kFillRight;
            const Rgb c = shot->RgbAt(x, y);
            // The fore image's nine-grid edges (5 and 3 pixels) blend into the
            // background; only its last column must still be green there.
            const bool middle = y >= kBar.top + 3 && y < kBar.bottom - 3;
            const bool edge = filled && (x < kBar.left + 5 || x >= kFillRight - 5 || !middle);
            bool expected = HasColour(filled ? fore : back, c, 8);
            if (edge) {
                expected = x != kFillRight - 1 || !middle || c.g - c.r > 30;
            }
            if (!expected && ++wrong <= 5) {
                ADD_FAILURE() << (filled ? "fore" : "background") << " image expected at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(SkinViewScreenshot, TheLabelsShowTheirInitialTextsInBlack)
{
    for (const Box& label : {kTitle, kDescript, kVersion, kPercent}) {
        const Box dark = Bounds(*shot, label, IsDark);
        EXPECT_LE(dark.left, dark.right) << "text in " << label.left << "," << label.top;
    }
    const Box percent = Bounds(*shot, kPercent, IsInk);
    EXPECT_GE(percent.left, 334) << "right-aligned";
    EXPECT_GE(percent.right, 358);
    const Box descript = Bounds(*shot, kDescript, IsInk);
    EXPECT_LT(descript.left, 150) << "left-aligned";
}

TEST_F(SkinViewScreenshot, EverythingElseIsWhite)
{
    const Box painted[] = {kTitle, kClose, kMin, kLogo, kDescript, kVersion, kPercent, kBar};
    int others = 0;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 380; ++x) {
            const bool inside =
                std::any_of(std::begin(painted), std::end(painted), [&](const Box& b) { return b.Contains(x, y); });
            if (!inside && !IsWhite(shot->RgbAt(x, y)) && ++others <= 5) {
                ADD_FAILURE() << "not white at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(others, 0);
}
