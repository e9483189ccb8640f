// The resources controls draw with, held for one window (or shared by all):
// default colours and font, fonts by number, images by name, default
// attribute lists by tag, styles by name and parsed draw strings.
#pragma once

#include "font_info.h"
#include "std_string_ptr_map.h"

#include <windows.h>

namespace SkinUI {

struct tagTResInfo {
    tagTResInfo();
    tagTResInfo(const tagTResInfo&) = delete;
    tagTResInfo& operator=(const tagTResInfo&) = delete;
    ~tagTResInfo();

    // Each frees what its map owns and empties it.
    void RemoveAllFonts();
    void RemoveAllImages();
    void RemoveAllAttributeLists();
    void RemoveAllStyles();
    void RemoveAllDrawInfos();
    // All of the above and the default font; the colours stay.
    void Clear();

    DWORD m_dwDefaultDisabledColor;
    DWORD m_dwDefaultFontColor;
    DWORD m_dwDefaultLinkFontColor;
    DWORD m_dwDefaultLinkHoverFontColor;
    DWORD m_dwDefaultSelectedBkColor;
    tagTFontInfo m_DefaultFontInfo;
    // Decimal text of the font number -> tagTFontInfo.
    CStdStringPtrMap m_CustomFonts;
    // Image name -> tagTImageInfo.
    CStdStringPtrMap m_ImageHash;
    // Tag name -> CSkinString.
    CStdStringPtrMap m_AttrHash;
    // Style name -> CSkinString.
    CStdStringPtrMap m_StyleHash;
    // Draw string and modify string -> tagTDrawInfo.
    CStdStringPtrMap m_DrawInfoHash;
};

typedef tagTResInfo TResInfo;

// Deletes every T the map holds and empties it; the walk does not reorder
// the map while it runs.
template <typename T> void DeleteAllEntries(CStdStringPtrMap& map)
{
    for (int i = 0; i < map.GetSize(); ++i) {
        if (const wchar_t* key = map.GetAt(i)) {
            delete static_cast<T*>(map.Find(key, false));
        }
    }
    map.RemoveAll();
}

// Stores data under key in place of (and deleting) what was there; false,
// with data not stored, when the map cannot take it.
template <typename T> bool ReplaceEntry(CStdStringPtrMap& map, const wchar_t* key, T* data)
{
    if (!key || map.GetBucketCount() == 0) {
        return false;
    }
    delete static_cast<T*>(map.Set(key, data));
    return true;
}

// Deletes and removes the T stored under key; false when there is none.
template <typename T> bool RemoveEntry(CStdStringPtrMap& map, const wchar_t* key)
{
    T* data = static_cast<T*>(map.Find(key, false));
    if (!map.Remove(key)) {
        return false;
    }
    delete data;
    return true;
}

} // namespace SkinUI
