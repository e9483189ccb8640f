// A selection into a DC, undone when it goes out of scope.
#pragma once

#include <windows.h>

namespace SkinUI {

// Selects an object into a DC and puts the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC hDC, HGDIOBJ object) : m_hDC(hDC), m_old(object ? SelectObject(hDC, object) : nullptr) {}
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
    ~CSelectObject()
    {
        if (m_old) {
            SelectObject(m_hDC, m_old);
        }
    }

private:
    HDC m_hDC;
    HGDIOBJ m_old;
};

} // namespace SkinUI
