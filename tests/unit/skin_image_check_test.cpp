#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin_image_check.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A DHT segment with one table per entry of `codes` (its number of codes,
// spread over the 16 code lengths, then as many symbols); `length`
// overrides the segment length.
Bytes Dht(const std::vector<unsigned>& codes, int length = -1)
{
    Bytes tables;
    for (const unsigned count : codes) {
        tables.push_back(0x00);
        unsigned left = count;
        for (int i = 0; i < 16; ++i) {
            const unsigned here = left > 255 ? 255 : left;
            tables.push_back(static_cast<uint8_t>(here));
            left -= here;
        }
        tables.insert(tables.end(), count, 0x01);
    }
    const size_t total = length >= 0 ? static_cast<size_t>(length) : tables.size() + 2;
    Bytes segment(4 + tables.size());
    segment[0] = 0xFF;
    segment[1] = 0xC4;
    segment[2] = static_cast<uint8_t>(total >> 8);
    segment[3] = static_cast<uint8_t>(total);
    std::copy(tables.begin(), tables.end(), segment.begin() + 4);
    return segment;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

const Bytes kSoi = {0xFF, 0xD8};
const Bytes kEoi = {0xFF, 0xD9};

struct Row {
    const char* what;
    Bytes file;
    bool decodable;
};

TEST(SkinImageCheck, HuffmanTablesOfAJpeg)
{
    const Row rows[] = {
        {"empty", {}, true},
        {"PNG signature", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, true},
        {"JPEG without tables", Join({kSoi, kEoi}), true},
        {"table of 256 codes", Join({kSoi, Dht({256}), kEoi}), true},
        {"table of 257 codes", Join({kSoi, Dht({257}), kEoi}), false},
        {"all 16 lengths full", Join({kSoi, Dht({16 * 255}), kEoi}), false},
        {"second table too large", Join({kSoi, Dht({12, 300}), kEoi}), false},
        {"fill bytes before the start", Join({{0xFF, 0xFF}, kSoi, Dht({257})}), false},
        {"marker after data", Join({kSoi, {0x12, 0x34, 0xFF, 0x00}, Dht({300})}), false},
        {"second segment too large", Join({kSoi, Dht({10}), Dht({300})}), false},
        {"segment of no length", Join({kSoi, Dht({300}, 0)}), true},
        {"segment cut short", Join({kSoi, {0xFF, 0xC4, 0x01}}), true},
        {"not a JPEG", Join({{0x00}, kSoi, Dht({300})}), true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SkinUI::IsSkinImageDecodable(row.file.data(), row.file.size()), row.decodable) << row.what;
    EXPECT_TRUE(SkinUI::IsSkinImageDecodable(nullptr, 0));
}

// A PNG chunk: length, type, `length` data bytes and a CRC the check ignores.
Bytes Chunk(const char* type, uint32_t length)
{
    Bytes chunk(8 + size_t(length) + 4, 0x5A);
    for (int i = 0; i < 4; ++i) {
        chunk[i] = static_cast<uint8_t>(length >> (24 - 8 * i));
        chunk[4 + i] = static_cast<uint8_t>(type[i]);
    }
    return chunk;
}

TEST(SkinImageCheck, FirstImageDataOfAPng)
{
    const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const Row rows[] = {
        {"image data", Join({png, Chunk("IHDR", 13), Chunk("IDAT", 5), Chunk("IEND", 0)}), true},
        {"empty first image data", Join({png, Chunk("IHDR", 13), Chunk("IDAT", 0), Chunk("IDAT", 5)}), false},
        {"empty image data after data", Join({png, Chunk("IHDR", 13), Chunk("IDAT", 5), Chunk("IDAT", 0)}), true},
        {"chunk longer than the file",
         Join({png, Chunk("IHDR", 13), {0xFF, 0xFF, 0xFF, 0xF0, 't', 'E', 'X', 't'}, Chunk("IDAT", 0)}), true},
        {"cut inside a chunk header", Join({png, {0x00, 0x00}}), true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SkinUI::IsSkinImageDecodable(row.file.data(), row.file.size()), row.decodable) << row.what;
}

} // namespace
