// Arbitrary text through the number and colour readers of skin markup and
// draw strings, compared with the C library's readers where they must agree
// (plain ASCII text), and MulDiv compared with exact arithmetic.
#include "fuzz_text.h"
#include "skin_values.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

// MulDiv's contract in 128-bit arithmetic: rounded half away from zero, -1
// when c is 0 or the result does not fit.
int ExactMulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    __int128 product = static_cast<__int128>(a) * b;
    __int128 divisor = c;
    const bool negative = (product < 0) != (divisor < 0) && product != 0;
    if (product < 0)
        product = -product;
    if (divisor < 0)
        divisor = -divisor;
    const __int128 magnitude = (2 * product + divisor) / (2 * divisor);
    if (magnitude > INT32_MAX)
        return -1;
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool IsAscii(const std::vector<wchar_t>& text)
{
    for (wchar_t c : text)
        if (c < 0 || c > 0x7F)
            return false;
    return true;
}

void CheckInt(const wchar_t* text, size_t length, bool ascii)
{
    const wchar_t* end = nullptr;
    const LONG value = SkinUI::ReadSkinInt(text, &end);
    if (end < text || end > text + length || (end == text && value != 0))
        __builtin_trap();
    if (ascii) {
        // A 32-bit long: the 64-bit reading saturated to 32 bits.
        wchar_t* libraryEnd = nullptr;
        long long wide = wcstoll(text, &libraryEnd, 10);
        wide = wide > INT32_MAX ? INT32_MAX : wide < INT32_MIN ? INT32_MIN : wide;
        if (value != wide || (libraryEnd != text && end != libraryEnd))
            __builtin_trap();
    }
}

void CheckColor(const wchar_t* text, bool ascii)
{
    const uint32_t color = SkinUI::ReadSkinColor(text);
    const wchar_t* p = text;
    while (*p >= 1 && *p <= 32)
        ++p;
    if (color != SkinUI::ReadSkinHashColor(p))
        __builtin_trap();
    if (*p == L'#')
        ++p;
    // With a hexadecimal digit first, wcstoul on a 32-bit long saturates.
    if (ascii && iswxdigit(*p)) {
        const unsigned long long wide = wcstoull(p, nullptr, 16);
        if (color != (wide > 0xFFFFFFFFu ? 0xFFFFFFFFu : wide))
            __builtin_trap();
    }
}

} // namespace

// Input: three 32-bit numbers for MulDiv, then UTF-8 text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 12 || size > 4096)
        return 0;
    int32_t abc[3];
    memcpy(abc, data, sizeof abc);
    if (SkinUI::SkinMulDiv(abc[0], abc[1], abc[2]) != ExactMulDiv(abc[0], abc[1], abc[2]))
        __builtin_trap();

    const std::vector<wchar_t> text = DecodeFuzzText(data + 12, size - 12);
    const size_t length = wcslen(text.data());
    const bool ascii = IsAscii(text);
    CheckInt(text.data(), length, ascii);
    CheckColor(text.data(), ascii);

    // A list is read number by number, one separator after each.
    LONG numbers[4];
    SkinUI::ReadSkinNumbers(text.data(), numbers, 4);
    const wchar_t* p = text.data();
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && *p == L'\0') {
            for (; i < 4; ++i)
                if (numbers[i] != 0)
                    __builtin_trap();
            break;
        }
        if (i > 0)
            ++p;
        if (numbers[i] != SkinUI::ReadSkinInt(p, &p))
            __builtin_trap();
    }
    const RECT rect = SkinUI::ReadSkinRect(text.data());
    const SIZE sz = SkinUI::ReadSkinSize(text.data());
    if (rect.left != numbers[0] || rect.bottom != numbers[3] || sz.cx != numbers[0] || sz.cy != numbers[1])
        __builtin_trap();

    const bool isTrue = length == 4 && towlower(text[0]) == L't' && towlower(text[1]) == L'r' &&
                        towlower(text[2]) == L'u' && towlower(text[3]) == L'e';
    if (SkinUI::IsSkinTrue(text.data()) != isTrue)
        __builtin_trap();
    return 0;
}
