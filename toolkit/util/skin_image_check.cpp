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

bool IsPng(const uint8_t* bytes, size_t size)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (size_t i = 0; i < sizeof kSignature; ++i)
        if (ByteAt(bytes, size, i) != kSignature[i])
            return false;
    return true;
}

// Whether the first IDAT chunk, read chunk by chunk as the decoder does,
// holds data. The decoder copies an empty first one into a buffer it has
// not allocated yet, a copy from a null pointer.
bool FirstImageDataHoldsData(const uint8_t* bytes, size_t size)
{
    for (size_t at = 8; at + 8 <= size;) {
        const uint32_t length = uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
                                uint32_t(bytes[at + 2]) << 8 | uint32_t(bytes[at + 3]);
        if (bytes[at + 4] == 'I' && bytes[at + 5] == 'D' && bytes[at + 6] == 'A' && bytes[at + 7] == 'T')
            return length > 0;
        if (length > size - at - 8)
            break;
        at += 8 + size_t(length) + 4; // data and CRC
    }
    return true;
}

} // namespace

bool IsSkinImageDecodable(const uint8_t* bytes, size_t size)
{
    if (!bytes)
        return true;
    if (IsPng(bytes, size))
        return FirstImageDataHoldsData(bytes, size);
    if (!IsJpeg(bytes, size))
        return true;
    // Every 0xFF 0xC4 the decoder could take for a DHT marker, wherever it
    // stands: in the entropy-coded data it cannot stand in a valid file.
    for (size_t at = 0; at + 1 < size; ++at)
        if (bytes[at] == 0xFF && bytes[at + 1] == 0xC4 && !HuffmanTablesFit(bytes, size, at + 2))
            return false;
    return true;
}

} // namespace SkinUI
