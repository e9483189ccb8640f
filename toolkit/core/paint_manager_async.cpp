// Work the paint manager defers to its posted message (delayed deletion of
// controls, asynchronous notifications), and the lists it keeps for others:
// filters, accelerators, mouse-leave controls, option groups, managers.
#include "paint_manager.h"

#include "control.h"

namespace SkinUI {

namespace {

bool AddOnce(CStdPtrArray& list, void* item)
{
    return item && list.Find(item) < 0 && list.Add(item);
}

bool RemoveItem(CStdPtrArray& list, void* item)
{
    return list.Remove(list.Find(item));
}

} // namespace

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
}

void CPaintManagerUI::DeleteQueuedNotifications()
{
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
        delete static_cast<tagTNotifyUI*>(m_aAsyncNotify[i]);
    }
    m_aAsyncNotify.Empty();
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return AddOnce(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveItem(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return AddOnce(m_aMessageFilters, pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveItem(m_aMessageFilters, pFilter);
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return AddOnce(m_aTranslateAccelerator, pTranslateAccelerator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return RemoveItem(m_aTranslateAccelerator, pTranslateAccelerator);
}

bool CPaintManagerUI::TranslateAccelerator(MSG* pMsg)
{
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
        if (static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i])->TranslateAccelerator(pMsg) == 0) {
            return true;
        }
    }
    return false;
}

bool CPaintManagerUI::AddMouseLeaveNeeded(CControlUI* pControl)
{
    return AddOnce(m_aNeedMouseLeaveNeeded, pControl);
}

bool CPaintManagerUI::RemoveMouseLeaveNeeded(CControlUI* pControl)
{
    return RemoveItem(m_aNeedMouseLeaveNeeded, pControl);
}

bool CPaintManagerUI::AddOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl)
{
    if (!pStrGroupName || !pControl) {
        return false;
    }
    if (auto* group = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName))) {
        return AddOnce(*group, pControl);
    }
    auto* group = new CStdPtrArray(6);
    if (!group->Add(pControl) || !m_mOptionGroup.Insert(pStrGroupName, group)) {
        delete group;
        return false;
    }
    return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(const wchar_t* pStrGroupName)
{
    return pStrGroupName ? static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName)) : nullptr;
}

void CPaintManagerUI::RemoveOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* group = GetOptionGroup(pStrGroupName);
    if (!group) {
        return;
    }
    group->Remove(group->Find(pControl));
    if (group->IsEmpty()) {
        delete group;
        m_mOptionGroup.Remove(pStrGroupName);
    }
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    for (int i = 0; i < m_mOptionGroup.GetSize(); ++i) {
        delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(m_mOptionGroup[i], false));
    }
    m_mOptionGroup.RemoveAll();
}

CStdPtrArray* CPaintManagerUI::GetPaintManagers()
{
    return &LiveManagers();
}

CPaintManagerUI* CPaintManagerUI::GetPaintManager(const wchar_t* pstrName)
{
    if (!pstrName || !*pstrName) {
        return nullptr;
    }
    const CStdPtrArray& managers = LiveManagers();
    for (int i = 0; i < managers.GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>(managers[i]);
        if (manager->m_sName == pstrName) {
            return manager;
        }
    }
    return nullptr;
}

} // namespace SkinUI
