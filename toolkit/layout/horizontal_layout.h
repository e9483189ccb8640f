// A row: the children are placed left to right; those without a width
// share what the others leave, and each fills the height.
#pragma once

#include "container.h"
#include "layout_separator.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CContainerUI {
public:
    CHorizontalLayoutUI() = default;

    static CControlUI* CreateControl();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;

    // A drag strip along the right edge (negative: the left edge); 0 for none.
    void SetSepWidth(int iWidth);
    int GetSepWidth() const;
    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const;
    RECT GetThumbRect(bool bUseNew = false) const;

    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoEvent(tagTEventUI& event) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

private:
    CLayoutSeparator m_separator{false};
};

} // namespace SkinUI
