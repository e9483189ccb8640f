#include "dpi.h"

#include "proc_address.h"
#include "skin_values.h"
#include "system_library.h"

namespace SkinUI {

namespace {

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetProcessDpiAwarenessFunction = HRESULT(WINAPI*)(HANDLE, int*);
using SetProcessDpiAwarenessFunction = HRESULT(WINAPI*)(int);

// Shcore.dll exists from Windows 8.1 on; loaded once and kept.
template <typename Function> Function ShcoreFunction(const char* name)
{
    static const HMODULE module = LoadSystemLibrary(L"Shcore.dll");
    return GetProcAddressAs<Function>(module, name);
}

int ScreenDPI()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : 96;
}

} // namespace

CDPI::CDPI() : m_nScaleFactor(0), m_nScaleFactorSDA(0), m_Awareness(UI_PER_MONITOR_DPI_AWARE)
{
    SetScale(96);
}

int CDPI::GetDPIOfMonitor(HMONITOR hMonitor)
{
    static const auto getDpi = ShcoreFunction<GetDpiForMonitorFunction>("GetDpiForMonitor");
    UINT x = 0, y = 0;
    // 0: MDT_EFFECTIVE_DPI.
    if (getDpi && hMonitor && SUCCEEDED(getDpi(hMonitor, 0, &x, &y)) && x > 0) {
        return static_cast<int>(x);
    }
    return ScreenDPI();
}

int CDPI::GetDPIOfMonitorNearestToPoint(POINT pt)
{
    return GetDPIOfMonitor(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST));
}

int CDPI::GetMainMonitorDPI()
{
    return GetDPIOfMonitor(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

UI_DPI_AWARENESS CDPI::GetDPIAwareness()
{
    static const auto get = ShcoreFunction<GetProcessDpiAwarenessFunction>("GetProcessDpiAwareness");
    int value = 0;
    if (get && SUCCEEDED(get(nullptr, &value)) && value >= UI_DPI_UNAWARE && value <= UI_PER_MONITOR_DPI_AWARE) {
        m_Awareness = static_cast<UI_DPI_AWARENESS>(value);
    }
    return m_Awareness;
}

bool CDPI::SetDPIAwareness(UI_DPI_AWARENESS awareness)
{
    static const auto set = ShcoreFunction<SetProcessDpiAwarenessFunction>("SetProcessDpiAwareness");
    if (set && FAILED(set(awareness))) {
        return false;
    }
    m_Awareness = awareness;
    return true;
}

UINT CDPI::GetDPI() const
{
    if (m_Awareness == UI_DPI_UNAWARE) {
        return 96;
    }
    return static_cast<UINT>(SkinMulDiv(static_cast<int>(GetScale()), 96, 100));
}

UINT CDPI::GetScale() const
{
    switch (m_Awareness) {
    case UI_DPI_UNAWARE:
        return 100;
    case UI_SYSTEM_DPI_AWARE:
        return static_cast<UINT>(m_nScaleFactorSDA);
    default:
        return static_cast<UINT>(m_nScaleFactor);
    }
}

void CDPI::SetScale(UINT uDPI)
{
    m_nScaleFactor = SkinMulDiv(static_cast<int>(uDPI), 100, 96);
    if (m_nScaleFactorSDA == 0) {
        m_nScaleFactorSDA = m_nScaleFactor;
    }
}

int CDPI::Scale(int iValue) const
{
    if (m_Awareness == UI_DPI_UNAWARE) {
        return iValue;
    }
    return SkinMulDiv(iValue, static_cast<int>(GetScale()), 100);
}

int CDPI::ScaleBack(int iValue) const
{
    return SkinMulDiv(iValue, 100, static_cast<int>(GetScale()));
}

RECT CDPI::Scale(RECT rcRect) const
{
    Scale(&rcRect);
    return rcRect;
}

void CDPI::Scale(RECT* pRect) const
{
    pRect->left = Scale(pRect->left);
    pRect->top = Scale(pRect->top);
    pRect->right = Scale(pRect->right);
    pRect->bottom = Scale(pRect->bottom);
}

SIZE CDPI::Scale(SIZE size) const
{
    return SIZE{Scale(size.cx), Scale(size.cy)};
}

void CDPI::Scale(POINT* pPoint) const
{
    pPoint->x = Scale(pPoint->x);
    pPoint->y = Scale(pPoint->y);
}

} // namespace SkinUI
