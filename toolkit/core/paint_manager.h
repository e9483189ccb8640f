// The paint manager. So far it carries the process-wide skin resource
// settings: where skin files come from (a folder, a ZIP file in that folder,
// or a ZIP archive held in memory) and the module that holds resources.
#pragma once

#include "skin_string.h"

#include <windows.h>

namespace SkinUI {

class CSkinArchive;

enum UILIB_RESTYPE {
    RESTYPE_FOLDER = 1,
    RESTYPE_ZIPFILE = 2,
    RESTYPE_RESOURCE = 3,
    RESTYPE_ZIPRESOURCE = 4,
};

class CPaintManagerUI {
public:
    static HINSTANCE GetInstance();
    static void SetInstance(HINSTANCE instance);
    // The folder of the instance's module file, with its trailing '\'.
    static CSkinString GetInstancePath();
    static CSkinString GetCurrentPath();
    static void SetCurrentPath(const wchar_t* path);
    static HINSTANCE GetResourceDll();
    static void SetResourceDll(HINSTANCE instance);

    static const CSkinString& GetResourcePath();
    static void SetResourcePath(const wchar_t* path);
    static const CSkinString& GetResourceZip();
    static const CSkinString& GetResourceZipPwd();
    static bool IsCachedResourceZip();
    static HANDLE GetResourceZipHandle();
    // An archive file in the skin folder.
    static void SetResourceZip(const wchar_t* name, bool cached = false, const wchar_t* password = nullptr);
    // An archive in memory; the block must stay valid while it is in use.
    // Only the first one takes effect.
    static void SetResourceZip(const void* data, unsigned int length, const wchar_t* password = nullptr);
    static int GetResourceType();
    static void SetResourceType(int type);

    // Ends the toolkit's use of process-wide resources.
    static void Term();

    // The name of the in-memory archive in GetResourceZip.
    static const wchar_t* const kMemoryZipName;

private:
    static void CloseCachedZip();

    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CSkinString m_pStrResourcePath;
    static CSkinString m_pStrResourceZip;
    static CSkinString m_pStrResourceZipPwd;
    static bool m_bCachedResourceZip;
    static CSkinArchive* m_hResourceZip;
    static int m_nResType;
};

} // namespace SkinUI
