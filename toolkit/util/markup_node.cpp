#include "markup.h"

#include "skin_text.h"

#include <cwchar>

namespace SkinUI {

namespace {

bool IsSpace(wchar_t ch)
{
    return ch > L'\0' && ch <= L' ';
}

} // namespace

CMarkupNode::CMarkupNode() : m_iPos(0), m_nAttributes(0), m_aAttributes{}, m_pOwner(nullptr) {}

CMarkupNode::CMarkupNode(CMarkup* owner, uint32_t pos) : m_iPos(pos), m_nAttributes(0), m_aAttributes{}, m_pOwner(owner)
{
}

CMarkupNode CMarkupNode::GetParent() const
{
    if (!m_pOwner) {
        return CMarkupNode();
    }
    const uint32_t pos = m_pOwner->m_pElements[m_iPos].iParent;
    return pos == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, pos);
}

CMarkupNode CMarkupNode::GetSibling() const
{
    if (!m_pOwner) {
        return CMarkupNode();
    }
    const uint32_t pos = m_pOwner->m_pElements[m_iPos].iNext;
    return pos == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, pos);
}

CMarkupNode CMarkupNode::GetChild() const
{
    if (!m_pOwner) {
        return CMarkupNode();
    }
    const uint32_t pos = m_pOwner->m_pElements[m_iPos].iChild;
    return pos == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, pos);
}

CMarkupNode CMarkupNode::GetChild(const wchar_t* name) const
{
    if (!m_pOwner || !name) {
        return CMarkupNode();
    }
    for (uint32_t pos = m_pOwner->m_pElements[m_iPos].iChild; pos != 0; pos = m_pOwner->m_pElements[pos].iNext) {
        if (SkinCompareNoCase(m_pOwner->m_pstrXML + m_pOwner->m_pElements[pos].iStart, name) == 0) {
            return CMarkupNode(m_pOwner, pos);
        }
    }
    return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const
{
    return m_pOwner && m_pOwner->m_pElements[m_iPos].iNext > 0;
}

bool CMarkupNode::HasChildren() const
{
    return m_pOwner && m_pOwner->m_pElements[m_iPos].iChild != 0;
}

const wchar_t* CMarkupNode::GetName() const
{
    return m_pOwner ? m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iStart : nullptr;
}

const wchar_t* CMarkupNode::GetValue() const
{
    return m_pOwner ? m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iData : nullptr;
}

// Walks the start tag, where the parse left "name\0 \"value\0" pairs, and
// records where each name and value starts. Never reads past the tag.
void CMarkupNode::MapAttributes() const
{
    m_nAttributes = 0;
    const wchar_t* text = m_pOwner->m_pstrXML;
    const wchar_t* end = text + m_pOwner->m_pElements[m_iPos].iData;
    const wchar_t* p = text + m_pOwner->m_pElements[m_iPos].iStart;
    p += wcslen(p) + 1;
    while (p < end) {
        while (p < end && IsSpace(*p)) {
            ++p;
        }
        if (p >= end) {
            return;
        }
        const wchar_t* name = p;
        p += wcslen(p) + 1;
        if (p >= end) {
            return;
        }
        while (p < end && IsSpace(*p)) {
            ++p;
        }
        if (p >= end || *p != L'"') {
            return;
        }
        ++p;
        m_aAttributes[m_nAttributes].iName = static_cast<uint32_t>(name - text);
        m_aAttributes[m_nAttributes].iValue = static_cast<uint32_t>(p - text);
        if (++m_nAttributes >= MAX_XML_ATTRIBUTES) {
            return;
        }
        p += wcslen(p) + 1;
    }
}

bool CMarkupNode::HasAttributes() const
{
    return GetAttributeCount() > 0;
}

int CMarkupNode::FindAttribute(const wchar_t* name) const
{
    const int count = name ? GetAttributeCount() : 0;
    for (int i = 0; i < count; ++i) {
        if (SkinCompareNoCase(m_pOwner->m_pstrXML + m_aAttributes[i].iName, name) == 0) {
            return i;
        }
    }
    return -1;
}

bool CMarkupNode::HasAttribute(const wchar_t* name) const
{
    return FindAttribute(name) >= 0;
}

int CMarkupNode::GetAttributeCount() const
{
    if (!m_pOwner) {
        return 0;
    }
    if (m_nAttributes == 0) {
        MapAttributes();
    }
    return m_nAttributes;
}

const wchar_t* CMarkupNode::GetAttributeName(int index) const
{
    if (!m_pOwner) {
        return nullptr;
    }
    return index >= 0 && index < GetAttributeCount() ? m_pOwner->m_pstrXML + m_aAttributes[index].iName : L"";
}

const wchar_t* CMarkupNode::GetAttributeValue(int index) const
{
    if (!m_pOwner) {
        return nullptr;
    }
    return index >= 0 && index < GetAttributeCount() ? m_pOwner->m_pstrXML + m_aAttributes[index].iValue : L"";
}

const wchar_t* CMarkupNode::GetAttributeValue(const wchar_t* name) const
{
    return m_pOwner ? GetAttributeValue(FindAttribute(name)) : nullptr;
}

bool CMarkupNode::GetAttributeValue(int index, wchar_t* buffer, int size) const
{
    if (!m_pOwner || !buffer || size <= 0 || index < 0 || index >= GetAttributeCount()) {
        return false;
    }
    wcsncpy(buffer, m_pOwner->m_pstrXML + m_aAttributes[index].iValue, static_cast<size_t>(size));
    return true;
}

bool CMarkupNode::GetAttributeValue(const wchar_t* name, wchar_t* buffer, int size) const
{
    return m_pOwner && GetAttributeValue(FindAttribute(name), buffer, size);
}

} // namespace SkinUI
