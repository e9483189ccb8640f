// A column: the children are placed top to bottom; those without a height
// share what the others leave.
#pragma once

#include "container.h"
#include "layout_separator.h"

namespace SkinUI {

class CVerticalLayoutUI : public CContainerUI {
public:
    CVerticalLayoutUI() = default;

    static CControlUI* CreateControl();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;

    // A drag strip along the bottom edge (negative: the top edge); 0 for none.
    void SetSepHeight(int iHeight);
    int GetSepHeight() const;
    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const;
    RECT GetThumbRect(bool bUseNew = false) const;

    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoEvent(tagTEventUI& event) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

private:
    CLayoutSeparator m_separator{true};
};

} // namespace SkinUI
