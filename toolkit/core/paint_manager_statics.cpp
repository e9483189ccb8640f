// The process-wide state: the instance, the skin's source, the shared resources and the list of managers.
#include "paint_manager.h"

#include "control_factory.h"
#include "resource_manager.h"
#include "skin_archive.h"
#include "skin_archive_open.h"

namespace SkinUI {

tagTResInfo CPaintManagerUI::m_SharedResInfo;

bool CPaintManagerUI::m_bSharedResInitialized = false;

const wchar_t* const CPaintManagerUI::kMemoryZipName = L"membuffer";

HINSTANCE CPaintManagerUI::m_hInstance = nullptr;

HINSTANCE CPaintManagerUI::m_hResourceInstance = nullptr;

CSkinString CPaintManagerUI::m_pStrResourcePath;

CSkinString CPaintManagerUI::m_pStrResourceZip;

CSkinString CPaintManagerUI::m_pStrResourceZipPwd;

bool CPaintManagerUI::m_bCachedResourceZip = true;

CSkinArchive* CPaintManagerUI::m_hResourceZip = nullptr;

int CPaintManagerUI::m_nResType = RESTYPE_FOLDER;

// Every manager counts from its construction, so that process-wide changes
// (colour adjustment, DPI) reach managers still without a window; the
// searches for a window's manager skip those.
CStdPtrArray& CPaintManagerUI::LiveManagers()
{
    static CStdPtrArray managers;
    return managers;
}

// The shared default font is the system's GUI font.
void CPaintManagerUI::InitSharedResources()
{
    if (m_bSharedResInitialized) {
        return;
    }
    m_bSharedResInitialized = true;
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    m_SharedResInfo.m_DefaultFontInfo.Assign(CreateFontIndirectW(&lf), lf.lfFaceName, -lf.lfHeight,
                                             lf.lfWeight >= FW_BOLD, lf.lfUnderline != FALSE, lf.lfItalic != FALSE);
}

void CPaintManagerUI::ReleaseSharedResources()
{
    m_SharedResInfo.Clear();
    m_bSharedResInitialized = false;
}

tagTResInfo& CPaintManagerUI::TargetResInfo(bool shared)
{
    return shared || m_bForceUseSharedRes ? m_SharedResInfo : m_ResInfo;
}

CStdPtrArray* CPaintManagerUI::GetPaintManagers()
{
    return &LiveManagers();
}

CPaintManagerUI* CPaintManagerUI::GetPaintManager(const wchar_t* pstrName)
{
    if (!pstrName || !*pstrName) {
        return nullptr;
    }
    const CStdPtrArray& managers = LiveManagers();
    for (int i = 0; i < managers.GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>(managers[i]);
        if (manager->m_sName == pstrName) {
            return manager;
        }
    }
    return nullptr;
}

HINSTANCE CPaintManagerUI::GetInstance()
{
    return m_hInstance;
}

void CPaintManagerUI::SetInstance(HINSTANCE instance)
{
    m_hInstance = instance;
}

CSkinString CPaintManagerUI::GetInstancePath()
{
    if (!m_hInstance) {
        return CSkinString();
    }
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(m_hInstance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return CSkinString();
    }
    CSkinString folder(path);
    const int slash = folder.ReverseFind(L'\\');
    return slash < 0 ? CSkinString() : folder.Left(slash + 1);
}

CSkinString CPaintManagerUI::GetCurrentPath()
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, path);
    return length == 0 || length >= MAX_PATH ? CSkinString() : CSkinString(path);
}

void CPaintManagerUI::SetCurrentPath(const wchar_t* path)
{
    SetCurrentDirectoryW(path);
}

HINSTANCE CPaintManagerUI::GetResourceDll()
{
    return m_hResourceInstance ? m_hResourceInstance : m_hInstance;
}

void CPaintManagerUI::SetResourceDll(HINSTANCE instance)
{
    m_hResourceInstance = instance;
}

const CSkinString& CPaintManagerUI::GetResourcePath()
{
    return m_pStrResourcePath;
}

void CPaintManagerUI::SetResourcePath(const wchar_t* path)
{
    m_pStrResourcePath = path;
    if (m_pStrResourcePath.IsEmpty()) {
        return;
    }
    const wchar_t last = m_pStrResourcePath[m_pStrResourcePath.GetLength() - 1];
    if (last != L'\\' && last != L'/') {
        m_pStrResourcePath += L'\\';
    }
}

const CSkinString& CPaintManagerUI::GetResourceZip()
{
    return m_pStrResourceZip;
}

const CSkinString& CPaintManagerUI::GetResourceZipPwd()
{
    return m_pStrResourceZipPwd;
}

bool CPaintManagerUI::IsCachedResourceZip()
{
    return m_bCachedResourceZip;
}

HANDLE CPaintManagerUI::GetResourceZipHandle()
{
    return m_hResourceZip;
}

void CPaintManagerUI::CloseCachedZip()
{
    if (m_bCachedResourceZip && m_hResourceZip) {
        delete m_hResourceZip;
        m_hResourceZip = nullptr;
    }
}

void CPaintManagerUI::SetResourceZip(const wchar_t* name, bool cached, const wchar_t* password)
{
    if (m_pStrResourceZip == (name ? name : L"") && m_bCachedResourceZip == cached) {
        return;
    }
    CloseCachedZip();
    m_pStrResourceZip = name;
    m_bCachedResourceZip = cached;
    m_pStrResourceZipPwd = password;
    if (m_bCachedResourceZip && !m_pStrResourceZip.IsEmpty()) {
        const CSkinString path = m_pStrResourcePath + m_pStrResourceZip;
        m_hResourceZip = OpenSkinArchiveFile(path, m_pStrResourceZipPwd);
    }
}

void CPaintManagerUI::SetResourceZip(const void* data, unsigned int length, const wchar_t* password)
{
    if (m_pStrResourceZip == kMemoryZipName) {
        return;
    }
    CloseCachedZip();
    m_pStrResourceZip = kMemoryZipName;
    m_bCachedResourceZip = true;
    m_pStrResourceZipPwd = password;
    m_hResourceZip = OpenSkinArchiveMemory(data, length, m_pStrResourceZipPwd);
}

int CPaintManagerUI::GetResourceType()
{
    return m_nResType;
}

void CPaintManagerUI::SetResourceType(int type)
{
    m_nResType = type;
}

void CPaintManagerUI::Term()
{
    CResourceManager::GetInstance()->Release();
    CControlFactory::Release();
    ReleaseSharedResources();
    CloseCachedZip();
}

} // namespace SkinUI
