// The update window's skin on a scaled display: the program runs in a Wine
// prefix whose LogPixels tests/run-at-dpi set (FERNCASTLE_TEST_DPI says
// which), with the skin archive or, when FERNCASTLE_TEST_SKIN is "plain",
// with one that has only the 100 % images. The process is per-monitor
// aware; the window opens at the scaled size with its tree laid out at that
// scale and its images drawn from the art of that scale, else of the
// nearest smaller one; a WM_DPICHANGED moves it to the suggested rectangle
// and lays it out again.
#include "dpi.h"
#include "image_info.h"
#include "skin_art.h"
#include "skinned_window.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

using namespace SkinUI;
using namespace skin_art;

namespace {

const std::string kSkinDir = FERNCASTLE_SKIN_DIR_A;

int AskedDpi()
{
    const char* dpi = std::getenv("FERNCASTLE_TEST_DPI");
    return dpi ? std::atoi(dpi) : 0;
}

bool PlainSkin()
{
    const char* skin = std::getenv("FERNCASTLE_TEST_SKIN");
    return skin && std::string(skin) == "plain";
}

int ScaleOf(int dpi)
{
    return MulDiv(dpi, 100, 96);
}

// The scale whose files the engine draws at scale: its own when the skin
// has them, else the nearest smaller one the art is drawn for.
int ArtScale(int scale)
{
    if (PlainSkin()) {
        return 100;
    }
    for (const int art : {200, 150, 125}) {
        if (art <= scale) {
            return art;
        }
    }
    return 100;
}

std::string ReadText(const char* path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// The update window at the run's scale, painted once.
class ScaledWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CDPI::GetMainMonitorDPI(), AskedDpi()) << "the prefix's display scale";
        ASSERT_NE(window.Open(), nullptr);
        // As the update window opens: no control has the focus until Tab.
        window.pm().CancelFocusNeeded();
        UpdateWindow(window);
        shot = Image::FromDib(window.pm().GetOffscreenBitmap());
        ASSERT_EQ(shot.w, boxes.width);
        ASSERT_EQ(shot.h, boxes.height);
    }

    const int dpi = AskedDpi();
    const int scale = ScaleOf(dpi);
    const int art = ArtScale(scale);
    const WindowBoxes boxes{scale};
    SkinnedWindow window{L"MainFrameWnd.xml", RESTYPE_ZIPRESOURCE, MAKEINTRESOURCEW(PlainSkin() ? 130 : 129)};
    Image shot;
};

} // namespace

TEST(HighDpi, TheManifestAsksForPerMonitorAwareness)
{
    const std::string manifest = ReadText(FERNCASTLE_MANIFEST);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos) << manifest;
    // Per-monitor v2 where the system has it, else per-monitor (Wine 8).
    using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using AreEqual = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto context = reinterpret_cast<GetContext>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto equal = reinterpret_cast<AreEqual>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "AreDpiAwarenessContextsEqual")));
    ASSERT_TRUE(context && equal);
    const DPI_AWARENESS_CONTEXT own = context();
    EXPECT_TRUE(equal(own, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) ||
                equal(own, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE));
}

TEST_F(ScaledWindow, OpensAtItsMonitorsScaleAndFollowsAChange)
{
    const int other = dpi == 192 ? 144 : 192;
    for (const int at : {dpi, other}) {
        const WindowBoxes expected(ScaleOf(at));
        // The system may suggest another size than the scaled one: it is taken.
        const int width = at == dpi ? expected.width : expected.width + 20;
        const int height = at == dpi ? expected.height : expected.height + 10;
        if (at != dpi) {
            RECT suggested{40, 30, 40 + width, 30 + height};
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(at, at), reinterpret_cast<LPARAM>(&suggested));
            UpdateWindow(window);
            PumpPending();
            RECT placed{};
            GetWindowRect(window, &placed);
            EXPECT_EQ(placed.left, 40) << at;
            EXPECT_EQ(placed.top, 30) << at;
        }
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, width) << at;
        EXPECT_EQ(client.bottom, height) << at;
        const int shift = width - expected.width;
        EXPECT_EQ(EdgesOf(window.Find(L"CloseNormal")->GetPos()),
                  (Edges{expected.close.left + shift, expected.close.top, expected.close.right + shift,
                         expected.close.bottom}))
            << at;
        EXPECT_EQ(window.pm().GetDPIObj()->GetDPI(), static_cast<UINT>(at));
        // The logo is drawn again from the art of the new scale.
        const std::string logo = ScaledFile("logo.png", ArtScale(ScaleOf(at)));
        const Image png(kSkinDir + "/" + logo);
        ASSERT_TRUE(png.Loaded()) << logo;
        EXPECT_GE(MatchShare(Image::FromDib(window.pm().GetOffscreenBitmap()), png, Box{0, 0, png.w, png.h},
                             expected.logo, 40),
                  0.9)
            << logo;
    }
}

