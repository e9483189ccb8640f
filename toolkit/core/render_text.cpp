// Text drawing of the render engine: GDI, or GDI+ for layered windows and
// windows that ask for it.
#include "render_engine.h"

#include "gdiplus_flat.h"
#include "paint_manager.h"
#include "select_object.h"
#include "text_format_flags.h"

#include <cwchar>

namespace SkinUI {

namespace {

// "&#xE601;" draws the one UTF-16 unit it names: the (at most four)
// characters after "&#x", without one trailing space and then one ';'.
// -1 when the text has no "&#x"; 0 when nothing readable follows it.
int CharacterReference(const wchar_t* text)
{
    const wchar_t* start = wcsstr(text, L"&#x");
    if (!start) {
        return -1;
    }
    start += 3;
    wchar_t digits[5] = {};
    size_t length = 0;
    while (length < 4 && start[length] != L'\0') {
        digits[length] = start[length];
        ++length;
    }
    if (length > 0 && digits[length - 1] == L' ') {
        digits[--length] = L'\0';
    }
    if (length > 0 && digits[length - 1] == L';') {
        digits[--length] = L'\0';
    }
    return static_cast<int>(wcstoul(digits, nullptr, 16) & 0xFFFF);
}

void DrawGdiText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* text, DWORD color, int font, UINT style)
{
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
    CSelectObject select(hDC, pManager->GetFont(font));
    const int reference = CharacterReference(text);
    if (reference < 0) {
        ::DrawTextW(hDC, text, -1, &rc, style);
    } else if (reference > 0) {
        const auto single = static_cast<wchar_t>(reference);
        ::DrawTextW(hDC, &single, 1, &rc, style);
    } else {
        // Drawn as nothing, measured as nothing: not as the measuring box.
        ::DrawTextW(hDC, L"", 0, &rc, style);
    }
}

} // namespace

INT TextFormatFlags(INT typographic, UINT style)
{
    INT flags = typographic;
    if (style & DT_SINGLELINE) {
        flags |= Gdiplus::StringFormatFlagsNoWrap;
    }
    // The typographic format carries NoClip; drawn text stays in its
    // rectangle as GDI's does unless DT_NOCLIP asks otherwise. A measure
    // is never cut to its box.
    if (style & (DT_NOCLIP | DT_CALCRECT)) {
        flags |= Gdiplus::StringFormatFlagsNoClip;
    } else {
        flags &= ~Gdiplus::StringFormatFlagsNoClip;
    }
    return flags;
}

namespace {

void DrawGdiplusText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* text, DWORD color, int font,
                     UINT style)
{
    CGdipGraphics graphics;
    CGdipFont gdipFont;
    CGdipStringFormat format;
    CGdipBrush brush;
    Gdiplus::GpStringFormat* typographic = nullptr;
    {
        CSelectObject select(hDC, pManager->GetFont(font));
        if (Gdip::GdipCreateFontFromDC(hDC, gdipFont.Out()) != Gdiplus::Ok) {
            return;
        }
    }
    if (Gdip::GdipCreateFromHDC(hDC, graphics.Out()) != Gdiplus::Ok ||
        Gdip::GdipStringFormatGetGenericTypographic(&typographic) != Gdiplus::Ok ||
        Gdip::GdipCloneStringFormat(typographic, format.Out()) != Gdiplus::Ok ||
        Gdip::GdipCreateSolidFill((color & 0x00FFFFFF) | 0xFE000000, brush.Out()) != Gdiplus::Ok) {
        return;
    }
    Gdip::GdipSetTextRenderingHint(graphics.Get(),
                                   static_cast<Gdiplus::TextRenderingHint>(pManager->GetGdiplusTextRenderingHint()));
    Gdip::GdipSetSmoothingMode(graphics.Get(), Gdiplus::SmoothingModeHighQuality);
    Gdip::GdipSetInterpolationMode(graphics.Get(), Gdiplus::InterpolationModeHighQualityBicubic);

    INT flags = 0;
    Gdip::GdipGetStringFormatFlags(format.Get(), &flags);
    Gdip::GdipSetStringFormatFlags(format.Get(), TextFormatFlags(flags, style));
    if (style & DT_END_ELLIPSIS) {
        Gdip::GdipSetStringFormatTrimming(format.Get(), Gdiplus::StringTrimmingEllipsisCharacter);
    }
    Gdip::GdipSetStringFormatAlign(format.Get(), (style & DT_CENTER)  ? Gdiplus::StringAlignmentCenter
                                                 : (style & DT_RIGHT) ? Gdiplus::StringAlignmentFar
                                                                      : Gdiplus::StringAlignmentNear);
    Gdip::GdipSetStringFormatLineAlign(format.Get(), (style & DT_VCENTER)  ? Gdiplus::StringAlignmentCenter
                                                     : (style & DT_BOTTOM) ? Gdiplus::StringAlignmentFar
                                                                           : Gdiplus::StringAlignmentNear);
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                                static_cast<Gdiplus::REAL>(rc.right - rc.left),
                                static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
    if (style & DT_CALCRECT) {
        Gdiplus::RectF bounds;
        if (Gdip::GdipMeasureString(graphics.Get(), text, -1, gdipFont.Get(), &layout, format.Get(), &bounds, nullptr,
                                    nullptr) == Gdiplus::Ok) {
            rc.right = rc.left + static_cast<LONG>(bounds.Width) + 1;
            rc.bottom = rc.top + static_cast<LONG>(bounds.Height) + 1;
        }
        return;
    }
    Gdip::GdipDrawString(graphics.Get(), text, -1, gdipFont.Get(), &layout, format.Get(), brush.Get());
}

} // namespace

void CRenderEngine::DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText, DWORD dwTextColor,
                             int iFont, UINT uStyle)
{
    if (!hDC || !pManager || !pstrText) {
        return;
    }
    if (pManager->IsLayered() || pManager->IsUseGdiplusText()) {
        DrawGdiplusText(hDC, pManager, rc, pstrText, dwTextColor, iFont, uStyle);
    } else {
        DrawGdiText(hDC, pManager, rc, pstrText, dwTextColor, iFont, uStyle);
    }
}

void CRenderEngine::DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText, DWORD dwTextColor,
                             int iFont, UINT uStyle, DWORD dwTextBKColor)
{
    if (!hDC || !pManager || !pstrText) {
        return;
    }
    DrawColor(hDC, rc, dwTextBKColor);
    DrawText(hDC, pManager, rc, pstrText, dwTextColor, iFont, uStyle);
}

} // namespace SkinUI
