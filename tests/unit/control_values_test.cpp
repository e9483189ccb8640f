#include "control_values.h"
#include "skin_values.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace SkinUI;

TEST(ControlValues, PosGivesFixedXYAndSize)
{
    const struct {
        const wchar_t* text;
        LONG x, y, width, height;
    } cases[] = {
        {L"-1,-1,20,30", 20, 30, 21, 31},
        {L"10,5,170,29", 10, 5, 160, 24},
        {L"30,0,10,40", 30, 0, -20, 40},
        {L"5", 5, 0, -5, 0},
        {L"-2147483648,0,2147483647,0", 2147483647, 0, 2147483647, 0},
    };
    for (const auto& c : cases) {
        const tagTSkinPos pos = ReadSkinPos(c.text);
        EXPECT_EQ(pos.fixedXY.cx, c.x) << c.text;
        EXPECT_EQ(pos.fixedXY.cy, c.y) << c.text;
        EXPECT_EQ(pos.width, c.width) << c.text;
        EXPECT_EQ(pos.height, c.height) << c.text;
    }
}

TEST(ControlValues, PercentsAreFourDecimals)
{
    const tagTPercentInfo percent = ReadSkinPercent(L"0.5,0.25,1,0.75");
    EXPECT_DOUBLE_EQ(percent.left, 0.5);
    EXPECT_DOUBLE_EQ(percent.top, 0.25);
    EXPECT_DOUBLE_EQ(percent.right, 1.0);
    EXPECT_DOUBLE_EQ(percent.bottom, 0.75);
    const tagTPercentInfo shorter = ReadSkinPercent(L"0.1,");
    EXPECT_DOUBLE_EQ(shorter.left, 0.1);
    EXPECT_DOUBLE_EQ(shorter.top, 0.0);
    EXPECT_DOUBLE_EQ(ReadSkinPercent(nullptr).bottom, 0.0);
}

TEST(ControlValues, FloatAlignWordsChangeBitsInTurn)
{
    const struct {
        unsigned current;
        const wchar_t* words;
        unsigned expected;
    } cases[] = {
        {0, L"center,vcenter", 0x5}, {0, L"right bottom", 0xA}, {0x5, L"left", 0x4},     {0x5, L"top", 0x1},
        {0xF, L"null", 0x0},         {0xF, L"null,right", 0x2}, {0x1, L"right", 0x2},    {0x2, L"center", 0x1},
        {0x8, L"vcenter", 0x4},      {0x4, L"bottom", 0x8},     {0x3, L"middle,,", 0x3}, {0, L"Center", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadFloatAlign(c.current, c.words), c.expected) << c.words;
    }
}

TEST(ControlValues, CursorWordsNameSystemCursors)
{
    EXPECT_EQ(ReadSkinCursor(L"arrow"), 32512);
    EXPECT_EQ(ReadSkinCursor(L"hand"), 32649);
    EXPECT_EQ(ReadSkinCursor(L"sizens"), 32645);
    EXPECT_EQ(ReadSkinCursor(L"no"), 32648);
    EXPECT_EQ(ReadSkinCursor(L"pointer"), 0);
    EXPECT_EQ(ReadSkinCursor(nullptr), 0);
}

TEST(ControlValues, ChildAlignWordsAreCaseSensitive)
{
    const struct {
        bool (*read)(const wchar_t*, unsigned&);
        const wchar_t* word;
        bool known;
        unsigned expected;
    } cases[] = {
        {ReadChildAlign, L"left", true, 0},     {ReadChildAlign, L"center", true, 1},
        {ReadChildAlign, L"right", true, 2},    {ReadChildAlign, L"Left", false, 7},
        {ReadChildAlign, nullptr, false, 7},    {ReadChildVAlign, L"top", true, 0},
        {ReadChildVAlign, L"vcenter", true, 4}, {ReadChildVAlign, L"bottom", true, 8},
        {ReadChildVAlign, L"middle", false, 7},
    };
    for (const auto& c : cases) {
        unsigned align = 7;
        EXPECT_EQ(c.read(c.word, align), c.known) << (c.word ? c.word : L"null");
        EXPECT_EQ(align, c.expected) << (c.word ? c.word : L"null");
    }
}

TEST(ControlValues, TextAlignmentWordsSetStyleBits)
{
    EXPECT_EQ(ReadTextAlign(0x24, L"right"), 0x26u);
    EXPECT_EQ(ReadTextAlign(0x24, L"left right"), 0x26u) << "the later word wins";
    EXPECT_EQ(ReadTextAlign(0x25, L"left"), 0x24u);
    EXPECT_EQ(ReadTextAlign(0x26, L"center"), 0x25u);
    EXPECT_EQ(ReadTextAlign(0x25, L"Right"), 0x25u);
    EXPECT_EQ(ReadTextVAlign(0x24, L"top"), 0x20u);
    EXPECT_EQ(ReadTextVAlign(0x20, L"bottom"), 0x28u);
    // A word break (0x2010 without single line) gives way to a vertical alignment.
    EXPECT_EQ(ReadTextVAlign(0x2010, L"vcenter"), 0x2024u);
}

TEST(ControlValues, BorderColoursSkipNoBlanks)
{
    EXPECT_EQ(ReadSkinColor(L"  #ff6299fe"), 0xFF6299FEu);
    EXPECT_EQ(ReadSkinHashColor(L" #ff6299fe"), 0u);
    EXPECT_EQ(ReadSkinHashColor(L"#FF3A4642"), 0xFF3A4642u);
    EXPECT_EQ(ReadSkinHashColor(L"80FF0000"), 0x80FF0000u);
    EXPECT_EQ(ReadSkinHashColor(nullptr), 0u);
}
