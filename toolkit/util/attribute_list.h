// Attribute lists, as controls take them from default lists, styles and
// "innerstyle": name="value" pairs, each closing quote followed by one space
// or comma, with "&quot;" standing for a double quote anywhere in the list.
#pragma once

#include "skin_string.h"

namespace SkinUI {

class CAttributeListReader {
public:
    explicit CAttributeListReader(const wchar_t* list);

    // The next pair; false at the end of the list or where its syntax
    // breaks, and from then on.
    bool Next(CSkinString& name, CSkinString& value);

private:
    CSkinString m_sList;
    int m_iPos = 0;
    bool m_bEnd = false;
};

} // namespace SkinUI
