// The owner of a memory DC: deleted when it goes out of scope.
#pragma once

#include <windows.h>

namespace SkinUI {

// A DC from CreateCompatibleDC.
class CMemoryDC {
public:
    explicit CMemoryDC(HDC compatible) : m_hDC(CreateCompatibleDC(compatible)) {}
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    ~CMemoryDC()
    {
        if (m_hDC) {
            DeleteDC(m_hDC);
        }
    }
    HDC Get() const { return m_hDC; }
    explicit operator bool() const { return m_hDC != nullptr; }

private:
    HDC m_hDC;
};

} // namespace SkinUI
