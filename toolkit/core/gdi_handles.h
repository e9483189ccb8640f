// Owners of GDI handles: objects deleted, memory DCs deleted and selections
// undone when they go out of scope.
#pragma once

#include <utility>
#include <windows.h>

namespace SkinUI {

// A pen, brush, bitmap, font or region, deleted with DeleteObject.
template <typename Handle> class CGdiObject {
public:
    explicit CGdiObject(Handle handle = nullptr) : m_handle(handle) {}
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    ~CGdiObject() { Reset(); }

    Handle Get() const { return m_handle; }
    Handle Release() { return std::exchange(m_handle, nullptr); }
    void Reset(Handle handle = nullptr)
    {
        if (m_handle && m_handle != handle) {
            DeleteObject(m_handle);
        }
        m_handle = handle;
    }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    Handle m_handle;
};

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
