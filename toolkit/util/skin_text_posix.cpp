// Host build: the C library's wide-character functions.
#include "skin_text.h"

#include <cstdlib>
#include <cwchar>
#include <vector>

namespace SkinUI {

int SkinCompareNoCase(const wchar_t* a, const wchar_t* b)
{
    return wcscasecmp(a, b);
}

int SkinCountFormat(const wchar_t* format, va_list args)
{
    // vswprintf cannot count without a buffer: retry with a growing one.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int written = vswprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (written >= 0) {
            return written;
        }
        if (buffer.size() >= (1u << 26)) {
            return -1;
        }
        buffer.resize(buffer.size() * 2);
    }
}

int SkinFormatInto(wchar_t* buffer, int count, const wchar_t* format, va_list args)
{
    if (count <= 0) {
        return -1;
    }
    const int written = vswprintf(buffer, static_cast<size_t>(count), format, args);
    buffer[count - 1] = L'\0';
    return written;
}

} // namespace SkinUI
