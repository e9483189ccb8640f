#include <gtest/gtest.h>

#include <string>

#include "code_page.h"

namespace {

TEST(CodePage, AsciiSurvivesTheAnswerRoundTrip)
{
    const std::string ascii = "{\"code\":0,\"desc\":\"ok & fine\"}";
    EXPECT_EQ(WideToAnsi(Utf8ToWide(ascii)), ascii);
    EXPECT_EQ(AnsiToWide(ascii), std::wstring(L"{\"code\":0,\"desc\":\"ok & fine\"}"));
}

TEST(CodePage, EmptyInEmptyOut)
{
    EXPECT_TRUE(Utf8ToWide("").empty());
    EXPECT_TRUE(AnsiToWide("").empty());
    EXPECT_TRUE(WideToAnsi(L"").empty());
}

TEST(CodePage, Utf8IsDecodedToCharacters)
{
    // "最新" in UTF-8.
    std::wstring wide = Utf8ToWide("\xE6\x9C\x80\xE6\x96\xB0");
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_EQ(wide[0], wchar_t(0x6700));
    EXPECT_EQ(wide[1], wchar_t(0x65B0));
}

TEST(CodePage, InvalidUtf8BecomesReplacementCharacter)
{
    std::wstring wide = Utf8ToWide("a\xFF"
                                   "b");
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0], L'a');
    EXPECT_EQ(wide[1], wchar_t(0xFFFD));
    EXPECT_EQ(wide[2], L'b');
}

TEST(CodePage, EmbeddedZeroIsKept)
{
    EXPECT_EQ(Utf8ToWide(std::string("a\0b", 3)).size(), 3u);
}

} // namespace
