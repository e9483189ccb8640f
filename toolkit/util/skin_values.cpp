#include "skin_values.h"

#include "skin_text.h"

#include <cstdint>

namespace SkinUI {

namespace {

bool IsSpace(wchar_t ch)
{
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
}

// White space and one sign, as the C library's number readers take them.
const wchar_t* SkipSpaceAndSign(const wchar_t* p, bool& negative)
{
    while (IsSpace(*p)) {
        ++p;
    }
    negative = *p == L'-';
    if (*p == L'+' || *p == L'-') {
        ++p;
    }
    return p;
}

int HexDigit(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9') {
        return ch - L'0';
    }
    if (ch >= L'a' && ch <= L'f') {
        return ch - L'a' + 10;
    }
    if (ch >= L'A' && ch <= L'F') {
        return ch - L'A' + 10;
    }
    return -1;
}

// wcstoul with base 16 on a 32-bit unsigned long: white space, a sign, an
// optional "0x"; too large a magnitude saturates, a '-' negates modulo 2^32.
uint32_t ReadHex(const wchar_t* p)
{
    bool negative = false;
    p = SkipSpaceAndSign(p, negative);
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') && HexDigit(p[2]) >= 0) {
        p += 2;
    }
    uint64_t value = 0;
    for (int digit; (digit = HexDigit(*p)) >= 0; ++p) {
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            return 0xFFFFFFFFu;
        }
    }
    const auto result = static_cast<uint32_t>(value);
    return negative ? 0u - result : result;
}

} // namespace

bool IsBlank(wchar_t ch)
{
    return ch >= 1 && ch <= 32;
}

int SkinMulDiv(int a, int b, int c)
{
    if (c == 0) {
        return -1;
    }
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const int64_t half = divisor / 2;
    const int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > INT32_MAX || result < -INT32_MAX) {
        return -1;
    }
    return static_cast<int>(result);
}

LONG ReadSkinInt(const wchar_t* text, const wchar_t** end)
{
    const wchar_t* p = text;
    if (end) {
        *end = text;
    }
    if (!p) {
        return 0;
    }
    bool negative = false;
    p = SkipSpaceAndSign(p, negative);
    if (*p < L'0' || *p > L'9') {
        return 0;
    }
    // Magnitudes beyond 32 bits saturate, as wcstol does where long has 32 bits.
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        if (value < limit) {
            value = value * 10 + (*p - L'0');
            if (value > limit) {
                value = limit;
            }
        }
    }
    if (end) {
        *end = p;
    }
    return static_cast<LONG>(negative ? -value : value);
}

void ReadSkinNumbers(const wchar_t* text, LONG* out, int count)
{
    const wchar_t* p = text ? text : L"";
    for (int i = 0; i < count; ++i) {
        out[i] = 0;
    }
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (*p == L'\0') {
                return;
            }
            ++p;
        }
        out[i] = ReadSkinInt(p, &p);
    }
}

RECT ReadSkinRect(const wchar_t* text)
{
    LONG values[4];
    ReadSkinNumbers(text, values, 4);
    return RECT{values[0], values[1], values[2], values[3]};
}

SIZE ReadSkinSize(const wchar_t* text)
{
    LONG values[2];
    ReadSkinNumbers(text, values, 2);
    return SIZE{values[0], values[1]};
}

uint32_t ReadSkinColor(const wchar_t* text)
{
    if (!text) {
        return 0;
    }
    while (IsBlank(*text)) {
        ++text;
    }
    return ReadSkinHashColor(text);
}

uint32_t ReadSkinHashColor(const wchar_t* text)
{
    if (!text) {
        return 0;
    }
    if (*text == L'#') {
        ++text;
    }
    return ReadHex(text);
}

bool IsSkinTrue(const wchar_t* text)
{
    return text && SkinCompareNoCase(text, L"true") == 0;
}

} // namespace SkinUI
