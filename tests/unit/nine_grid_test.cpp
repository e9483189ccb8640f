#include "nine_grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace SkinUI;

namespace {

struct Piece {
    RECT dest, source;
};

class Recorder : public ISkinBlitSink {
public:
    void Blit(const RECT& dest, const RECT& source) override { pieces.push_back({dest, source}); }
    std::vector<Piece> pieces;
};

std::string Text(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

SkinNineGrid Grid(RECT dest, RECT source, RECT corner)
{
    SkinNineGrid grid{};
    grid.dest = dest;
    grid.paint = RECT{-10000, -10000, 10000, 10000};
    grid.source = source;
    grid.corner = corner;
    return grid;
}

std::vector<Piece> Plan(const SkinNineGrid& grid, LONG width, LONG height)
{
    Recorder recorder;
    PlanNineGrid(grid, width, height, recorder);
    return recorder.pieces;
}

// Every piece lies in the destination and the image and is not empty.
void ExpectSound(const std::vector<Piece>& pieces, const SkinNineGrid& grid, LONG width, LONG height)
{
    for (const Piece& p : pieces) {
        EXPECT_LT(p.dest.left, p.dest.right);
        EXPECT_LT(p.dest.top, p.dest.bottom);
        EXPECT_GE(p.dest.left, grid.dest.left);
        EXPECT_LE(p.dest.right, grid.dest.right);
        EXPECT_GE(p.dest.top, grid.dest.top);
        EXPECT_LE(p.dest.bottom, grid.dest.bottom);
        EXPECT_LT(p.source.left, p.source.right);
        EXPECT_LT(p.source.top, p.source.bottom);
        EXPECT_GE(p.source.left, 0);
        EXPECT_GE(p.source.top, 0);
        EXPECT_LE(p.source.right, width);
        EXPECT_LE(p.source.bottom, height);
    }
}

} // namespace

TEST(NineGrid, StretchedPiecesInTableOrder)
{
    const auto pieces = Plan(Grid({0, 0, 200, 16}, {0, 0, 20, 8}, {5, 3, 5, 3}), 20, 8);
    const char* expected[][2] = {
        {"5,3,195,13", "5,3,15,5"},   {"0,0,5,3", "0,0,5,3"},      {"5,0,195,3", "5,0,15,3"},
        {"195,0,200,3", "15,0,20,3"}, {"0,3,5,13", "0,3,5,5"},     {"195,3,200,13", "15,3,20,5"},
        {"0,13,5,16", "0,5,5,8"},     {"5,13,195,16", "5,5,15,8"}, {"195,13,200,16", "15,5,20,8"},
    };
    ASSERT_EQ(pieces.size(), 9u);
    for (size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(Text(pieces[i].dest), expected[i][0]) << i;
        EXPECT_EQ(Text(pieces[i].source), expected[i][1]) << i;
    }
}

TEST(NineGrid, TiledMiddleIsCopiedOneToOneAndCutAtItsEdges)
{
    struct Case {
        LONG width;
        bool xtiled, ytiled;
        size_t tiles;
        const char* last;
        const char* lastSource;
    };
    const Case cases[] = {
        {200, true, true, 19 * 5, "185,11,195,13", "5,3,15,5"},
        {205, true, true, 20 * 5, "195,11,200,13", "5,3,10,5"},
        {205, true, false, 20, "195,3,200,13", "5,3,10,5"},
        {205, false, true, 5, "5,11,200,13", "5,3,15,5"},
    };
    for (const Case& c : cases) {
        SkinNineGrid grid = Grid({0, 0, c.width, 16}, {0, 0, 20, 8}, {5, 3, 5, 3});
        grid.xtiled = c.xtiled;
        grid.ytiled = c.ytiled;
        const auto pieces = Plan(grid, 20, 8);
        ASSERT_EQ(pieces.size(), c.tiles + 8) << c.width << c.xtiled << c.ytiled;
        const Piece& last = pieces[c.tiles - 1];
        EXPECT_EQ(Text(last.dest), c.last);
        EXPECT_EQ(Text(last.source), c.lastSource);
        EXPECT_EQ(Text(pieces[c.tiles].dest), "0,0,5,3") << "corners follow the middle";
        ExpectSound(pieces, grid, 20, 8);
    }
}

TEST(NineGrid, OnlyPiecesMeetingThePaintRectangle)
{
    SkinNineGrid grid = Grid({0, 0, 200, 16}, {0, 0, 20, 8}, {5, 3, 5, 3});
    grid.xtiled = grid.ytiled = true;
    grid.paint = RECT{100, 4, 121, 6};
    const auto pieces = Plan(grid, 20, 8);
    // Columns 9 to 11 of row 0 and 1 (rows are 2 high from y = 3).
    ASSERT_EQ(pieces.size(), 6u);
    EXPECT_EQ(Text(pieces[0].dest), "95,3,105,5");
    EXPECT_EQ(Text(pieces[5].dest), "115,5,125,7");

    grid.paint = RECT{0, 0, 0, 0};
    EXPECT_TRUE(Plan(grid, 20, 8).empty());
}

TEST(NineGrid, HoleAndSourceCutAtTheImage)
{
    SkinNineGrid grid = Grid({0, 0, 40, 40}, {10, 10, 50, 50}, {0, 0, 0, 0});
    auto pieces = Plan(grid, 30, 20);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(Text(pieces[0].source), "10,10,30,20");

    grid.source = RECT{-5, -5, 10, 10};
    pieces = Plan(grid, 30, 20);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(Text(pieces[0].source), "0,0,10,10") << "left and top are cut too";

    grid.source = RECT{40, 0, 50, 10};
    EXPECT_TRUE(Plan(grid, 30, 20).empty()) << "a source beside the image";

    grid = Grid({0, 0, 40, 40}, {0, 0, 30, 20}, {2, 2, 2, 2});
    grid.hole = true;
    pieces = Plan(grid, 30, 20);
    EXPECT_EQ(pieces.size(), 8u);
}

TEST(NineGrid, CornersLargerThanTheDestinationAreCutNeverReversed)
{
    const RECT dests[] = {{0, 0, 8, 4}, {0, 0, 4, 2}, {10, 10, 11, 11}};
    for (const RECT& dest : dests) {
        for (int tiled = 0; tiled < 2; ++tiled) {
            SkinNineGrid grid = Grid(dest, {0, 0, 20, 8}, {5, 3, 5, 3});
            grid.xtiled = grid.ytiled = tiled != 0;
            const auto pieces = Plan(grid, 20, 8);
            EXPECT_FALSE(pieces.empty());
            ExpectSound(pieces, grid, 20, 8);
        }
    }
    // Corners wider than the source, negative corners and a tile of no width.
    SkinNineGrid grid = Grid({0, 0, 100, 100}, {0, 0, 6, 6}, {4, -3, 4, 9});
    grid.xtiled = true;
    const auto pieces = Plan(grid, 6, 6);
    ExpectSound(pieces, grid, 6, 6);
    EXPECT_TRUE(Plan(Grid({0, 0, 0, 10}, {0, 0, 6, 6}, {}), 6, 6).empty());
}

TEST(NineGrid, OpaqueImageOfTheDestinationSizeCopiesOnlyThePaintedPart)
{
    SkinNineGrid grid = Grid({10, 10, 40, 40}, {30, 0, 60, 30}, {0, 0, 0, 0});
    grid.opaque = true;
    grid.paint = RECT{20, 0, 100, 25};
    const auto pieces = Plan(grid, 90, 30);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(Text(pieces[0].dest), "20,10,40,25");
    EXPECT_EQ(Text(pieces[0].source), "40,0,60,15");
}
