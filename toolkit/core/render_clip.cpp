#include "render_clip.h"

namespace SkinUI {

CRenderClip::~CRenderClip()
{
    if (hDC) {
        SelectClipRgn(hDC, hOldRgn);
    }
    if (hOldRgn) {
        DeleteObject(hOldRgn);
    }
    if (hRgn) {
        DeleteObject(hRgn);
    }
}

// The previous clip is kept as the region itself (not its bounding box), so
// that a rounded clip around this one comes back as it was.
void CRenderClip::Begin(HDC context, const RECT& rc, HRGN region)
{
    hOldRgn = CreateRectRgn(0, 0, 0, 0);
    if (GetClipRgn(context, hOldRgn) != 1) {
        DeleteObject(hOldRgn);
        hOldRgn = nullptr;
    }
    hRgn = region;
    ExtSelectClipRgn(context, hRgn, RGN_AND);
    hDC = context;
    rcItem = rc;
}

void CRenderClip::GenerateClip(HDC hDC, RECT rc, CRenderClip& clip)
{
    clip.Begin(hDC, rc, CreateRectRgnIndirect(&rc));
}

void CRenderClip::GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip)
{
    HRGN region = CreateRectRgnIndirect(&rc);
    HRGN round = CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1, width, height);
    CombineRgn(region, region, round, RGN_AND);
    DeleteObject(round);
    clip.Begin(hDC, rc, region);
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip)
{
    SelectClipRgn(hDC, clip.hOldRgn);
}

// The clip of GenerateClip again: the previous one narrowed by this one.
void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip)
{
    SelectClipRgn(hDC, clip.hOldRgn);
    ExtSelectClipRgn(hDC, clip.hRgn, RGN_AND);
}

} // namespace SkinUI
