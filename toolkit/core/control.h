// The base of every element of a skinned window: geometry for the layouts
// (fixed, minimum and maximum size, padding, float placement), the common
// look (background colours, gradient and images, fore colour and image,
// border), text and tool tip, the enabled, visible and focus flags, events,
// painting, and the textual attributes through which markup configures it.
// A control reaches its window only through its paint manager.
#pragma once

#include "control_values.h"
#include "event_source.h"
#include "skin_string.h"
#include "std_string_ptr_map.h"

#include <windows.h>

namespace SkinUI {

class CPaintManagerUI;
class CControlUI;

// Kinds of control events; the paint manager makes them from window messages.
enum EVENTTYPE_UI {
    EventKeyDown = 3,
    EventKeyUp = 4,
    EventChar = 5,
    EventSysKey = 6,
    EventMouseMove = 9,
    EventMouseLeave = 10,
    EventMouseEnter = 11,
    EventMouseHover = 12,
    EventButtonDown = 13,
    EventButtonUp = 14,
    EventRButtonDown = 15,
    EventRButtonUp = 16,
    EventMButtonDown = 17,
    EventMButtonUp = 18,
    EventDoubleClick = 19,
    EventContextMenu = 20,
    EventScrollWheel = 21,
    EventKillFocus = 23,
    EventSetFocus = 24,
    EventWindowSize = 25,
    EventSetCursor = 26,
    EventTimer = 27,
};

// Events from EventMouseMove to EventScrollWheel.
inline bool IsMouseEvent(int type)
{
    return type >= EventMouseMove && type <= EventScrollWheel;
}

struct tagTEventUI {
    int Type;
    CControlUI* pSender;
    DWORD dwTimestamp;
    // Client coordinates.
    POINT ptMouse;
    // The virtual-key code of key events.
    wchar_t chKey;
    WORD wKeyState;
    WPARAM wParam;
    LPARAM lParam;
};

typedef tagTEventUI TEventUI;

// GetControlFlags: the control takes part in Tab navigation, or wants
// EventSetCursor.
constexpr UINT FlagTabStop = 0x1;
constexpr UINT FlagSetCursor = 0x2;

// FindControl flags.
constexpr UINT FindAll = 0;
constexpr UINT FindVisible = 0x1;
constexpr UINT FindEnabled = 0x2;
// data is a POINT in client coordinates.
constexpr UINT FindHitTest = 0x4;
constexpr UINT FindUpdateTest = 0x8;
constexpr UINT FindTopFirst = 0x10;
constexpr UINT FindMeFirst = 0x80000000;

// Visited by FindControl; a non-null result ends the search.
using FindControlProc = CControlUI* (*)(CControlUI* pControl, void* data);

class CControlUI {
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;
    virtual ~CControlUI();

    static CControlUI* CreateControl();

    virtual const CSkinString& GetName() const;
    virtual void SetName(const wchar_t* pstrName);
    virtual const wchar_t* GetClass() const;
    virtual void* GetInterface(const wchar_t* pstrName);
    virtual UINT GetControlFlags() const;
    // Performs the control's action; false when it is hidden or disabled.
    virtual bool Activate();
    virtual CPaintManagerUI* GetManager() const;
    // Init runs when bInit is set and there is a parent.
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const;

    // With resource text on, the stored text is an identifier for the
    // resource manager's texts.
    virtual CSkinString GetText() const;
    // "{\n}" becomes a line break.
    virtual void SetText(const wchar_t* pstrText);
    virtual bool IsResourceText() const;
    virtual void SetResourceText(bool bResource);
    virtual bool IsDragEnabled() const;
    virtual void SetDragEnable(bool bDrag);
    virtual bool IsDropEnabled() const;
    virtual void SetDropEnable(bool bDrop);

