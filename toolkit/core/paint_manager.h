// The paint manager: the bridge between one native window and the tree of
// windowless controls drawn in it. It carries the process-wide skin resource
// settings (where skin files come from: a folder, a ZIP file in that folder,
// or a ZIP archive held in memory; the module that holds resources), a
// window's resource registries: fonts, images, default attribute lists,
// styles and parsed draw strings, its own or shared by all windows, with
// DPI scaling and colour adjustment, and what controls ask of their window:
// the control tree and its names, focus, timers, notifications and
// invalidation. Bound to its window, it turns the window's messages into
// control events, lays the tree out and paints it double-buffered, and
// delivers notifications synchronously or through a posted message.
#pragma once

#include "dpi.h"
#include "gdi_object.h"
#include "memory_dc.h"
#include "notify_ui.h"
#include "res_info.h"
#include "skin_string.h"
#include "std_ptr_array.h"

#include <memory>
#include <unordered_map>
#include <vector>
#include <windows.h>

#include <commctrl.h>

namespace SkinUI {

class CControlUI;
class CSkinArchive;
struct tagTDrawInfo;
struct tagTImageInfo;
class CAccessibleClient;

// A plug-in's control creation by tag ("Button"); null for a tag it does
// not know.
using CreateControlProc = CControlUI* (*)(const wchar_t* pstrType);

// Offered each message before it is dispatched; 0 means handled.
class ITranslateAccelerator {
public:
    virtual LRESULT TranslateAccelerator(MSG* pMsg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

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

    // ---- Window attributes (the layout's "Window" element) ----
    // Stored as given: the dialog builder scales the initial size itself.
    // While no control tree is attached, the window takes the initial size
    // at once.
    void SetInitSize(int cx, int cy);
    SIZE GetInitSize() const { return m_szInitWindowSize; }
    // Border widths (left, top, right, bottom) that resize the window.
    void SetSizeBox(const RECT& rcSizeBox) { m_rcSizeBox = rcSizeBox; }
    const RECT& GetSizeBox() const { return m_rcSizeBox; }
    // Insets from the client edges; a bottom of -1 reaches the client bottom.
    void SetCaptionRect(const RECT& rcCaption) { m_rcCaption = rcCaption; }
    const RECT& GetCaptionRect() const { return m_rcCaption; }
    void SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE{cx, cy}; }
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    // Tracking limits; 0 in a dimension sets no limit there.
    void SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE{cx, cy}; }
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE{cx, cy}; }
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    // Outlines every painted rectangle, to see what a change repaints.
    void SetShowUpdateRect(bool show) { m_bShowUpdateRect = show; }
    bool IsShowUpdateRect() const { return m_bShowUpdateRect; }
    // A click does not activate the window.
    void SetNoActivate(bool noActivate) { m_bNoActivate = noActivate; }
    bool IsNoActivate() const { return m_bNoActivate; }
    // The tool tip's delay, in milliseconds (400 at first).
    void SetHoverTime(int ms) { m_iHoverTime = ms; }
    int GetHoverTime() const { return m_iHoverTime; }

    // Windows are only drawn opaque (IsLayered stays false): what a layout
    // asks of a layered window or a shadow is kept here and changes nothing.
    struct tagTLayeredInfo {
        bool bLayered = false;
        // Offset of the control tree inside the layered window.
        RECT rcInset{};
        BYTE nLayeredOpacity = 255;
        CSkinString sLayeredImage;
    };
    struct tagTShadowInfo {
        bool bShow = false;
        int nSize = 0;
        int nSharpness = 0;
        int nDarkness = 0;
        SIZE szOffset{};
        DWORD dwColor = 0;
        RECT rcCorner{};
        CSkinString sImage;
    };
    void SetOpacity(BYTE opacity) { m_nOpacity = opacity; }
    BYTE GetOpacity() const { return m_nOpacity; }
    void SetLayered(bool layered) { m_layered.bLayered = layered; }
    void SetLayeredInset(const RECT& rcInset) { m_layered.rcInset = rcInset; }
    void SetLayeredOpacity(BYTE opacity) { m_layered.nLayeredOpacity = opacity; }
    void SetLayeredImage(const wchar_t* image) { m_layered.sLayeredImage = image; }
    const tagTLayeredInfo& GetLayeredInfo() const { return m_layered; }
    tagTShadowInfo& GetShadow() { return m_shadow; }
    // ---- end of window attributes ----

    // Binds the manager to its window (taking the window's DC) and empties
    // its own registries, names and timers.
    void Init(HWND hWnd, const wchar_t* pstrName = nullptr);
    // The window has gone: its DC, handle, timers, capture and tool tip are
    // let go, so that a handle or DC the system hands out again is never
    // released or matched for another window. The tree stays until the
    // manager goes.
    void Unbind();
    // Whether a notification or an event is being delivered: a control
    // removed now is deleted only once it has returned.
    bool IsDelivering() const { return m_nDeliveries > 0; }
    const CSkinString& GetName() const { return m_sName; }
    // Installs a control tree, which the manager then owns; the previous
    // root goes to delayed cleanup.
    bool AttachDialog(CControlUI* pControl);
    CControlUI* GetRoot() const { return m_pRoot; }
    // Attaches a subtree to this manager under pParent (or the control's own
    // parent) and registers its names; a later name replaces an earlier one.
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    // Forgets what refers to a control that leaves the tree.
    void ReapObjects(CControlUI* pControl);
    // Deletes the control later, so that it may be removed while it is still
    // handling an event: when the window handles the manager's posted
    // message, or when the manager goes.
    void AddDelayedCleanup(CControlUI* pControl);
    CControlUI* FindControl(const wchar_t* pstrName) const;
    CControlUI* FindSubControlByName(CControlUI* pParent, const wchar_t* pstrName) const;

    // Notifications go to the sender's notify listeners, then to every
    // notifier in the order they were added.
    bool AddNotifier(INotifyUI* pNotifier);
    bool RemoveNotifier(INotifyUI* pNotifier);
    // Asynchronous notifications are copied and delivered when the window
    // handles its posted message; a sender deleted by then arrives as null.
    void SendNotify(tagTNotifyUI& Msg, bool bAsync = false);
    void SendNotify(CControlUI* pControl, const wchar_t* pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false);
    // Notifications then carry their sender's virtual window name.
    void UsedVirtualWnd(bool bUsed) { m_bUsedVirtualWnd = bUsed; }
    POINT GetMousePos() const { return m_ptLastMousePos; }

    CControlUI* GetFocus() const { return m_pFocus; }
    // Null, or a control of another manager, hidden or disabled, leaves
    // nothing focused.
    void SetFocus(CControlUI* pControl);

    // Timers of a control, by the control's own id; false when the window
    // refuses or the timer runs already.
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    // Stops the timer and keeps its record, so that setting it again
    // reuses its system id.
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();

    // A layout pass is due.
    void NeedUpdate() { m_bUpdateNeeded = true; }
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void Invalidate();
    // rc is first kept inside the positive quadrant and made non-negative.
    void Invalidate(RECT& rc);
    // Controls that paint over the tree after it (DoPostPaint).
    bool AddPostPaint(CControlUI* pControl);
    bool RemovePostPaint(CControlUI* pControl);

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

    // Images by name. With a type, the name is a resource number. The cache
    // is keyed by the name alone: the same name asked again with another
    // mask, resource type or instance gets the image loaded first.
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
    // SetDPI, with the window moved to placement (WM_DPICHANGED's suggested
    // rectangle) instead of resized with the scale; null: as SetDPI.
    void SetDPIAt(int dpi, const RECT* placement);
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

    // Ends the toolkit's use of process-wide resources, the control factory
    // among them.
    static void Term();

    // ---- Plug-ins: libraries that create controls for the dialog builder ----
    // Adds the library's export "CreateControl" to the process's plug-ins
    // (once); false when the library or the export is missing.
    static bool LoadPlugin(const wchar_t* pstrModuleName);
    // In load order; the libraries stay loaded for the life of the process.
    static const std::vector<CreateControlProc>& GetPlugins();
    // ---- end of plug-ins ----

    // The name of the in-memory archive in GetResourceZip.
    static const wchar_t* const kMemoryZipName;

    // --- Accessibility: the tree screen readers walk (accessible_client.h). ---

    // The visible elements of the tree in order, each given its child id
    // (1, 2, ...) when it first appears; an id is never reused.
    void GetAccessibleElements(std::vector<CControlUI*>& elements);
    // The child id of a visible element, else 0.
    LONG GetAccessibleChildId(CControlUI* pControl);
    // The visible element with that child id, else null.
    CControlUI* FindAccessibleChild(LONG id);
    // The id an element was given, else 0.
    LONG AccessibleIdOf(CControlUI* pControl) const;
    // A WinEvent (EVENT_OBJECT_NAMECHANGE, ...) for pControl's element.
    void NotifyAccessible(DWORD event, CControlUI* pControl);
    // Before pControl's visibility changes: hidden elements are told now,
    // shown ones and the new order once the change is complete.
    void NotifyAccessibleVisibility(CControlUI* pControl, bool bVisible);

    // --- The window binding: messages, painting, input and delivery. ---

    // The message this manager posts to its window for asynchronous
    // notifications and delayed cleanup.
    static constexpr UINT kAsyncMessage = WM_APP + 1;

    // The window's messages; true when the manager handled the message, with
    // its result in lRes. Nothing is done without a window.
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // Before dispatch: pre-message filters, Tab, system keys and shortcuts.
    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // Offers msg to the managers of its window (and, for a child window, of
    // its ancestors); true when one of them handled it.
    static bool TranslateMessage(const MSG* pMsg);
    // The process message loop, until WM_QUIT.
    static void MessageLoop();
    bool TranslateAccelerator(MSG* pMsg);

    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);

    // Every manager of the process, from its construction on.
    static CStdPtrArray* GetPaintManagers();
    static CPaintManagerUI* GetPaintManager(const wchar_t* pstrName);

    // The topmost visible control under a client point, of this manager.
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindSubControlByClass(CControlUI* pParent, const wchar_t* pstrClass, int iIndex = 0);
    // The list is the manager's and is refilled by the next search.
    CStdPtrArray* FindSubControlsByClass(CControlUI* pParent, const wchar_t* pstrClass);

    // Focus moves to pControl at the next paint, after the pending layout.
    void SetFocusNeeded(CControlUI* pControl);
    // To the next (or previous) tab stop, wrapping around the tree.
    bool SetNextTabControl(bool bForward = true);
    // Drops a pending focus move, such as AttachDialog's to the first tab
    // stop, so that a window can open with no focused control.
    void CancelFocusNeeded() { m_bFocusNeeded = false; }
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_bMouseCapture; }
    // Controls that are told when the hover moves away, besides the hover control.
    bool AddMouseLeaveNeeded(CControlUI* pControl);
    bool RemoveMouseLeaveNeeded(CControlUI* pControl);

    // Controls that act as one group (option buttons); the manager keeps the lists.
    bool AddOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl);
    CStdPtrArray* GetOptionGroup(const wchar_t* pStrGroupName);
    void RemoveOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl);
    void RemoveAllOptionGroups();

    SIZE GetClientSize() const;
    void SetPainting(bool bIsPainting) { m_bIsPainting = bIsPainting; }
    bool IsPainting() const { return m_bIsPainting; }
    HWND GetTooltipWindow() const { return m_hwndTooltip; }
    // The offscreen DIB section the window is painted into (top-down,
    // 32 bits, client size), or null before the first paint.
    HBITMAP GetOffscreenBitmap() const { return m_hbmpOffscreen.Get(); }

