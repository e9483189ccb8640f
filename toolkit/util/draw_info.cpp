#include "draw_info.h"

#include "skin_values.h"

#include <cwchar>

namespace SkinUI {

namespace {

const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (IsBlank(*p)) {
        ++p;
    }
    return p;
}

RECT ScaledRect(const wchar_t* value, int scale)
{
    RECT rc = ReadSkinRect(value);
    if (scale != 100) {
        rc.left = SkinMulDiv(rc.left, scale, 100);
        rc.top = SkinMulDiv(rc.top, scale, 100);
        rc.right = SkinMulDiv(rc.right, scale, 100);
        rc.bottom = SkinMulDiv(rc.bottom, scale, 100);
    }
    return rc;
}

void Apply(tagTDrawInfo& info, const CSkinString& key, const CSkinString& value, int scale)
{
    if (key == L"file" || key == L"res") {
        info.sImageName = value;
    } else if (key == L"restype") {
        info.sResType = value;
    } else if (key == L"dest") {
        info.rcDest = ScaledRect(value, scale);
    } else if (key == L"source") {
        info.rcSource = ScaledRect(value, scale);
    } else if (key == L"corner") {
        info.rcCorner = ScaledRect(value, scale);
    } else if (key == L"mask") {
        info.dwMask = ReadSkinColor(value);
    } else if (key == L"fade") {
        const LONG fade = ReadSkinInt(value);
        info.uFade = static_cast<uint8_t>(fade < 0 ? 0 : fade > 255 ? 255 : fade);
    } else if (key == L"hole") {
        info.bHole = IsSkinTrue(value);
    } else if (key == L"xtiled") {
        info.bTiledX = IsSkinTrue(value);
    } else if (key == L"ytiled") {
        info.bTiledY = IsSkinTrue(value);
    } else if (key == L"hsl") {
        info.bHSL = IsSkinTrue(value);
    } else if (key == L"iconsize") {
        info.szIcon = ReadSkinSize(value);
    } else if (key == L"iconalign") {
        info.sIconAlign = value;
    }
}

// key='value' pairs separated by spaces; anything malformed ends the scan,
// keeping what was applied before it.
void Scan(tagTDrawInfo& info, const wchar_t* p, int scale)
{
    if (!p) {
        return;
    }
    for (;;) {
        p = SkipBlanks(p);
        const wchar_t* key = p;
        while (*p != L'\0' && *p != L'=' && !IsBlank(*p)) {
            ++p;
        }
        const wchar_t* keyEnd = p;
        p = SkipBlanks(p);
        if (*p != L'=') {
            return;
        }
        p = SkipBlanks(p + 1);
        if (*p != L'\'') {
            return;
        }
        const wchar_t* value = ++p;
        while (*p != L'\0' && *p != L'\'') {
            ++p;
        }
        if (*p != L'\'') {
            return;
        }
        if (p > value) {
            Apply(info, CSkinString(key, static_cast<int>(keyEnd - key)),
                  CSkinString(value, static_cast<int>(p - value)), scale);
        }
        if (*++p != L' ') {
            return;
        }
    }
}

} // namespace

tagTDrawInfo::tagTDrawInfo()
{
    Clear();
}

void tagTDrawInfo::Clear()
{
    sDrawString.Empty();
    sDrawModify.Empty();
    sImageName.Empty();
    sResType.Empty();
    rcDest = RECT{0, 0, 0, 0};
    rcSource = RECT{0, 0, 0, 0};
    rcCorner = RECT{0, 0, 0, 0};
    dwMask = 0;
    uFade = 255;
    bHole = false;
    bTiledX = false;
    bTiledY = false;
    bHSL = false;
    szIcon = SIZE{0, 0};
    sIconAlign.Empty();
}

void tagTDrawInfo::Parse(const wchar_t* drawString, const wchar_t* modify, int scale)
{
    Clear();
    sDrawString = drawString;
    sDrawModify = modify;
    // A draw string without keys ("logo.png") names the file itself.
    sImageName = drawString;
    Scan(*this, drawString, scale);
    Scan(*this, modify, scale);
    if (scale != 100) {
        sImageName = ScaledImageName(sImageName, scale);
    }
}

CSkinString ScaledImageName(const wchar_t* name, int scale)
{
    CSkinString result(name);
    int dot = -1;
    for (int i = 0; i < result.GetLength(); ++i) {
        if (result[i] == L'.') {
            dot = i;
        } else if (result[i] == L'\\' || result[i] == L'/') {
            dot = -1;
        }
    }
    if (dot < 0) {
        return result;
    }
    CSkinString suffix;
    suffix.SmallFormat(L"@%d", scale);
    return result.Left(dot) + suffix + (result.GetData() + dot);
}

} // namespace SkinUI
