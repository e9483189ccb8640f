// The paint manager. So far it carries the process-wide skin resource
// settings (where skin files come from: a folder, a ZIP file in that folder,
// or a ZIP archive held in memory; the module that holds resources) and a
// window's resource registries: fonts, images, default attribute lists,
// styles and parsed draw strings, its own or shared by all windows, with
// DPI scaling and colour adjustment.
#pragma once

#include "dpi.h"
#include "res_info.h"
#include "skin_string.h"
#include "std_ptr_array.h"

#include <memory>
#include <windows.h>

namespace SkinUI {

class CSkinArchive;
struct tagTDrawInfo;
struct tagTImageInfo;

enum UILIB_RESTYPE {
    RESTYPE_FOLDER = 1,
    RESTYPE_ZIPFILE = 2,
    RESTYPE_RESOURCE = 3,
    RESTYPE_ZIPRESOURCE = 4,
};

class CPaintManagerUI {
public:
    CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
    ~CPaintManagerUI();

    // The window side, which the window binding fills in: until then there
    // is no window or window DC, and the window is not layered.
    HWND GetPaintWindow() const { return m_hWndPaint; }
    HDC GetPaintDC() const { return m_hDcPaint; }
    bool IsLayered() const { return m_bLayered; }
    void SetUseGdiplusText(bool use) { m_bUseGdiplusText = use; }
    bool IsUseGdiplusText() const { return m_bUseGdiplusText; }
    // A Gdiplus::TextRenderingHint (0 to 5).
    void SetGdiplusTextRenderingHint(int hint) { m_trh = hint; }
    int GetGdiplusTextRenderingHint() const { return m_trh; }

    // Registering operations store into the shared set when shared is true
    // or SetForceUseSharedRes is on; lookups try this window's own set
    // first, then the shared one.
    void SetForceUseSharedRes(bool force) { m_bForceUseSharedRes = force; }
    bool IsForceUseSharedRes() const { return m_bForceUseSharedRes; }

    // Each manager starts with the shared set's colours.
    DWORD GetDefaultDisabledColor() const { return m_ResInfo.m_dwDefaultDisabledColor; }
    void SetDefaultDisabledColor(DWORD color, bool shared = false)
    {
        TargetResInfo(shared).m_dwDefaultDisabledColor = color;
    }
    DWORD GetDefaultFontColor() const { return m_ResInfo.m_dwDefaultFontColor; }
    void SetDefaultFontColor(DWORD color, bool shared = false) { TargetResInfo(shared).m_dwDefaultFontColor = color; }
    DWORD GetDefaultLinkFontColor() const { return m_ResInfo.m_dwDefaultLinkFontColor; }
    void SetDefaultLinkFontColor(DWORD color, bool shared = false)
    {
        TargetResInfo(shared).m_dwDefaultLinkFontColor = color;
    }
    DWORD GetDefaultLinkHoverFontColor() const { return m_ResInfo.m_dwDefaultLinkHoverFontColor; }
    void SetDefaultLinkHoverFontColor(DWORD color, bool shared = false)
    {
        TargetResInfo(shared).m_dwDefaultLinkHoverFontColor = color;
    }
    DWORD GetDefaultSelectedBkColor() const { return m_ResInfo.m_dwDefaultSelectedBkColor; }
    void SetDefaultSelectedBkColor(DWORD color, bool shared = false)
    {
        TargetResInfo(shared).m_dwDefaultSelectedBkColor = color;
    }

    // Fonts by number; sizes are in 96-DPI pixels.
    HFONT AddFont(int id, const wchar_t* face, int size, bool bold, bool underline, bool italic, bool shared = false);
    void SetDefaultFont(const wchar_t* face, int size, bool bold, bool underline, bool italic, bool shared = false);
    tagTFontInfo* GetDefaultFontInfo();
    // The default font when id is negative or not registered.
    HFONT GetFont(int id);
    tagTFontInfo* GetFontInfo(int id);
    // The number the font is registered under, or -1.
    int GetFontIndex(HFONT font, bool shared = false);
    void RemoveFont(int id, bool shared = false);
    void RemoveAllFonts(bool shared = false);
    // Registers a font file of the skin for this process, until the manager goes.
    bool AddFontArray(const wchar_t* fontFile);

    // Images by name. With a type, the name is a resource number.
    const tagTImageInfo* AddImage(const wchar_t* name, const wchar_t* type = nullptr, DWORD mask = 0,
                                  bool useHSL = false, bool shared = false, HINSTANCE instance = nullptr);
    const tagTImageInfo* GetImage(const wchar_t* name);
    // GetImage, or AddImage to this window's set when it is not there yet.
    const tagTImageInfo* GetImageEx(const wchar_t* name, const wchar_t* type = nullptr, DWORD mask = 0,
                                    bool useHSL = false, HINSTANCE instance = nullptr);
    void RemoveImage(const wchar_t* name, bool shared = false);
    void RemoveAllImages(bool shared = false);
    // The draw string parsed for this window, cached.
    const tagTDrawInfo* GetDrawInfo(const wchar_t* drawString, const wchar_t* modify);

    void AddDefaultAttributeList(const wchar_t* controlName, const wchar_t* list, bool shared = false);
    const wchar_t* GetDefaultAttributeList(const wchar_t* controlName) const;
    bool RemoveDefaultAttributeList(const wchar_t* controlName, bool shared = false);
    void RemoveAllDefaultAttributeList(bool shared = false);
    // Unlike attribute lists, an existing style is kept.
    void AddStyle(const wchar_t* name, const wchar_t* value, bool shared = false);
    const wchar_t* GetStyle(const wchar_t* name) const;
    bool RemoveStyle(const wchar_t* name, bool shared = false);
    void RemoveAllStyle(bool shared = false);

    // Created on first use, at 100 %.
    CDPI* GetDPIObj();
    void SetDPI(int dpi);
    static void SetAllDPI(int dpi);
    // Rebuilds what depends on the scale: own fonts and parsed draw strings.
    void ResetDPIAssets();

    // Process-wide hue (0 to 360, 180 = none), saturation and lightness (0 to
    // 200, 100 = none) applied to the images registered with use-HSL.
    static void SetHSL(bool use, short H, short S, short L);
    // The flag; H, S and L may be null.
    static bool GetHSL(short* H, short* S, short* L);

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
    static void InitSharedResources();
    static void ReleaseSharedResources();
    static CStdPtrArray& LiveManagers();
    tagTResInfo& TargetResInfo(bool shared);
    void AdjustImagesHSL();
    // From the system's GUI font, its height scaled; face receives the face used.
    HFONT CreateScaledFont(const wchar_t* face, int size, bool bold, bool underline, bool italic, CSkinString& used);

    HWND m_hWndPaint = nullptr;
    HDC m_hDcPaint = nullptr;
    bool m_bLayered = false;
    bool m_bUseGdiplusText = false;
    int m_trh = 0;
    bool m_bForceUseSharedRes = false;
    tagTResInfo m_ResInfo;
    std::unique_ptr<CDPI> m_pDPI;
    // Handles from AddFontMemResourceEx.
    CStdPtrArray m_aFonts;

    static tagTResInfo m_SharedResInfo;
    static bool m_bSharedResInitialized;
    static short m_H;
    static short m_S;
    static short m_L;
    static bool m_bUseHSL;

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
