#include "skin_pixels.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

namespace {

uint32_t Channel(uint32_t word, int shift)
{
    return (word >> shift) & 0xFFu;
}

// x * y / 255 rounded to nearest, exact for bytes.
uint32_t Mul255(uint32_t x, uint32_t y)
{
    const uint32_t t = x * y + 128;
    return (t + (t >> 8)) >> 8;
}

struct Hsl {
    double h, s, l;
};

Hsl ToHsl(double r, double g, double b)
{
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    Hsl out{0, 0, (high + low) / 2};
    const double delta = high - low;
    if (delta <= 0) {
        return out;
    }
    out.s = out.l <= 0.5 ? delta / (high + low) : delta / (2 - high - low);
    if (high == r) {
        out.h = 60 * std::fmod((g - b) / delta + 6, 6.0);
    } else if (high == g) {
        out.h = 60 * ((b - r) / delta + 2);
    } else {
        out.h = 60 * ((r - g) / delta + 4);
    }
    return out;
}

double HueToChannel(double p, double q, double h)
{
    h = std::fmod(h + 360, 360.0);
    if (h < 60) {
        return p + (q - p) * h / 60;
    }
    if (h < 180) {
        return q;
    }
    if (h < 240) {
        return p + (q - p) * (240 - h) / 60;
    }
    return p;
}

uint32_t ToByte(double v)
{
    return static_cast<uint32_t>(std::lround(std::min(std::max(v, 0.0), 1.0) * 255));
}

} // namespace

bool PremultiplyPixels(const uint8_t* rgba, size_t count, uint32_t mask, uint32_t* out)
{
    bool alpha = false;
    for (size_t i = 0; i < count; ++i, rgba += 4) {
        const uint32_t a = rgba[3];
        uint32_t r = rgba[0], g = rgba[1], b = rgba[2];
        if (a < 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            alpha = true;
        }
        uint32_t word = a << 24 | r << 16 | g << 8 | b;
        if (mask != 0 && word == mask) {
            word = 0;
            alpha = true;
        }
        out[i] = word;
    }
    return alpha;
}

uint32_t AdjustColorHSL(uint32_t argb, int h, int s, int l)
{
    if (h == 180 && s == 100 && l == 100) {
        return argb;
    }
    Hsl hsl = ToHsl(Channel(argb, 16) / 255.0, Channel(argb, 8) / 255.0, Channel(argb, 0) / 255.0);
    hsl.h += h - 180;
    // Into (0, 360].
    hsl.h = std::fmod(hsl.h, 360.0);
    if (hsl.h <= 0) {
        hsl.h += 360;
    }
    hsl.s = std::min(hsl.s * s / 100, 1.0);
    hsl.l = std::min(hsl.l * l / 100, 1.0);
    double r = hsl.l, g = hsl.l, b = hsl.l;
    if (hsl.s > 0) {
        const double q = hsl.l < 0.5 ? hsl.l * (1 + hsl.s) : hsl.l + hsl.s - hsl.l * hsl.s;
        const double p = 2 * hsl.l - q;
        r = HueToChannel(p, q, hsl.h + 120);
        g = HueToChannel(p, q, hsl.h);
        b = HueToChannel(p, q, hsl.h - 120);
    }
    return (argb & 0xFF000000u) | ToByte(r) << 16 | ToByte(g) << 8 | ToByte(b);
}

void AdjustPixelsHSL(const uint32_t* source, uint32_t* out, size_t count, int h, int s, int l)
{
    for (size_t i = 0; i < count; ++i) {
        const uint32_t word = source[i];
        const uint32_t a = word >> 24;
        if (a == 0) {
            out[i] = word;
            continue;
        }
        // Straight colour for the adjustment, premultiplied again after it.
        uint32_t straight = word & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            straight |= std::min(Channel(word, shift) * 255 / a, 255u) << shift;
        }
        const uint32_t adjusted = AdjustColorHSL(straight, h, s, l);
        uint32_t result = word & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            result |= (Channel(adjusted, shift) * a / 255) << shift;
        }
        out[i] = result;
    }
}

int GradientBandShift(int steps)
{
    if (steps >= 64) {
        return 6;
    }
    if (steps >= 32) {
        return 5;
    }
    if (steps >= 16) {
        return 4;
    }
    if (steps > 7) {
        return 3;
    }
    if (steps > 3) {
        return 2;
    }
    return 1;
}

uint32_t GradientBandColor(uint32_t first, uint32_t second, int index, int shift)
{
    const uint32_t bands = 1u << shift;
    const auto i = static_cast<uint32_t>(index);
    uint32_t result = 0;
    for (int channel = 0; channel < 32; channel += 8) {
        result |= ((Channel(first, channel) * (bands - i) + Channel(second, channel) * i) >> shift) << channel;
    }
    return result;
}

void BlendPixels(uint32_t* dst, int dstStride, int width, int height, const uint32_t* image, int srcStride,
                 const RECT& src, uint8_t constantAlpha)
{
    const int64_t srcWidth = int64_t{src.right} - src.left;
    const int64_t srcHeight = int64_t{src.bottom} - src.top;
    if (width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) {
        return;
    }
    for (int y = 0; y < height; ++y) {
        const int64_t sy = src.top + y * srcHeight / height;
        const uint32_t* row = image + sy * srcStride;
        uint32_t* out = dst + static_cast<int64_t>(y) * dstStride;
        for (int x = 0; x < width; ++x) {
            const uint32_t s = row[src.left + x * srcWidth / width];
            const uint32_t d = out[x];
            const uint32_t sa = Mul255(s >> 24, constantAlpha);
            uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const uint32_t value = Mul255(Channel(s, shift), constantAlpha) + Mul255(Channel(d, shift), 255 - sa);
                result |= std::min(value, 255u) << shift;
            }
            out[x] = result;
        }
    }
}

} // namespace SkinUI
