// Default attribute lists (by control tag) and styles (by name) of the
// paint manager.
#include "paint_manager.h"

namespace SkinUI {

namespace {

const wchar_t* Lookup(const CStdStringPtrMap& own, const CStdStringPtrMap& shared, const wchar_t* key)
{
    const auto* value = static_cast<const CSkinString*>(own.Find(key));
    if (!value) {
        value = static_cast<const CSkinString*>(shared.Find(key));
    }
    return value ? value->GetData() : nullptr;
}

} // namespace

void CPaintManagerUI::AddDefaultAttributeList(const wchar_t* controlName, const wchar_t* list, bool shared)
{
    auto* value = new CSkinString(list);
    if (!ReplaceEntry(TargetResInfo(shared).m_AttrHash, controlName, value)) {
        delete value;
    }
}

const wchar_t* CPaintManagerUI::GetDefaultAttributeList(const wchar_t* controlName) const
{
    return Lookup(m_ResInfo.m_AttrHash, m_SharedResInfo.m_AttrHash, controlName);
}

bool CPaintManagerUI::RemoveDefaultAttributeList(const wchar_t* controlName, bool shared)
{
    return RemoveEntry<CSkinString>(TargetResInfo(shared).m_AttrHash, controlName);
}

void CPaintManagerUI::RemoveAllDefaultAttributeList(bool shared)
{
    TargetResInfo(shared).RemoveAllAttributeLists();
}

void CPaintManagerUI::AddStyle(const wchar_t* name, const wchar_t* value, bool shared)
{
    CStdStringPtrMap& styles = TargetResInfo(shared).m_StyleHash;
    if (!name || styles.Find(name, false)) {
        return;
    }
    auto* style = new CSkinString(value);
    if (!styles.Insert(name, style)) {
        delete style;
    }
}

const wchar_t* CPaintManagerUI::GetStyle(const wchar_t* name) const
{
    return Lookup(m_ResInfo.m_StyleHash, m_SharedResInfo.m_StyleHash, name);
}

bool CPaintManagerUI::RemoveStyle(const wchar_t* name, bool shared)
{
    return RemoveEntry<CSkinString>(TargetResInfo(shared).m_StyleHash, name);
}

void CPaintManagerUI::RemoveAllStyle(bool shared)
{
    TargetResInfo(shared).RemoveAllStyles();
}

} // namespace SkinUI
