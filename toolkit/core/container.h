// Controls that hold controls. A container owns its children, passes its
// manager, visibility and enabled state down to them, paints them clipped
// to its client area and searches them. A plain container lays every child
// over its whole client area; the linear layouts (toolkit/layout) share it
// out instead.
#pragma once

#include "control.h"
#include "linear_layout.h"
#include "std_ptr_array.h"

namespace SkinUI {

class CScrollBarUI;

class IContainerUI {
public:
    virtual CControlUI* GetItemAt(int iIndex) const = 0;
    virtual int GetItemIndex(CControlUI* pControl) const = 0;
    virtual bool SetItemIndex(CControlUI* pControl, int iIndex) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* pControl) = 0;
    virtual bool AddAt(CControlUI* pControl, int iIndex) = 0;
    virtual bool Remove(CControlUI* pControl) = 0;
    virtual bool RemoveAt(int iIndex) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    static CControlUI* CreateControl();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    // False, with nothing changed, when the control is not a child or the
    // index is not one of the children's.
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    // The container owns what it holds.
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    // Deletes the child (through the manager's delayed cleanup when delayed
    // destroy is on) unless auto destroy is off.
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    virtual RECT GetInset() const;
    virtual void SetInset(RECT rcInset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int iPadding);
    virtual UINT GetChildAlign() const;
    virtual void SetChildAlign(UINT iAlign);
    virtual UINT GetChildVAlign() const;
    virtual void SetChildVAlign(UINT iVAlign);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool bAuto);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool bDelayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool bEnable = true);

    // No scroll bars are built: scrolling does nothing, there is no scroll
    // position or range, and ProcessScrollBar has nothing to size.
    virtual SIZE GetScrollPos() const { return SIZE{}; }
    virtual SIZE GetScrollRange() const { return SIZE{}; }
    virtual void SetScrollPos(SIZE, bool = true) {}
    virtual void SetScrollStepSize(int nSize);
    virtual int GetScrollStepSize() const;
    virtual void LineUp() {}
    virtual void LineDown() {}
    virtual void PageUp() {}
    virtual void PageDown() {}
    virtual void HomeUp() {}
    virtual void EndDown() {}
    virtual void LineLeft() {}
    virtual void LineRight() {}
    virtual void PageLeft() {}
    virtual void PageRight() {}
    virtual void HomeLeft() {}
    virtual void EndRight() {}
    virtual void EnableScrollBar(bool = true, bool = false) {}
    virtual CScrollBarUI* GetVerticalScrollBar() const { return nullptr; }
    virtual CScrollBarUI* GetHorizontalScrollBar() const { return nullptr; }

    // Places a floating child by its float align or float percents.
    virtual void SetFloatPos(int iIndex);
    virtual void ProcessScrollBar(RECT, int, int) {}

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    RECT GetClientPos() const override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void Move(SIZE szOffset, bool bNeedInvalidate = true) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnabled = true) override;
    CControlUI* FindControl(FindControlProc Proc, void* pData, UINT uFlags) override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) override;

    // The named descendant, through the manager.
    CControlUI* FindSubControl(const wchar_t* pstrSubControlName);
    // Setters return false and getters -1 or empty text when the
    // descendant does not exist.
    bool SetSubControlText(const wchar_t* pstrSubControlName, const wchar_t* pstrText);
    bool SetSubControlFixedHeight(const wchar_t* pstrSubControlName, int cy);
    bool SetSubControlFixedWdith(const wchar_t* pstrSubControlName, int cx);
    bool SetSubControlUserData(const wchar_t* pstrSubControlName, const wchar_t* pstrText);
    CSkinString GetSubControlText(const wchar_t* pstrSubControlName);
    int GetSubControlFixedHeight(const wchar_t* pstrSubControlName);
    int GetSubControlFixedWdith(const wchar_t* pstrSubControlName);
    CSkinString GetSubControlUserData(const wchar_t* pstrSubControlName);

protected:
    // The item rectangle shrunk by the inset.
    RECT GetInsetRect() const;
    // Shares the inset rectangle out among the children: LayOutColumn or LayOutRow.
    void LayOutChildren(SIZE (*layOut)(const tagTLinearLayout&, ILayoutChildren&));
    // Frees a removed child: at once, or through the manager's delayed cleanup.
    void Discard(CControlUI* pControl);

    CStdPtrArray m_items;
    RECT m_rcInset{};
    int m_iChildPadding = 0;
    UINT m_iChildAlign = 0;
    UINT m_iChildVAlign = 0;
    bool m_bAutoDestroy = true;
    bool m_bDelayedDestroy = true;
    bool m_bMouseChildEnabled = true;
    int m_nScrollStepSize = 0;
};

} // namespace SkinUI
