// Pixels of the update window checked against the skin's own PNG files:
// decoded images, the window's rectangles at a display scale (each length
// of the layout scaled as the engine scales it), and comparisons that
// stretch an image's part over a rectangle the way a blit would.
#pragma once

#include <stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <windows.h>

namespace skin_art {

struct Box {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct Rgb {
    int r, g, b;
};

// RGBA pixels, from a PNG file or from a 32-bit DIB section.
class Image {
public:
    Image() = default;
    explicit Image(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        int channels = 0;
        stbi_uc* data = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                              static_cast<int>(bytes.size()), &w, &h, &channels, 4);
        if (data) {
            pixels.assign(data, data + static_cast<size_t>(w) * h * 4);
            stbi_image_free(data);
        }
    }
    static Image FromDib(HBITMAP bitmap)
    {
        Image image;
        DIBSECTION dib{};
        if (!GetObjectW(bitmap, sizeof(dib), &dib) || !dib.dsBm.bmBits || dib.dsBm.bmBitsPixel != 32) {
            return image;
        }
        GdiFlush();
        image.w = dib.dsBm.bmWidth;
        image.h = dib.dsBm.bmHeight;
        image.pixels.resize(static_cast<size_t>(image.w) * image.h * 4);
        for (int y = 0; y < image.h; ++y) {
            const auto* row =
                static_cast<const uint8_t*>(dib.dsBm.bmBits) + static_cast<size_t>(y) * dib.dsBm.bmWidthBytes;
            for (int x = 0; x < image.w; ++x) {
                uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.w + x) * 4];
                p[0] = row[x * 4 + 2];
                p[1] = row[x * 4 + 1];
                p[2] = row[x * 4];
                p[3] = 255;
            }
        }
        return image;
    }
    bool Loaded() const { return !pixels.empty(); }
    const stbi_uc* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * w + x) * 4]; }
    Rgb RgbAt(int x, int y) const { return Rgb{At(x, y)[0], At(x, y)[1], At(x, y)[2]}; }
    // The pixel laid over white.
    Rgb OverWhite(int x, int y) const
    {
        const stbi_uc* p = At(x, y);
        const auto over = [&](int v) { return (v * p[3] + 255 * (255 - p[3])) / 255; };
        return Rgb{over(p[0]), over(p[1]), over(p[2])};
    }

    int w = 0, h = 0;
    std::vector<stbi_uc> pixels;
};

inline bool Near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

inline bool IsWhite(Rgb c)
{
    return c.r == 255 && c.g == 255 && c.b == 255;
}

// Black text, and the grey of its smoothed edges.
inline bool IsDark(Rgb c)
{
    return std::max({c.r, c.g, c.b}) < 96;
}

inline bool IsInk(Rgb c)
{
    return std::max({c.r, c.g, c.b}) < 200 && std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) < 24;
}

// Whether c is one of image's colours, laid over white.
inline bool HasColour(const Image& image, Rgb c, int tolerance)
{
    for (int y = 0; y < image.h; ++y) {
        for (int x = 0; x < image.w; ++x) {
            if (Near(c, image.OverWhite(x, y), tolerance)) {
                return true;
            }
        }
    }
    return false;
}

// The share of dest's pixels that match source's part stretched over dest
// (nearest pixel) and laid over white.
inline double MatchShare(const Image& shot, const Image& source, Box part, Box dest, int tolerance)
{
    int matches = 0;
    for (int y = dest.top; y < dest.bottom; ++y) {
        for (int x = dest.left; x < dest.right; ++x) {
            const int sx = part.left + (x - dest.left) * part.Width() / dest.Width();
            const int sy = part.top + (y - dest.top) * part.Height() / dest.Height();
            matches += Near(shot.RgbAt(x, y), source.OverWhite(sx, sy), tolerance);
        }
    }
    return static_cast<double>(matches) / (dest.Width() * dest.Height());
}

