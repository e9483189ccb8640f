#include "notify_pump.h"

#include "control.h"

namespace SkinUI {

const SKIN_MSGMAP* CNotifyPump::GetThisMessageMap()
{
    static const SKIN_MSGMAP_ENTRY entries[] = {{CSkinString(), CSkinString(), SkinSig_end, nullptr}};
    static const SKIN_MSGMAP map = {nullptr, entries};
    return &map;
}

const SKIN_MSGMAP* CNotifyPump::GetMessageMap() const
{
    return GetThisMessageMap();
}

bool CNotifyPump::AddVirtualWnd(const wchar_t* strName, CNotifyPump* pObject)
{
    if (!strName || !pObject || m_VirtualWndMap.Find(strName)) {
        return false;
    }
    return m_VirtualWndMap.Insert(strName, pObject);
}

bool CNotifyPump::RemoveVirtualWnd(const wchar_t* strName)
{
    return strName && m_VirtualWndMap.Remove(strName);
}

void CNotifyPump::NotifyPump(tagTNotifyUI& msg)
{
    if (!msg.sVirtualWnd.IsEmpty()) {
        for (int i = 0; i < m_VirtualWndMap.GetSize(); ++i) {
            const wchar_t* name = m_VirtualWndMap.GetAt(i);
            if (msg.sVirtualWnd.CompareNoCase(name) == 0) {
                auto* pump = static_cast<CNotifyPump*>(m_VirtualWndMap.Find(name, false));
                if (pump && pump->LoopDispatch(msg)) {
                    return;
                }
            }
        }
    }
    LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(tagTNotifyUI& msg)
{
    for (const SKIN_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        const SKIN_MSGMAP_ENTRY* named = nullptr;
        const SKIN_MSGMAP_ENTRY* anyControl = nullptr;
        for (const SKIN_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != SkinSig_end && !named; ++entry) {
            if (entry->sMsgType != msg.sType) {
                continue;
            }
            if (entry->sCtrlName.IsEmpty()) {
                anyControl = entry;
            } else if (msg.pSender && entry->sCtrlName == msg.pSender->GetName()) {
                named = entry;
            }
        }
        const SKIN_MSGMAP_ENTRY* match = named ? named : anyControl;
        if (!match) {
            continue;
        }
        if (match->nSig != SkinSig_vn && match->nSig != SkinSig_lwl) {
            return false;
        }
        match->pfn(this, msg);
        return true;
    }
    return false;
}

} // namespace SkinUI
