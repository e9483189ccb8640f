#include "font_info.h"

#include "memory_dc.h"
#include "select_object.h"

namespace SkinUI {

void tagTFontInfo::Reset()
{
    if (hFont) {
        DeleteObject(hFont);
    }
    hFont = nullptr;
    sFontName.Empty();
    iSize = 0;
    bBold = bUnderline = bItalic = false;
    tm = TEXTMETRICW{};
}

void tagTFontInfo::Assign(HFONT font, const wchar_t* face, int size, bool bold, bool underline, bool italic)
{
    Reset();
    hFont = font;
    sFontName = face;
    iSize = size;
    bBold = bold;
    bUnderline = underline;
    bItalic = italic;
}

void tagTFontInfo::Measure(HDC hDC)
{
    if (!hFont || tm.tmHeight != 0) {
        return;
    }
    if (hDC) {
        CSelectObject select(hDC, hFont);
        GetTextMetricsW(hDC, &tm);
        return;
    }
    CMemoryDC screen(nullptr);
    if (screen) {
        CSelectObject select(screen.Get(), hFont);
        GetTextMetricsW(screen.Get(), &tm);
    }
}

} // namespace SkinUI
