// Timers that controls set on their window.
#include "paint_manager.h"

#include "control.h"

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

} // namespace

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

} // namespace SkinUI
