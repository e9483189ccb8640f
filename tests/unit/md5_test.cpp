#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "md5.h"
#include "reference_md5.h"

namespace {

struct Rfc1321Vector {
    const char* input;
    const char* hex;
};

const Rfc1321Vector kRfc1321Suite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5, Rfc1321TestSuite)
{
    for (const auto& v : kRfc1321Suite)
        EXPECT_EQ(Md5Hex(v.input), v.hex) << "input: \"" << v.input << "\"";
}

TEST(Md5, DigestIsRawBytesOfHexText)
{
    uint8_t digest[16];
    Md5Digest("abc", 3, digest);
    EXPECT_EQ(digest[0], 0x90);
    EXPECT_EQ(digest[15], 0x72);
}

// Lengths around the padding boundary (55/56/57: the length no longer fits in
// the last block) and the block boundary (63/64/65), plus multi-block inputs,
// with every byte value present.
TEST(Md5, AgreesWithIndependentImplementationAcrossBlockBoundaries)
{
    const size_t lengths[] = {1, 54, 55, 56, 57, 62, 63, 64, 65, 119, 120, 127, 128, 129, 1000, 4096, 65537};
    for (size_t length : lengths) {
        std::string input(length, '\0');
        for (size_t i = 0; i < length; ++i)
            input[i] = char((i * 131 + length) & 0xFF);
        EXPECT_EQ(Md5Hex(input), ReferenceMd5Hex(input)) << "length " << length;
        // The same bytes in uneven pieces, straddling the block boundaries.
        Md5Stream stream;
        for (size_t at = 0, piece = 1; at < length; at += piece, piece = piece * 3 % 97 + 1)
            stream.Update(input.data() + at, std::min(piece, length - at));
        EXPECT_EQ(stream.HexDigest(), ReferenceMd5Hex(input)) << "length " << length << " in pieces";
    }
}

TEST(Md5, EmbeddedZeroBytesAreDigested)
{
    std::string withZero("a\0b", 3);
    EXPECT_EQ(Md5Hex(withZero), ReferenceMd5Hex(withZero));
    EXPECT_NE(Md5Hex(withZero), Md5Hex("a"));
}

} // namespace
