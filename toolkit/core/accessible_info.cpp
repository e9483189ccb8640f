#include "accessible_info.h"

#include "control.h"

#include <oleacc.h>

namespace SkinUI {

namespace {

AccessibleDescriber g_describer = nullptr;

} // namespace

void SetAccessibleDescriber(AccessibleDescriber describer)
{
    g_describer = describer;
}

bool DescribeAccessible(CControlUI& control, tagTAccessibleInfo& info)
{
    info = tagTAccessibleInfo();
    if (g_describer) {
        return g_describer(control, info);
    }
    if (control.GetText().IsEmpty()) {
        return false;
    }
    info.lRole = ROLE_SYSTEM_STATICTEXT;
    info.sName = control.GetText();
    info.lStates = STATE_SYSTEM_READONLY;
    return true;
}

} // namespace SkinUI
