// Pixel arithmetic of the render engine. Images are held as 32-bit words
// 0xAARRGGBB (B, G, R, A bytes in memory) with premultiplied colour.
#pragma once

#include "skin_win32_types.h"

#include <cstddef>
#include <cstdint>

namespace SkinUI {

// Decoded R, G, B, A bytes to premultiplied words: colour * alpha / 255,
// rounded down. A pixel whose word equals mask (when mask is not 0) becomes
// 0. Returns true when any pixel is not opaque or was masked.
bool PremultiplyPixels(const uint8_t* rgba, size_t count, uint32_t mask, uint32_t* out);

// Shifts the hue by h - 180 degrees and scales saturation by s / 100 and
// lightness by l / 100; (180, 100, 100) leaves the colour as it is. The
// alpha byte is kept.
uint32_t AdjustColorHSL(uint32_t argb, int h, int s, int l);

// AdjustColorHSL on premultiplied pixels (their straight colour is adjusted).
void AdjustPixelsHSL(const uint32_t* source, uint32_t* out, size_t count, int h, int s, int l);

// Gradients without the system's gradient fill are 2^n solid bands, n
// growing with the number of steps asked for (1 to 6).
int GradientBandShift(int steps);
// Band index (0 to 2^shift - 1): from first at the start towards second.
uint32_t GradientBandColor(uint32_t first, uint32_t second, int index, int shift);

// Source-over of premultiplied pixels with a constant alpha, as AlphaBlend
// with per-pixel alpha does: source is the rectangle src of an image of
// srcStride pixels per row, resampled to width x height by nearest pixel;
// dst has dstStride pixels per row.
void BlendPixels(uint32_t* dst, int dstStride, int width, int height, const uint32_t* image, int srcStride,
                 const RECT& src, uint8_t constantAlpha);

} // namespace SkinUI
