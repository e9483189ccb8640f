#include "skin_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <string>

using SkinUI::CSkinString;

namespace {

std::wstring Repeat(wchar_t ch, int count)
{
    return std::wstring(static_cast<size_t>(count), ch);
}

} // namespace

TEST(SkinString, StorageFollowsTheInlineBoundaryBothWays)
{
    CSkinString s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(s.IsInline());

    s = Repeat(L'x', 62).c_str();
    EXPECT_TRUE(s.IsInline());
    EXPECT_EQ(s.GetLength(), 62);

    s = Repeat(L'y', 63).c_str();
    EXPECT_FALSE(s.IsInline());
    EXPECT_EQ(std::wstring(s.GetData()), Repeat(L'y', 63));

    // A longer text grows the block, a shorter one keeps it; a short one
    // returns inline.
    s = Repeat(L'z', 200).c_str();
    EXPECT_EQ(s.GetLength(), 200);
    const wchar_t* block = s.GetData();
    s = Repeat(L'w', 100).c_str();
    EXPECT_EQ(s.GetData(), block);
    EXPECT_EQ(std::wstring(s.GetData()), Repeat(L'w', 100));
    s = L"short";
    EXPECT_TRUE(s.IsInline());
    EXPECT_EQ(std::wstring(s.GetData()), L"short");

    s.Empty();
    EXPECT_TRUE(s.IsInline());
    EXPECT_TRUE(s.IsEmpty());
}

TEST(SkinString, AppendCrossesToTheHeapAtSixtyThree)
{
    CSkinString a(Repeat(L'a', 60).c_str());
    a.Append(L"bc");
    EXPECT_TRUE(a.IsInline());
    EXPECT_EQ(a.GetLength(), 62);

    CSkinString b(Repeat(L'a', 60).c_str());
    b += L"bcd";
    EXPECT_FALSE(b.IsInline());
    EXPECT_EQ(std::wstring(b.GetData()), Repeat(L'a', 60) + L"bcd");

    b += L'e';
    b += CSkinString(L"f");
    EXPECT_EQ(std::wstring(b.GetData()), Repeat(L'a', 60) + L"bcdef");
}

TEST(SkinString, ConstructionCopyAndOperators)
{
    EXPECT_EQ(std::wstring(CSkinString(L'q').GetData()), L"q");
    EXPECT_EQ(std::wstring(CSkinString(L"abcdef", 3).GetData()), L"abc");
    EXPECT_TRUE(CSkinString(static_cast<const wchar_t*>(nullptr)).IsEmpty());

    const CSkinString heap(Repeat(L'h', 100).c_str());
    CSkinString copy(heap);
    copy.SetAt(0, L'H');
    EXPECT_EQ(heap.GetAt(0), L'h') << "copies are deep";
    EXPECT_EQ(copy[0], L'H');

    CSkinString sum = CSkinString(L"ab") + L"cd";
    EXPECT_EQ(std::wstring(sum + CSkinString(L"ef")), L"abcdef");
    EXPECT_EQ(std::wstring(sum + static_cast<const wchar_t*>(nullptr)), L"abcd");

    CSkinString narrow;
    narrow = "plain ascii";
    EXPECT_EQ(std::wstring(narrow.GetData()), L"plain ascii");
    narrow += " text";
    EXPECT_EQ(std::wstring(narrow.GetData()), L"plain ascii text");
    narrow = static_cast<const char*>(nullptr);
    EXPECT_TRUE(narrow.IsEmpty());
}

TEST(SkinString, AssigningFromItsOwnTextIsSafe)
{
    CSkinString s(Repeat(L'k', 80).c_str());
    s = s.GetData() + 30; // 50 characters: moves inline, source was on the heap
    EXPECT_EQ(std::wstring(s.GetData()), Repeat(L'k', 50));

    CSkinString t(Repeat(L'm', 70).c_str());
    t.Append(t.GetData());
    EXPECT_EQ(std::wstring(t.GetData()), Repeat(L'm', 140));
    const CSkinString& alias = t;
    t = alias;
    EXPECT_EQ(t.GetLength(), 140);
}

TEST(SkinString, SubstringsClamp)
{
    const CSkinString abc(L"abc");
    EXPECT_TRUE(abc.Mid(5).IsEmpty());
    EXPECT_EQ(std::wstring(abc.Mid(1)), L"bc");
    EXPECT_EQ(std::wstring(abc.Mid(1, 10)), L"bc");
    EXPECT_TRUE(abc.Mid(1, 0).IsEmpty());
    EXPECT_EQ(std::wstring(abc.Mid(2, INT_MAX)), L"c");
    EXPECT_EQ(std::wstring(abc.Mid(-4, INT_MAX)), L"abc");
    EXPECT_TRUE(abc.Mid(INT_MAX, INT_MAX).IsEmpty());
    EXPECT_TRUE(abc.Left(-1).IsEmpty());
    EXPECT_EQ(std::wstring(abc.Left(2)), L"ab");
    EXPECT_EQ(std::wstring(abc.Left(10)), L"abc");
    EXPECT_EQ(std::wstring(abc.Right(10)), L"abc");
    EXPECT_EQ(std::wstring(abc.Right(1)), L"c");
    EXPECT_TRUE(abc.Right(-2).IsEmpty());
}

