// Conversions between UTF-16 and the 8-bit code pages. On Windows the ANSI
// page is the system's; the host build (Linux) uses UTF-8 as its one narrow
// page and keeps one code point per wchar_t.
#pragma once

#include <string>

namespace base {

enum class CodePage { Utf8, Ansi };

// Like MultiByteToWideChar: with a null (or zero-sized) output, returns the
// number of wide characters needed; otherwise the number written. A length
// below 0 means up to and including the terminator. 0 on failure, and when
// the output is too small.
int DecodeText(CodePage page, const char* text, int length, wchar_t* out, int outCount);

// Like WideCharToMultiByte, with the same conventions.
int EncodeText(CodePage page, const wchar_t* text, int length, char* out, int outCount);

// Whole-text forms; embedded zeros are kept, and a text that cannot be
// converted gives an empty result.
std::wstring ToWide(CodePage page, const std::string& text);
std::string FromWide(CodePage page, const std::wstring& text);

} // namespace base
