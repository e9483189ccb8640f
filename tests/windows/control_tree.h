// What the control tests share: the control classes, controls and trees
// made by hand, events and a log of notifications.
#pragma once

#include "button.h"
#include "container.h"
#include "horizontal_layout.h"
#include "label.h"
#include "paint_manager.h"
#include "progress.h"
#include "vertical_layout.h"

#include <initializer_list>
#include <string>
#include <windows.h>

// A new control of class T with the attributes of the list.
template <class T> T* Make(const wchar_t* attributes = L"")
{
    T* control = new T;
    control->ApplyAttributeList(attributes);
    return control;
}

// A root of class T holding the children, attached to the manager.
template <class T> T* Attach(SkinUI::CPaintManagerUI& manager, std::initializer_list<SkinUI::CControlUI*> children)
{
    T* root = new T;
    for (SkinUI::CControlUI* child : children) {
        root->Add(child);
    }
    manager.AttachDialog(root);
    return root;
}

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
