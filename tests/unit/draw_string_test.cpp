#include "draw_info.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;

namespace {

std::wstring Str(const CSkinString& s)
{
    return std::wstring(s.GetData());
}

std::string Rect(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

struct ParseCase {
    const wchar_t* draw;
    const wchar_t* modify;
    int scale;
    const wchar_t* image;
    const char* source;
    const char* corner;
    const char* dest;
};

} // namespace

TEST(DrawString, KeysPlaceAndCutTheImage)
{
    const ParseCase cases[] = {
        // The skin's own strings.
        {L"file='btn_sys_close.png' source='0,0,30,30'", nullptr, 100, L"btn_sys_close.png", "0,0,30,30", "0,0,0,0",
         "0,0,0,0"},
        {L"file='FullBackground.png' corner='5,3,5,3'", nullptr, 100, L"FullBackground.png", "0,0,0,0", "5,3,5,3",
         "0,0,0,0"},
        {L"logo.png", nullptr, 100, L"logo.png", "0,0,0,0", "0,0,0,0", "0,0,0,0"},
        // The modify string's keys override; "res" names the image too.
        {L"file='a.png' source='1,2,3,4'", L"source='5,6,7,8' dest='1,1,9,9'", 100, L"a.png", "5,6,7,8", "0,0,0,0",
         "1,1,9,9"},
        {L"res='b.png'", nullptr, 100, L"b.png", "0,0,0,0", "0,0,0,0", "0,0,0,0"},
        // Blanks around '=' are allowed; an empty value changes nothing.
        {L"  file = 'c.png'  source=''  corner='1,1,1,1'", nullptr, 100, L"c.png", "0,0,0,0", "1,1,1,1", "0,0,0,0"},
        // Keys compare case-sensitively; unknown keys are ignored.
        {L"file='d.png' SOURCE='1,1,2,2' colour='red' corner='2,2,2,2'", nullptr, 100, L"d.png", "0,0,0,0", "2,2,2,2",
         "0,0,0,0"},
        // A missing quote, a missing '=' or a character glued to the closing
        // quote ends the scan, keeping what came before.
        {L"file='e.png' source='1,1,2,2", nullptr, 100, L"e.png", "0,0,0,0", "0,0,0,0", "0,0,0,0"},
        {L"file='f.png' source '1,1,2,2'", nullptr, 100, L"f.png", "0,0,0,0", "0,0,0,0", "0,0,0,0"},
        {L"file='g.png'source='1,1,2,2'", nullptr, 100, L"g.png", "0,0,0,0", "0,0,0,0", "0,0,0,0"},
        {L"file=g.png", nullptr, 100, L"file=g.png", "0,0,0,0", "0,0,0,0", "0,0,0,0"},
        // At 150 % numbers scale and the extension's dot gets "@150".
        {L"file='btn_sys_close.png' source='0,0,30,30'", nullptr, 150, L"btn_sys_close@150.png", "0,0,45,45", "0,0,0,0",
         "0,0,0,0"},
        {L"file='skin.v2\\logo.main.png' corner='5,3,5,3' dest='1,1,3,3'", nullptr, 150, L"skin.v2\\logo.main@150.png",
         "0,0,0,0", "8,5,8,5", "2,2,5,5"},
        {L"file='skin.v2/noext'", nullptr, 200, L"skin.v2/noext", "0,0,0,0", "0,0,0,0", "0,0,0,0"},
    };
    for (const ParseCase& c : cases) {
        tagTDrawInfo info;
        info.Parse(c.draw, c.modify, c.scale);
        EXPECT_EQ(Str(info.sDrawString), c.draw);
        EXPECT_EQ(Str(info.sImageName), c.image) << c.draw;
        EXPECT_EQ(Rect(info.rcSource), c.source) << c.draw;
        EXPECT_EQ(Rect(info.rcCorner), c.corner) << c.draw;
        EXPECT_EQ(Rect(info.rcDest), c.dest) << c.draw;
    }
}

TEST(DrawString, FlagsMaskFadeAndIcons)
{
    tagTDrawInfo info;
    info.Parse(L"file='x.png' mask='#FFFF00FF' fade='128' hole='TRUE' xtiled='true' ytiled='yes' hsl='true' "
               L"restype='PNG' iconsize='16,12' iconalign='left'",
               L"fade='300'", 100);
    EXPECT_EQ(info.dwMask, 0xFFFF00FFu);
    EXPECT_EQ(info.uFade, 255) << "out of range clamps";
    EXPECT_TRUE(info.bHole);
    EXPECT_TRUE(info.bTiledX);
    EXPECT_FALSE(info.bTiledY);
    EXPECT_TRUE(info.bHSL);
    EXPECT_EQ(Str(info.sResType), L"PNG");
    EXPECT_EQ(info.szIcon.cx, 16);
    EXPECT_EQ(info.szIcon.cy, 12);
    EXPECT_EQ(Str(info.sIconAlign), L"left");
    EXPECT_EQ(Str(info.sDrawModify), L"fade='300'");

    // Parsing again starts from the defaults.
    info.Parse(L"file='y.png' fade='128'", nullptr);
    EXPECT_EQ(info.uFade, 128);
    EXPECT_EQ(info.dwMask, 0u);
    EXPECT_FALSE(info.bHole);
    EXPECT_TRUE(info.sResType.IsEmpty());
    EXPECT_TRUE(info.sDrawModify.IsEmpty());
}
