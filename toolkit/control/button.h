// A label that can be pressed: hot, pushed, focused and disabled states
// with their own images, colours and fonts, and a "click" notification when
// it is activated.
#pragma once

#include "label.h"

namespace SkinUI {

class CButtonUI : public CLabelUI {
public:
    CButtonUI();

    static CControlUI* CreateControl();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    // Sends "click" when the base allows it.
    bool Activate() override;
    // The state becomes exactly disabled, or 0.
    void SetEnabled(bool bEnable = true) override;

    virtual const CSkinString& GetNormalImage() const;
    virtual void SetNormalImage(const wchar_t* pStrImage);
    virtual const CSkinString& GetHotImage() const;
    virtual void SetHotImage(const wchar_t* pStrImage);
    virtual const CSkinString& GetPushedImage() const;
    virtual void SetPushedImage(const wchar_t* pStrImage);
    virtual const CSkinString& GetFocusedImage() const;
    virtual void SetFocusedImage(const wchar_t* pStrImage);
    virtual const CSkinString& GetDisabledImage() const;
    virtual void SetDisabledImage(const wchar_t* pStrImage);
    virtual const CSkinString& GetHotForeImage() const;
    virtual void SetHotForeImage(const wchar_t* pStrImage);
    // One image of equal cells side by side (normal, hot, pushed,
    // disabled); the state images are cut from it at the next paint.
    virtual const CSkinString& GetStateImage() const;
    virtual void SetStateImage(const wchar_t* pStrImage);

    void SetStateCount(int nCount);
    int GetStateCount() const;
    void SetHotBkColor(DWORD dwColor);
    DWORD GetHotBkColor() const;
    void SetPushedBkColor(DWORD dwColor);
    DWORD GetPushedBkColor() const;
    void SetDisabledBkColor(DWORD dwColor);
    DWORD GetDisabledBkColor() const;
    void SetHotTextColor(DWORD dwColor);
    DWORD GetHotTextColor() const;
    void SetPushedTextColor(DWORD dwColor);
    DWORD GetPushedTextColor() const;
    void SetFocusedTextColor(DWORD dwColor);
    DWORD GetFocusedTextColor() const;
    // -1: the label's font.
    void SetHotFont(int index);
    int GetHotFont() const;
    void SetPushedFont(int index);
    int GetPushedFont() const;
    void SetFocusedFont(int index);
    int GetFocusedFont() const;

    // A tab layout page the button is bound to; kept for tab layouts, which
    // this toolkit does not build.
    void BindTabIndex(int index);
    void BindTabLayoutName(const wchar_t* pstrName);
    int GetBindTabLayoutIndex() const;
    const CSkinString& GetBindTabLayoutName() const;

    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintBkColor(HDC hDC) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintForeImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // Button state bits.
    static constexpr UINT StateFocused = 0x1;
    static constexpr UINT StateDisabled = 0x4;
    static constexpr UINT StateHot = 0x8;
    static constexpr UINT StatePushed = 0x10;
    static constexpr UINT StateCaptured = 0x40;
    UINT GetButtonState() const;

private:
    // Focused and disabled from the control; a disabled window leaves only disabled.
    void RefreshState();
    void SplitStateImage();

    UINT m_uButtonState = 0;
    int m_iHotFont = -1;
    int m_iPushedFont = -1;
    int m_iFocusedFont = -1;
    DWORD m_dwHotBkColor = 0;
    DWORD m_dwPushedBkColor = 0;
    DWORD m_dwDisabledBkColor = 0;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    DWORD m_dwFocusedTextColor = 0;
    CSkinString m_sNormalImage;
    CSkinString m_sHotImage;
    CSkinString m_sHotForeImage;
    CSkinString m_sPushedImage;
    CSkinString m_sFocusedImage;
    CSkinString m_sDisabledImage;
    int m_nStateCount = 0;
    CSkinString m_sStateImage;
    int m_iBindTabIndex = -1;
    CSkinString m_sBindTabLayoutName;
};

} // namespace SkinUI
