// A growable array of fixed-size values, copied in and out bytewise.
#pragma once

namespace SkinUI {

class CStdValArray {
public:
    explicit CStdValArray(int elementSize, int preallocate = 0);
    CStdValArray(const CStdValArray&) = delete;
    CStdValArray& operator=(const CStdValArray&) = delete;
    ~CStdValArray();

    // Forgets the elements but keeps the storage.
    void Empty() { m_nCount = 0; }
    bool IsEmpty() const { return m_nCount == 0; }
    bool Add(const void* value);
    bool Remove(int index);
    int GetSize() const { return m_nCount; }
    int GetCapacity() const { return m_nAllocated; }
    void* GetData() { return m_pVoid; }
    void* GetAt(int index) const;
    void* operator[](int index) const { return m_pVoid + index * m_iElementSize; }

private:
    unsigned char* m_pVoid;
    int m_iElementSize;
    int m_nCount;
    int m_nAllocated;
};

} // namespace SkinUI
