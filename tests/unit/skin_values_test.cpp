#include "exact_text.h"
#include "skin_values.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;

namespace {

struct RectCase {
    const wchar_t* text;
    RECT expected;
};

} // namespace

TEST(SkinValues, RectanglesTakeAnySingleSeparatorAndStopAtTheEnd)
{
    const RectCase cases[] = {
        {L"5,3,5,3", {5, 3, 5, 3}},
        {L"0 0 30 30", {0, 0, 30, 30}},
        {L"-1;2|-3x4", {-1, 2, -3, 4}},
        {L"1,2,3", {1, 2, 3, 0}},
        {L"7", {7, 0, 0, 0}},
        {L"", {0, 0, 0, 0}},
        {L"1,,3,4", {1, 0, 3, 4}},
        {L"1, 2, 3, 4", {1, 2, 3, 4}},
        {L"9,", {9, 0, 0, 0}},
        {L"99999999999,1", {2147483647, 1, 0, 0}},
        {L"-99999999999", {-2147483647 - 1, 0, 0, 0}},
    };
    for (const RectCase& c : cases) {
        const auto text = Exact(c.text);
        const RECT rc = ReadSkinRect(text.get());
        EXPECT_EQ(rc.left, c.expected.left) << c.text;
        EXPECT_EQ(rc.top, c.expected.top) << c.text;
        EXPECT_EQ(rc.right, c.expected.right) << c.text;
        EXPECT_EQ(rc.bottom, c.expected.bottom) << c.text;
    }
    const SIZE size = ReadSkinSize(Exact(L"16,24").get());
    EXPECT_EQ(size.cx, 16);
    EXPECT_EQ(size.cy, 24);
    EXPECT_EQ(ReadSkinRect(nullptr).left, 0);
}

TEST(SkinValues, IntegersStopWhereWcstolWould)
{
    const wchar_t* end = nullptr;
    const wchar_t text[] = L"  -42px";
    EXPECT_EQ(ReadSkinInt(text, &end), -42);
    EXPECT_EQ(end, text + 5);
    EXPECT_EQ(ReadSkinInt(L"px", &end), 0);
    EXPECT_EQ(ReadSkinInt(L"+7"), 7);
}

TEST(SkinValues, ColoursAreHexadecimalWithAnOptionalHash)
{
    EXPECT_EQ(ReadSkinColor(L"#FF3A4642"), 0xFF3A4642u);
    EXPECT_EQ(ReadSkinColor(L" \t#ff6299fe"), 0xFF6299FEu);
    EXPECT_EQ(ReadSkinColor(L"FFFFFF"), 0x00FFFFFFu);
    EXPECT_EQ(ReadSkinColor(L"0x80FF0000"), 0x80FF0000u);
    EXPECT_EQ(ReadSkinColor(L"#123456789"), 0xFFFFFFFFu) << "saturates";
    EXPECT_EQ(ReadSkinColor(L"#-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadSkinColor(L"#zz"), 0u);
    EXPECT_EQ(ReadSkinColor(nullptr), 0u);
}

TEST(SkinValues, BooleansAndMulDiv)
{
    EXPECT_TRUE(IsSkinTrue(L"TRUE"));
    EXPECT_FALSE(IsSkinTrue(L"true "));
    EXPECT_FALSE(IsSkinTrue(L"1"));
    EXPECT_FALSE(IsSkinTrue(nullptr));

    EXPECT_EQ(SkinMulDiv(144, 100, 96), 150);
    EXPECT_EQ(SkinMulDiv(10, 150, 100), 15);
    EXPECT_EQ(SkinMulDiv(3, 1, 2), 2) << "half rounds away from zero";
    EXPECT_EQ(SkinMulDiv(-3, 1, 2), -2);
    EXPECT_EQ(SkinMulDiv(3, 1, -2), -2);
    EXPECT_EQ(SkinMulDiv(1, 1, 0), -1);
    EXPECT_EQ(SkinMulDiv(2147483647, 150, 100), -1) << "overflow";
}
