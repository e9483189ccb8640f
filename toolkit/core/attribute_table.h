// The attribute names a control class knows and what each does to it.
#pragma once

#include "skin_text.h"

#include <cstddef>

namespace SkinUI {

template <class T> struct TAttributeEntry {
    const wchar_t* name;
    void (*apply)(T& control, const wchar_t* value);
};

// Applies the entry called name (ignoring case); false when there is none.
template <class T, size_t N>
bool ApplyAttributeEntry(const TAttributeEntry<T> (&table)[N], T& control, const wchar_t* name, const wchar_t* value)
{
    for (const TAttributeEntry<T>& entry : table) {
        if (SkinCompareNoCase(name, entry.name) == 0) {
            entry.apply(control, value);
            return true;
        }
    }
    return false;
}

} // namespace SkinUI
