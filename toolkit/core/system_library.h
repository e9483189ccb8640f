// System libraries the toolkit loads at run time.
#pragma once

#include <windows.h>

namespace SkinUI {

// Loads `name` (a file name such as L"msimg32.dll") from the system folder
// only, never from the executable's or the current folder, where anything
// may have been dropped. Null when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

} // namespace SkinUI
