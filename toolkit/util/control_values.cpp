#include "control_values.h"

#include "skin_geometry.h"
#include "skin_values.h"

#include <cstdint>
#include <cwchar>

namespace SkinUI {

namespace {

// DT_ bits of text styles.
enum : unsigned {
    kCenter = 0x1,
    kRight = 0x2,
    kVCenter = 0x4,
    kBottom = 0x8,
    kWordBreak = 0x10,
    kSingleLine = 0x20,
};

bool Equals(const wchar_t* text, int length, const wchar_t* word)
{
    return static_cast<int>(wcslen(word)) == length && wcsncmp(text, word, static_cast<size_t>(length)) == 0;
}

} // namespace

tagTSkinPos ReadSkinPos(const wchar_t* text)
{
    const RECT rc = ReadSkinRect(text);
    tagTSkinPos pos;
    pos.fixedXY.cx = rc.left >= 0 ? rc.left : rc.right;
    pos.fixedXY.cy = rc.top >= 0 ? rc.top : rc.bottom;
    pos.width = Saturate32(static_cast<int64_t>(rc.right) - rc.left);
    pos.height = Saturate32(static_cast<int64_t>(rc.bottom) - rc.top);
    return pos;
}

tagTPercentInfo ReadSkinPercent(const wchar_t* text)
{
    double values[4] = {};
    const wchar_t* p = text ? text : L"";
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (*p == L'\0') {
                break;
            }
            ++p;
        }
        wchar_t* end = nullptr;
        values[i] = wcstod(p, &end);
        p = end;
    }
    return tagTPercentInfo{values[0], values[1], values[2], values[3]};
}

unsigned ReadFloatAlign(unsigned current, const wchar_t* words)
{
    const wchar_t* p = words ? words : L"";
    while (*p != L'\0') {
        const size_t length = wcscspn(p, L", ");
        const int n = static_cast<int>(length);
        if (Equals(p, n, L"null")) {
            current = 0;
        } else if (Equals(p, n, L"left")) {
            current &= ~(FloatAlignCenter | FloatAlignRight);
        } else if (Equals(p, n, L"center")) {
            current = (current & ~FloatAlignRight) | FloatAlignCenter;
        } else if (Equals(p, n, L"right")) {
            current = (current & ~FloatAlignCenter) | FloatAlignRight;
        } else if (Equals(p, n, L"top")) {
            current &= ~(FloatAlignVCenter | FloatAlignBottom);
        } else if (Equals(p, n, L"vcenter")) {
            current = (current & ~FloatAlignBottom) | FloatAlignVCenter;
        } else if (Equals(p, n, L"bottom")) {
            current = (current & ~FloatAlignVCenter) | FloatAlignBottom;
        }
        p += length;
        if (*p != L'\0') {
            ++p;
        }
    }
    return current;
}

uint16_t ReadSkinCursor(const wchar_t* word)
{
    static const struct {
        const wchar_t* word;
        uint16_t id;
    } kCursors[] = {
        {L"arrow", 32512},  {L"ibeam", 32513},   {L"wait", 32514},     {L"cross", 32515},    {L"uparrow", 32516},
        {L"size", 32640},   {L"icon", 32641},    {L"sizenwse", 32642}, {L"sizenesw", 32643}, {L"sizewe", 32644},
        {L"sizens", 32645}, {L"sizeall", 32646}, {L"no", 32648},       {L"hand", 32649},
    };
    for (const auto& cursor : kCursors) {
        if (word && wcscmp(word, cursor.word) == 0) {
            return cursor.id;
        }
    }
    return 0;
}

bool ReadChildAlign(const wchar_t* word, unsigned& align)
{
    static const wchar_t* const kWords[] = {L"left", L"center", L"right"};
    for (unsigned i = 0; i < 3; ++i) {
        if (word && wcscmp(word, kWords[i]) == 0) {
            align = i;
            return true;
        }
    }
    return false;
}

bool ReadChildVAlign(const wchar_t* word, unsigned& align)
{
    static const wchar_t* const kWords[] = {L"top", L"vcenter", L"bottom"};
    for (unsigned i = 0; i < 3; ++i) {
        if (word && wcscmp(word, kWords[i]) == 0) {
            align = i * 4;
            return true;
        }
    }
    return false;
}

unsigned ReadTextAlign(unsigned style, const wchar_t* words)
{
    if (!words) {
        return style;
    }
    if (wcsstr(words, L"left")) {
        style &= ~(kCenter | kRight);
    }
    if (wcsstr(words, L"center")) {
        style = (style & ~kRight) | kCenter;
    }
    if (wcsstr(words, L"right")) {
        style = (style & ~kCenter) | kRight;
    }
    return style;
}

unsigned ReadTextVAlign(unsigned style, const wchar_t* words)
{
    if (!words) {
        return style;
    }
    if (wcsstr(words, L"top")) {
        style = (style & ~(kVCenter | kBottom | kWordBreak)) | kSingleLine;
    }
    if (wcsstr(words, L"vcenter")) {
        style = (style & ~(kBottom | kWordBreak)) | kVCenter | kSingleLine;
    }
    if (wcsstr(words, L"bottom")) {
        style = (style & ~(kVCenter | kWordBreak)) | kBottom | kSingleLine;
    }
    return style;
}

} // namespace SkinUI
