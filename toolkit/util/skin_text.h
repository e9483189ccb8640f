// Wide-text services the toolkit needs from the C run-time and the system:
// case-insensitive comparison, printf-style formatting that can count first,
// and conversions between UTF-16 and the 8-bit code pages (the shared
// converter in base/). The Windows build uses the Windows run-time; the host
// build (Linux) has equivalents in skin_text_posix.cpp.
#pragma once

#include <cstdarg>

#include "base/code_page.h"

namespace SkinUI {

// Ordinal comparison ignoring case, like _wcsicmp.
int SkinCompareNoCase(const wchar_t* a, const wchar_t* b);

// Number of characters the formatted text needs (without terminator), or -1.
int SkinCountFormat(const wchar_t* format, va_list args);

// Formats into buffer (count characters including the terminator). Returns
// the formatted length, or -1 when it did not fit; the buffer then holds the
// first count - 1 characters, terminated.
int SkinFormatInto(wchar_t* buffer, int count, const wchar_t* format, va_list args);

using SkinCodePage = base::CodePage;

// Like MultiByteToWideChar: with a null (or zero-sized) output, returns the
// number of wide characters needed; otherwise the number written. A length
// below 0 means up to and including the terminator. 0 on failure.
inline int SkinDecodeText(SkinCodePage page, const char* text, int length, wchar_t* out, int outCount)
{
    return base::DecodeText(page, text, length, out, outCount);
}

// Like WideCharToMultiByte, with the same conventions.
inline int SkinEncodeText(SkinCodePage page, const wchar_t* text, int length, char* out, int outCount)
{
    return base::EncodeText(page, text, length, out, outCount);
}

} // namespace SkinUI
