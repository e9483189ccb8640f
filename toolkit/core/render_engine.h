// Drawing operations every control paints with: images described by draw
// strings (nine-grid corners, tiling, fade, source cut-outs), colours,
// gradients, lines, rectangles and text; and image loading.
//
// windows.h defines LoadImage and DrawText as macros; the members below are
// renamed alike wherever this header is seen, so callers need nothing.
#pragma once

#include "draw_info.h"
#include "image_info.h"
#include "string_or_id.h"

#include <windows.h>

namespace SkinUI {

class CPaintManagerUI;

class CRenderEngine {
public:
    // Colour adjustment by hue (degrees, 180 = none), saturation and lightness (percent).
    static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);
    // Black gets 1 added, so that it differs from the transparent key 0.
    static void CheckAlphaColor(DWORD& dwColor);
    // A top-down 32-bit DIB section; pBits (optional) receives its pixels.
    static HBITMAP CreateARGB32Bitmap(HDC hDC, int cx, int cy, BYTE** pBits);

    // Reads and decodes an image (from the skin, or a resource of the given
    // type); null when it is missing or cannot be decoded.
    static tagTImageInfo* LoadImage(STRINGorID bitmap, const wchar_t* type = nullptr, DWORD mask = 0,
                                    HINSTANCE instance = nullptr);

    static bool DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                const wchar_t* pStrImage, const wchar_t* pStrModify = nullptr,
                                HINSTANCE instance = nullptr);
    static bool DrawImageInfo(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                              const tagTDrawInfo* pDrawInfo, HINSTANCE instance = nullptr);
    // The nine-grid blitter: rcBmpPart of the bitmap onto rc, split by rcCorners.
    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                          const RECT& rcCorners, bool bAlpha, BYTE uFade = 255, bool hole = false, bool xtiled = false,
                          bool ytiled = false);

    // Colours are 0xAARRGGBB; one with alpha 0 draws nothing. DrawColor and
    // DrawRect blend through GDI+, which must be started.
    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);
    static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = PS_SOLID);
    static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = PS_SOLID);
    static void DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor,
                              int nStyle = PS_SOLID);

    // Text in the manager's font iFont with DT_ style flags; with
    // DT_CALCRECT rc receives the text's extent instead.
    static void DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText, DWORD dwTextColor,
                         int iFont, UINT uStyle);
    static void DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const wchar_t* pstrText, DWORD dwTextColor,
                         int iFont, UINT uStyle, DWORD dwTextBKColor);
};

} // namespace SkinUI
