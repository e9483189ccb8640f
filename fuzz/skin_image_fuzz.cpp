// Arbitrary image files of a skin, decoded as the render engine loads them
// (checked first, then stb_image with the program's settings, to RGBA) and
// premultiplied: every
// colour channel ends at or below its alpha, and the mask clears exactly the
// pixels it names.
#include "skin_image_check.h"
#include "skin_pixels.h"

#include <stb_image.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Freed {
    void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};

} // namespace

// Input: a 32-bit mask (0: none), then the image file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4 || size > (1u << 20))
        return 0;
    uint32_t mask;
    memcpy(&mask, data, sizeof mask);
    const unsigned char* file = data + 4;
    const int length = static_cast<int>(size - 4);
    if (!SkinUI::IsSkinImageDecodable(file, size - 4))
        return 0;
    // Skins hold small images; large ones would only slow the search.
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(file, length, &width, &height, &channels) ||
        static_cast<int64_t>(width) * height > (1 << 16))
        return 0;
    std::unique_ptr<unsigned char, Freed> rgba(stbi_load_from_memory(file, length, &width, &height, &channels, 4));
    if (!rgba || width <= 0 || height <= 0)
        return 0;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint32_t> words(count);
    const bool alpha = SkinUI::PremultiplyPixels(rgba.get(), count, mask, words.data());
    bool translucent = false;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* p = rgba.get() + 4 * i;
        const uint32_t straight = uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        const uint32_t word = words[i];
        const uint32_t a = word >> 24;
        if (((word >> 16) & 0xFF) > a || ((word >> 8) & 0xFF) > a || (word & 0xFF) > a)
            __builtin_trap();
        if (p[3] == 255 && word != straight && !(mask != 0 && word == 0 && straight == mask))
            __builtin_trap();
        translucent = translucent || p[3] < 255 || (mask != 0 && word == 0);
    }
    if (alpha != translucent)
        __builtin_trap();
    return 0;
}
