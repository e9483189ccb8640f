// A program's provider of interface texts the resource manager does not hold.
#pragma once

namespace SkinUI {

class IQueryControlText {
public:
    virtual const wchar_t* QueryControlText(const wchar_t* id, const wchar_t* type) = 0;

protected:
    ~IQueryControlText() = default;
};

} // namespace SkinUI