TEST(SkinString, FindBounds)
{
    const CSkinString s(L"abcabc");
    EXPECT_EQ(s.Find(L"bc"), 1);
    EXPECT_EQ(s.Find(L"bc", 2), 4);
    EXPECT_EQ(s.Find(L"bc", 6), -1) << "from the terminator";
    EXPECT_EQ(s.Find(L"", 7), -1) << "past the end is refused";
    EXPECT_EQ(s.Find(L"a", -1), -1);
    EXPECT_EQ(s.Find(L'c'), 2);
    EXPECT_EQ(s.Find(L'c', 5), 5);
    EXPECT_EQ(s.Find(L'c', 6), -1);
    EXPECT_EQ(CSkinString().Find(L'x'), -1);
    EXPECT_EQ(s.ReverseFind(L'a'), 3);
    EXPECT_EQ(s.ReverseFind(L'z'), -1);
}

TEST(SkinString, ReplaceResumesBehindTheInsertedText)
{
    CSkinString s(L"aaa");
    EXPECT_EQ(s.Replace(L"a", L"aa"), 3);
    EXPECT_EQ(std::wstring(s), L"aaaaaa");

    CSkinString path(L"Common\\img\\logo.png");
    EXPECT_EQ(path.Replace(L"\\", L"/"), 2);
    EXPECT_EQ(std::wstring(path), L"Common/img/logo.png");

    CSkinString none(L"abc");
    EXPECT_EQ(none.Replace(L"x", L"y"), 0);
    EXPECT_EQ(none.Replace(L"", L"y"), 0);
    EXPECT_EQ(none.Replace(L"b", L""), 1);
    EXPECT_EQ(std::wstring(none), L"ac");
}

TEST(SkinString, ReplaceTakesItsTextsFromTheStringItself)
{
    // A searched text taken from the string, whose block the first step reuses.
    std::wstring pairs;
    for (int i = 0; i < 35; ++i) {
        pairs += L"xy";
    }
    CSkinString shrunk(pairs.c_str());
    EXPECT_EQ(shrunk.Replace(shrunk.GetData() + 66, L"Z"), 17) << "replaces \"xyxy\"";
    EXPECT_EQ(std::wstring(shrunk), Repeat(L'Z', 17) + L"xy");

    // A replacement taken from the string itself, which the first step
    // rebuilds in a larger block.
    const std::wstring original = Repeat(L'a', 34) + L"b" + Repeat(L'a', 34) + L"b";
    CSkinString grown(original.c_str());
    EXPECT_EQ(grown.Replace(L"b", grown.GetData()), 2);
    EXPECT_EQ(std::wstring(grown), Repeat(L'a', 34) + original + Repeat(L'a', 34) + original);
}

TEST(SkinString, ComparisonAndCase)
{
    CSkinString s(L"Button");
    EXPECT_TRUE(s == L"Button");
    EXPECT_TRUE(s != L"button");
    EXPECT_EQ(s.CompareNoCase(L"BUTTON"), 0);
    EXPECT_TRUE(s < L"Buttons");
    EXPECT_TRUE(s <= L"Button");
    EXPECT_TRUE(s > L"Butto");
    EXPECT_TRUE(s >= L"A");
    s.MakeUpper();
    EXPECT_EQ(std::wstring(s), L"BUTTON");
    s.MakeLower();
    EXPECT_EQ(std::wstring(s), L"button");
}

TEST(SkinString, FormatHasNoLimitAndSmallFormatCutsAtSixtyThree)
{
    CSkinString s;
    const std::wstring long300 = Repeat(L'p', 300);
    EXPECT_EQ(s.Format(L"%ls-%d", long300.c_str(), 42), 303);
    EXPECT_EQ(std::wstring(s), long300 + L"-42");

    EXPECT_EQ(s.SmallFormat(L"%d%%", 20), 3);
    EXPECT_EQ(std::wstring(s), L"20%");

    const std::wstring long63 = Repeat(L'q', 63);
    EXPECT_EQ(s.SmallFormat(L"%ls", long63.c_str()), 63);
    EXPECT_EQ(std::wstring(s), long63);

    EXPECT_EQ(s.SmallFormat(L"%ls!", long63.c_str()), -1);
    EXPECT_EQ(std::wstring(s), long63) << "cut at 63 characters";
}

#ifdef _WIN32
TEST(SkinString, WindowsFormatTakesWideTextForPercentS)
{
    // Layout code formats with "%s" and wide arguments, as the Windows
    // run-time defines it for wide format strings.
    CSkinString s;
    EXPECT_EQ(s.Format(L"V%s", L"1.0.0.2"), 8);
    EXPECT_EQ(std::wstring(s), L"V1.0.0.2");
    EXPECT_EQ(s.SmallFormat(L"%s-%d", L"ab", 7), 4);
    EXPECT_EQ(std::wstring(s), L"ab-7");
}
#endif
