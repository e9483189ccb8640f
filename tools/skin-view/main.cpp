// skin-view: shows a skin's layout as a real window, for skin authors.
//
//   skin-view.exe SKIN LAYOUT [--screenshot FILE.png]
//
// SKIN is a skin folder or a ZIP file; LAYOUT the layout file in it (for
// the updater, MainFrameWnd.xml). The window runs until it is closed. With
// --screenshot the laid-out window's client area is written to FILE.png
// and the program exits at once. Exit code 0, or 2 for a bad command line
// or a screenshot that cannot be written (1 is the toolkit's own code for
// a layout that cannot be built).
#include "builtin_controls.h"
#include "gdi_object.h"
#include "memory_dc.h"
#include "png_writer.h"
#include "render_engine.h"
#include "select_object.h"
#include "window_impl_base.h"

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

class SkinViewWindow : public WindowImplBase {
public:
    SkinViewWindow(const wchar_t* layout, const wchar_t* zipName) : m_zipName(zipName)
    {
        m_sSkinFile = layout;
        m_nResType = *zipName ? RESTYPE_ZIPFILE : RESTYPE_FOLDER;
    }

    const wchar_t* GetWindowClassName() const override { return L"FerncastleSkinView"; }
    CSkinString GetZIPFileName() const override { return m_zipName; }
    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        PostQuitMessage(0);
    }

private:
    CSkinString m_zipName;
};

bool EndsWithNoCase(const std::wstring& text, const wchar_t* suffix)
{
    const size_t length = wcslen(suffix);
    return text.size() >= length && _wcsicmp(text.c_str() + text.size() - length, suffix) == 0;
}

// The client area as the window paints it (WM_PRINTCLIENT), opaque, as PNG.
bool WriteScreenshot(HWND hWnd, const wchar_t* path)
{
    RECT rc{};
    GetClientRect(hWnd, &rc);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    BYTE* bits = nullptr;
    CGdiObject<HBITMAP> bitmap(CRenderEngine::CreateARGB32Bitmap(nullptr, width, height, &bits));
    CMemoryDC dc(nullptr);
    if (!bitmap || !dc) {
        return false;
    }
    {
        CSelectObject select(dc.Get(), bitmap.Get());
        SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    }
    GdiFlush();
    // Opaque, so the premultiplied section holds straight colour too.
    const auto* words = reinterpret_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(words, words + static_cast<size_t>(width) * height);
    for (uint32_t& pixel : pixels) {
        pixel |= 0xFF000000u;
    }
    const std::string png = EncodePng(width, height, pixels);
    FILE* out = _wfopen(path, L"wb");
    if (!out) {
        return false;
    }
    const bool written = fwrite(png.data(), 1, png.size(), out) == png.size();
    return fclose(out) == 0 && written;
}

int Usage()
{
    fwprintf(stderr, L"usage: skin-view.exe SKIN LAYOUT [--screenshot FILE.png]\n"
                     L"  SKIN    a skin folder or a ZIP file\n"
                     L"  LAYOUT  the layout file in the skin, e.g. MainFrameWnd.xml\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 && !(argc == 5 && wcscmp(argv[3], L"--screenshot") == 0)) {
        return Usage();
    }
    const std::wstring skin = argv[1];
    const wchar_t* screenshot = argc == 5 ? argv[4] : nullptr;
    std::wstring folder = skin;
    std::wstring zipName;
    if (EndsWithNoCase(skin, L".zip")) {
        const size_t slash = skin.find_last_of(L"\\/");
        folder = slash == std::wstring::npos ? L"." : skin.substr(0, slash);
        zipName = skin.substr(slash == std::wstring::npos ? 0 : slash + 1);
    }
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    RegisterBuiltinControls();
    CPaintManagerUI::SetResourcePath(folder.c_str());

    // The window and its paint manager go before Term frees what they use.
    bool written = false;
    {
        SkinViewWindow window(argv[2], zipName.c_str());
        const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
        if (!window.Create(nullptr, L"skin-view", style, WS_EX_WINDOWEDGE)) {
            fwprintf(stderr, L"skin-view: the window cannot be created\n");
            return 2;
        }
        window.CenterWindow();
        if (!screenshot) {
            CPaintManagerUI::MessageLoop();
        } else {
            // The first paint lays the tree out.
            UpdateWindow(window);
            written = WriteScreenshot(window, screenshot);
            DestroyWindow(window);
        }
    }
    CPaintManagerUI::Term();
    if (!screenshot) {
        return 0;
    }
    if (!written) {
        fwprintf(stderr, L"skin-view: cannot write %ls\n", screenshot);
        return 2;
    }
    return 0;
}
