// An owned block of bytes (a skin file read whole).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace SkinUI {

class CSkinBuffer {
public:
    CSkinBuffer() = default;
    CSkinBuffer(const CSkinBuffer&) = delete;
    CSkinBuffer& operator=(const CSkinBuffer&) = delete;
    CSkinBuffer(CSkinBuffer&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
    {
    }
    CSkinBuffer& operator=(CSkinBuffer&& other) noexcept
    {
        if (this != &other) {
            Free();
            m_data = std::exchange(other.m_data, nullptr);
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }
    ~CSkinBuffer() { Free(); }

    // Replaces the contents with size uninitialised bytes; false when out of memory.
    bool Allocate(uint32_t size)
    {
        Free();
        m_data = static_cast<unsigned char*>(malloc(size > 0 ? size : 1));
        m_size = m_data ? size : 0;
        return m_data != nullptr;
    }
    void Free()
    {
        free(m_data);
        m_data = nullptr;
        m_size = 0;
    }
    unsigned char* GetData() const { return m_data; }
    uint32_t GetSize() const { return m_size; }
    bool IsEmpty() const { return m_data == nullptr; }

private:
    unsigned char* m_data = nullptr;
    uint32_t m_size = 0;
};

} // namespace SkinUI
