// The owner of a GDI object: deleted when it goes out of scope.
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

} // namespace SkinUI
