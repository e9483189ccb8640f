// The attributes every control takes from markup.
#include "control.h"

#include "attribute_list.h"
#include "attribute_table.h"
#include "paint_manager.h"
#include "skin_values.h"

namespace SkinUI {

const wchar_t* CControlUI::FindStyle(const wchar_t* value) const
{
    if (!m_pManager || !value || !*value || m_nStyleDepth >= kMaxStyleDepth) {
        return nullptr;
    }
    if (m_nStyleDepth > 0 && m_nStylesLeft <= 0) {
        return nullptr;
    }
    return m_pManager->GetStyle(value);
}

void CControlUI::ApplyStyle(const wchar_t* style)
{
    // The text belongs to the manager's map; a copy stays valid whatever
    // the attributes it sets do.
    const CSkinString list(style);
    if (m_nStyleDepth == 0) {
        m_nStylesLeft = kMaxStylesPerValue;
    }
    --m_nStylesLeft;
    ++m_nStyleDepth;
    ApplyAttributeList(list);
    --m_nStyleDepth;
}

CControlUI* CControlUI::ApplyAttributeList(const wchar_t* pstrList)
{
    if (const wchar_t* style = FindStyle(pstrList)) {
        ApplyStyle(style);
        return this;
    }
    CAttributeListReader reader(pstrList);
    CSkinString name;
    CSkinString value;
    while (reader.Next(name, value)) {
        SetAttribute(name, value);
    }
    return this;
}

void CControlUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (!pstrName || !pstrValue) {
        return;
    }
    if (const wchar_t* style = FindStyle(pstrValue)) {
        ApplyStyle(style);
        return;
    }
    using C = CControlUI;
    static const TAttributeEntry<C> kAttributes[] = {
        {L"innerstyle", [](C& c, const wchar_t* v) { c.ApplyAttributeList(v); }},
        {L"pos",
         [](C& c, const wchar_t* v) {
             const tagTSkinPos pos = ReadSkinPos(v);
             c.SetFixedXY(pos.fixedXY);
             c.SetFixedWidth(pos.width);
             c.SetFixedHeight(pos.height);
         }},
        {L"float",
         [](C& c, const wchar_t* v) {
             if (wcschr(v, L',')) {
                 c.SetFloatPercent(ReadSkinPercent(v));
                 c.SetFloat(true);
             } else {
                 c.SetFloat(IsSkinTrue(v));
             }
         }},
        {L"floatalign", [](C& c, const wchar_t* v) { c.SetFloatAlign(ReadFloatAlign(c.GetFloatAlign(), v)); }},
        {L"padding", [](C& c, const wchar_t* v) { c.SetPadding(ReadSkinRect(v)); }},
        {L"gradient", [](C& c, const wchar_t* v) { c.SetGradient(v); }},
        {L"bkcolor", [](C& c, const wchar_t* v) { c.SetBkColor(ReadSkinColor(v)); }},
        {L"bkcolor1", [](C& c, const wchar_t* v) { c.SetBkColor(ReadSkinColor(v)); }},
        {L"bkcolor2", [](C& c, const wchar_t* v) { c.SetBkColor2(ReadSkinColor(v)); }},
        {L"bkcolor3", [](C& c, const wchar_t* v) { c.SetBkColor3(ReadSkinColor(v)); }},
        {L"forecolor", [](C& c, const wchar_t* v) { c.SetForeColor(ReadSkinColor(v)); }},
        {L"bordercolor", [](C& c, const wchar_t* v) { c.SetBorderColor(ReadSkinHashColor(v)); }},
        {L"focusbordercolor", [](C& c, const wchar_t* v) { c.SetFocusBorderColor(ReadSkinHashColor(v)); }},
        {L"colorhsl", [](C& c, const wchar_t* v) { c.SetColorHSL(IsSkinTrue(v)); }},
        {L"bordersize",
         [](C& c, const wchar_t* v) {
             if (wcschr(v, L',')) {
                 c.SetBorderSize(ReadSkinRect(v));
             } else {
                 c.SetBorderSize(ReadSkinInt(v));
                 c.SetBorderSize(RECT{});
             }
         }},
        {L"leftbordersize", [](C& c, const wchar_t* v) { c.SetLeftBorderSize(ReadSkinInt(v)); }},
        {L"topbordersize", [](C& c, const wchar_t* v) { c.SetTopBorderSize(ReadSkinInt(v)); }},
        {L"rightbordersize", [](C& c, const wchar_t* v) { c.SetRightBorderSize(ReadSkinInt(v)); }},
        {L"bottombordersize", [](C& c, const wchar_t* v) { c.SetBottomBorderSize(ReadSkinInt(v)); }},
        {L"borderstyle", [](C& c, const wchar_t* v) { c.SetBorderStyle(ReadSkinInt(v)); }},
        {L"borderround", [](C& c, const wchar_t* v) { c.SetBorderRound(ReadSkinSize(v)); }},
        {L"bkimage", [](C& c, const wchar_t* v) { c.SetBkImage(v); }},
        {L"foreimage", [](C& c, const wchar_t* v) { c.SetForeImage(v); }},
        {L"width", [](C& c, const wchar_t* v) { c.SetFixedWidth(ReadSkinInt(v)); }},
        {L"height", [](C& c, const wchar_t* v) { c.SetFixedHeight(ReadSkinInt(v)); }},
        {L"minwidth", [](C& c, const wchar_t* v) { c.SetMinWidth(ReadSkinInt(v)); }},
        {L"minheight", [](C& c, const wchar_t* v) { c.SetMinHeight(ReadSkinInt(v)); }},
        {L"maxwidth", [](C& c, const wchar_t* v) { c.SetMaxWidth(ReadSkinInt(v)); }},
        {L"maxheight", [](C& c, const wchar_t* v) { c.SetMaxHeight(ReadSkinInt(v)); }},
        {L"name", [](C& c, const wchar_t* v) { c.SetName(v); }},
        {L"drag", [](C& c, const wchar_t* v) { c.SetDragEnable(IsSkinTrue(v)); }},
        {L"drop", [](C& c, const wchar_t* v) { c.SetDropEnable(IsSkinTrue(v)); }},
        {L"resourcetext", [](C& c, const wchar_t* v) { c.SetResourceText(IsSkinTrue(v)); }},
        {L"text", [](C& c, const wchar_t* v) { c.SetText(v); }},
        {L"tooltip", [](C& c, const wchar_t* v) { c.SetToolTip(v); }},
        {L"userdata", [](C& c, const wchar_t* v) { c.SetUserData(v); }},
        {L"enabled", [](C& c, const wchar_t* v) { c.SetEnabled(IsSkinTrue(v)); }},
        {L"mouse", [](C& c, const wchar_t* v) { c.SetMouseEnabled(IsSkinTrue(v)); }},
        {L"keyboard", [](C& c, const wchar_t* v) { c.SetKeyboardEnabled(IsSkinTrue(v)); }},
        {L"visible", [](C& c, const wchar_t* v) { c.SetVisible(IsSkinTrue(v)); }},
        {L"shortcut", [](C& c, const wchar_t* v) { c.SetShortcut(v[0]); }},
        {L"menu", [](C& c, const wchar_t* v) { c.SetContextMenuUsed(IsSkinTrue(v)); }},
        {L"cursor",
         [](C& c, const wchar_t* v) {
             if (const uint16_t cursor = ReadSkinCursor(v)) {
                 c.SetCursor(cursor);
             }
         }},
        {L"virtualwnd", [](C& c, const wchar_t* v) { c.SetVirtualWnd(v); }},
    };
    if (!ApplyAttributeEntry(kAttributes, *this, pstrName, pstrValue)) {
        AddCustomAttribute(pstrName, pstrValue);
    }
}

} // namespace SkinUI
