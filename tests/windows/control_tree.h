// Control trees for the control tests: a layout document turned into
// controls the way the dialog builder does it (one control per element,
// children first, then the element's attributes in order), and events
// made by hand.
#pragma once

#include "button.h"
#include "container.h"
#include "horizontal_layout.h"
#include "label.h"
#include "markup.h"
#include "paint_manager.h"
#include "progress.h"
#include "skin_text.h"
#include "vertical_layout.h"

#include <initializer_list>
#include <string>
#include <windows.h>

// Null for elements that are not controls ("Include", "Font", ...).
inline SkinUI::CControlUI* CreateByTag(const wchar_t* tag)
{
    using namespace SkinUI;
    static const struct {
        const wchar_t* tag;
        CControlUI* (*create)();
    } kClasses[] = {
        {L"Control", CControlUI::CreateControl},
        {L"Container", CContainerUI::CreateControl},
        {L"VerticalLayout", CVerticalLayoutUI::CreateControl},
        {L"HorizontalLayout", CHorizontalLayoutUI::CreateControl},
        {L"Label", CLabelUI::CreateControl},
        {L"Button", CButtonUI::CreateControl},
        {L"Progress", CProgressUI::CreateControl},
    };
    for (const auto& c : kClasses) {
        if (SkinCompareNoCase(tag, c.tag) == 0) {
            return c.create();
        }
    }
    return nullptr;
}

inline SkinUI::CControlUI* BuildControl(const SkinUI::CMarkupNode& node)
{
    using namespace SkinUI;
    CControlUI* control = CreateByTag(node.GetName());
    if (!control) {
        return nullptr;
    }
    for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        if (CControlUI* built = BuildControl(child)) {
            static_cast<IContainerUI*>(control->GetInterface(L"IContainer"))->Add(built);
        }
    }
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        control->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    }
    return control;
}

// The first control element under the document's root.
inline SkinUI::CControlUI* BuildTree(SkinUI::CMarkup& markup)
{
    for (SkinUI::CMarkupNode node = markup.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (SkinUI::CControlUI* control = BuildControl(node)) {
            return control;
        }
    }
    return nullptr;
}

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
