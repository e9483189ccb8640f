// Text the tests hand to readers: a heap copy of exactly the characters and
// their terminator, so that a read past the end is caught by AddressSanitizer.
#pragma once

#include <cwchar>
#include <memory>

inline std::unique_ptr<wchar_t[]> Exact(const wchar_t* text)
{
    const size_t length = wcslen(text) + 1;
    std::unique_ptr<wchar_t[]> copy(new wchar_t[length]);
    wmemcpy(copy.get(), text, length);
    return copy;
}
