#include "builtin_accessible.h"

#include "button.h"
#include "control.h"
#include "label.h"
#include "paint_manager.h"
#include "progress.h"

#include <oleacc.h>

namespace SkinUI {

namespace {

// The tool tip names a control that shows no words of its own ("关闭" on
// an image button), else its text does.
CSkinString NameOf(CControlUI& control)
{
    const CSkinString tip = control.GetToolTip();
    return tip.IsEmpty() ? control.GetText() : tip;
}

} // namespace

bool DescribeBuiltinAccessible(CControlUI& control, tagTAccessibleInfo& info)
{
    if (control.GetInterface(L"IContainer")) {
        return false;
    }
    if (auto* bar = static_cast<CProgressUI*>(control.GetInterface(L"Progress"))) {
        info.lRole = ROLE_SYSTEM_PROGRESSBAR;
        info.sName = control.GetToolTip();
        info.sValue.SmallFormat(L"%d%%", bar->Percent());
        info.lStates = STATE_SYSTEM_READONLY;
        return true;
    }
    if (auto* button = static_cast<CButtonUI*>(control.GetInterface(L"Button"))) {
        info.lRole = ROLE_SYSTEM_PUSHBUTTON;
        info.sName = NameOf(control);
        info.sDefaultAction = L"Press";
        const UINT state = button->GetButtonState();
        if (control.IsEnabled() && control.IsKeyboardEnabled()) {
            info.lStates |= STATE_SYSTEM_FOCUSABLE;
        }
        CPaintManagerUI* manager = control.GetManager();
        if (manager && manager->GetFocus() == &control && ::GetFocus() == manager->GetPaintWindow()) {
            info.lStates |= STATE_SYSTEM_FOCUSED;
        }
        if (state & CButtonUI::StateHot) {
            info.lStates |= STATE_SYSTEM_HOTTRACKED;
        }
        return true;
    }
    if (control.GetInterface(L"Label")) {
        if (control.GetText().IsEmpty()) {
            return false;
        }
        info.lRole = ROLE_SYSTEM_STATICTEXT;
        info.sName = control.GetText();
        info.lStates = STATE_SYSTEM_READONLY;
        return true;
    }
    if (control.GetBkImage().IsEmpty()) {
        return false;
    }
    info.lRole = ROLE_SYSTEM_GRAPHIC;
    info.sName = NameOf(control);
    info.lStates = STATE_SYSTEM_READONLY;
    return true;
}

} // namespace SkinUI
