#include "skin_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace SkinUI;

namespace {

::testing::AssertionResult Near(uint32_t actual, uint32_t expected, uint32_t tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > static_cast<int>(tolerance)) {
            return ::testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(SkinPixels, LoadingPremultipliesAndMasks)
{
    const uint8_t rgba[] = {
        200, 100, 50,  255, // opaque: copied
        200, 100, 50,  128, // colour * 128 / 255, rounded down
        255, 255, 255, 0,   // transparent: 0
        255, 0,   255, 255, // the mask colour
    };
    uint32_t out[4] = {};
    EXPECT_TRUE(PremultiplyPixels(rgba, 4, 0xFFFF00FF, out));
    EXPECT_EQ(out[0], 0xFFC86432u);
    EXPECT_EQ(out[1], 0x80643219u);
    EXPECT_EQ(out[2], 0u);
    EXPECT_EQ(out[3], 0u);

    EXPECT_FALSE(PremultiplyPixels(rgba, 1, 0, out)) << "opaque and unmasked";
    EXPECT_TRUE(PremultiplyPixels(rgba + 12, 1, 0xFFFF00FF, out)) << "masking sets the alpha flag";
}

TEST(SkinPixels, HueSaturationLightness)
{
    EXPECT_EQ(AdjustColorHSL(0x80123456, 180, 100, 100), 0x80123456u) << "neutral";
    EXPECT_TRUE(Near(AdjustColorHSL(0xFF00FF00, 300, 100, 100), 0xFF0000FF, 1)) << "green + 120 degrees";
    EXPECT_TRUE(Near(AdjustColorHSL(0xFFFF0000, 60, 100, 100), 0xFF0000FF, 1)) << "red - 120 wraps to 240";
    EXPECT_TRUE(Near(AdjustColorHSL(0xFFFF0000, 180, 0, 100), 0xFF808080, 1)) << "no saturation";
    EXPECT_EQ(AdjustColorHSL(0x40FF0000, 180, 100, 0), 0x40000000u) << "no lightness keeps alpha";
    EXPECT_TRUE(Near(AdjustColorHSL(0xFF800000, 180, 100, 200), 0xFFFF0000, 1)) << "double lightness";

    // Premultiplied pixels are adjusted in straight colour.
    const uint32_t source[] = {0x8000FF00 & 0x80008000, 0};
    uint32_t out[2] = {1, 1};
    AdjustPixelsHSL(source, out, 2, 300, 100, 100);
    EXPECT_TRUE(Near(out[0], 0x80000080, 1));
    EXPECT_EQ(out[1], 0u);
}

TEST(SkinPixels, GradientBandsStartAtTheFirstColour)
{
    const int shifts[][2] = {{64, 6}, {100, 6}, {32, 5}, {16, 4}, {8, 3}, {7, 2}, {4, 2}, {3, 1}, {0, 1}};
    for (const auto& s : shifts) {
        EXPECT_EQ(GradientBandShift(s[0]), s[1]) << s[0];
    }
    EXPECT_EQ(GradientBandColor(0xFF0000, 0x0000FF, 0, 2), 0xFF0000u);
    EXPECT_EQ(GradientBandColor(0xFF0000, 0x0000FF, 1, 2), 0xBF003Fu);
    EXPECT_EQ(GradientBandColor(0xFF0000, 0x0000FF, 3, 2), 0x3F00BFu);
}

TEST(SkinPixels, SoftwareBlendIsSourceOver)
{
    // Two source pixels stretched over a 4 x 1 destination.
    const uint32_t image[] = {0xFF0000FF, 0x80800000, 0, 0};
    std::vector<uint32_t> dst(4, 0xFFFFFFFF);
    BlendPixels(dst.data(), 4, 4, 1, image, 2, RECT{0, 0, 2, 1}, 255);
    EXPECT_EQ(dst[0], 0xFF0000FFu);
    EXPECT_EQ(dst[1], 0xFF0000FFu);
    EXPECT_TRUE(Near(dst[2], 0xFFFF7F7F, 1)) << "half-transparent red over white";

    std::vector<uint32_t> faded(1, 0xFF000000);
    BlendPixels(faded.data(), 1, 1, 1, image, 2, RECT{0, 0, 1, 1}, 128);
    EXPECT_TRUE(Near(faded[0], 0xFF000080, 1)) << "fade 128 blends at half opacity";

    std::vector<uint32_t> kept(1, 0xFF123456);
    BlendPixels(kept.data(), 1, 1, 1, image, 2, RECT{0, 1, 1, 2}, 255);
    EXPECT_EQ(kept[0], 0xFF123456u) << "a transparent pixel leaves the destination";
}
