// A progress bar: a value between a minimum and a maximum, shown by the fore
// colour and the fore image cut to the filled part.
#pragma once

#include "label.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    static CControlUI* CreateControl();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    bool IsShowText() const;
    // Off empties the text.
    void SetShowText(bool bShowText = true);
    bool IsHorizontal() const;
    void SetHorizontal(bool bHorizontal = true);
    // Off: the filled part shows the matching part of the fore image
    // instead of the whole image fitted to it.
    bool IsStretchForeImage() const;
    void SetStretchForeImage(bool bStretchForeImage = true);
    int GetMinValue() const;
    void SetMinValue(int nMin);
    int GetMaxValue() const;
    void SetMaxValue(int nMax);
    int GetValue() const;
    // A value outside the range, or the current one, is ignored; a new
    // percentage is told to assistive technology (EVENT_OBJECT_VALUECHANGE).
    void SetValue(int nValue);
    // The share of the range reached, 0 to 100, truncated.
    int Percent() const;
    // With show text on, the text becomes the percentage ("20%").
    virtual void UpdateText();

    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintForeColor(HDC hDC) override;
    void PaintForeImage(HDC hDC) override;

private:
    // An empty or reversed range becomes one unit wide, and the value is
    // kept inside it; both are stored.
    void NormalizeRange();

    bool m_bShowText = false;
    bool m_bHorizontal = true;
    bool m_bStretchForeImage = true;
    int m_nMax = 100;
    int m_nMin = 0;
    int m_nValue = 0;
    // Rebuilt at every paint.
    CSkinString m_sForeImageModify;
};

} // namespace SkinUI
