// The registries of default attribute lists (by control tag), styles (by name) and option groups.
#include "paint_manager.h"

#include "control.h"

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

bool CPaintManagerUI::AddOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl)
{
    if (!pStrGroupName || !pControl) {
        return false;
    }
    if (auto* group = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName))) {
        return AddOnce(*group, pControl);
    }
    auto* group = new CStdPtrArray(6);
    if (!group->Add(pControl) || !m_mOptionGroup.Insert(pStrGroupName, group)) {
        delete group;
        return false;
    }
    return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(const wchar_t* pStrGroupName)
{
    return pStrGroupName ? static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName)) : nullptr;
}

void CPaintManagerUI::RemoveOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* group = GetOptionGroup(pStrGroupName);
    if (!group) {
        return;
    }
    group->Remove(group->Find(pControl));
    if (group->IsEmpty()) {
        delete group;
        m_mOptionGroup.Remove(pStrGroupName);
    }
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    for (int i = 0; i < m_mOptionGroup.GetSize(); ++i) {
        delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(m_mOptionGroup[i], false));
    }
    m_mOptionGroup.RemoveAll();
}

} // namespace SkinUI
