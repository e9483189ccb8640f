#include <gtest/gtest.h>

#include <string>

#include "base/code_page.h"

using base::CodePage;

namespace {

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::wstring wide;
};

TEST(CodePage, Utf8Decoding)
{
    const DecodeCase cases[] = {
        {"empty", "", L""},
        {"ascii", "{\"code\":0}", L"{\"code\":0}"},
        {"CJK", "\xE6\x9C\x80\xE6\x96\xB0", L"\u6700\u65B0"},
        {"invalid byte",
         "a\xFF"
         "b",
         L"a\uFFFDb"},
        {"embedded zero", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const DecodeCase& c : cases)
        EXPECT_EQ(base::ToWide(CodePage::Utf8, c.bytes), c.wide) << c.name;
}

TEST(CodePage, AsciiRoundTripsThroughTheAnsiPage)
{
    const std::string ascii = "{\"desc\":\"ok & fine\"}";
    EXPECT_EQ(base::FromWide(CodePage::Ansi, base::ToWide(CodePage::Ansi, ascii)), ascii);
    EXPECT_EQ(base::FromWide(CodePage::Utf8, L"\u6700"), "\xE6\x9C\x80");
    EXPECT_TRUE(base::FromWide(CodePage::Ansi, L"").empty());
}

TEST(CodePage, CountingAndBufferConventions)
{
    // A negative length takes the terminator along.
    EXPECT_EQ(base::DecodeText(CodePage::Utf8, "ab", -1, nullptr, 0), 3);
    EXPECT_EQ(base::DecodeText(CodePage::Utf8, "ab", 2, nullptr, 0), 2);
    wchar_t small[2] = {L'x', L'x'};
    EXPECT_EQ(base::DecodeText(CodePage::Utf8, "abc", 3, small, 2), 0) << "too small a buffer fails";
    wchar_t wide[4] = {};
    EXPECT_EQ(base::DecodeText(CodePage::Utf8, "abc", -1, wide, 4), 4);
    EXPECT_EQ(std::wstring(wide), L"abc");
    char narrow[4] = {};
    EXPECT_EQ(base::EncodeText(CodePage::Utf8, L"\u6700", 1, nullptr, 0), 3);
    EXPECT_EQ(base::EncodeText(CodePage::Utf8, L"\u6700", 1, narrow, 2), 0);
    EXPECT_EQ(base::EncodeText(CodePage::Utf8, L"\u6700", 1, narrow, 3), 3);
    EXPECT_EQ(std::string(narrow, 3), "\xE6\x9C\x80");
}

} // namespace
