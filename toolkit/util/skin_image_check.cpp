#include "skin_image_check.h"

namespace SkinUI {

namespace {

// The decoder reads zeros past the end of the file.
unsigned ByteAt(const uint8_t* bytes, size_t size, size_t at)
{
    return at < size ? bytes[at] : 0;
}

// A JPEG starts with 0xFF, any number of fill bytes 0xFF, then 0xD8.
bool IsJpeg(const uint8_t* bytes, size_t size)
{
    size_t at = 0;
    if (ByteAt(bytes, size, at++) != 0xFF)
        return false;
    while (at < size && bytes[at] == 0xFF)
        ++at;
    return ByteAt(bytes, size, at) == 0xD8;
}

// The tables of the DHT segment whose length starts at `at`, read as the
// decoder reads them.
bool HuffmanTablesFit(const uint8_t* bytes, size_t size, size_t at)
{
    long left = static_cast<long>(ByteAt(bytes, size, at) << 8 | ByteAt(bytes, size, at + 1)) - 2;
    at += 2;
    while (left > 0 && at < size) {
        unsigned codes = 0;
        for (size_t i = 1; i <= 16; ++i)
            codes += ByteAt(bytes, size, at + i);
        if (codes > 256)
            return false;
        at += 17 + codes;
        left -= 17 + static_cast<long>(codes);
    }
    return true;
}

} // namespace

bool IsSkinImageDecodable(const uint8_t* bytes, size_t size)
{
    if (!bytes || !IsJpeg(bytes, size))
        return true;
    // Every 0xFF 0xC4 the decoder could take for a DHT marker, wherever it
    // stands: in the entropy-coded data it cannot stand in a valid file.
    for (size_t at = 0; at + 1 < size; ++at)
        if (bytes[at] == 0xFF && bytes[at + 1] == 0xC4 && !HuffmanTablesFit(bytes, size, at + 2))
            return false;
    return true;
}

} // namespace SkinUI
