#include "std_ptr_array.h"

#include <cstdlib>
#include <cstring>

namespace SkinUI {

CStdPtrArray::CStdPtrArray(int preallocate) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0)
{
    if (preallocate > 0) {
        m_ppVoid = static_cast<void**>(malloc(static_cast<size_t>(preallocate) * sizeof(void*)));
        if (m_ppVoid) {
            m_nAllocated = preallocate;
        }
    }
}

CStdPtrArray::CStdPtrArray(const CStdPtrArray& source) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0)
{
    for (int i = 0; i < source.GetSize(); ++i) {
        Add(source.GetAt(i));
    }
}

CStdPtrArray& CStdPtrArray::operator=(const CStdPtrArray& source)
{
    if (this != &source) {
        Empty();
        for (int i = 0; i < source.GetSize(); ++i) {
            Add(source.GetAt(i));
        }
    }
    return *this;
}

CStdPtrArray::~CStdPtrArray()
{
    free(m_ppVoid);
}

void CStdPtrArray::Empty()
{
    free(m_ppVoid);
    m_ppVoid = nullptr;
    m_nCount = m_nAllocated = 0;
}

void CStdPtrArray::Resize(int size)
{
    Empty();
    if (size <= 0) {
        return;
    }
    m_ppVoid = static_cast<void**>(calloc(static_cast<size_t>(size), sizeof(void*)));
    if (m_ppVoid) {
        m_nCount = m_nAllocated = size;
    }
}

int CStdPtrArray::Find(void* p) const
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppVoid[i] == p) {
            return i;
        }
    }
    return -1;
}

// Called after the count was incremented: doubles the storage (from 11) once
// the count reaches the capacity, so that the capacity stays above the count.
bool CStdPtrArray::Grow()
{
    if (m_nCount < m_nAllocated) {
        return true;
    }
    const int capacity = m_nAllocated == 0 ? 11 : m_nAllocated * 2;
    void* grown = realloc(m_ppVoid, static_cast<size_t>(capacity) * sizeof(void*));
    if (!grown) {
        return false;
    }
    m_ppVoid = static_cast<void**>(grown);
    m_nAllocated = capacity;
    return true;
}

bool CStdPtrArray::Add(void* p)
{
    ++m_nCount;
    if (!Grow()) {
        --m_nCount;
        return false;
    }
    m_ppVoid[m_nCount - 1] = p;
    return true;
}

bool CStdPtrArray::SetAt(int index, void* p)
{
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    m_ppVoid[index] = p;
    return true;
}

bool CStdPtrArray::InsertAt(int index, void* p)
{
    if (index == m_nCount) {
        return Add(p);
    }
    if (index < 0 || index > m_nCount) {
        return false;
    }
    ++m_nCount;
    if (!Grow()) {
        --m_nCount;
        return false;
    }
    memmove(&m_ppVoid[index + 1], &m_ppVoid[index], static_cast<size_t>(m_nCount - index - 1) * sizeof(void*));
    m_ppVoid[index] = p;
    return true;
}

bool CStdPtrArray::Remove(int index)
{
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    --m_nCount;
    if (index < m_nCount) {
        memmove(&m_ppVoid[index], &m_ppVoid[index + 1], static_cast<size_t>(m_nCount - index) * sizeof(void*));
    }
    return true;
}

void* CStdPtrArray::GetAt(int index) const
{
    if (index < 0 || index >= m_nCount) {
        return nullptr;
    }
    return m_ppVoid[index];
}

} // namespace SkinUI
