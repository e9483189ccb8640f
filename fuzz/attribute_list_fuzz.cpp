// Reads arbitrary text as an attribute list and hands every value to the
// readers a control would use for it, checking what the reader promises:
// a name never holds '=', a value never holds a double quote, and there are
// never more pairs than equals signs.
#include "attribute_list.h"
#include "control_values.h"
#include "fuzz_text.h"
#include "linear_layout.h"
#include "skin_values.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

void ReadValue(const wchar_t* value)
{
    const SkinUI::tagTSkinPos pos = SkinUI::ReadSkinPos(value);
    const SkinUI::tagTPercentInfo percent = SkinUI::ReadSkinPercent(value);
    const unsigned align = SkinUI::ReadFloatAlign(0, value);
    SkinUI::FloatChildRect(RECT{0, 0, 380, 240}, pos.fixedXY, SIZE{pos.width, pos.height}, align, percent);
    SkinUI::FloatChildRect(RECT{0, 0, 380, 240}, pos.fixedXY, SIZE{pos.width, pos.height}, 0, percent);
    unsigned child = 0;
    SkinUI::ReadChildAlign(value, child);
    SkinUI::ReadChildVAlign(value, child);
    SkinUI::ReadTextVAlign(SkinUI::ReadTextAlign(0x24, value), value);
    SkinUI::ReadSkinCursor(value);
    SkinUI::ReadSkinColor(value);
    SkinUI::ReadSkinHashColor(value);
    SkinUI::ReadSkinSize(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096) {
        return 0;
    }
    const std::vector<wchar_t> list = DecodeFuzzText(data, size);
    size_t equals = 0;
    for (const wchar_t* p = list.data(); (p = wcschr(p, L'=')) != nullptr; ++p) {
        ++equals;
    }
    SkinUI::CAttributeListReader reader(list.data());
    SkinUI::CSkinString name, value;
    size_t pairs = 0;
    while (reader.Next(name, value)) {
        if (++pairs > equals || name.Find(L'=') >= 0 || value.Find(L'"') >= 0) {
            abort();
        }
        ReadValue(value);
    }
    return 0;
}
