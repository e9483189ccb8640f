// Image loading and the image drawing of the render engine.
#include "render_engine.h"

#include "draw_info.h"
#include "memory_dc.h"
#include "nine_grid.h"
#include "paint_manager.h"
#include "render_system.h"
#include "select_object.h"
#include "skin_buffer.h"
#include "skin_file_reader.h"
#include "skin_geometry.h"
#include "skin_image_check.h"
#include "skin_pixels.h"

#include <algorithm>
#include <cstdint>
#include <stb_image.h>

namespace SkinUI {

namespace {

// Frees stb_image's pixels.
struct StbPixels {
    explicit StbPixels(unsigned char* pixels) : data(pixels) {}
    StbPixels(const StbPixels&) = delete;
    StbPixels& operator=(const StbPixels&) = delete;
    ~StbPixels() { stbi_image_free(data); }
    unsigned char* data;
};

// Draws each planned piece: with an alpha blend, or copied opaquely.
class DrawSink : public ISkinBlitSink {
public:
    DrawSink(HDC target, HDC source, HBITMAP bitmap, bool blend, BYTE fade)
        : m_target(target), m_source(source), m_bitmap(bitmap), m_blend(blend), m_fade(fade),
          m_alphaBlend(blend ? GetAlphaBlendFunction() : nullptr)
    {
    }

    void Blit(const RECT& d, const RECT& s) override
    {
        const int dw = d.right - d.left, dh = d.bottom - d.top;
        const int sw = s.right - s.left, sh = s.bottom - s.top;
        if (m_blend) {
            if (m_alphaBlend) {
                const BLENDFUNCTION blend{AC_SRC_OVER, 0, m_fade, AC_SRC_ALPHA};
                m_alphaBlend(m_target, d.left, d.top, dw, dh, m_source, s.left, s.top, sw, sh, blend);
            } else {
                SoftwareAlphaBlend(m_target, d, m_bitmap, s, m_fade);
            }
        } else if (dw == sw && dh == sh) {
            BitBlt(m_target, d.left, d.top, dw, dh, m_source, s.left, s.top, SRCCOPY);
        } else {
            StretchBlt(m_target, d.left, d.top, dw, dh, m_source, s.left, s.top, sw, sh, SRCCOPY);
        }
    }

private:
    HDC m_target;
    HDC m_source;
    HBITMAP m_bitmap;
    bool m_blend;
    BYTE m_fade;
    AlphaBlendFunction m_alphaBlend;
};

} // namespace

HBITMAP CRenderEngine::CreateARGB32Bitmap(HDC hDC, int cx, int cy, BYTE** pBits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = cx > 0 && cy > 0 ? CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (pBits) {
        *pBits = bitmap ? static_cast<BYTE*>(bits) : nullptr;
    }
    return bitmap;
}

tagTImageInfo* CRenderEngine::LoadImage(STRINGorID bitmap, const wchar_t* type, DWORD mask, HINSTANCE instance)
{
    int width = 0, height = 0, channels = 0;
    unsigned char* decoded = nullptr;
    {
        CSkinBuffer bytes;
        if (!ReadSkinImageBytes(bitmap.m_lpstr, type, instance, bytes) ||
            bytes.GetSize() > static_cast<uint32_t>(INT32_MAX) ||
            !IsSkinImageDecodable(bytes.GetData(), bytes.GetSize())) {
            return nullptr;
        }
        decoded =
            stbi_load_from_memory(bytes.GetData(), static_cast<int>(bytes.GetSize()), &width, &height, &channels, 4);
    }
    StbPixels pixels(decoded);
    if (!pixels.data || width <= 0 || height <= 0) {
        return nullptr;
    }
    BYTE* bits = nullptr;
    HBITMAP hBitmap = CreateARGB32Bitmap(nullptr, width, height, &bits);
    if (!hBitmap) {
        return nullptr;
    }
    auto* info = new tagTImageInfo;
    info->hBitmap = hBitmap;
    info->pBits = reinterpret_cast<uint32_t*>(bits);
    info->nX = width;
    info->nY = height;
    info->bAlpha =
        PremultiplyPixels(pixels.data, static_cast<size_t>(width) * static_cast<size_t>(height), mask, info->pBits);
    info->dwMask = mask;
    return info;
}

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                              const RECT& rcCorners, bool bAlpha, BYTE uFade, bool hole, bool xtiled, bool ytiled)
{
    BITMAP bm{};
    if (!hDC || !hBitmap || GetObjectW(hBitmap, sizeof(bm), &bm) == 0) {
        return;
    }
    CMemoryDC memory(hDC);
    if (!memory) {
        return;
    }
    CSelectObject select(memory.Get(), hBitmap);
    const int oldMode = SetStretchBltMode(hDC, HALFTONE);
    const bool blend = bAlpha || uFade < 255;
    SkinNineGrid grid{rc, rcPaint, rcBmpPart, rcCorners, hole, xtiled, ytiled, !blend};
    DrawSink sink(hDC, memory.Get(), hBitmap, blend, uFade);
    PlanNineGrid(grid, bm.bmWidth, bm.bmHeight, sink);
    if (oldMode) {
        SetStretchBltMode(hDC, oldMode);
    }
}

