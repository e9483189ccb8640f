// A window's DPI scale: lengths written for 96 DPI become device pixels.
#pragma once

#include <windows.h>

namespace SkinUI {

// The values of the system's PROCESS_DPI_AWARENESS.
enum UI_DPI_AWARENESS {
    UI_DPI_UNAWARE = 0,
    UI_SYSTEM_DPI_AWARE = 1,
    UI_PER_MONITOR_DPI_AWARE = 2,
};

class CDPI {
public:
    CDPI();

    // The monitor's effective DPI (the screen's where the system cannot tell).
    static int GetDPIOfMonitor(HMONITOR hMonitor);
    static int GetDPIOfMonitorNearestToPoint(POINT pt);
    static int GetMainMonitorDPI();

    // Asks the system where it can; otherwise the value last stored.
    UI_DPI_AWARENESS GetDPIAwareness();
    // Stored only when the system takes it (or has no such setting).
    bool SetDPIAwareness(UI_DPI_AWARENESS awareness);

    UINT GetDPI() const;
    // Percent: 100 when unaware, the first scale when system aware.
    UINT GetScale() const;
    void SetScale(UINT uDPI);
    int Scale(int iValue) const;
    int ScaleBack(int iValue) const;
    RECT Scale(RECT rcRect) const;
    void Scale(RECT* pRect) const;
    SIZE Scale(SIZE size) const;
    void Scale(POINT* pPoint) const;

private:
    int m_nScaleFactor;
    int m_nScaleFactorSDA;
    UI_DPI_AWARENESS m_Awareness;
};

} // namespace SkinUI
