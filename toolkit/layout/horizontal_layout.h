// A row: the children are placed left to right; those without a width share
// what the others leave, and each fills the height.
#pragma once

#include "linear_layout_ui.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CLinearLayoutUI {
public:
    CHorizontalLayoutUI() : CLinearLayoutUI(false) {}

    static CControlUI* CreateControl();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // A drag strip along the right edge (negative: the left edge); 0 for none.
    void SetSepWidth(int iWidth);
    int GetSepWidth() const;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
};

} // namespace SkinUI
