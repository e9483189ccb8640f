#include "system_library.h"

#include <string>

namespace SkinUI {

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without the update that brought the flag refuses it: the
    // full path of the system folder's copy serves the same.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        wchar_t folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            module = LoadLibraryExW((std::wstring(folder, length) + L"\\" + name).c_str(), nullptr,
                                    LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return module;
}

} // namespace SkinUI
