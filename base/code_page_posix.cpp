// Host build: the narrow code page is UTF-8 and wchar_t holds one code point.
#include "code_page.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

namespace base {

namespace {

// Decodes one UTF-8 sequence; invalid bytes each become U+FFFD.
uint32_t DecodeOne(const unsigned char* p, size_t left, size_t& used)
{
    const unsigned char c = p[0];
    used = 1;
    if (c < 0x80) {
        return c;
    }
    size_t need;
    uint32_t cp;
    uint32_t min;
    if ((c & 0xE0) == 0xC0) {
        need = 1, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        need = 2, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        need = 3, cp = c & 0x07, min = 0x10000;
    } else {
        return 0xFFFD;
    }
    if (left <= need) {
        return 0xFFFD;
    }
    for (size_t i = 1; i <= need; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0xFFFD;
    }
    used = need + 1;
    return cp;
}

size_t EncodeOne(uint32_t cp, char* out)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
    }
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

} // namespace

int DecodeText(CodePage, const char* text, int length, wchar_t* out, int outCount)
{
    if (!text) {
        return 0;
    }
    const size_t size = length < 0 ? std::strlen(text) + 1 : static_cast<size_t>(length);
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    size_t produced = 0;
    for (size_t i = 0; i < size;) {
        if (p[i] < 0x80) {
            if (out && outCount > 0) {
                if (produced >= static_cast<size_t>(outCount)) {
                    return 0;
                }
                out[produced] = static_cast<wchar_t>(p[i]);
            }
            ++produced;
            ++i;
            continue;
        }
        size_t used = 0;
        const uint32_t cp = DecodeOne(p + i, size - i, used);
        i += used;
        if (out && outCount > 0) {
            if (produced >= static_cast<size_t>(outCount)) {
                return 0;
            }
            out[produced] = static_cast<wchar_t>(cp);
        }
        ++produced;
    }
    return static_cast<int>(produced);
}

int EncodeText(CodePage, const wchar_t* text, int length, char* out, int outCount)
{
    if (!text) {
        return 0;
    }
    const size_t size = length < 0 ? std::wcslen(text) + 1 : static_cast<size_t>(length);
    size_t produced = 0;
    char piece[4];
    for (size_t i = 0; i < size; ++i) {
        const size_t n = EncodeOne(static_cast<uint32_t>(text[i]), piece);
        if (out && outCount > 0) {
            if (produced + n > static_cast<size_t>(outCount)) {
                return 0;
            }
            std::memcpy(out + produced, piece, n);
        }
        produced += n;
    }
    return static_cast<int>(produced);
}

} // namespace base