// The mean colour of a part of an image laid over white.
inline Rgb MeanColour(const Image& image, Box part)
{
    int64_t sum[3] = {};
    for (int y = part.top; y < part.bottom; ++y) {
        for (int x = part.left; x < part.right; ++x) {
            const Rgb c = image.OverWhite(x, y);
            sum[0] += c.r;
            sum[1] += c.g;
            sum[2] += c.b;
        }
    }
    const int64_t n = std::max<int64_t>(1, int64_t{part.Width()} * part.Height());
    return Rgb{static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n), static_cast<int>(sum[2] / n)};
}

// The bounding box of the pixels inside area that pass test; left > right when none.
inline Box Bounds(const Image& shot, Box area, bool (*test)(Rgb))
{
    Box bounds{area.right, area.bottom, area.left - 1, area.top - 1};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (test(shot.RgbAt(x, y))) {
                bounds = Box{std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
                             std::max(bounds.bottom, y)};
            }
        }
    }
    return bounds;
}

// A length of the skin at a display scale (percent), rounded as MulDiv rounds.
inline int Scaled(int length, int scale)
{
    return MulDiv(length, scale, 100);
}

inline Box Scaled(Box b, int scale)
{
    return Box{Scaled(b.left, scale), Scaled(b.top, scale), Scaled(b.right, scale), Scaled(b.bottom, scale)};
}

// "logo.png" as the engine names its file at a scale: "logo@150.png".
inline std::string ScaledFile(const std::string& name, int scale)
{
    return scale == 100 ? name
                        : name.substr(0, name.rfind('.')) + "@" + std::to_string(scale) + name.substr(name.rfind('.'));
}

// The rectangles of the update window that hold something, at a scale.
struct WindowBoxes {
    explicit WindowBoxes(int scale)
    {
        const auto s = [scale](int length) { return Scaled(length, scale); };
        width = s(380);
        height = s(240);
        title = Box{s(10), s(5), s(10) + s(160), s(5) + s(24)};
        close = Box{width - 2 * s(24), 0, width - s(24), s(24)};
        min = Box{width - s(24), 0, width, s(24)};
        const int logoTop = s(32) + s(47);
        logo = Box{s(30), logoTop, s(30) + s(91), logoTop + s(97)};
        const int textLeft = logo.right + s(20);
        descript = Box{textLeft, logoTop + s(10), width, logoTop + s(10) + s(30)};
        version = Box{textLeft, descript.bottom, width, descript.bottom + s(30)};
        const int progressTop = height - s(8) - s(36);
        percent = Box{width - s(16) - s(40), progressTop, width - s(16), progressTop + s(16)};
        const int barTop = progressTop + s(16) + s(4);
        bar = Box{s(16), barTop, width - s(16), barTop + s(16)};
        // The bar's fore image at the initial value 20 of 0..100.
        fillRight = bar.left + bar.Width() * 20 / 100;
    }
    int width, height;
    Box title, close, min, logo, descript, version, percent, bar;
    int fillRight;
};

// The pixels of shot outside every rectangle that holds something that are
// not white; where the first one is, in first.
inline int NotWhiteElsewhere(const Image& shot, const WindowBoxes& boxes, std::string& first)
{
    const Box painted[] = {boxes.title,    boxes.close,   boxes.min,     boxes.logo,
                           boxes.descript, boxes.version, boxes.percent, boxes.bar};
    int count = 0;
    for (int y = 0; y < shot.h; ++y) {
        for (int x = 0; x < shot.w; ++x) {
            const bool inside =
                std::any_of(std::begin(painted), std::end(painted), [&](const Box& b) { return b.Contains(x, y); });
            if (!inside && !IsWhite(shot.RgbAt(x, y)) && count++ == 0) {
                first = std::to_string(x) + "," + std::to_string(y);
            }
        }
    }
    return count;
}

} // namespace skin_art
