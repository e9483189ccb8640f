// Arbitrary text through the readers of control attributes: "pos" follows
// the four numbers it is made of, the percents read four decimals, the
// alignment readers change only their own bits and keep them consistent,
// and words name a known cursor or none.
#include "control_values.h"
#include "fuzz_text.h"
#include "skin_values.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

int64_t Clamp(int64_t value)
{
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : value;
}

void CheckPos(const wchar_t* text)
{
    const RECT rc = SkinUI::ReadSkinRect(text);
    const SkinUI::tagTSkinPos pos = SkinUI::ReadSkinPos(text);
    if (pos.fixedXY.cx != (rc.left >= 0 ? rc.left : rc.right) || pos.fixedXY.cy != (rc.top >= 0 ? rc.top : rc.bottom) ||
        pos.width != Clamp(int64_t{rc.right} - rc.left) || pos.height != Clamp(int64_t{rc.bottom} - rc.top))
        __builtin_trap();
}

void CheckAlign(const wchar_t* text, unsigned style)
{
    // Float align: four bits; never centred and right, nor vcentred and bottom, unless it was so before.
    const unsigned floatStart = style & 0x5; // centre and vcentre
    const unsigned floatAlign = SkinUI::ReadFloatAlign(floatStart, text);
    if ((floatAlign & ~0xFu) != 0 || (floatAlign & 0x3) == 0x3 || (floatAlign & 0xC) == 0xC)
        __builtin_trap();
    // Text align and valign leave every other DT_ bit alone.
    const unsigned horizontal = SkinUI::ReadTextAlign(style, text);
    if ((horizontal & ~0x3u) != (style & ~0x3u))
        __builtin_trap();
    const unsigned vertical = SkinUI::ReadTextVAlign(style, text);
    if ((vertical & ~0x3Cu) != (style & ~0x3Cu))
        __builtin_trap();
    unsigned child = 99, childV = 99;
    if (SkinUI::ReadChildAlign(text, child) ? child > 2 : child != 99)
        __builtin_trap();
    if (SkinUI::ReadChildVAlign(text, childV) ? (childV != 0 && childV != 4 && childV != 8) : childV != 99)
        __builtin_trap();
    const uint16_t cursor = SkinUI::ReadSkinCursor(text);
    if (cursor != 0 && (cursor < 32512 || cursor > 32649))
        __builtin_trap();
}

} // namespace

// Input: one byte of starting style bits, then UTF-8 text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 4096)
        return 0;
    const std::vector<wchar_t> text = DecodeFuzzText(data + 1, size - 1);
    CheckPos(text.data());
    CheckAlign(text.data(), data[0]);
    // Reading the percents stops at the text's end.
    const SkinUI::tagTPercentInfo percent = SkinUI::ReadSkinPercent(text.data());
    volatile double sink = percent.left + percent.top + percent.right + percent.bottom;
    (void)sink;
    return 0;
}
