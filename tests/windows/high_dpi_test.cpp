// The update window's skin on a display at 150 % (the program runs in a
// Wine prefix whose LogPixels is 144): the process is per-monitor aware,
// the window opens at the scaled size with its tree laid out at that scale,
// and a WM_DPICHANGED moves it to the suggested rectangle and lays it out
// again.
#include "dpi.h"
#include "skinned_window.h"

#include <fstream>
#include <sstream>
#include <string>

using namespace SkinUI;

namespace {

constexpr int kDpi = 144;

LONG At(int dpi, LONG length)
{
    return MulDiv(length, dpi, 96);
}

std::string ReadText(const char* path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(HighDpi, TheManifestAsksForPerMonitorAwareness)
{
    const std::string manifest = ReadText(FERNCASTLE_MANIFEST);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos) << manifest;
    EXPECT_EQ(CDPI().GetDPIAwareness(), UI_PER_MONITOR_DPI_AWARE);
}

TEST(HighDpi, TheWindowOpensAtItsMonitorsScaleAndFollowsAChange)
{
    ASSERT_EQ(CDPI::GetMainMonitorDPI(), kDpi) << "the prefix's display scale";
    SkinnedWindow window{L"MainFrameWnd.xml", RESTYPE_ZIPRESOURCE};
    ASSERT_NE(window.Open(), nullptr);
    UpdateWindow(window);
    const struct {
        int dpi;
        const char* what;
    } scales[] = {{kDpi, "at creation"}, {192, "after WM_DPICHANGED"}};
    for (const auto& s : scales) {
        if (s.dpi != kDpi) {
            RECT suggested{40, 30, 40 + At(s.dpi, 380), 30 + At(s.dpi, 240)};
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(s.dpi, s.dpi), reinterpret_cast<LPARAM>(&suggested));
            UpdateWindow(window);
            PumpPending();
            RECT placed{};
            GetWindowRect(window, &placed);
            EXPECT_EQ(placed.left, 40) << s.what;
            EXPECT_EQ(placed.top, 30) << s.what;
        }
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, At(s.dpi, 380)) << s.what;
        EXPECT_EQ(client.bottom, At(s.dpi, 240)) << s.what;
        const RECT& close = window.Find(L"CloseNormal")->GetPos();
        EXPECT_EQ(close.left, At(s.dpi, 332)) << s.what;
        EXPECT_EQ(close.bottom, At(s.dpi, 24)) << s.what;
        EXPECT_EQ(window.pm().GetDPIObj()->GetDPI(), static_cast<UINT>(s.dpi)) << s.what;
        // The logo and the close button are drawn, from the 100 % art while the skin has no other.
        EXPECT_NE(OffscreenRgb(window.pm(), At(s.dpi, 75), At(s.dpi, 127)), 0xFFFFFFu) << s.what << ": the logo";
    }
}
