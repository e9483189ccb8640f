// A text in the window's fonts and colours, aligned inside its rectangle,
// and able to estimate its own size from its text.
#pragma once

#include "control.h"

namespace SkinUI {

class CLabelUI : public CControlUI {
public:
    CLabelUI() = default;

    static CControlUI* CreateControl();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;

    virtual bool GetAutoCalcWidth() const;
    virtual void SetAutoCalcWidth(bool bAutoCalcWidth);
    virtual bool GetAutoCalcHeight() const;
    virtual void SetAutoCalcHeight(bool bAutoCalcHeight);

    // 0: the window's default text colour.
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const;
    // 0: the window's default disabled text colour.
    void SetDisabledTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const;
    // An index into the manager's fonts; -1 for the default font.
    void SetFont(int index);
    int GetFont() const;
    // DT_ flags.
    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const;
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    // HTML-like text is drawn as plain text.
    bool IsShowHtml() const;
    void SetShowHtml(bool bShowHtml = true);

    void SetText(const wchar_t* pstrText) override;
    void DoEvent(tagTEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    // The fixed size; a missing height is the font's, and a missing width
    // (or multi-line height) is measured from the text when asked to.
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

protected:
    // Colours left at 0 take the manager's defaults, for good.
    void ResolveDefaultColors();
    // The text in colour and font, inside the item rectangle shrunk by the text padding.
    void DrawLabelText(HDC hDC, DWORD dwColor, int iFont);

    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    RECT m_rcTextPadding{};
    bool m_bShowHtml = false;
    bool m_bAutoCalcWidth = false;
    bool m_bAutoCalcHeight = false;
    SIZE m_szAvailableLast{};
    // The window's scale the estimate was measured at: fonts follow it.
    UINT m_uEstimateScale = 0;
    SIZE m_szEstimate{};
    // Stale from the start, so that the first layout measures.
    bool m_bEstimateStale = true;

private:
    // The text's extent in rc, measured as DT_CALCRECT gives it.
    void MeasureText(const CSkinString& text, RECT& rc) const;
};

} // namespace SkinUI
