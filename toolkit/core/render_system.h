// The system drawing functions the render engine looks up at run time
// (msimg32's AlphaBlend and GradientFill, absent on some systems), and the
// software stand-ins used without them.
#pragma once

#include <windows.h>

namespace SkinUI {

using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// An 0xAARRGGBB colour as GDI takes it: the alpha byte dropped.
COLORREF ToColorRef(DWORD argb);

// Looked up once; null when the system has none.
AlphaBlendFunction GetAlphaBlendFunction();
GradientFillFunction GetGradientFillFunction();

// Source-over of source (in bitmap, a top-down 32-bit DIB section of
// premultiplied pixels) onto dest with per-pixel alpha and constant alpha fade,
// resampled by nearest pixel. Nothing for other bitmaps.
void SoftwareAlphaBlend(HDC hDC, const RECT& dest, HBITMAP bitmap, const RECT& source, BYTE fade);

// A gradient as solid bands of RGB colour, more of them for more steps.
void DrawGradientBands(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps);

} // namespace SkinUI
