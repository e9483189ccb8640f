// The paint manager's life: construction, binding to a window, the tree it attaches, and letting go.
#include "paint_manager.h"

#include "control.h"
#include "gdiplus_flat.h"

namespace SkinUI {

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

void CPaintManagerUI::Init(HWND hWnd, const wchar_t* pstrName)
{
    m_mNameHash.Resize(83);
    m_ResInfo.RemoveAllFonts();
    m_ResInfo.RemoveAllImages();
    m_ResInfo.RemoveAllStyles();
    m_ResInfo.RemoveAllAttributeLists();
    RemoveAllTimers();
    RemoveAllOptionGroups();
    m_sName = pstrName;
    if (m_hWndPaint != hWnd) {
        if (m_hDcPaint) {
            ReleaseDC(m_hWndPaint, m_hDcPaint);
        }
        m_hWndPaint = hWnd;
        m_hDcPaint = GetDC(hWnd);
    }
}

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize = SIZE{cx, cy};
    // Only while the layout is being built: once a tree is attached, the
    // window's size is the user's.
    if (!m_pRoot && m_hWndPaint) {
        SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CPaintManagerUI::ReleaseWindow()
{
    DisconnectAccessible();
    for (int i = 0; i < m_aDelayedCleanup.GetSize(); ++i) {
        delete static_cast<CControlUI*>(m_aDelayedCleanup[i]);
    }
    m_aDelayedCleanup.Empty();
    DeleteQueuedNotifications();
    m_mNameHash.RemoveAll();
    delete m_pRoot;
    m_pRoot = nullptr;
    RemoveAllTimers();
    RemoveAllOptionGroups();
    DestroyTooltip();
    ReleaseOffscreen();
    if (m_hDcPaint) {
        ReleaseDC(m_hWndPaint, m_hDcPaint);
        m_hDcPaint = nullptr;
    }
}

void CPaintManagerUI::Unbind()
{
    RemoveAllTimers();
    if (m_bMouseCapture && ::GetCapture() == m_hWndPaint) {
        ::ReleaseCapture();
    }
    m_bMouseCapture = false;
    m_bMouseTracking = false;
    m_bAsyncNotifyPosted = false;
    m_pEventClick = m_pEventHover = m_pEventKey = nullptr;
    DisconnectAccessible();
    DestroyTooltip();
    ReleaseOffscreen();
    if (m_hDcPaint) {
        ReleaseDC(m_hWndPaint, m_hDcPaint);
        m_hDcPaint = nullptr;
    }
    m_hWndPaint = nullptr;
}

bool CPaintManagerUI::AttachDialog(CControlUI* pControl)
{
    SetFocus(nullptr);
    m_pEventKey = nullptr;
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    CControlUI* old = m_pRoot;
    m_pRoot = pControl;
    if (old) {
        m_aPostPaintControls.Empty();
        AddDelayedCleanup(old);
    }
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    return InitControls(pControl);
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent)
{
    if (!pControl) {
        return false;
    }
    pControl->SetManager(this, pParent ? pParent : pControl->GetParent(), true);
    pControl->FindControl(RegisterName, this, FindAll);
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl)
{
    if (!pControl) {
        return;
    }
    for (CControlUI** held : {&m_pEventKey, &m_pEventHover, &m_pEventClick, &m_pFocus}) {
        if (*held == pControl) {
            *held = nullptr;
        }
    }
    KillTimer(pControl);
    const CSkinString& name = pControl->GetName();
    if (!name.IsEmpty() && m_mNameHash.Find(name, false) == pControl) {
        m_mNameHash.Remove(name);
    }
    for (CStdPtrArray* notifications : {&m_aAsyncNotify, &m_aDelivering}) {
        for (int i = 0; i < notifications->GetSize(); ++i) {
            auto* notification = static_cast<tagTNotifyUI*>((*notifications)[i]);
            if (notification->pSender == pControl) {
                notification->pSender = nullptr;
            }
        }
    }
    // A deleted control must not be reached through the other lists either.
    // Its child id goes with it: a screen reader holding the id reaches nothing.
    RemoveItem(m_aAccessibleShown, pControl);
    m_accessibleIds.erase(pControl);
    RemovePostPaint(pControl);
    RemoveMouseLeaveNeeded(pControl);
    for (int i = 0; i < m_mOptionGroup.GetSize(); ++i) {
        auto* group = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(m_mOptionGroup[i], false));
        group->Remove(group->Find(pControl));
    }
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl)
{
    // Each once, and never the tree in use: either would be deleted twice.
    if (!pControl || pControl == m_pRoot || m_aDelayedCleanup.Find(pControl) >= 0) {
        return;
    }
    pControl->SetManager(this, nullptr, false);
    if (!m_aDelayedCleanup.Add(pControl)) {
        delete pControl;
        return;
    }
    PostAsyncMessage();
}

} // namespace SkinUI
