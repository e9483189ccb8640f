#include <gtest/gtest.h>

#include <string>

#include "text_encoding.h"

namespace {

std::string B64(const std::string& s)
{
    return Base64Encode(s.data(), s.size());
}

TEST(Base64, Rfc4648TestVectors)
{
    EXPECT_EQ(B64(""), "");
    EXPECT_EQ(B64("f"), "Zg==");
    EXPECT_EQ(B64("fo"), "Zm8=");
    EXPECT_EQ(B64("foo"), "Zm9v");
    EXPECT_EQ(B64("foob"), "Zm9vYg==");
    EXPECT_EQ(B64("fooba"), "Zm9vYmE=");
    EXPECT_EQ(B64("foobar"), "Zm9vYmFy");
}

TEST(Base64, HighBytesUseTheLastTwoAlphabetCharacters)
{
    EXPECT_EQ(B64(std::string("\xFB\xFF\xFF", 3)), "+///");
    EXPECT_EQ(B64(std::string("\xFF", 1)), "/w==");
    EXPECT_EQ(B64(std::string("\0\0\0", 3)), "AAAA");
}

TEST(Base64, NoLineBreaksInLongOutput)
{
    std::string out = B64(std::string(300, 'x'));
    EXPECT_EQ(out.size(), 400u);
    EXPECT_EQ(out.find('\n'), std::string::npos);
}

TEST(Base64Decode, ReadsWhatEncodeWrites)
{
    for (const std::string bytes : {"", "f", "fo", "foo", "foob", "fooba", "foobar", "\xFB\xFF\xFF", "\xFF"}) {
        std::string decoded = "stale";
        EXPECT_TRUE(Base64Decode(B64(bytes), decoded)) << B64(bytes);
        EXPECT_EQ(decoded, bytes);
    }
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += char(c);
    std::string decoded;
    EXPECT_TRUE(Base64Decode(B64(all), decoded));
    EXPECT_EQ(decoded, all);
}

TEST(Base64Decode, RefusesAnyOtherText)
{
    const char* const texts[] = {
        "Zg",       // no padding
        "Zg=",      // short padding
        "Zh==",     // bits dropped by the padding are not zero
        "Zm9=",     // the same with one "="
        "Zm9v\n",   // line break
        " Zm9v",    // space
        "Zm9v====", // a group of padding
        "Z=9v",     // "=" inside a group
        "Zg==Zm9v", // "=" before the last group
        "Zm9v-_8A", // URL-safe alphabet
        "Zm9v\xC3", // a byte outside ASCII
        "Zm9vY",    // not a multiple of four
    };
    for (const char* text : texts) {
        std::string bytes = "untouched";
        EXPECT_FALSE(Base64Decode(text, bytes)) << text;
        EXPECT_EQ(bytes, "untouched") << text;
    }
}

TEST(UrlEncode, EscapesTheThreeBase64SpecialsUpperCase)
{
    EXPECT_EQ(UrlEncode("a+b/c=="), "a%2Bb%2Fc%3D%3D");
}

TEST(UrlEncode, SpaceHighBytesAndUnreservedCharacters)
{
    EXPECT_EQ(UrlEncode("a b"), "a+b");
    EXPECT_EQ(UrlEncode("\x80\xFF\xE4"), "%80%FF%E4");
    EXPECT_EQ(UrlEncode("-_.~AZaz09"), "-_.~AZaz09");
    EXPECT_EQ(UrlEncode(std::string("\0&", 2)), "%00%26");
    EXPECT_EQ(UrlEncode(""), "");
}

} // namespace
