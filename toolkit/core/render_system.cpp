#include "render_system.h"

#include "gdi_object.h"
#include "memory_dc.h"
#include "proc_address.h"
#include "render_engine.h"
#include "select_object.h"
#include "skin_pixels.h"
#include "system_library.h"

namespace SkinUI {

namespace {

template <typename Function> Function Msimg32Function(const char* name)
{
    // Loaded once and kept for the life of the process.
    static const HMODULE module = LoadSystemLibrary(L"msimg32.dll");
    return GetProcAddressAs<Function>(module, name);
}

} // namespace

COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

AlphaBlendFunction GetAlphaBlendFunction()
{
    static const auto function = Msimg32Function<AlphaBlendFunction>("AlphaBlend");
    return function;
}

GradientFillFunction GetGradientFillFunction()
{
    static const auto function = Msimg32Function<GradientFillFunction>("GradientFill");
    return function;
}

void SoftwareAlphaBlend(HDC hDC, const RECT& dest, HBITMAP bitmap, const RECT& source, BYTE fade)
{
    DIBSECTION section{};
    // The system does not tell a top-down section from a bottom-up one: the
    // engine's own images are all top-down.
    if (GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) || section.dsBm.bmBitsPixel != 32 ||
        !section.dsBm.bmBits) {
        return;
    }
    const int width = dest.right - dest.left;
    const int height = dest.bottom - dest.top;
    if (width <= 0 || height <= 0 || source.left < 0 || source.top < 0 || source.right > section.dsBm.bmWidth ||
        source.bottom > section.dsBm.bmHeight || source.right <= source.left || source.bottom <= source.top) {
        return;
    }
    BYTE* bits = nullptr;
    CGdiObject<HBITMAP> target(CRenderEngine::CreateARGB32Bitmap(hDC, width, height, &bits));
    CMemoryDC memory(hDC);
    if (!target || !memory) {
        return;
    }
    CSelectObject select(memory.Get(), target.Get());
    // The destination's pixels, blended over and put back.
    BitBlt(memory.Get(), 0, 0, width, height, hDC, dest.left, dest.top, SRCCOPY);
    GdiFlush();
    BlendPixels(reinterpret_cast<uint32_t*>(bits), width, width, height,
                static_cast<const uint32_t*>(section.dsBm.bmBits), section.dsBm.bmWidth, source, fade);
    BitBlt(hDC, dest.left, dest.top, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void DrawGradientBands(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps)
{
    const int shift = GradientBandShift(steps);
    const int bands = 1 << shift;
    const int64_t start = vertical ? rc.top : rc.left;
    const int64_t length = vertical ? int64_t{rc.bottom} - rc.top : int64_t{rc.right} - rc.left;
    for (int i = 0; i < bands; ++i) {
        RECT band = rc;
        const auto low = static_cast<LONG>(start + length * i / bands);
        const auto high = static_cast<LONG>(start + length * (i + 1) / bands);
        if (vertical) {
            band.top = low, band.bottom = high;
        } else {
            band.left = low, band.right = high;
        }
        CGdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(GradientBandColor(first, second, i, shift))));
        FillRect(hDC, &band, brush.Get());
    }
}

} // namespace SkinUI
