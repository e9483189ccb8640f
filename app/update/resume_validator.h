#pragma once

#include <string>

// What a resumed download names in If-Range, so that a server whose package
// changed since the first answer sends the new one whole (200) instead of the
// rest of it (206), and what a 206 must show to be taken as the rest of the
// same version: a file stitched from two builds is never put together.
class ResumeValidator {
public:
    // From the first answer's ETag and Last-Modified headers. If-Range names
    // a strong entity tag when there is one, else the date, and that only
    // when `dateIsStrong`: the answer's own Date is at least 60 s later, so
    // that a release replaced within the same second cannot pass for the
    // first. A weak tag is never named, since a server compares If-Range
    // strongly and a weak one names no exact bytes. A malformed value counts
    // as none.
    static ResumeValidator Choose(const std::wstring& etag, const std::wstring& lastModified, bool dateIsStrong);

    // The If-Range value; empty when the first answer had no usable validator.
    const std::wstring& IfRange() const { return ifRange_; }
    bool Empty() const { return ifRange_.empty(); }

    // Whether a 206 answer with these headers is the rest of the first
    // answer's version: every validator it names, weak or strong, is the
    // first answer's. One that names none proves nothing: it is taken only
    // when `checkedWhole`, the whole file being checked before it is used. A
    // server that ignored If-Range and serves another build shows here.
    bool Matches(const std::wstring& etag, const std::wstring& lastModified, bool checkedWhole) const;

private:
    std::wstring ifRange_;
    std::wstring etag_;
    std::wstring lastModified_;
};

// Whether `etag` is a strong entity tag: a quoted string of visible ASCII
// without inner quotes, not prefixed with "W/".
bool IsStrongEntityTag(const std::wstring& etag);
