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
