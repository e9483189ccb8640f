// skin-view.exe --screenshot of the built skin archive's update window:
// every pixel is checked against what the layout's rules put there, with
// the skin's own images (scaled to their rectangles and laid over the white
// background) as the reference for the images.
#include "child_process.h"

#include "skin_art.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

using namespace skin_art;

namespace {

const std::string kSkinDir = FERNCASTLE_SKIN_DIR_A;

// The update window at 100 % (380 x 240).
const WindowBoxes kBoxes(100);

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
    EXPECT_GE(MatchShare(*shot, logo, Box{0, 0, 94, 94}, kBoxes.logo, 40), 0.9);
}

TEST_F(SkinViewScreenshot, TheButtonsShowTheirNormalFrames)
{
    const Image close(kSkinDir + "/btn_sys_close.png");
    const Image min(kSkinDir + "/btn_sys_min.png");
    ASSERT_TRUE(close.Loaded() && min.Loaded());
    EXPECT_GE(MatchShare(*shot, close, Box{0, 0, 30, 30}, kBoxes.close, 60), 0.9);
    EXPECT_GE(MatchShare(*shot, min, Box{0, 0, 30, 30}, kBoxes.min, 60), 0.9);
    EXPECT_LT(MatchShare(*shot, close, Box{30, 0, 60, 30}, kBoxes.close, 60), 0.8) << "not the hot frame";
}

TEST_F(SkinViewScreenshot, TheBarIsFilledToItsInitialValue)
{
    const Image back(kSkinDir + "/FullBackground.png");
    const Image fore(kSkinDir + "/PlanBackground.png");
    ASSERT_TRUE(back.Loaded() && fore.Loaded());
    int wrong = 0;
    for (int y = kBoxes.bar.top; y < kBoxes.bar.bottom; ++y) {
        for (int x = kBoxes.bar.left; x < kBoxes.bar.right; ++x) {
            const bool filled = x < kBoxes.fillRight;
            const Rgb c = shot->RgbAt(x, y);
            // The fore image's nine-grid edges (5 and 3 pixels) blend into the
            // background; only its last column must still be green there.
            const bool middle = y >= kBoxes.bar.top + 3 && y < kBoxes.bar.bottom - 3;
            const bool edge = filled && (x < kBoxes.bar.left + 5 || x >= kBoxes.fillRight - 5 || !middle);
            bool expected = HasColour(filled ? fore : back, c, 8);
            if (edge) {
                expected = x != kBoxes.fillRight - 1 || !middle || c.g - c.r > 30;
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
    for (const Box& label : {kBoxes.title, kBoxes.descript, kBoxes.version, kBoxes.percent}) {
        const Box dark = Bounds(*shot, label, IsDark);
        EXPECT_LE(dark.left, dark.right) << "text in " << label.left << "," << label.top;
    }
    const Box percent = Bounds(*shot, kBoxes.percent, IsInk);
    EXPECT_GE(percent.left, 334) << "right-aligned";
    EXPECT_GE(percent.right, 358);
    const Box descript = Bounds(*shot, kBoxes.descript, IsInk);
    EXPECT_LT(descript.left, 150) << "left-aligned";
}

TEST_F(SkinViewScreenshot, EverythingElseIsWhite)
{
    std::string first;
    EXPECT_EQ(NotWhiteElsewhere(*shot, kBoxes, first), 0) << "first at " << first;
}
