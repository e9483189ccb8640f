// A column: the children are placed top to bottom; those without a height
// share what the others leave.
#pragma once

#include "linear_layout_ui.h"

namespace SkinUI {

class CVerticalLayoutUI : public CLinearLayoutUI {
public:
    CVerticalLayoutUI() : CLinearLayoutUI(true) {}

    static CControlUI* CreateControl();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    // A drag strip along the bottom edge (negative: the top edge); 0 for none.
    void SetSepHeight(int iHeight);
    int GetSepHeight() const;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
};

} // namespace SkinUI
