#include "resource_manager.h"

#include "paint_manager.h"
#include "skin_text.h"

namespace SkinUI {

CResourceManager* CResourceManager::GetInstance()
{
    // Created on first use and kept for the life of the process.
    static CResourceManager* instance = new CResourceManager;
    return instance;
}

void CResourceManager::Release()
{
    ResetResourceMap();
    m_xml.Release();
    m_sLanguage.Empty();
    m_pQuerypInterface = nullptr;
}

void CResourceManager::DeleteStrings(CStdStringPtrMap& map)
{
    for (int i = 0; i < map.GetSize(); ++i) {
        if (const wchar_t* key = map.GetAt(i)) {
            delete static_cast<CSkinString*>(map.Find(key, false));
        }
    }
    map.RemoveAll();
}

bool CResourceManager::LoadResource(STRINGorID source, const wchar_t* type)
{
    if (source.IsId()) {
        HINSTANCE module = CPaintManagerUI::GetResourceDll();
        HRSRC resource = FindResourceW(module, source.m_lpstr, type);
        HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
        const DWORD size = resource ? SizeofResource(module, resource) : 0;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (!data || size == 0 ||
            !m_xml.LoadFromMem(static_cast<const unsigned char*>(data), size, XMLFILE_ENCODING_UTF8)) {
            return false;
        }
    } else if (!source.m_lpstr) {
        return false;
    } else if (source.m_lpstr[0] == L'<') {
        if (!m_xml.Load(source.m_lpstr)) {
            return false;
        }
    } else if (!m_xml.LoadFromFile(source.m_lpstr)) {
        return false;
    }
    return LoadResource(m_xml.GetRoot());
}

bool CResourceManager::LoadResource(CMarkupNode root)
{
    if (!root.IsValid()) {
        return false;
    }
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (node.HasChildren()) {
            LoadResource(node);
            continue;
        }
        CStdStringPtrMap* map = nullptr;
        if (SkinCompareNoCase(node.GetName(), L"Image") == 0) {
            map = &m_mImageHashMap;
        } else if (SkinCompareNoCase(node.GetName(), L"Xml") == 0) {
            map = &m_mXmlHashMap;
        }
        if (!map || !node.HasAttribute(L"id") || !node.HasAttribute(L"path")) {
            continue;
        }
        // The first path given for an identifier stays.
        auto* path = new CSkinString(node.GetAttributeValue(L"path"));
        if (!map->Insert(node.GetAttributeValue(L"id"), path)) {
            delete path;
        }
    }
    return true;
}

bool CResourceManager::LoadLanguage(const wchar_t* source)
{
    if (!source) {
        return false;
    }
    const bool loaded = source[0] == L'<' ? m_xml.Load(source) : m_xml.LoadFromFile(source);
    if (!loaded) {
        return false;
    }
    CMarkupNode root = m_xml.GetRoot();
    if (!root.IsValid()) {
        return false;
    }
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (SkinCompareNoCase(node.GetName(), L"Text") != 0 || !node.HasAttribute(L"id") ||
            !node.HasAttribute(L"value")) {
            continue;
        }
        auto* text = new CSkinString(node.GetAttributeValue(L"value"));
        delete static_cast<CSkinString*>(m_mTextResourceHashMap.Set(node.GetAttributeValue(L"id"), text));
    }
    return true;
}

const wchar_t* CResourceManager::GetImagePath(const wchar_t* id) const
{
    const auto* path = static_cast<const CSkinString*>(m_mImageHashMap.Find(id));
    return path ? path->GetData() : nullptr;
}

const wchar_t* CResourceManager::GetXmlPath(const wchar_t* id) const
{
    const auto* path = static_cast<const CSkinString*>(m_mXmlHashMap.Find(id));
    return path ? path->GetData() : nullptr;
}

const wchar_t* CResourceManager::GetText(const wchar_t* id, const wchar_t* type)
{
    if (!id) {
        return L"";
    }
    if (const auto* text = static_cast<const CSkinString*>(m_mTextResourceHashMap.Find(id))) {
        return text->GetData();
    }
    if (m_pQuerypInterface) {
        const wchar_t* answer = m_pQuerypInterface->QueryControlText(id, type);
        auto* text = new CSkinString(answer ? answer : L"");
        delete static_cast<CSkinString*>(m_mTextResourceHashMap.Set(id, text));
        return text->GetData();
    }
    return id;
}

void CResourceManager::ReloadText()
{
    if (!m_pQuerypInterface) {
        return;
    }
    for (int i = 0; i < m_mTextResourceHashMap.GetSize(); ++i) {
        const wchar_t* id = m_mTextResourceHashMap.GetAt(i);
        if (!id) {
            continue;
        }
        if (const wchar_t* answer = m_pQuerypInterface->QueryControlText(id, nullptr)) {
            if (auto* text = static_cast<CSkinString*>(m_mTextResourceHashMap.Find(id, false))) {
                *text = answer;
            }
        }
    }
}

void CResourceManager::ResetResourceMap()
{
    DeleteStrings(m_mImageHashMap);
    DeleteStrings(m_mXmlHashMap);
    DeleteStrings(m_mTextResourceHashMap);
}

void CResourceManager::ResetTextMap()
{
    DeleteStrings(m_mTextResourceHashMap);
}

} // namespace SkinUI
