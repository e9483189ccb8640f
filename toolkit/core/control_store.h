// The setters' common step: keep a new value and repaint the control, only
// when the value changed.
#pragma once

#include "control.h"

namespace SkinUI {

template <typename T> void StoreAndInvalidate(CControlUI& control, T& stored, const T& value)
{
    if (stored == value) {
        return;
    }
    stored = value;
    control.Invalidate();
}

inline void StoreAndInvalidate(CControlUI& control, CSkinString& stored, const wchar_t* value)
{
    if (stored == (value ? value : L"")) {
        return;
    }
    stored = value;
    control.Invalidate();
}

} // namespace SkinUI
