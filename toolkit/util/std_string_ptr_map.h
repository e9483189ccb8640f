// A hash map from text keys to pointers it does not own. Buckets are doubly
// linked chains; lookups move a hit to the front of its bucket.
#pragma once

#include "skin_string.h"

namespace SkinUI {

class CStdStringPtrMap {
public:
    explicit CStdStringPtrMap(int buckets = 83);
    CStdStringPtrMap(const CStdStringPtrMap&) = delete;
    CStdStringPtrMap& operator=(const CStdStringPtrMap&) = delete;
    ~CStdStringPtrMap();

    void Resize(int buckets);
    // optimize = false for enumerations, so that the order holds while they run.
    void* Find(const wchar_t* key, bool optimize = true) const;
    bool Insert(const wchar_t* key, void* data);
    void* Set(const wchar_t* key, void* data);
    bool Remove(const wchar_t* key);
    void RemoveAll();
    int GetSize() const { return m_nCount; }
    int GetBucketCount() const { return m_nBuckets; }
    const wchar_t* GetAt(int index) const;
    const wchar_t* operator[](int index) const { return GetAt(index); }

    static unsigned int HashKey(const wchar_t* key);

private:
    struct TITEM {
        CSkinString Key;
        void* Data;
        TITEM* pPrev;
        TITEM* pNext;
    };

    void FreeAll();
    // The entry holding key, or null; slot receives the key's bucket.
    TITEM* FindItem(const wchar_t* key, unsigned int& slot) const;
    void MoveToFront(TITEM* item, unsigned int slot) const;
    void Link(unsigned int slot, const wchar_t* key, void* data);

    TITEM** m_aT;
    int m_nBuckets;
    int m_nCount;
};

} // namespace SkinUI
