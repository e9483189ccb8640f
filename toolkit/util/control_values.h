// Reading the values of control attributes that are more than a number or
// a colour: "pos", float percents and alignments, cursor and alignment
// words. Portable, like the readers in skin_values.h.
#pragma once

#include "skin_win32_types.h"

#include <cstdint>

namespace SkinUI {

// Where a floating control sits inside its container, as fractions of the
// container's width and height.
struct tagTPercentInfo {
    double left;
    double top;
    double right;
    double bottom;
};

typedef tagTPercentInfo TPercentInfo;

// Bits of a control's float align.
enum : unsigned {
    FloatAlignCenter = 0x1,
    FloatAlignRight = 0x2,
    FloatAlignVCenter = 0x4,
    FloatAlignBottom = 0x8,
};

// "pos" = "l,t,r,b": the fixed XY is l (or r when l is negative) and t (or
// b); the size is r - l by b - t, negative when the edges are swapped.
struct tagTSkinPos {
    SIZE fixedXY;
    LONG width;
    LONG height;
};

tagTSkinPos ReadSkinPos(const wchar_t* text);

// Four decimals with one separator character each, as ReadSkinNumbers.
tagTPercentInfo ReadSkinPercent(const wchar_t* text);

// "left", "center", "right", "top", "vcenter", "bottom" and "null", separated
// by commas or blanks, change the float align bits one after another.
unsigned ReadFloatAlign(unsigned current, const wchar_t* words);

// The system cursor a "cursor" word names (IDC_ARROW ...), or 0.
uint16_t ReadSkinCursor(const wchar_t* word);

// A container's "childalign" (0 left, 1 center, 2 right) and "childvalign"
// (0 top, 4 vcenter, 8 bottom); false for any other word.
bool ReadChildAlign(const wchar_t* word, unsigned& align);
bool ReadChildVAlign(const wchar_t* word, unsigned& align);

// A label's "align" and "valign": the text style's DT_ bits with the
// horizontal or vertical alignment the words ask for.
unsigned ReadTextAlign(unsigned style, const wchar_t* words);
unsigned ReadTextVAlign(unsigned style, const wchar_t* words);

} // namespace SkinUI
