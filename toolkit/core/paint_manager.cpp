// The paint manager's life and its resource sets: its own, and the shared
// one behind every manager of the process.
#include "paint_manager.h"

#include "gdiplus_flat.h"

namespace SkinUI {

tagTResInfo CPaintManagerUI::m_SharedResInfo;
bool CPaintManagerUI::m_bSharedResInitialized = false;

CPaintManagerUI::CPaintManagerUI()
{
    InitSharedResources();
    m_ResInfo.m_dwDefaultDisabledColor = m_SharedResInfo.m_dwDefaultDisabledColor;
    m_ResInfo.m_dwDefaultFontColor = m_SharedResInfo.m_dwDefaultFontColor;
    m_ResInfo.m_dwDefaultLinkFontColor = m_SharedResInfo.m_dwDefaultLinkFontColor;
    m_ResInfo.m_dwDefaultLinkHoverFontColor = m_SharedResInfo.m_dwDefaultLinkHoverFontColor;
    m_ResInfo.m_dwDefaultSelectedBkColor = m_SharedResInfo.m_dwDefaultSelectedBkColor;
    LiveManagers().Add(this);
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);
}

CPaintManagerUI::~CPaintManagerUI()
{
    ReleaseWindow();
    CStdPtrArray& managers = LiveManagers();
    managers.Remove(managers.Find(this));
    for (int i = 0; i < m_aFonts.GetSize(); ++i) {
        RemoveFontMemResourceEx(static_cast<HANDLE>(m_aFonts[i]));
    }
    if (m_gdiplusToken) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    }
}

// Every manager counts from its construction, so that process-wide changes
// (colour adjustment, DPI) reach managers still without a window; the
// searches for a window's manager skip those.
CStdPtrArray& CPaintManagerUI::LiveManagers()
{
    static CStdPtrArray managers;
    return managers;
}

// The shared default font is the system's GUI font.
void CPaintManagerUI::InitSharedResources()
{
    if (m_bSharedResInitialized) {
        return;
    }
    m_bSharedResInitialized = true;
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    m_SharedResInfo.m_DefaultFontInfo.Assign(CreateFontIndirectW(&lf), lf.lfFaceName, -lf.lfHeight,
                                             lf.lfWeight >= FW_BOLD, lf.lfUnderline != FALSE, lf.lfItalic != FALSE);
}

void CPaintManagerUI::ReleaseSharedResources()
{
    m_SharedResInfo.Clear();
    m_bSharedResInitialized = false;
}

tagTResInfo& CPaintManagerUI::TargetResInfo(bool shared)
{
    return shared || m_bForceUseSharedRes ? m_SharedResInfo : m_ResInfo;
}

} // namespace SkinUI
