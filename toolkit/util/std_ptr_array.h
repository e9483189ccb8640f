// A growable array of pointers it does not own.
#pragma once

namespace SkinUI {

class CStdPtrArray {
public:
    explicit CStdPtrArray(int preallocate = 0);
    CStdPtrArray(const CStdPtrArray& source);
    CStdPtrArray& operator=(const CStdPtrArray& source);
    ~CStdPtrArray();

    void Empty();
    void Resize(int size);
    bool IsEmpty() const { return m_nCount == 0; }
    int Find(void* p) const;
    bool Add(void* p);
    bool SetAt(int index, void* p);
    bool InsertAt(int index, void* p);
    bool Remove(int index);
    int GetSize() const { return m_nCount; }
    int GetCapacity() const { return m_nAllocated; }
    void** GetData() { return m_ppVoid; }
    void* GetAt(int index) const;
    void* operator[](int index) const { return m_ppVoid[index]; }

private:
    bool Grow();

    void** m_ppVoid;
    int m_nCount;
    int m_nAllocated;
};

// The list's use as a set: a non-null item added once, removed wherever it is.
inline bool AddOnce(CStdPtrArray& list, void* item)
{
    return item && list.Find(item) < 0 && list.Add(item);
}

inline bool RemoveItem(CStdPtrArray& list, void* item)
{
    return list.Remove(list.Find(item));
}

} // namespace SkinUI
