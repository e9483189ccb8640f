// Painting: invalidation, the lazy layout pass, the offscreen bitmap and printing into a caller's DC.
#include "paint_manager.h"

#include "control.h"
#include "render_engine.h"
#include "select_object.h"

#include <algorithm>

namespace SkinUI {

namespace {

// The outline of painted rectangles (SetShowUpdateRect), one per process.
HPEN UpdateRectPen()
{
    static const CGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(220, 0, 0)));
    return pen.Get();
}

// Restores a DC's state when painting into it ends.
class CSavedDC {
public:
    explicit CSavedDC(HDC hDC) : m_hDC(hDC), m_saved(SaveDC(hDC)) {}
    CSavedDC(const CSavedDC&) = delete;
    CSavedDC& operator=(const CSavedDC&) = delete;
    ~CSavedDC() { RestoreDC(m_hDC, m_saved); }

private:
    HDC m_hDC;
    int m_saved;
};

CControlUI* CollectUpdateNeeded(CControlUI* pControl, void* pData)
{
    if (!pControl->IsUpdateNeeded()) {
        return nullptr;
    }
    static_cast<CStdPtrArray*>(pData)->Add(pControl);
    // A container's own layout covers its subtree, which the search then
    // skips; any other control lets the search go on.
    return pControl->GetInterface(L"IContainer") ? pControl : nullptr;
}

} // namespace

void CPaintManagerUI::Invalidate()
{
    RECT rc{};
    if (m_hWndPaint && GetClientRect(m_hWndPaint, &rc)) {
        Invalidate(rc);
    }
}

void CPaintManagerUI::Invalidate(RECT& rc)
{
    rc.left = std::max<LONG>(rc.left, 0);
    rc.top = std::max<LONG>(rc.top, 0);
    rc.right = std::max(rc.right, rc.left);
    rc.bottom = std::max(rc.bottom, rc.top);
    if (m_hWndPaint) {
        InvalidateRect(m_hWndPaint, &rc, FALSE);
    }
}

bool CPaintManagerUI::AddPostPaint(CControlUI* pControl)
{
    return AddOnce(m_aPostPaintControls, pControl);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl)
{
    return RemoveItem(m_aPostPaintControls, pControl);
}

SIZE CPaintManagerUI::GetClientSize() const
{
    RECT rc{};
    GetClientRect(m_hWndPaint, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

bool CPaintManagerUI::EnsureOffscreen(const RECT& rcClient)
{
    if (m_hbmpOffscreen) {
        return true;
    }
    m_offscreenDC = std::make_unique<CMemoryDC>(m_hDcPaint);
    m_hbmpOffscreen.Reset(CRenderEngine::CreateARGB32Bitmap(m_hDcPaint, rcClient.right - rcClient.left,
                                                            rcClient.bottom - rcClient.top, nullptr));
    if (!*m_offscreenDC || !m_hbmpOffscreen) {
        ReleaseOffscreen();
        return false;
    }
    return true;
}

void CPaintManagerUI::ReleaseOffscreen()
{
    m_hbmpOffscreen.Reset();
    m_offscreenDC.reset();
}

void CPaintManagerUI::LayoutPass(const RECT& rcClient)
{
    if (m_pRoot->IsUpdateNeeded()) {
        // The bitmap follows the client size.
        ReleaseOffscreen();
        m_pRoot->SetPos(rcClient, true);
    } else {
        m_aFoundControls.Empty();
        m_pRoot->FindControl(CollectUpdateNeeded, &m_aFoundControls, FindVisible | FindMeFirst | FindUpdateTest);
        // A floating control keeps its place too: its parent positions it
        // when the parent itself is laid out.
        CStdPtrArray found(m_aFoundControls);
        m_aFoundControls.Empty();
        for (int i = 0; i < found.GetSize(); ++i) {
            auto* control = static_cast<CControlUI*>(found[i]);
            control->SetPos(control->GetPos(), true);
        }
    }
    if (m_bFirstLayout) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, L"windowinit");
    }
}

void CPaintManagerUI::PaintTree(HDC hDC, const RECT& rcPaint)
{
    CSavedDC saved(hDC);
    m_pRoot->Paint(hDC, rcPaint, nullptr);
    for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i) {
        static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(hDC, rcPaint);
    }
}

bool CPaintManagerUI::OnPaint(LRESULT& lRes)
{
    lRes = 0;
    if (!m_pRoot) {
        PAINTSTRUCT ps{};
        BeginPaint(m_hWndPaint, &ps);
        FillRect(m_hDcPaint, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(m_hWndPaint, &ps);
        return true;
    }
    RECT rcClient{};
    GetClientRect(m_hWndPaint, &rcClient);
    RECT rcPaint{};
    if (!GetUpdateRect(m_hWndPaint, &rcPaint, FALSE)) {
        return true;
    }
    if (m_bFocusNeeded) {
        SetNextTabControl(true);
    }
    SetPainting(true);
    bool laidOut = false;
    if (m_bUpdateNeeded) {
        m_bUpdateNeeded = false;
        if (!IsRectEmpty(&rcClient) && !IsIconic(m_hWndPaint)) {
            LayoutPass(rcClient);
            laidOut = true;
        }
    }
    const bool offscreen = EnsureOffscreen(rcClient);
    PAINTSTRUCT ps{};
    BeginPaint(m_hWndPaint, &ps);
    if (offscreen) {
        {
            CSelectObject select(m_offscreenDC->Get(), m_hbmpOffscreen.Get());
            PaintTree(m_offscreenDC->Get(), rcPaint);
            BitBlt(m_hDcPaint, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left, rcPaint.bottom - rcPaint.top,
                   m_offscreenDC->Get(), rcPaint.left, rcPaint.top, SRCCOPY);
        }
    } else {
        PaintTree(m_hDcPaint, rcPaint);
    }
    if (m_bShowUpdateRect) {
        CSelectObject pen(m_hDcPaint, UpdateRectPen());
        CSelectObject brush(m_hDcPaint, GetStockObject(HOLLOW_BRUSH));
        Rectangle(m_hDcPaint, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
    }
    EndPaint(m_hWndPaint, &ps);
    SetPainting(false);
    // A focus move that waited for this paint's layout asked for a repaint
    // before BeginPaint, which validated it away: ask again.
    if (m_bUpdateNeeded || m_bFocusNeeded) {
        Invalidate();
    }
    if (laidOut) {
        SendNotify(m_pRoot, L"windowsize", 0, 0, true);
    }
    return true;
}

void CPaintManagerUI::OnPrintClient(HDC hDC, LPARAM lParam)
{
    if (!m_pRoot) {
        return;
    }
    RECT rcClient{};
    GetClientRect(m_hWndPaint, &rcClient);
    PaintTree(hDC, rcClient);
    if (!(lParam & PRF_CHILDREN)) {
        return;
    }
    for (HWND child = GetWindow(m_hWndPaint, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc{};
        GetWindowRect(child, &rc);
        MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<POINT*>(&rc), 2);
        POINT origin{};
        SetWindowOrgEx(hDC, -rc.left, -rc.top, &origin);
        SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(hDC), PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
        SetWindowOrgEx(hDC, origin.x, origin.y, nullptr);
    }
}

} // namespace SkinUI
