// The window attributes a layout gives the paint manager.
#include "paint_manager.h"

namespace SkinUI {

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize = SIZE{cx, cy};
    // Only while the layout is being built: once a tree is attached, the
    // window's size is the user's.
    if (!m_pRoot && m_hWndPaint) {
        SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace SkinUI
