#include "render_clip.h"

namespace SkinUI {

CRenderClip::~CRenderClip()
{
    Restore();
}

void CRenderClip::Restore()
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
    hDC = nullptr;
    hOldRgn = nullptr;
    hRgn = nullptr;
}

// The previous clip is kept as the region itself (not its bounding box), so
// that a rounded clip around this one comes back as it was.
void CRenderClip::Begin(HDC context, const RECT& rc, HRGN region)
{
    // A record used again first puts back what it changed before.
    Restore();
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

void CRenderClip::GenerateClip(HDC dc, RECT rc, CRenderClip& clip)
{
    clip.Begin(dc, rc, CreateRectRgnIndirect(&rc));
}

void CRenderClip::GenerateRoundClip(HDC dc, RECT rc, RECT item, int width, int height, CRenderClip& clip)
{
    HRGN region = CreateRectRgnIndirect(&rc);
    HRGN round = CreateRoundRectRgn(item.left, item.top, item.right + 1, item.bottom + 1, width, height);
    CombineRgn(region, region, round, RGN_AND);
    DeleteObject(round);
    clip.Begin(dc, rc, region);
}

void CRenderClip::UseOldClipBegin(HDC dc, CRenderClip& clip)
{
    SelectClipRgn(dc, clip.hOldRgn);
}

// The clip of GenerateClip again: the previous one narrowed by this one.
void CRenderClip::UseOldClipEnd(HDC dc, CRenderClip& clip)
{
    SelectClipRgn(dc, clip.hOldRgn);
    ExtSelectClipRgn(dc, clip.hRgn, RGN_AND);
}

} // namespace SkinUI
