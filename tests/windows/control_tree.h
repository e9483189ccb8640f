// What the control tests share: the control classes, events made by hand
// and a log of notifications.
#pragma once

#include "button.h"
#include "container.h"
#include "horizontal_layout.h"
#include "label.h"
#include "paint_manager.h"
#include "progress.h"
#include "vertical_layout.h"

#include <string>
#include <windows.h>

inline SkinUI::tagTEventUI MakeEvent(int type, POINT point = {}, WPARAM wParam = 0)
{
    SkinUI::tagTEventUI event{};
    event.Type = type;
    event.ptMouse = point;
    event.wParam = wParam;
    event.dwTimestamp = GetTickCount();
    return event;
}

// Counts the notifications of a window by type.
class NotifyLog : public SkinUI::INotifyUI {
public:
    void Notify(SkinUI::tagTNotifyUI& msg) override
    {
        types += msg.sType.GetData();
        types += L";";
        last = msg;
    }

    std::wstring types;
    SkinUI::tagTNotifyUI last;
};
