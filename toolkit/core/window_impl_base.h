// The base of every skinned top-level window: no native frame, the control
// tree built from the skin when the window is created, the non-client hit
// test answered from the skin's caption and size box, a round-cornered
// window region, and one virtual handler per common window message.
#pragma once

#include "dialog_builder.h"
#include "notify_pump.h"
#include "paint_manager.h"
#include "resource_manager.h"
#include "window_wnd.h"

namespace SkinUI {

class CControlUI;

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText {
public:
    WindowImplBase() = default;

    // The order of the virtual operations below is the class's contract:
    // CWindowWnd's five come first, then these.
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    // Leaves the filters and notifiers and lets the tree go; the object stays.
    void OnFinalMessage(HWND hWnd) override;

    virtual ~WindowImplBase() = default;
    virtual void InitResource() {}
    // Once the control tree is built and attached.
    virtual void InitWindow() {}
    // On "windowinit".
    virtual void OnPrepare() {}
    // The control named "background": colours and image.
    virtual void SetBKColor2(DWORD color);
    virtual void SetBKColor3(DWORD color);
    virtual void SetBkColor(DWORD color);
    virtual DWORD GetBkColor3();
    virtual DWORD GetBkColor2();
    virtual DWORD GetBkColor();
    virtual void SetBkImage(CSkinString image);
    virtual CSkinString GetBkImage();
    // System commands for the standard button names.
    virtual void OnClick(tagTNotifyUI& msg);
    // True when the control and all its ancestors are of a static class:
    // the window can be dragged there.
    virtual bool IsInStaticControl(CControlUI* pControl);
    virtual CSkinString GetSkinFile() const;
    virtual CSkinString GetSkinFolder() const;
    virtual UILIB_RESTYPE GetResourceType() const;
    virtual CSkinString GetZIPFileName() const;
    // A resource name, or an identifier made with MAKEINTRESOURCE.
    virtual const wchar_t* GetResourceID() const;
    virtual const wchar_t* GetManagerName() const;
    // Asked for Return and Escape; the answer does not stop the key.
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // Moved to a monitor of another scale: its DPI, and the rectangle the
    // system suggests for it.
    virtual LRESULT OnDpiChanged(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // Every message not routed to a handler above.
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // The window's style without a caption.
    virtual LONG GetStyle();

    // "windowinit" calls OnPrepare; the rest goes through the message map.
    void Notify(tagTNotifyUI& msg) override;
    // As a pre-message filter: Return and Escape are offered to
    // ResponseDefaultKeyEvent, and never marked handled.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    // No window-specific control classes.
    CControlUI* CreateControl(const wchar_t* pstrClass) override;
    const wchar_t* QueryControlText(const wchar_t* lpstrId, const wchar_t* lpstrType) override;

    CPaintManagerUI& GetPaintManager() { return m_pm; }
    // The control named "background", if there is one.
    CControlUI* GetBkControlUI();

    SKIN_DECLARE_MESSAGE_MAP()

protected:
    CSkinString m_sSkinFolder;
    CSkinString m_sSkinFile{L"none.xml"};
    UILIB_RESTYPE m_nResType = RESTYPE_FOLDER;
    CPaintManagerUI m_pm;

private:
    // Points the process's skin settings at this window's skin; false when
    // its archive resource is missing.
    bool SelectSkin();
};

} // namespace SkinUI