    // Geometry. Lengths are stored in 96-DPI units; the getters scale them
    // to the window's DPI.
    virtual RECT GetRelativePos() const;
    virtual RECT GetClientPos() const;
    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc, bool bNeedInvalidate = true);
    virtual void Move(SIZE szOffset, bool bNeedInvalidate = true);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rcPadding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE szXY);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual tagTPercentInfo GetFloatPercent() const;
    virtual void SetFloatPercent(tagTPercentInfo piFloatPercent);
    virtual void SetFloatAlign(UINT uAlign);
    virtual UINT GetFloatAlign() const;

    // "<n>" becomes a line break.
    virtual CSkinString GetToolTip() const;
    virtual void SetToolTip(const wchar_t* pstrText);
    virtual void SetToolTipWidth(int nWidth);
    virtual int GetToolTipWidth() const;
    // A system cursor identifier (IDC_...); 0 is the arrow.
    virtual WORD GetCursor() const;
    virtual void SetCursor(WORD wCursor);
    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool bMenuUsed);
    virtual const CSkinString& GetUserData() const;
    virtual void SetUserData(const wchar_t* pstrText);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR pTag);

    // Visible only when both the own flag and the flag set by the
    // containers above are set.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool bVisible = true);
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool bEnable = true);
    virtual bool IsFocused() const;
    // Asks the manager to move the focus here.
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool bFloat = true);

    virtual CControlUI* FindControl(FindControlProc Proc, void* pData, UINT uFlags);

    // DoInit, then the init listeners.
    virtual void Init();
    virtual void DoInit();
    // The event listeners, then (when they all agree) DoEvent.
    virtual void Event(tagTEventUI& event);
    virtual void DoEvent(tagTEventUI& event);

    // Names compare ignoring case; a value that names a style of the manager
    // applies that style instead; unknown names become custom attributes.
    virtual void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue);
    // 0 in a dimension: the layout stretches the control in it.
    virtual SIZE EstimateSize(SIZE szAvailable);

    // False when painting reached pStopControl.
    virtual bool Paint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl);
    virtual bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintForeColor(HDC hDC);
    virtual void PaintForeImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);
    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

    // Applies name="value" pairs (or the style the whole list names).
    CControlUI* ApplyAttributeList(const wchar_t* pstrList);
    // A draw string over the item rectangle, clipped to the part being painted.
    bool DrawImage(HDC hDC, const wchar_t* pStrImage, const wchar_t* pStrModify = nullptr);
    DWORD GetAdjustColor(DWORD dwColor) const;

    void Invalidate();
    bool IsUpdateNeeded() const;
    // Marks the control for the next layout pass.
    void NeedUpdate();
    void NeedParentUpdate();

    const CSkinString& GetGradient() const;
    // "hor" makes gradients run left to right.
    void SetGradient(const wchar_t* pStrImage);
    DWORD GetBkColor() const;
    void SetBkColor(DWORD dwBackColor);
    DWORD GetBkColor2() const;
    void SetBkColor2(DWORD dwBackColor);
    DWORD GetBkColor3() const;
    void SetBkColor3(DWORD dwBackColor);
    DWORD GetForeColor() const;
    void SetForeColor(DWORD dwForeColor);
    const CSkinString& GetBkImage() const;
    void SetBkImage(const wchar_t* pStrImage);
    const CSkinString& GetForeImage() const;
    void SetForeImage(const wchar_t* pStrImage);
    DWORD GetBorderColor() const;
    void SetBorderColor(DWORD dwBorderColor);
    DWORD GetFocusBorderColor() const;
    void SetFocusBorderColor(DWORD dwBorderColor);
    bool IsColorHSL() const;
    void SetColorHSL(bool bColorHSL);
    int GetBorderSize() const;
    void SetBorderSize(int nSize);
    // Per side; a side above 0 draws a line there instead of the border.
    RECT GetBorderSides() const;
    void SetBorderSize(RECT rc);
    void SetLeftBorderSize(int nSize);
    void SetTopBorderSize(int nSize);
    void SetRightBorderSize(int nSize);
    void SetBottomBorderSize(int nSize);
    // A GDI pen style.
    int GetBorderStyle() const;
    void SetBorderStyle(int nStyle);
    SIZE GetBorderRound() const;
    void SetBorderRound(SIZE cxyRound);

    // Forwarded to the manager with this control.
    bool SetTimer(UINT nTimerID, UINT nElapse);
    bool KillTimer(UINT nTimerID);

    // The virtual window name, or the parent's.
    CSkinString GetVirtualWnd() const;
    void SetVirtualWnd(const wchar_t* pstrValue);

    void AddCustomAttribute(const wchar_t* pstrName, const wchar_t* pstrAttr);
    const wchar_t* GetCustomAttribute(const wchar_t* pstrName) const;
    bool RemoveCustomAttribute(const wchar_t* pstrName);
    void RemoveAllCustomAttribute();

    // The module resource images are loaded from.
    void setInstance(HINSTANCE instance);

    // Called with the control: by Init, the destructor and SetPos.
    CEventSource OnInit;
    CEventSource OnDestroy;
    CEventSource OnSize;
    // Called with the tagTEventUI by Event.
    CEventSource OnEvent;
    // Called with the tagTNotifyUI by the manager for notifications this
    // control sends.
    CEventSource OnNotify;