// Each image's rectangle holds its part of the art the engine draws at this
// scale, stretched over it: pixel by pixel (nearest source pixel, within a
// tolerance for the halftone's blending of edges) and by its mean colour.
TEST_F(ScaledWindow, ImagesAreDrawnFromTheArtOfTheirScale)
{
    const struct {
        const char* file;
        Box part;
        Box dest;
        int tolerance;
    } images[] = {
        {"logo.png", {0, 0, 94, 94}, boxes.logo, 40},
        {"btn_sys_close.png", {0, 0, 30, 30}, boxes.close, 60},
        {"btn_sys_min.png", {0, 0, 30, 30}, boxes.min, 60},
    };
    for (const auto& image : images) {
        const std::string file = ScaledFile(image.file, art);
        const Image png(kSkinDir + "/" + file);
        ASSERT_TRUE(png.Loaded()) << file;
        const tagTImageInfo* loaded = window.pm().GetImage(Wide(file).c_str());
        ASSERT_NE(loaded, nullptr) << file << " is the file drawn";
        EXPECT_EQ(loaded->nX, png.w) << file;
        const Box part = Scaled(image.part, art);
        EXPECT_GE(MatchShare(shot, png, part, image.dest, image.tolerance), 0.9) << file;
        EXPECT_TRUE(Near(MeanColour(shot, image.dest), MeanColour(png, part), 12)) << file;
    }
}

// The bar's fore image is a nine-grid whose middle is tiled in the art's
// own pixels: there every pixel is the art's (its middle is opaque), and the
// track shows to the right of the fill.
TEST_F(ScaledWindow, TheBarIsTiledFromTheArtOfItsScale)
{
    const Image fore(kSkinDir + "/" + ScaledFile("PlanBackground.png", art));
    const Image back(kSkinDir + "/" + ScaledFile("FullBackground.png", art));
    ASSERT_TRUE(fore.Loaded() && back.Loaded());
    const Box corner = Scaled(Box{5, 3, 5, 3}, art);
    const int tileWidth = fore.w - corner.left - corner.right;
    const int tileHeight = fore.h - corner.top - corner.bottom;
    const Box& bar = boxes.bar;
    int wrong = 0;
    for (int y = bar.top + corner.top; y < bar.bottom - corner.bottom; ++y) {
        for (int x = bar.left + corner.left; x < bar.right; ++x) {
            const Rgb c = shot.RgbAt(x, y);
            bool expected = true;
            if (x < boxes.fillRight - corner.right) {
                const int sx = corner.left + (x - bar.left - corner.left) % tileWidth;
                const int sy = corner.top + (y - bar.top - corner.top) % tileHeight;
                expected = Near(c, fore.OverWhite(sx, sy), 2);
            } else if (x >= boxes.fillRight) {
                expected = HasColour(back, c, 8);
            }
            if (!expected && ++wrong <= 5) {
                ADD_FAILURE() << (x < boxes.fillRight ? "fore" : "track") << " art expected at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

// The texts are drawn in fonts of the scaled size: the description is as
// wide as GDI measures it in its font at this DPI.
TEST_F(ScaledWindow, TextsAreScaled)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(16, dpi, 96);
    wcscpy_s(font.lfFaceName, L"\u5fae\u8f6f\u96c5\u9ed1");
    HFONT scaled = CreateFontIndirectW(&font);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, scaled);
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"Ferncastle", 10, &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(scaled);
    const Box ink = Bounds(shot, boxes.descript, IsInk);
    const int inkWidth = ink.right - ink.left + 1;
    EXPECT_GE(inkWidth, extent.cx * 85 / 100) << "the description's font at " << dpi << " dpi";
    EXPECT_LE(inkWidth, extent.cx + 2);
}

// Tab gives "CloseNormal" the focus, and it shows the focused frame of the
// art: the normal glyph ringed in green.
TEST_F(ScaledWindow, TabShowsTheFocusRing)
{
    const auto green = [](const Image& image, Box area) {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const Rgb c = image.RgbAt(x, y);
                count += c.g - c.r > 60;
            }
        }
        return count;
    };
    EXPECT_EQ(green(shot, boxes.close), 0) << "no ring before Tab";
    MSG tab{window, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    ASSERT_TRUE(CPaintManagerUI::TranslateMessage(&tab));
    ASSERT_EQ(window.pm().GetFocus(), window.Find(L"CloseNormal"));
    UpdateWindow(window);
    const Image focused = Image::FromDib(window.pm().GetOffscreenBitmap());
    const Image png(kSkinDir + "/" + ScaledFile("btn_sys_close.png", art));
    ASSERT_TRUE(png.Loaded());
    // The thin ring blends when the frame is stretched over the button, so
    // the frame is compared by its mean colour, which the ring makes green.
    EXPECT_TRUE(Near(MeanColour(focused, boxes.close), MeanColour(png, Scaled(Box{90, 0, 120, 30}, art)), 12));
    // A ring of the frame's size: at least its perimeter in green pixels.
    EXPECT_GE(green(focused, boxes.close), 3 * boxes.close.Width());
    EXPECT_EQ(green(focused, boxes.min), 0);
}

TEST_F(ScaledWindow, NothingIsDrawnOutsideTheRectangles)
{
    std::string first;
    EXPECT_EQ(NotWhiteElsewhere(shot, boxes, first), 0) << "first at " << first;
}
