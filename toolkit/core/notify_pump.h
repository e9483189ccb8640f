// Routes notifications to member functions through a table per class (a
// message map), optionally through named virtual windows: a class lists
// its entries between SKIN_BEGIN_MESSAGE_MAP and SKIN_END_MESSAGE_MAP and
// declares SKIN_DECLARE_MESSAGE_MAP() in its body.
#pragma once

#include "notify_ui.h"
#include "skin_string.h"
#include "std_string_ptr_map.h"

namespace SkinUI {

class CNotifyPump;

// How an entry's function is called: with the whole notification, or with
// its wParam and lParam; SkinSig_end closes a table.
enum SkinSig : unsigned {
    SkinSig_end = 0,
    SkinSig_lwl = 1,
    SkinSig_vn = 2,
};

// Calls the entry's member function on the pump (downcast to the class
// that declared the entry).
using SkinMsgCall = void (*)(CNotifyPump* pump, tagTNotifyUI& msg);

struct SKIN_MSGMAP_ENTRY {
    CSkinString sMsgType;
    // Empty: any control.
    CSkinString sCtrlName;
    unsigned nSig;
    SkinMsgCall pfn;
};

struct SKIN_MSGMAP {
    // The base class's table; null at the root.
    const SKIN_MSGMAP* (*pfnGetBaseMap)();
    const SKIN_MSGMAP_ENTRY* lpEntries;
};

#define SKIN_DECLARE_MESSAGE_MAP()                                                                                     \
public:                                                                                                                \
    static const SKIN_MSGMAP* GetThisMessageMap();                                                                     \
                                                                                                                       \
protected:                                                                                                             \
    const SKIN_MSGMAP* GetMessageMap() const override;

#define SKIN_BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                    \
    const SKIN_MSGMAP* theClass::GetMessageMap() const                                                                 \
    {                                                                                                                  \
        return GetThisMessageMap();                                                                                    \
    }                                                                                                                  \
    const SKIN_MSGMAP* theClass::GetThisMessageMap()                                                                   \
    {                                                                                                                  \
        using ThisClass = theClass;                                                                                    \
        using TheBaseClass = baseClass;                                                                                \
        static const SKIN_MSGMAP_ENTRY entries[] = {
#define SKIN_END_MESSAGE_MAP()                                                                                         \
    {                                                                                                                  \
        CSkinString(), CSkinString(), SkinSig_end, nullptr                                                             \
    }                                                                                                                  \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const SKIN_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries};                                        \
    return &map;                                                                                                       \
    }

// The member takes the notification.
#define SKIN_ON_MSGTYPE(msgtype, memberFxn)                                                                            \
    {msgtype, L"", SkinSig_vn,                                                                                         \
     [](CNotifyPump* pump, tagTNotifyUI& msg) { static_cast<ThisClass*>(pump)->memberFxn(msg); }},
#define SKIN_ON_MSGTYPE_CTRNAME(msgtype, ctrname, memberFxn)                                                           \
    {msgtype, ctrname, SkinSig_vn,                                                                                     \
     [](CNotifyPump* pump, tagTNotifyUI& msg) { static_cast<ThisClass*>(pump)->memberFxn(msg); }},
// The member takes the notification's wParam and lParam.
#define SKIN_ON_MSGTYPE_PARAMS(msgtype, memberFxn)                                                                     \
    {msgtype, L"", SkinSig_lwl,                                                                                        \
     [](CNotifyPump* pump, tagTNotifyUI& msg) { static_cast<ThisClass*>(pump)->memberFxn(msg.wParam, msg.lParam); }},

class CNotifyPump {
public:
    CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    // False when the name is taken; the pump is not owned.
    bool AddVirtualWnd(const wchar_t* strName, CNotifyPump* pObject);
    bool RemoveVirtualWnd(const wchar_t* strName);
    // The virtual window the notification names (ignoring case), then this one.
    void NotifyPump(tagTNotifyUI& msg);
    // The class's table, then its bases'; false when no entry takes msg.
    bool LoopDispatch(tagTNotifyUI& msg);

    // CNotifyPump's own table: no entries, no base.
    static const SKIN_MSGMAP* GetThisMessageMap();

protected:
    ~CNotifyPump() = default;
    virtual const SKIN_MSGMAP* GetMessageMap() const;

private:
    CStdStringPtrMap m_VirtualWndMap{83};
};

} // namespace SkinUI
