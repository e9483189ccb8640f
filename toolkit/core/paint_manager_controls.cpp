// What controls ask of their paint manager: the control tree and its names,
// focus, timers, notifications and invalidation.
#include "paint_manager.h"

#include "control.h"

#include <algorithm>

namespace SkinUI {

namespace {

struct tagTTimerInfo {
    CControlUI* pSender;
    UINT nLocalID;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
};

tagTTimerInfo* TimerAt(const CStdPtrArray& timers, int index)
{
    return static_cast<tagTTimerInfo*>(timers[index]);
}

void SendFocusEvent(CControlUI* target, int type, CControlUI* sender)
{
    tagTEventUI event{};
    event.Type = type;
    event.pSender = sender;
    event.dwTimestamp = GetTickCount();
    target->Event(event);
}

} // namespace

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

void CPaintManagerUI::ReleaseWindow()
{
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

CControlUI* CPaintManagerUI::RegisterName(CControlUI* pControl, void* pData)
{
    const CSkinString& name = pControl->GetName();
    if (!name.IsEmpty()) {
        static_cast<CPaintManagerUI*>(pData)->m_mNameHash.Set(name, pControl);
    }
    return nullptr;
}

CControlUI* CPaintManagerUI::MatchName(CControlUI* pControl, void* pData)
{
    return pControl->GetName() == static_cast<const wchar_t*>(pData) ? pControl : nullptr;
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

CControlUI* CPaintManagerUI::FindControl(const wchar_t* pstrName) const
{
    return pstrName ? static_cast<CControlUI*>(m_mNameHash.Find(pstrName)) : nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, const wchar_t* pstrName) const
{
    if (!pParent || !pstrName) {
        return nullptr;
    }
    return pParent->FindControl(MatchName, const_cast<wchar_t*>(pstrName), FindAll);
}

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier)
{
    return pNotifier && m_aNotifiers.Find(pNotifier) < 0 && m_aNotifiers.Add(pNotifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier)
{
    return m_aNotifiers.Remove(m_aNotifiers.Find(pNotifier));
}

void CPaintManagerUI::SendNotify(tagTNotifyUI& Msg, bool bAsync)
{
    Msg.ptMouse = m_ptLastMousePos;
    Msg.dwTimestamp = GetTickCount();
    if (m_bUsedVirtualWnd) {
        Msg.sVirtualWnd = Msg.pSender ? Msg.pSender->GetVirtualWnd() : CSkinString();
    }
    if (bAsync) {
        auto* copy = new tagTNotifyUI(Msg);
        if (!m_aAsyncNotify.Add(copy)) {
            delete copy;
            return;
        }
        PostAsyncMessage();
        return;
    }
    DeliverNotify(Msg);
}

void CPaintManagerUI::DeliverNotify(tagTNotifyUI& Msg)
{
    // Both undone however the handlers leave, a throw included.
    const DeliveryScope delivering(*this);
    struct Tracked {
        CStdPtrArray& list;
        tagTNotifyUI* msg;
        bool added;
        ~Tracked()
        {
            if (added) {
                list.Remove(list.Find(msg));
            }
        }
    } const tracked{m_aDelivering, &Msg, m_aDelivering.Add(&Msg)};
    if (Msg.pSender && Msg.pSender->OnNotify) {
        Msg.pSender->OnNotify(&Msg);
    }
    for (int i = 0; i < m_aNotifiers.GetSize(); ++i) {
        static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(Msg);
    }
}

void CPaintManagerUI::EndDelivery()
{
    // What a nested message loop left queued goes now that nothing uses it.
    if (--m_nDeliveries == 0 && !m_aDelayedCleanup.IsEmpty()) {
        PostAsyncMessage();
    }
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, const wchar_t* pstrMessage, WPARAM wParam, LPARAM lParam,
                                 bool bAsync)
{
    tagTNotifyUI msg;
    msg.sType = pstrMessage;
    msg.pSender = pControl;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, bAsync);
}

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    if (m_hWndPaint && ::GetFocus() != m_hWndPaint && pControl != m_pFocus) {
        ::SetFocus(m_hWndPaint);
    }
    if (pControl == m_pFocus) {
        return;
    }
    const DeliveryScope delivering(*this);
    if (CControlUI* old = m_pFocus) {
        // Out first: a handler of these may move the focus itself, and then
        // its choice stands.
        m_pFocus = nullptr;
        SendFocusEvent(old, EventKillFocus, pControl);
        SendNotify(old, L"killfocus");
        if (m_pFocus) {
            return;
        }
    }
    if (!pControl || pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled()) {
        return;
    }
    m_pFocus = pControl;
    SendFocusEvent(pControl, EventSetFocus, pControl);
    SendNotify(pControl, L"setfocus");
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse)
{
    if (!pControl || !m_hWndPaint) {
        return false;
    }
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        tagTTimerInfo* timer = TimerAt(m_aTimers, i);
        if (timer->pSender == pControl && timer->hWnd == m_hWndPaint && timer->nLocalID == nTimerID) {
            if (!timer->bKilled || ::SetTimer(m_hWndPaint, timer->uWinTimer, uElapse, nullptr) == 0) {
                return false;
            }
            timer->bKilled = false;
            return true;
        }
    }
    // Ids wrap at 240: one a running timer holds is skipped, so that a new
    // timer never replaces it; a killed record gives its id up.
    int tries = 0;
    do {
        m_uTimerID = (m_uTimerID + 1) % 240;
    } while (IsRunningTimerId(m_uTimerID) && ++tries < 240);
    if (tries == 240) {
        return false;
    }
    for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
        tagTTimerInfo* killed = TimerAt(m_aTimers, i);
        if (killed->hWnd == m_hWndPaint && killed->uWinTimer == m_uTimerID) {
            delete killed;
            m_aTimers.Remove(i);
        }
    }
    if (::SetTimer(m_hWndPaint, m_uTimerID, uElapse, nullptr) == 0) {
        return false;
    }
    auto* timer = new tagTTimerInfo{pControl, nTimerID, m_hWndPaint, m_uTimerID, false};
    if (!m_aTimers.Add(timer)) {
        ::KillTimer(m_hWndPaint, m_uTimerID);
        delete timer;
        return false;
    }
    return true;
}

