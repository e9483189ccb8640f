#include "skin_text.h"

#include <stdio.h>
#include <wchar.h>

namespace SkinUI {

int SkinCompareNoCase(const wchar_t* a, const wchar_t* b)
{
    return _wcsicmp(a, b);
}

int SkinCountFormat(const wchar_t* format, va_list args)
{
    return _vscwprintf(format, args);
}

int SkinFormatInto(wchar_t* buffer, int count, const wchar_t* format, va_list args)
{
    if (count <= 0) {
        return -1;
    }
    // _vsnwprintf leaves the buffer unterminated when the output fills it.
    const int written = _vsnwprintf(buffer, static_cast<size_t>(count - 1), format, args);
    buffer[count - 1] = L'\0';
    if (written < 0) {
        return -1;
    }
    buffer[written] = L'\0';
    return written;
}

} // namespace SkinUI
