// Colours, gradients, lines and rectangles of the render engine.
#include "render_engine.h"

#include "gdi_object.h"
#include "gdiplus_flat.h"
#include "memory_dc.h"
#include "render_system.h"
#include "select_object.h"
#include "skin_pixels.h"

#include <algorithm>

namespace SkinUI {

namespace {

TRIVERTEX Vertex(LONG x, LONG y, DWORD argb)
{
    TRIVERTEX vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(((argb >> 16) & 0xFF) << 8);
    vertex.Green = static_cast<COLOR16>(((argb >> 8) & 0xFF) << 8);
    vertex.Blue = static_cast<COLOR16>((argb & 0xFF) << 8);
    vertex.Alpha = 0xFF00;
    return vertex;
}

void Gradient(HDC hDC, GradientFillFunction fill, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps)
{
    if (!fill) {
        DrawGradientBands(hDC, rc, first, second, vertical, steps);
        return;
    }
    TRIVERTEX vertices[2] = {Vertex(rc.left, rc.top, first), Vertex(rc.right, rc.bottom, second)};
    GRADIENT_RECT mesh{0, 1};
    fill(hDC, vertices, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

} // namespace

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short H, short S, short L)
{
    return AdjustColorHSL(dwColor, H, S, L);
}

void CRenderEngine::CheckAlphaColor(DWORD& dwColor)
{
    if ((dwColor & 0x00FFFFFF) == 0) {
        dwColor += 1;
    }
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    if (color <= 0x00FFFFFF) {
        return;
    }
    CGdipGraphics graphics;
    CGdipBrush brush;
    if (Gdip::GdipCreateFromHDC(hDC, graphics.Out()) != Gdiplus::Ok ||
        Gdip::GdipCreateSolidFill(color, brush.Out()) != Gdiplus::Ok) {
        return;
    }
    Gdip::GdipFillRectangleI(graphics.Get(), brush.Get(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const BYTE alpha = static_cast<BYTE>(((dwFirst >> 24) + (dwSecond >> 24)) / 2);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (alpha == 0 || width <= 0 || height <= 0) {
        return;
    }
    const GradientFillFunction fill = GetGradientFillFunction();
    if (alpha == 255) {
        Gradient(hDC, fill, rc, dwFirst, dwSecond, bVertical, nSteps);
        return;
    }
    // Translucent: drawn off screen, then blended with the averaged alpha.
    BYTE* bits = nullptr;
    CGdiObject<HBITMAP> bitmap(CreateARGB32Bitmap(hDC, width, height, &bits));
    CMemoryDC memory(hDC);
    if (!bitmap || !memory) {
        return;
    }
    CSelectObject select(memory.Get(), bitmap.Get());
    Gradient(memory.Get(), fill, RECT{0, 0, width, height}, dwFirst, dwSecond, bVertical, nSteps);
    if (const AlphaBlendFunction blend = GetAlphaBlendFunction()) {
        blend(hDC, rc.left, rc.top, width, height, memory.Get(), 0, 0, width, height,
              BLENDFUNCTION{AC_SRC_OVER, 0, alpha, 0});
        return;
    }
    // The software blend wants premultiplied pixels: make them opaque.
    GdiFlush();
    auto* pixels = reinterpret_cast<uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
        pixels[i] |= 0xFF000000u;
    }
    SoftwareAlphaBlend(hDC, rc, bitmap.Get(), RECT{0, 0, width, height}, alpha);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle)
{
    CGdiObject<HPEN> pen(CreatePen(nStyle, nSize, ToColorRef(dwPenColor)));
    if (!pen) {
        return;
    }
    CSelectObject select(hDC, pen.Get());
    POINT old{};
    MoveToEx(hDC, rc.left, rc.top, &old);
    LineTo(hDC, rc.right, rc.bottom);
    MoveToEx(hDC, old.x, old.y, nullptr);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int /*nStyle*/)
{
    CGdipGraphics graphics;
    CGdipPen pen;
    if (Gdip::GdipCreateFromHDC(hDC, graphics.Out()) != Gdiplus::Ok ||
        Gdip::GdipCreatePen1(dwPenColor, static_cast<Gdiplus::REAL>(nSize), Gdiplus::UnitWorld, pen.Out()) !=
            Gdiplus::Ok) {
        return;
    }
    Gdip::GdipSetPenMode(pen.Get(), Gdiplus::PenAlignmentInset);
    Gdip::GdipDrawRectangleI(graphics.Get(), pen.Get(), rc.left, rc.top, rc.right - rc.left - 1,
                             rc.bottom - rc.top - 1);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int /*height*/, DWORD dwPenColor,
                                  int /*nStyle*/)
{
    CGdipGraphics graphics;
    CGdipPen pen;
    CGdipPath path;
    if (Gdip::GdipCreateFromHDC(hDC, graphics.Out()) != Gdiplus::Ok ||
        Gdip::GdipCreatePen1(dwPenColor, static_cast<Gdiplus::REAL>(nSize), Gdiplus::UnitWorld, pen.Out()) !=
            Gdiplus::Ok ||
        Gdip::GdipCreatePath(Gdiplus::FillModeAlternate, path.Out()) != Gdiplus::Ok) {
        return;
    }
    // Corners of radius width / 2, shrunk to fit a small rectangle.
    const int w = rc.right - rc.left - 1;
    const int h = rc.bottom - rc.top - 1;
    if (w <= 0 || h <= 0) {
        return;
    }
    const int d = std::max(1, std::min({width, w, h}));
    const int l = rc.left, t = rc.top, r = rc.left + w, b = rc.top + h;
    Gdip::GdipAddPathArcI(path.Get(), l, t, d, d, 180, 90);
    Gdip::GdipAddPathArcI(path.Get(), r - d, t, d, d, 270, 90);
    Gdip::GdipAddPathArcI(path.Get(), r - d, b - d, d, d, 0, 90);
    Gdip::GdipAddPathArcI(path.Get(), l, b - d, d, d, 90, 90);
    Gdip::GdipClosePathFigure(path.Get());
    Gdip::GdipSetSmoothingMode(graphics.Get(), Gdiplus::SmoothingModeHighQuality);
    Gdip::GdipDrawPath(graphics.Get(), pen.Get(), path.Get());
}

} // namespace SkinUI
