// A registered font: the handle it owns and what it was made from.
#pragma once

#include "skin_string.h"

#include <windows.h>

namespace SkinUI {

struct tagTFontInfo {
    tagTFontInfo() = default;
    tagTFontInfo(const tagTFontInfo&) = delete;
    tagTFontInfo& operator=(const tagTFontInfo&) = delete;
    ~tagTFontInfo() { Reset(); }

    // Deletes the font and clears every field.
    void Reset();
    // Reset, then takes font and what it was made from.
    void Assign(HFONT font, const wchar_t* face, int size, bool bold, bool underline, bool italic);
    // Fills tm on first use (all zero means not yet measured), with hDC or,
    // when that is null, a screen-compatible DC.
    void Measure(HDC hDC);

    HFONT hFont = nullptr;
    CSkinString sFontName;
    // In 96-DPI pixels, before scaling.
    int iSize = 0;
    bool bBold = false;
    bool bUnderline = false;
    bool bItalic = false;
    TEXTMETRICW tm{};
};

typedef tagTFontInfo TFontInfo;

} // namespace SkinUI
