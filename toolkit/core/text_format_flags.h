// The GDI+ string format flags that a DrawText style asks for, starting
// from the typographic format's own.
#pragma once

#include <windows.h>

namespace SkinUI {

INT TextFormatFlags(INT typographic, UINT style);

} // namespace SkinUI