protected:
    // A control that takes no mouse input hands a mouse event to its parent,
    // or, at the root, to the plain control's handling; true when it did.
    bool PassMouseEventOn(tagTEventUI& event);

    // A length stored in 96-DPI units, in device pixels.
    int Scaled(int value) const;
    RECT Scaled(RECT rc) const;
    SIZE Scaled(SIZE size) const;

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CSkinString m_sVirtualWnd;
    CSkinString m_sName;
    bool m_bUpdateNeeded = true;
    bool m_bMenuUsed = false;
    RECT m_rcItem{};
    RECT m_rcPadding{};
    SIZE m_szFixedXY{};
    SIZE m_szFixed{};
    SIZE m_szMin{};
    SIZE m_szMax{9999, 9999};
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    tagTPercentInfo m_floatPercent{};
    UINT m_uFloatAlign = 0;
    bool m_bInSizeNotify = false;
    bool m_bDragEnabled = false;
    bool m_bDropEnabled = false;
    bool m_bResourceText = false;
    CSkinString m_sText;
    CSkinString m_sToolTip;
    wchar_t m_chShortcut = 0;
    CSkinString m_sUserData;
    UINT_PTR m_pTag = 0;
    CSkinString m_sGradient;
    DWORD m_dwBackColor = 0;
    DWORD m_dwBackColor2 = 0;
    DWORD m_dwBackColor3 = 0;
    DWORD m_dwForeColor = 0;
    CSkinString m_sBkImage;
    CSkinString m_sForeImage;
    DWORD m_dwBorderColor = 0;
    DWORD m_dwFocusBorderColor = 0;
    bool m_bColorHSL = false;
    int m_nBorderSize = 0;
    int m_nBorderStyle = PS_SOLID;
    int m_nToolTipWidth = 300;
    WORD m_wCursor = 0;
    SIZE m_szBorderRound{};
    // The item rectangle clipped to the area being painted.
    RECT m_rcPaint{};
    RECT m_rcBorderSides{};
    HINSTANCE m_instance = nullptr;
    // Name -> owned CSkinString.
    CStdStringPtrMap m_mCustomAttributes;

private:
    // Styles may name styles; deeper than this a value is taken as written,
    // so a style that names itself ends. A style that names itself several
    // times would still branch out exponentially within that depth, so one
    // value applies at most kMaxStylesPerValue styles in all.
    enum { kMaxStyleDepth = 16, kMaxStylesPerValue = 256 };

    // The manager's style called value, unless styles nest too deep or too
    // many were applied for this value already.
    const wchar_t* FindStyle(const wchar_t* value) const;
    void ApplyStyle(const wchar_t* style);

    int m_nStyleDepth = 0;
    int m_nStylesLeft = 0;
};

} // namespace SkinUI
