// What an assistive technology (a screen reader, a magnifier) is told of a
// control: whether it is an element of its window's accessible tree at
// all, and its role, name, value, states and default action.
//
// Core knows only the control base, so the toolkit's control classes
// register the function that describes them (toolkit/builtin does).
#pragma once

#include "skin_string.h"

#include <windows.h>

namespace SkinUI {

class CControlUI;

// Layouts and spacers are not elements: they are flattened away.
struct tagTAccessibleInfo {
    LONG lRole = 0;
    CSkinString sName;
    CSkinString sValue;
    CSkinString sDefaultAction;
    // STATE_SYSTEM_* beyond those of the control base (invisible,
    // unavailable), which the tree adds itself.
    LONG lStates = 0;
};

// Fills info for control; false when the control is not an element.
using AccessibleDescriber = bool (*)(CControlUI& control, tagTAccessibleInfo& info);

// The describer of every window's tree; without one, a control is an
// element only when it has a text, which is read as static text.
void SetAccessibleDescriber(AccessibleDescriber describer);
bool DescribeAccessible(CControlUI& control, tagTAccessibleInfo& info);

} // namespace SkinUI
