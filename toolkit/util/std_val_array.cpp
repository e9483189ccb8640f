#include "std_val_array.h"

#include <cstdlib>
#include <cstring>

namespace SkinUI {

CStdValArray::CStdValArray(int elementSize, int preallocate)
    : m_pVoid(nullptr), m_iElementSize(elementSize), m_nCount(0), m_nAllocated(0)
{
    if (preallocate > 0 && elementSize > 0) {
        m_pVoid = static_cast<unsigned char*>(malloc(static_cast<size_t>(preallocate) * elementSize));
        if (m_pVoid) {
            m_nAllocated = preallocate;
        }
    }
}

CStdValArray::~CStdValArray()
{
    free(m_pVoid);
}

bool CStdValArray::Add(const void* value)
{
    ++m_nCount;
    if (m_nCount >= m_nAllocated) {
        const int capacity = m_nAllocated == 0 ? 11 : m_nAllocated * 2;
        void* grown = realloc(m_pVoid, static_cast<size_t>(capacity) * m_iElementSize);
        if (!grown) {
            --m_nCount;
            return false;
        }
        m_pVoid = static_cast<unsigned char*>(grown);
        m_nAllocated = capacity;
    }
    memcpy(m_pVoid + (m_nCount - 1) * m_iElementSize, value, static_cast<size_t>(m_iElementSize));
    return true;
}

bool CStdValArray::Remove(int index)
{
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    --m_nCount;
    if (index < m_nCount) {
        memmove(m_pVoid + index * m_iElementSize, m_pVoid + (index + 1) * m_iElementSize,
                static_cast<size_t>(m_nCount - index) * m_iElementSize);
    }
    return true;
}

void* CStdValArray::GetAt(int index) const
{
    if (index < 0 || index >= m_nCount) {
        return nullptr;
    }
    return m_pVoid + index * m_iElementSize;
}

} // namespace SkinUI
