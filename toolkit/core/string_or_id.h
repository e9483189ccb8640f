// A text or an integer resource identifier (below 65536) in one pointer,
// as MAKEINTRESOURCE makes it.
#pragma once

#include <windows.h>

namespace SkinUI {

class STRINGorID {
public:
    STRINGorID(const wchar_t* text) : m_lpstr(text) {}
    STRINGorID(UINT id) : m_lpstr(MAKEINTRESOURCEW(id)) {}

    bool IsId() const { return IS_INTRESOURCE(m_lpstr); }

    const wchar_t* m_lpstr;
};

} // namespace SkinUI
