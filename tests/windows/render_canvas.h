// What the render tests paint into and read back: a 32-bit DIB section in a
// memory DC, a temporary skin folder for image files, and GDI+ started for
// the length of a test (the paint manager will do that for windows).
#pragma once

#include "gdiplus_flat.h"
#include "paint_manager.h"
#include "png_writer.h"
#include "render_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

class Canvas {
public:
    Canvas(int width, int height, uint32_t fill = 0xFFFFFFFF) : w(width), h(height), m_dc(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_pixels = static_cast<uint32_t*>(bits);
        m_old = SelectObject(m_dc, m_bitmap);
        std::fill(m_pixels, m_pixels + width * height, fill);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }

    HDC dc() const { return m_dc; }
    // The colour only: GDI writes 0 into the alpha byte.
    uint32_t Rgb(int x, int y) const
    {
        GdiFlush();
        return m_pixels[y * w + x] & 0xFFFFFF;
    }

    const int w, h;

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_pixels = nullptr;
};

// Each channel of the colours a and b within tolerance.
inline ::testing::AssertionResult Near(uint32_t a, uint32_t b, int tolerance = 1)
{
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance) {
            return ::testing::AssertionFailure() << std::hex << a << " differs from " << b;
        }
    }
    return ::testing::AssertionSuccess();
}

// A top-down 32-bit DIB section of premultiplied pixels made by pixel(x, y).
inline HBITMAP MakeBitmap(int width, int height, const std::function<uint32_t(int, int)>& pixel)
{
    BYTE* bits = nullptr;
    HBITMAP bitmap = SkinUI::CRenderEngine::CreateARGB32Bitmap(nullptr, width, height, &bits);
    auto* words = reinterpret_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            words[y * width + x] = pixel(x, y);
        }
    }
    return bitmap;
}

// GDI+ for one test.
class GdiplusSession {
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        EXPECT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

// A skin folder of PNG and other files in the temporary directory, in
// folder mode.
class SkinFolder {
public:
    SkinFolder()
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_dir = std::wstring(temp) + L"ferncastle-render-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_dir.c_str(), nullptr);
        SkinUI::CPaintManagerUI::SetResourceZip(L"", true);
        SkinUI::CPaintManagerUI::SetResourcePath(m_dir.c_str());
    }
    ~SkinFolder()
    {
        for (const std::wstring& file : m_files) {
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(m_dir.c_str());
        SkinUI::CPaintManagerUI::SetResourcePath(L"");
    }

    void AddPng(const std::wstring& name, int width, int height, const std::function<uint32_t(int, int)>& pixel)
    {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels.push_back(pixel(x, y));
            }
        }
        AddFile(name, EncodePng(width, height, pixels));
    }

    void AddFile(const std::wstring& name, const std::string& bytes)
    {
        const std::wstring path = m_dir + L"\\" + name;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        m_files.push_back(path);
    }

private:
    std::wstring m_dir;
    std::vector<std::wstring> m_files;
};
