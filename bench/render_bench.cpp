// Drawing the update window's progress bar per frame: the 52 x 16 track
// image stretched as a nine-grid and the fill image tiled, both over the
// bar's 348 x 16, into an off-screen 32-bit DIB as the paint manager does.
// Printed beside a plain BitBlt of the same area, with their ratio
// (images / BitBlt). Runs under Wine: bench/render-bench.
#include "paint_manager.h"
#include "render_engine.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

using namespace SkinUI;

namespace {

const RECT kBar{0, 0, 348, 16};
const wchar_t* const kTrack = L"file='FullBackground.png' corner='5,3,5,3'";
const wchar_t* const kFill = L"file='PlanBackground.png' corner='5,3,5,3' xtiled='true' ytiled='true'";

class Surface {
public:
    Surface() : m_dc(CreateCompatibleDC(nullptr))
    {
        m_bitmap = CRenderEngine::CreateARGB32Bitmap(m_dc, kBar.right, kBar.bottom, nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~Surface()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

// Microseconds per frame, best of several rounds so that a busy moment of
// the machine does not decide the ratio.
template <typename Frame> double BestMicroseconds(Frame frame, int frames)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    for (int round = 0; round < 7; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < frames; ++i) {
            frame();
        }
        GdiFlush();
        QueryPerformanceCounter(&end);
        best = std::min(best, 1e6 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / frames);
    }
    return best;
}

} // namespace

int main()
{
    // The skin archive linked into this program, as the updater has it.
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(129), L"ZIPRES");
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    if (!loaded) {
        fputs("no skin archive\n", stderr);
        return 1;
    }
    CPaintManagerUI::SetResourceZip(LockResource(loaded), SizeofResource(nullptr, resource));
    CPaintManagerUI manager;
    Surface target, source;
    if (!CRenderEngine::DrawImageString(target.dc(), &manager, kBar, kBar, kTrack) ||
        !CRenderEngine::DrawImageString(target.dc(), &manager, kBar, kBar, kFill)) {
        fputs("the progress bar images did not draw\n", stderr);
        return 1;
    }
    const int frames = 2000;
    const double images = BestMicroseconds(
        [&] {
            CRenderEngine::DrawImageString(target.dc(), &manager, kBar, kBar, kTrack);
            CRenderEngine::DrawImageString(target.dc(), &manager, kBar, kBar, kFill);
        },
        frames);
    const double blit = BestMicroseconds(
        [&] { BitBlt(target.dc(), 0, 0, kBar.right, kBar.bottom, source.dc(), 0, 0, SRCCOPY); }, frames);
    printf("progress bar 348x16: images %.1f us/frame, BitBlt %.1f us/frame, ratio %.1f\n", images, blit,
           images / blit);
    CPaintManagerUI::Term();
    return 0;
}
