// A temporary clip region: the clip of a device context is narrowed to a
// rectangle (or a rounded rectangle) and put back when the record goes.
#pragma once

#include <windows.h>

namespace SkinUI {

class CRenderClip {
public:
    CRenderClip() = default;
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;
    // Restores the previous clip and deletes both regions.
    ~CRenderClip();

    RECT rcItem{};
    HDC hDC = nullptr;
    HRGN hRgn = nullptr;
    // The clip before, or null when the context had none.
    HRGN hOldRgn = nullptr;

    static void GenerateClip(HDC dc, RECT rc, CRenderClip& clip);
    // rc's region narrowed by a rounded rectangle over item.
    static void GenerateRoundClip(HDC dc, RECT rc, RECT item, int width, int height, CRenderClip& clip);
    // Back to the previous clip for a while, then to this one again.
    static void UseOldClipBegin(HDC dc, CRenderClip& clip);
    static void UseOldClipEnd(HDC dc, CRenderClip& clip);

private:
    void Begin(HDC context, const RECT& rc, HRGN region);
    void Restore();
};

} // namespace SkinUI
