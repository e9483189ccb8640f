#pragma once

#include <string>

// What a resumed download names in If-Range, so that a server whose package
// changed since the first answer sends the new one whole (200) instead of the
// rest of it (206): a file stitched from two builds is never put together.
class ResumeValidator {
public:
    // From the first answer's ETag and Last-Modified headers: a strong entity
    // tag when there is one, else the date; a weak tag is never used, since a
    // server compares If-Range strongly and a weak one names no exact bytes.
    // A malformed value counts as none.
    static ResumeValidator Choose(const std::wstring& etag, const std::wstring& lastModified);

    // The If-Range value; empty when the first answer had no usable validator.
    const std::wstring& IfRange() const { return value_; }
    bool Empty() const { return value_.empty(); }

    // Whether a 206 answer with these headers is of the same representation:
    // when it names a validator of the kind sent, it must be the one sent.
    // A server that ignored If-Range and serves another build shows here.
    bool Matches(const std::wstring& etag, const std::wstring& lastModified) const;

private:
    enum class Kind { None, EntityTag, Date };
    Kind kind_ = Kind::None;
    std::wstring value_;
};

// Whether `etag` is a strong entity tag: a quoted string of visible ASCII
// without inner quotes, not prefixed with "W/".
bool IsStrongEntityTag(const std::wstring& etag);
