#include "std_string_ptr_map.h"

#include <cwchar>

namespace SkinUI {

unsigned int CStdStringPtrMap::HashKey(const wchar_t* key)
{
    unsigned int hash = 0;
    for (size_t i = wcslen(key); i > 0; --i) {
        hash = (hash << 5) + hash + static_cast<unsigned int>(key[i - 1]);
    }
    return hash;
}

CStdStringPtrMap::CStdStringPtrMap(int buckets) : m_aT(nullptr), m_nBuckets(0), m_nCount(0)
{
    if (buckets < 16) {
        buckets = 16;
    }
    m_aT = new TITEM*[buckets]();
    m_nBuckets = buckets;
}

CStdStringPtrMap::~CStdStringPtrMap()
{
    FreeAll();
}

void CStdStringPtrMap::FreeAll()
{
    if (m_aT) {
        for (int i = m_nBuckets - 1; i >= 0; --i) {
            TITEM* item = m_aT[i];
            while (item) {
                TITEM* next = item->pNext;
                delete item;
                item = next;
            }
        }
        delete[] m_aT;
    }
    m_aT = nullptr;
    m_nBuckets = 0;
    m_nCount = 0;
}

void CStdStringPtrMap::Resize(int buckets)
{
    FreeAll();
    if (buckets > 0) {
        m_aT = new TITEM*[buckets]();
        m_nBuckets = buckets;
    }
}

void CStdStringPtrMap::RemoveAll()
{
    Resize(m_nBuckets);
}

CStdStringPtrMap::TITEM* CStdStringPtrMap::FindItem(const wchar_t* key, unsigned int& slot) const
{
    slot = HashKey(key) % static_cast<unsigned int>(m_nBuckets);
    for (TITEM* item = m_aT[slot]; item; item = item->pNext) {
        if (item->Key == key) {
            return item;
        }
    }
    return nullptr;
}

void CStdStringPtrMap::MoveToFront(TITEM* item, unsigned int slot) const
{
    if (item == m_aT[slot]) {
        return;
    }
    item->pPrev->pNext = item->pNext;
    if (item->pNext) {
        item->pNext->pPrev = item->pPrev;
    }
    item->pPrev = nullptr;
    item->pNext = m_aT[slot];
    item->pNext->pPrev = item;
    m_aT[slot] = item;
}

void CStdStringPtrMap::Link(unsigned int slot, const wchar_t* key, void* data)
{
    TITEM* item = new TITEM{CSkinString(key), data, nullptr, m_aT[slot]};
    if (item->pNext) {
        item->pNext->pPrev = item;
    }
    m_aT[slot] = item;
    ++m_nCount;
}

void* CStdStringPtrMap::Find(const wchar_t* key, bool optimize) const
{
    if (m_nBuckets == 0 || m_nCount == 0 || !key) {
        return nullptr;
    }
    unsigned int slot = 0;
    TITEM* item = FindItem(key, slot);
    if (!item) {
        return nullptr;
    }
    if (optimize) {
        MoveToFront(item, slot);
    }
    return item->Data;
}

bool CStdStringPtrMap::Insert(const wchar_t* key, void* data)
{
    if (m_nBuckets == 0 || !key) {
        return false;
    }
    // A present key (even one holding a null pointer) keeps its data.
    unsigned int slot = 0;
    if (TITEM* item = FindItem(key, slot)) {
        MoveToFront(item, slot);
        return false;
    }
    Link(slot, key, data);
    return true;
}

void* CStdStringPtrMap::Set(const wchar_t* key, void* data)
{
    if (m_nBuckets == 0 || !key) {
        return data;
    }
    unsigned int slot = 0;
    if (TITEM* item = FindItem(key, slot)) {
        void* old = item->Data;
        item->Data = data;
        return old;
    }
    Link(slot, key, data);
    return nullptr;
}

bool CStdStringPtrMap::Remove(const wchar_t* key)
{
    if (m_nBuckets == 0 || m_nCount == 0 || !key) {
        return false;
    }
    unsigned int slot = 0;
    TITEM* item = FindItem(key, slot);
    if (!item) {
        return false;
    }
    if (item->pNext) {
        item->pNext->pPrev = item->pPrev;
    }
    if (item->pPrev) {
        item->pPrev->pNext = item->pNext;
    } else {
        m_aT[slot] = item->pNext;
    }
    delete item;
    --m_nCount;
    return true;
}

const wchar_t* CStdStringPtrMap::GetAt(int index) const
{
    if (m_nBuckets == 0 || m_nCount == 0 || index < 0) {
        return nullptr;
    }
    int position = 0;
    for (int i = m_nBuckets - 1; i >= 0; --i) {
        for (TITEM* item = m_aT[i]; item; item = item->pNext) {
            if (position++ == index) {
                return item->Key.GetData();
            }
        }
    }
    return nullptr;
}

} // namespace SkinUI