private:
    static CControlUI* RegisterName(CControlUI* pControl, void* pData);
    // The control tree, timers and window DC, released before the rest.
    void ReleaseWindow();
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

    // Window attributes.
    SIZE m_szInitWindowSize{};
    RECT m_rcSizeBox{};
    RECT m_rcCaption{};
    SIZE m_szRoundCorner{};
    SIZE m_szMinWindow{};
    SIZE m_szMaxWindow{};
    bool m_bShowUpdateRect = false;
    bool m_bNoActivate = false;
    int m_iHoverTime = 400;
    BYTE m_nOpacity = 255;
    tagTLayeredInfo m_layered;
    tagTShadowInfo m_shadow;
    bool m_bForceUseSharedRes = false;
    tagTResInfo m_ResInfo;
    // Names GetImageEx could not load, so that a paint does not look for a
    // missing file again (a scale's fallback asks for one each time); kept
    // until the images are removed or the scale changes.
    CStdStringPtrMap m_missingImages;
    std::unique_ptr<CDPI> m_pDPI;
    // Handles from AddFontMemResourceEx.
    CStdPtrArray m_aFonts;

    CSkinString m_sName;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    POINT m_ptLastMousePos{-1, -1};
    bool m_bUpdateNeeded = false;
    bool m_bUsedVirtualWnd = false;
    // The last system timer id handed out; they run 0 to 239.
    UINT m_uTimerID = 4096;
    // Control name -> control.
    CStdStringPtrMap m_mNameHash;
    CStdPtrArray m_aNotifiers;
    // Owned timer records.
    CStdPtrArray m_aTimers;
    // Owned controls waiting to be deleted, each once.
    CStdPtrArray m_aDelayedCleanup;
    // The notifications being delivered, innermost last: a sender deleted
    // while it is delivered is cleared in them.
    CStdPtrArray m_aDelivering;
    // Notifications and events being delivered: a handler up the stack may
    // still use their senders and targets, so nothing queued is deleted
    // until the outermost has returned, even from a nested message loop.
    int m_nDeliveries = 0;
    class DeliveryScope {
    public:
        explicit DeliveryScope(CPaintManagerUI& pm) : m_pm(pm) { ++m_pm.m_nDeliveries; }
        ~DeliveryScope() { m_pm.EndDelivery(); }
        DeliveryScope(const DeliveryScope&) = delete;
        DeliveryScope& operator=(const DeliveryScope&) = delete;

    private:
        CPaintManagerUI& m_pm;
    };
    void EndDelivery();
    CStdPtrArray m_aPostPaintControls;

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

    // --- The window binding. ---

    // Message handlers, one per kind of message.
    bool OnPaint(LRESULT& lRes);
    void OnPrintClient(HDC hDC, LPARAM lParam);
    // Positions what needs it; the first pass sends "windowinit".
    void LayoutPass(const RECT& rcClient);
    void PaintTree(HDC hDC, const RECT& rcPaint);
    // The offscreen DC and bitmap of the client size; false when GDI refuses.
    bool EnsureOffscreen(const RECT& rcClient);
    void ReleaseOffscreen();
    void OnAsyncMessage();
    // WM_GETOBJECT: the client's accessible object; false for other objects.
    bool OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // The window is gone: the object a client may still hold fails from now on.
    void DisconnectAccessible();
    void FlushAccessibleEvents();
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    bool OnMouseHover(LPARAM lParam);
    void OnMouseLeave();
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    void OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(WPARAM wParam);
    void OnClose();
    void OnTimer(WPARAM wParam, LPARAM lParam);
    void OnKey(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool ReflectToChild(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // The filters in order until one reports the message handled, with its result.
    static bool AskFilters(const CStdPtrArray& filters, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // The mouse position of a message handled by a message filter.
    void NoteFilteredMousePos(UINT uMsg, LPARAM lParam);
    // Sends an event of the given kind to pControl, stamped now.
    void SendEvent(CControlUI* pControl, int iType, POINT pt, WPARAM wParam = 0, LPARAM lParam = 0, WORD wKeyState = 0,
                   wchar_t chKey = 0);
    // Buttons, Shift, Ctrl and Alt as events carry them.
    static WORD CurrentKeyState();
    // EventMouseLeave to the controls that asked for it and to the hover
    // control, which is then cleared.
    void EndHover(POINT pt);
    void DestroyTooltip();
    // Whether a running timer of this window has the system id.
    bool IsRunningTimerId(UINT uWinTimer) const;
    // Sends the pressed control its button-up at a point outside it, so
    // that it lets go without clicking.
    void ReleasePressedControl();
    void PostAsyncMessage();
    // The sender's notify listeners, then every notifier.
    void DeliverNotify(tagTNotifyUI& Msg);
    void DeleteQueuedNotifications();

    ULONG_PTR m_gdiplusToken = 0;
    // The offscreen painting target; without it (GDI refused it) the tree
    // is painted straight to the window.
    std::unique_ptr<CMemoryDC> m_offscreenDC;
    CGdiObject<HBITMAP> m_hbmpOffscreen;
    HWND m_hwndTooltip = nullptr;
    TOOLINFOW m_ToolTip{};
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    CControlUI* m_pEventKey = nullptr;
    bool m_bMouseTracking = false;
    bool m_bMouseCapture = false;
    bool m_bFirstLayout = true;
    bool m_bFocusNeeded = false;
    bool m_bIsPainting = false;
    bool m_bAsyncNotifyPosted = false;
    CStdPtrArray m_aPreMessageFilters;
    CStdPtrArray m_aMessageFilters;
    CStdPtrArray m_aTranslateAccelerator;
    // Owned copies of notifications waiting for the async message.
    CStdPtrArray m_aAsyncNotify;
    // Scratch list of searches.
    CStdPtrArray m_aFoundControls;
    CStdPtrArray m_aNeedMouseLeaveNeeded;
    // Group name -> owned CStdPtrArray of controls.
    CStdStringPtrMap m_mOptionGroup;
    // Created at the first WM_GETOBJECT; one reference is the manager's.
    CAccessibleClient* m_pAccessible = nullptr;
    // Shown since the last async message, and whether the order changed.
    CStdPtrArray m_aAccessibleShown;
    bool m_bAccessibleReorder = false;
    // Element -> its child id, until the control is reaped.
    std::unordered_map<CControlUI*, LONG> m_accessibleIds;
    LONG m_nNextAccessibleId = 1;
};

} // namespace SkinUI
