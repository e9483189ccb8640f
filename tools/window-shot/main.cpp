// Saves the updater's window as a PNG file and, when asked, closes it:
//   window-shot.exe OUT.png [--close]
// Waits up to 30 seconds for the window. Exit code 0 when the picture was
// saved (and the window closed), 1 otherwise.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "png_writer.h"
#include "updater_identity.h"

namespace {

bool SaveClientArea(HWND window, const wchar_t* path)
{
    RECT rc = {};
    GetClientRect(window, &rc);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        const auto* words = static_cast<const uint32_t*>(bits);
        std::vector<uint32_t> pixels(words, words + static_cast<size_t>(width) * height);
        for (uint32_t& pixel : pixels)
            pixel |= 0xFF000000u; // the screen has no alpha
        const std::string png = EncodePng(width, height, pixels);
        std::ofstream out(path, std::ios::binary);
        out << png;
        saved = static_cast<bool>(out);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return saved;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: window-shot OUT.png [--close]\n");
        return 1;
    }
    HWND window = nullptr;
    for (int i = 0; i < 300 && !(window = FindWindowW(kUpdaterWindowClass, nullptr)); ++i)
        Sleep(100);
    if (!window) {
        std::fprintf(stderr, "window-shot: no updater window\n");
        return 1;
    }
    // Let the window finish painting what it has.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    const bool saved = SaveClientArea(window, argv[1]);
    if (argc > 2 && std::wstring(argv[2]) == L"--close")
        PostMessageW(window, WM_CLOSE, 0, 0);
    return saved ? 0 : 1;
}
