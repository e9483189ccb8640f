// Notifications to the window's notifiers, and the work deferred to the posted message.
#include "paint_manager.h"

#include "control.h"

namespace SkinUI {

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier)
{
    return AddOnce(m_aNotifiers, pNotifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier)
{
    return RemoveItem(m_aNotifiers, pNotifier);
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

void CPaintManagerUI::PostAsyncMessage()
{
    // One posted message serves everything queued until it is handled.
    if (m_bAsyncNotifyPosted || !m_hWndPaint) {
        return;
    }
    m_bAsyncNotifyPosted = PostMessageW(m_hWndPaint, kAsyncMessage, 0, 0) != FALSE;
}

void CPaintManagerUI::OnAsyncMessage()
{
    m_bAsyncNotifyPosted = false;
    // Deleting may queue more controls; those are taken in the same pass.
    // Inside a delivery (a nested loop) they wait for its end, which posts
    // this message again.
    while (!IsDelivering() && !m_aDelayedCleanup.IsEmpty()) {
        auto* control = static_cast<CControlUI*>(m_aDelayedCleanup[0]);
        m_aDelayedCleanup.Remove(0);
        delete control;
    }
    while (!m_aAsyncNotify.IsEmpty()) {
        auto* msg = static_cast<tagTNotifyUI*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*msg);
        delete msg;
    }
    FlushAccessibleEvents();
}

void CPaintManagerUI::DeleteQueuedNotifications()
{
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
        delete static_cast<tagTNotifyUI*>(m_aAsyncNotify[i]);
    }
    m_aAsyncNotify.Empty();
}

} // namespace SkinUI
