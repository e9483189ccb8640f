// A parsed draw string: which image to draw and how, from key='value' pairs
// such as "file='FullBackground.png' corner='5,3,5,3' xtiled='true'".
#pragma once

#include "skin_string.h"
#include "skin_win32_types.h"

#include <cstdint>

namespace SkinUI {

struct tagTDrawInfo {
    tagTDrawInfo();

    void Clear();
    // Scans the draw string and then the modify string, whose keys override.
    // scale is the window's DPI percent: other than 100 it scales "dest",
    // "source" and "corner" and puts "@<scale>" before the file extension.
    void Parse(const wchar_t* drawString, const wchar_t* modify, int scale = 100);

    CSkinString sDrawString;
    CSkinString sDrawModify;
    // The whole draw string unless "file" or "res" names the image.
    CSkinString sImageName;
    // With a type, the image is a resource of the program of that type.
    CSkinString sResType;
    // Offsets inside the control; all 0 means the whole control.
    RECT rcDest;
    // In image pixels; all 0 means the whole image.
    RECT rcSource;
    // Widths of the nine-grid's left, top, right and bottom borders.
    RECT rcCorner;
    // 0xAARRGGBB of the pixels made transparent on loading; 0 for none.
    uint32_t dwMask;
    uint8_t uFade;
    bool bHole;
    bool bTiledX;
    bool bTiledY;
    bool bHSL;
    SIZE szIcon;
    CSkinString sIconAlign;
};

typedef tagTDrawInfo TDrawInfo;

// name with "@<scale>" put before the dot of its extension ("a.png" at 150
// becomes "a@150.png"); a name without an extension is returned unchanged.
CSkinString ScaledImageName(const wchar_t* name, int scale);

} // namespace SkinUI
