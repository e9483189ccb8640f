// Reading the values written in skin markup and draw strings: decimal
// numbers and lists of them, hexadecimal colours and booleans. They behave
// the same on every platform (32-bit results, no locale).
#pragma once

#include "skin_win32_types.h"

#include <cstdint>

namespace SkinUI {

// a * b / c rounded half away from zero, as MulDiv: -1 when c is 0 or the
// result does not fit in 32 bits.
int SkinMulDiv(int a, int b, int c);

// A decimal number read as wcstol reads it (leading white space, a sign),
// saturated to 32 bits. end, when given, receives where reading stopped:
// text itself when there were no digits.
LONG ReadSkinInt(const wchar_t* text, const wchar_t** end = nullptr);

// count numbers, each read starting one character after where the previous
// one stopped, so that any single separator works. Numbers missing at the
// end of the text read as 0.
void ReadSkinNumbers(const wchar_t* text, LONG* out, int count);
RECT ReadSkinRect(const wchar_t* text);
SIZE ReadSkinSize(const wchar_t* text);

// Codes 1 to 32: what the readers skip as blanks.
bool IsBlank(wchar_t ch);

// "#AARRGGBB": blanks (codes 1 to 32) and one '#' are skipped, the rest is
// read as an unsigned hexadecimal number saturated to 32 bits.
uint32_t ReadSkinColor(const wchar_t* text);
// The same without skipping blanks first: one leading '#', then the number.
uint32_t ReadSkinHashColor(const wchar_t* text);

// Exactly "true", ignoring case.
bool IsSkinTrue(const wchar_t* text);

} // namespace SkinUI