bool CPaintManagerUI::IsRunningTimerId(UINT uWinTimer) const
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        const tagTTimerInfo* timer = TimerAt(m_aTimers, i);
        if (timer->hWnd == m_hWndPaint && timer->uWinTimer == uWinTimer && !timer->bKilled) {
            return true;
        }
    }
    return false;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        tagTTimerInfo* timer = TimerAt(m_aTimers, i);
        if (timer->pSender == pControl && timer->hWnd == m_hWndPaint && timer->nLocalID == nTimerID &&
            !timer->bKilled) {
            if (IsWindow(m_hWndPaint)) {
                ::KillTimer(timer->hWnd, timer->uWinTimer);
            }
            timer->bKilled = true;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl)
{
    for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
        tagTTimerInfo* timer = TimerAt(m_aTimers, i);
        if (timer->pSender == pControl && timer->hWnd == m_hWndPaint) {
            if (!timer->bKilled) {
                ::KillTimer(timer->hWnd, timer->uWinTimer);
            }
            delete timer;
            m_aTimers.Remove(i);
        }
    }
}

void CPaintManagerUI::OnTimer(WPARAM wParam, LPARAM lParam)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        const tagTTimerInfo* timer = TimerAt(m_aTimers, i);
        if (timer->hWnd == m_hWndPaint && timer->uWinTimer == wParam && !timer->bKilled) {
            SendEvent(timer->pSender, EventTimer, m_ptLastMousePos, timer->nLocalID, lParam);
            return;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        tagTTimerInfo* timer = TimerAt(m_aTimers, i);
        if (!timer->bKilled && IsWindow(m_hWndPaint)) {
            ::KillTimer(timer->hWnd, timer->uWinTimer);
        }
        delete timer;
    }
    m_aTimers.Empty();
}

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
    return pControl && m_aPostPaintControls.Find(pControl) < 0 && m_aPostPaintControls.Add(pControl);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Remove(m_aPostPaintControls.Find(pControl));
}

} // namespace SkinUI
