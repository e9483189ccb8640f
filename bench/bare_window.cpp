// The baseline of the updater's start-up: the least a Win32 program does to
// show a 380 x 240 popup. It registers a class, creates the window in the
// screen's centre, paints it white and closes itself after its first paint,
// recording the same moments as the updater's benchmark build.
#include <windows.h>

#include "bench_record.h"

namespace {

const wchar_t kClassName[] = L"FerncastleBareWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        bench::Mark("first_paint_entered");
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(window, &paint);
        bench::Mark("first_paint_copied");
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass))
        return 1;
    const int width = 380, height = 240;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (!CreateWindowExW(0, kClassName, L"Bare", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr, instance,
                         nullptr))
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return bench::WriteRecord() ? 0 : 1;
}
