// Process-wide indirections for skin resources: image and layout
// identifiers mapped to paths, and the interface texts (for switching the
// language), optionally completed by a text provider.
#pragma once

#include "markup.h"
#include "query_control_text.h"
#include "std_string_ptr_map.h"
#include "string_or_id.h"

namespace SkinUI {

class CResourceManager {
public:
    static CResourceManager* GetInstance();
    // Empties every map and forgets the language, the text provider and the
    // loaded list; the instance stays usable.
    void Release();

    // source: a resource identifier (read from GetResourceDll with type),
    // markup text starting with '<', or a skin file name.
    bool LoadResource(STRINGorID source, const wchar_t* type = nullptr);
    bool LoadResource(CMarkupNode root);
    // source: markup text starting with '<', or a skin file name.
    bool LoadLanguage(const wchar_t* source);

    const wchar_t* GetImagePath(const wchar_t* id) const;
    const wchar_t* GetXmlPath(const wchar_t* id) const;
    const wchar_t* GetText(const wchar_t* id, const wchar_t* type = nullptr);
    void ReloadText();
    void ResetResourceMap();
    void ResetTextMap();

    void SetLanguage(const wchar_t* language) { m_sLanguage = language; }
    const wchar_t* GetLanguage() const { return m_sLanguage; }
    void SetTextQueryInterface(IQueryControlText* provider) { m_pQuerypInterface = provider; }

private:
    CResourceManager() = default;
    CResourceManager(const CResourceManager&) = delete;
    CResourceManager& operator=(const CResourceManager&) = delete;

    static void DeleteStrings(CStdStringPtrMap& map);

    CStdStringPtrMap m_mTextResourceHashMap;
    CStdStringPtrMap m_mImageHashMap;
    CStdStringPtrMap m_mXmlHashMap;
    CMarkup m_xml;
    CSkinString m_sLanguage;
    IQueryControlText* m_pQuerypInterface = nullptr;
};

} // namespace SkinUI
