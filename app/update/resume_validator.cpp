#include "resume_validator.h"

namespace {

// Header values are copied into a request header: only visible ASCII and
// spaces, and not longer than any real validator.
constexpr size_t kMaxValidatorLength = 256;

bool IsHeaderText(const std::wstring& text)
{
    if (text.empty() || text.size() > kMaxValidatorLength)
        return false;
    for (wchar_t c : text)
        if (c < 0x20 || c > 0x7E)
            return false;
    return true;
}

} // namespace

bool IsStrongEntityTag(const std::wstring& etag)
{
    if (etag.size() < 2 || etag.size() > kMaxValidatorLength || etag.front() != L'"' || etag.back() != L'"')
        return false;
    for (size_t i = 1; i + 1 < etag.size(); ++i)
        if (etag[i] <= 0x20 || etag[i] > 0x7E || etag[i] == L'"')
            return false;
    return true;
}

ResumeValidator ResumeValidator::Choose(const std::wstring& etag, const std::wstring& lastModified)
{
    ResumeValidator validator;
    if (IsStrongEntityTag(etag)) {
        validator.kind_ = Kind::EntityTag;
        validator.value_ = etag;
    } else if (IsHeaderText(lastModified)) {
        validator.kind_ = Kind::Date;
        validator.value_ = lastModified;
    }
    return validator;
}

bool ResumeValidator::Matches(const std::wstring& etag, const std::wstring& lastModified) const
{
    switch (kind_) {
    case Kind::EntityTag:
        return etag.empty() || etag == value_;
    case Kind::Date:
        return lastModified.empty() || lastModified == value_;
    case Kind::None:
        break;
    }
    return true;
}