bool CRenderEngine::DrawImageInfo(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                  const tagTDrawInfo* pDrawInfo, HINSTANCE instance)
{
    if (!hDC || !pManager || !pDrawInfo) {
        return false;
    }
    RECT rcDest = rcItem;
    const RECT& offsets = pDrawInfo->rcDest;
    if (offsets.left != 0 || offsets.top != 0 || offsets.right != 0 || offsets.bottom != 0) {
        rcDest.left = Saturate32(int64_t{rcItem.left} + offsets.left);
        rcDest.top = Saturate32(int64_t{rcItem.top} + offsets.top);
        rcDest.right = Saturate32(std::min<int64_t>(int64_t{rcItem.left} + offsets.right, rcItem.right));
        rcDest.bottom = Saturate32(std::min<int64_t>(int64_t{rcItem.top} + offsets.bottom, rcItem.bottom));
    }
    if (pDrawInfo->sImageName.IsEmpty()) {
        return false;
    }
    const wchar_t* type = pDrawInfo->sResType.IsEmpty() ? nullptr : pDrawInfo->sResType.GetData();
    const tagTImageInfo* image = pManager->GetImageEx(pDrawInfo->sImageName, type, pDrawInfo->dwMask, false, instance);
    // A scale the skin has no file for draws the nearest smaller scale's
    // file, else the 100 % image (below 100 % too): its source and corners
    // in its own pixels, stretched into the scaled destination (halftone,
    // or AlphaBlend for images with alpha), rather than nothing.
    tagTDrawInfo fallback;
    const tagTDrawInfo& asked = *pDrawInfo;
    const int scale = static_cast<int>(pManager->GetDPIObj()->GetScale());
    for (const int smaller : {200, 175, 150, 125, 100}) {
        if ((image && image->hBitmap) || (smaller >= scale && (smaller != 100 || scale == 100))) {
            continue;
        }
        fallback.Parse(asked.sDrawString, asked.sDrawModify, smaller);
        image = pManager->GetImageEx(fallback.sImageName, type, fallback.dwMask, false, instance);
        pDrawInfo = &fallback;
    }
    if (!image || !image->hBitmap) {
        return false;
    }
    RECT rcSource = pDrawInfo->rcSource;
    if (rcSource.left == 0 && rcSource.top == 0 && rcSource.right == 0 && rcSource.bottom == 0) {
        rcSource = RECT{0, 0, image->nX, image->nY};
    }
    rcSource.right = std::min<LONG>(rcSource.right, image->nX);
    rcSource.bottom = std::min<LONG>(rcSource.bottom, image->nY);
    if (!Meets(rcDest, rcItem) || !Meets(rcDest, rcPaint)) {
        return true;
    }
    DrawImage(hDC, image->hBitmap, rcDest, rcPaint, rcSource, pDrawInfo->rcCorner,
              pManager->IsLayered() || image->bAlpha, pDrawInfo->uFade, pDrawInfo->bHole, pDrawInfo->bTiledX,
              pDrawInfo->bTiledY);
    return true;
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                    const wchar_t* pStrImage, const wchar_t* pStrModify, HINSTANCE instance)
{
    if (!hDC || !pManager) {
        return false;
    }
    return DrawImageInfo(hDC, pManager, rcItem, rcPaint, pManager->GetDrawInfo(pStrImage, pStrModify), instance);
}

} // namespace SkinUI
