// DPI scaling of a paint manager's window and resources.
#include "paint_manager.h"

#include "control.h"
#include "skin_values.h"

#include <vector>

namespace SkinUI {

CDPI* CPaintManagerUI::GetDPIObj()
{
    if (!m_pDPI) {
        m_pDPI = std::make_unique<CDPI>();
    }
    return m_pDPI.get();
}

void CPaintManagerUI::SetDPI(int dpi)
{
    SetDPIAt(dpi, nullptr);
}

void CPaintManagerUI::SetDPIAt(int dpi, const RECT* placement)
{
    if (dpi <= 0) {
        return;
    }
    const int oldScale = static_cast<int>(GetDPIObj()->GetScale());
    GetDPIObj()->SetScale(static_cast<UINT>(dpi));
    const int newScale = static_cast<int>(GetDPIObj()->GetScale());
    ResetDPIAssets();
    // New fonts and images want a new layout, even in a window whose size
    // does not change.
    if (m_pRoot) {
        m_pRoot->NeedUpdate();
    }
    if (!m_hWndPaint) {
        return;
    }
    // Without a placement the window keeps its top-left corner and grows or
    // shrinks with the scale.
    RECT rc{};
    if (placement) {
        SetWindowPos(m_hWndPaint, nullptr, placement->left, placement->top, placement->right - placement->left,
                     placement->bottom - placement->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (!IsZoomed(m_hWndPaint) && GetWindowRect(m_hWndPaint, &rc)) {
        const int width = SkinMulDiv(rc.right - rc.left, newScale, oldScale);
        const int height = SkinMulDiv(rc.bottom - rc.top, newScale, oldScale);
        SetWindowPos(m_hWndPaint, nullptr, rc.left, rc.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PostMessageW(m_hWndPaint, WM_USER + 2, 0, 0);
}

void CPaintManagerUI::SetAllDPI(int dpi)
{
    CStdPtrArray& managers = LiveManagers();
    for (int i = 0; i < managers.GetSize(); ++i) {
        static_cast<CPaintManagerUI*>(managers[i])->SetDPI(dpi);
    }
}

// Fonts are made again at the new scale under their numbers; draw strings
// are parsed again on next use (their rectangles and file names depend on
// the scale). Images stay: a scaled draw string names its own file.
void CPaintManagerUI::ResetDPIAssets()
{
    m_ResInfo.RemoveAllDrawInfos();
    m_missingImages.RemoveAll();
    struct Font {
        int id;
        CSkinString face;
        int size;
        bool bold, underline, italic;
    };
    std::vector<Font> fonts;
    CStdStringPtrMap& map = m_ResInfo.m_CustomFonts;
    for (int i = 0; i < map.GetSize(); ++i) {
        const wchar_t* key = map.GetAt(i);
        if (const auto* info = static_cast<const tagTFontInfo*>(map.Find(key, false))) {
            fonts.push_back(
                {ReadSkinInt(key), info->sFontName, info->iSize, info->bBold, info->bUnderline, info->bItalic});
        }
    }
    // The window's own fonts are rebuilt in its own set, even while new
    // entries are forced into the shared one.
    const bool forced = m_bForceUseSharedRes;
    m_bForceUseSharedRes = false;
    for (const Font& font : fonts) {
        AddFont(font.id, font.face, font.size, font.bold, font.underline, font.italic, false);
    }
    tagTFontInfo& own = m_ResInfo.m_DefaultFontInfo;
    if (!own.sFontName.IsEmpty()) {
        SetDefaultFont(CSkinString(own.sFontName), own.iSize, own.bBold, own.bUnderline, own.bItalic, false);
    }
    m_bForceUseSharedRes = forced;
}

} // namespace SkinUI
