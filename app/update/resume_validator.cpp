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

ResumeValidator ResumeValidator::Choose(const std::wstring& etag, const std::wstring& lastModified, bool dateIsStrong)
{
    ResumeValidator validator;
    validator.etag_ = etag;
    validator.lastModified_ = lastModified;
    if (IsStrongEntityTag(etag))
        validator.ifRange_ = etag;
    else if (dateIsStrong && IsHeaderText(lastModified))
        validator.ifRange_ = lastModified;
    return validator;
}

bool ResumeValidator::Matches(const std::wstring& etag, const std::wstring& lastModified, bool checkedWhole) const
{
    if (etag.empty() && lastModified.empty())
        return checkedWhole;
    return (etag.empty() || etag == etag_) && (lastModified.empty() || lastModified == lastModified_);
}
