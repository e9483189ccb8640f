// What a window's controls tell and what sees its messages: the
// notification, its receivers and the message filters.
#pragma once

#include "skin_string.h"

#include <windows.h>

namespace SkinUI {

class CControlUI;

// A notification from a control ("click", "setfocus", ...).
struct tagTNotifyUI {
    CSkinString sType;
    // The sender's virtual window, when the window uses them.
    CSkinString sVirtualWnd;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    // The last mouse position, client coordinates.
    POINT ptMouse{};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

typedef tagTNotifyUI TNotifyUI;

// Receives every notification of a window.
class INotifyUI {
public:
    virtual void Notify(tagTNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Sees a window's messages before the paint manager handles them (or, as a
// pre-message filter, before they are dispatched); setting handled ends
// their way there.
class IMessageFilterUI {
public:
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

} // namespace SkinUI
