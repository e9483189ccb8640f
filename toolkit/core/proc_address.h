// Typed GetProcAddress for the system functions looked up at run time.
#pragma once

#include <windows.h>

namespace SkinUI {

// Null when module is null or lacks the function.
template <typename Function> Function GetProcAddressAs(HMODULE module, const char* name)
{
    if (!module) {
        return nullptr;
    }
    // Through void (*)(), the generic function pointer type.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace SkinUI
