#include "attribute_list.h"

namespace SkinUI {

CAttributeListReader::CAttributeListReader(const wchar_t* list) : m_sList(list ? list : L"")
{
    m_sList.Replace(L"&quot;", L"\"");
}

bool CAttributeListReader::Next(CSkinString& name, CSkinString& value)
{
    if (m_bEnd || m_iPos >= m_sList.GetLength()) {
        m_bEnd = true;
        return false;
    }
    const int equals = m_sList.Find(L'=', m_iPos);
    const int open = equals + 1;
    const int close = equals < 0 || m_sList[open] != L'"' ? -1 : m_sList.Find(L'"', open + 1);
    if (close < 0) {
        m_bEnd = true;
        return false;
    }
    name = m_sList.Mid(m_iPos, equals - m_iPos);
    value = m_sList.Mid(open + 1, close - open - 1);
    // Exactly one separator: further blanks belong to the next name.
    const wchar_t separator = m_sList[close + 1];
    m_iPos = close + 2;
    m_bEnd = separator != L' ' && separator != L',';
    return true;
}

} // namespace SkinUI
