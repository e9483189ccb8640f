#include "linear_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

using Box = std::array<LONG, 4>;

Box Of(const RECT& rc)
{
    return Box{rc.left, rc.top, rc.right, rc.bottom};
}

constexpr Box kNotPlaced{-1, -1, -1, -1};
constexpr Box kFloated{-2, -2, -2, -2};

struct FakeChild {
    SIZE fixed{};
    RECT padding{};
    SIZE minSize{0, 0};
    SIZE maxSize{9999, 9999};
    // What the child estimates; its fixed size when not given.
    std::optional<SIZE> estimate;
    bool visible = true;
    bool floating = false;
};

FakeChild Fixed(LONG width, LONG height, RECT padding = {})
{
    FakeChild child;
    child.fixed = SIZE{width, height};
    child.padding = padding;
    return child;
}

FakeChild Stretch(RECT padding = {})
{
    return Fixed(0, 0, padding);
}

// Records where each child was put and how often it was asked for its size.
class FakeChildren final : public ILayoutChildren {
public:
    explicit FakeChildren(std::vector<FakeChild> children)
        : m_children(std::move(children)), placed(m_children.size(), kNotPlaced), estimates(m_children.size(), 0)
    {
    }

    int GetCount() const override { return static_cast<int>(m_children.size()); }
    bool GetChild(int index, tagTLayoutChild& child) override
    {
        const FakeChild& fake = m_children[static_cast<size_t>(index)];
        child = tagTLayoutChild{fake.floating, fake.padding, fake.fixed, fake.minSize, fake.maxSize};
        return fake.visible;
    }
    SIZE EstimateSize(int index, SIZE available) override
    {
        ++estimates[static_cast<size_t>(index)];
        lastAvailable = available;
        const FakeChild& fake = m_children[static_cast<size_t>(index)];
        return fake.estimate ? *fake.estimate : fake.fixed;
    }
    void SetPos(int index, const RECT& rc) override { placed[static_cast<size_t>(index)] = Of(rc); }
    void SetFloatPos(int index) override { placed[static_cast<size_t>(index)] = kFloated; }

private:
    std::vector<FakeChild> m_children;

public:
    std::vector<Box> placed;
    std::vector<int> estimates;
    SIZE lastAvailable{};
};

struct LayoutCase {
    const char* what;
    bool row;
    tagTLinearLayout layout;
    std::vector<FakeChild> children;
    std::vector<Box> expected;
};

tagTLinearLayout Area(LONG left, LONG top, LONG right, LONG bottom, int childPadding = 0, unsigned align = 0,
                      unsigned valign = 0)
{
    return tagTLinearLayout{RECT{left, top, right, bottom}, childPadding, align, valign};
}

FakeChild Hidden(FakeChild child)
{
    child.visible = false;
    return child;
}

FakeChild Floating(FakeChild child)
{
    child.floating = true;
    return child;
}

FakeChild WithMax(FakeChild child, LONG cx, LONG cy)
{
    child.maxSize = SIZE{cx, cy};
    return child;
}

FakeChild WithMin(FakeChild child, LONG cx, LONG cy)
{
    child.minSize = SIZE{cx, cy};
    return child;
}

FakeChild Estimating(FakeChild child, LONG cx, LONG cy)
{
    child.estimate = SIZE{cx, cy};
    return child;
}

} // namespace

TEST(LinearLayout, DistributesAsSpecified)
{
    const LayoutCase cases[] = {
        {"update window's root column: only the empty row stretches",
         false,
         Area(0, 0, 380, 240),
         {Fixed(0, 32), Fixed(0, 97, {30, 47, 0, 0}), Stretch(), Fixed(0, 36), Fixed(0, 8)},
         {{0, 0, 380, 32}, {30, 79, 380, 176}, {0, 176, 380, 196}, {0, 196, 380, 232}, {0, 232, 380, 240}}},
        {"title row: label with padding, stretch, fixed-width box",
         true,
         Area(0, 0, 380, 32),
         {Fixed(160, 24, {10, 5, 0, 0}), Stretch(), Fixed(64, 0)},
         {{10, 5, 170, 29}, {170, 0, 316, 32}, {316, 0, 380, 32}}},
        {"two stretching children share 101 as 50 and 51",
         false,
         Area(0, 0, 10, 101),
         {Stretch(), Stretch()},
         {{0, 0, 10, 50}, {0, 50, 10, 101}}},
        {"a capped stretching child gives its pixels to a later one",
         false,
         Area(0, 0, 10, 100),
         {WithMax(Stretch(), 9999, 20), Stretch()},
         {{0, 0, 10, 20}, {0, 20, 10, 100}}},
        {"but not to an earlier one",
         false,
         Area(0, 0, 10, 100),
         {Stretch(), WithMax(Stretch(), 9999, 20)},
         {{0, 0, 10, 50}, {0, 50, 10, 70}}},
        {"fixed children that overflow leave nothing to stretch",
         false,
         Area(0, 0, 10, 100),
         {Fixed(0, 80), Stretch(), Fixed(0, 50)},
         {{0, 0, 10, 80}, {0, 80, 10, 80}, {0, 80, 10, 130}}},
        {"child padding between placed children only",
         false,
         Area(0, 0, 10, 100, 5),
         {Fixed(0, 10), Hidden(Fixed(0, 10)), Fixed(0, 10), Stretch()},
         {{0, 0, 10, 10}, kNotPlaced, {0, 15, 10, 25}, {0, 30, 10, 100}}},
        {"floating children are placed apart and take no room",
         false,
         Area(0, 0, 10, 100),
         {Floating(Fixed(5, 5)), Fixed(0, 10)},
         {kFloated, {0, 0, 10, 10}}},
        {"minimum and maximum heights clamp fixed heights",
         false,
         Area(0, 0, 10, 100),
         {WithMin(Fixed(0, 10), 0, 15), WithMax(Estimating(Stretch(), 0, 40), 9999, 30)},
         {{0, 0, 10, 15}, {0, 15, 10, 45}}},
        {"widths: estimated, else the full width, within the minimum",
         false,
         Area(0, 0, 100, 100),
         {Fixed(40, 10), Fixed(0, 10, {5, 0, 7, 0}), WithMin(Fixed(0, 10), 150, 0), Fixed(200, 10)},
         {{0, 0, 40, 10}, {5, 10, 93, 20}, {0, 20, 150, 30}, {0, 30, 100, 40}}},
        {"column, children centred across",
         false,
         Area(0, 0, 100, 100, 0, 1),
         {Fixed(40, 10), Fixed(41, 10)},
         {{30, 0, 70, 10}, {30, 10, 71, 20}}},
        {"column, children right-aligned across, with right padding",
         false,
         Area(0, 0, 100, 100, 0, 2),
         {Fixed(40, 10, {0, 0, 5, 0})},
         {{55, 0, 95, 10}}},
        {"column block centred when nothing stretches",
         false,
         Area(0, 0, 10, 100, 0, 0, 4),
         {Fixed(0, 20), Fixed(0, 11)},
         {{0, 34, 10, 54}, {0, 54, 10, 65}}},
        {"column block at the bottom", false, Area(0, 0, 10, 100, 0, 0, 8), {Fixed(0, 20)}, {{0, 80, 10, 100}}},
        {"vertical alignment does not move a block that stretches",
         false,
         Area(0, 0, 10, 100, 0, 0, 8),
         {Fixed(0, 20), WithMax(Stretch(), 9999, 10)},
         {{0, 0, 10, 20}, {0, 20, 10, 30}}},
        {"row children fill the height whatever they estimate",
         true,
         Area(0, 0, 100, 32),
         {Estimating(Fixed(30, 0, {0, 3, 0, 4}), 30, 10), WithMax(Fixed(30, 0), 9999, 12)},
         {{0, 3, 30, 28}, {30, 0, 60, 12}}},
        {"row block centred, children centred down",
         true,
         Area(0, 0, 100, 30, 0, 1, 4),
         {Fixed(20, 10), Fixed(21, 11)},
         {{29, 10, 49, 20}, {49, 10, 70, 21}}},
        {"row block at the right, children at the bottom",
         true,
         Area(0, 0, 100, 30, 0, 2, 8),
         {Fixed(20, 10, {0, 0, 0, 2})},
         {{80, 18, 100, 28}}},
        {"row with child padding and inset-shrunk area",
         true,
         Area(4, 2, 104, 32, 6),
         {Fixed(20, 0), Stretch(), Stretch()},
         {{4, 2, 24, 32}, {30, 2, 64, 32}, {70, 2, 104, 32}}},
    };
    for (const LayoutCase& c : cases) {
        FakeChildren children(c.children);
        if (c.row) {
            LayOutRow(c.layout, children);
        } else {
            LayOutColumn(c.layout, children);
        }
        EXPECT_EQ(children.placed, c.expected) << c.what;
    }
}

TEST(LinearLayout, EstimatesEachPlacedChildTwice)
{
    FakeChildren children({Fixed(0, 10), Hidden(Fixed(0, 10)), Floating(Fixed(0, 10)), Stretch()});
    LayOutColumn(Area(0, 0, 10, 100), children);
    EXPECT_EQ(children.estimates, (std::vector<int>{2, 0, 0, 2}));
}

TEST(LinearLayout, AvailableSizeIsLimitedByFixedOrMaximumSize)
{
    FakeChildren column({WithMax(Stretch({3, 0, 2, 0}), 50, 9999)});
    LayOutColumn(Area(0, 0, 100, 80), column);
    EXPECT_EQ(column.lastAvailable.cx, 50);
    EXPECT_EQ(column.lastAvailable.cy, 80);
    FakeChildren row({Fixed(0, 20, {0, 3, 0, 2})});
    LayOutRow(Area(0, 0, 100, 80), row);
    EXPECT_EQ(row.lastAvailable.cx, 100);
    EXPECT_EQ(row.lastAvailable.cy, 20);
}

TEST(LinearLayout, ReturnsTheSizeTheChildrenNeed)
{
    FakeChildren children({Fixed(40, 10, {1, 2, 3, 4}), Fixed(70, 20), Stretch()});
    const SIZE needed = LayOutColumn(Area(0, 0, 50, 100, 5), children);
    EXPECT_EQ(needed.cx, 70);
    EXPECT_EQ(needed.cy, 16 + 20 + 54 + 2 * 5);
    FakeChildren none({});
    const SIZE empty = LayOutRow(Area(0, 0, 50, 100, 5), none);
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, 0);
}

TEST(LinearLayout, HugeLengthsSaturate)
{
    FakeChildren children({Fixed(0, 2147483647, {0, 2147483647, 0, 0}), Stretch()});
    LayOutColumn(Area(0, 0, 10, 100), children);
    EXPECT_EQ(children.placed[0], (Box{0, 2147483647, 10, 2147483647}));
    // Two paddings that only together pass 32 bits, along the column and the row.
    FakeChildren column({Fixed(0, 10, {0, 2000000000, 0, 2000000000}), Stretch()});
    LayOutColumn(Area(0, 0, 10, 100), column);
    EXPECT_EQ(column.placed[0], (Box{0, 2000000000, 10, 2000000010}));
    FakeChildren row({Fixed(10, 0, {2000000000, 0, 2000000000, 0}), Stretch()});
    LayOutRow(Area(0, 0, 100, 10), row);
    EXPECT_EQ(row.placed[0], (Box{2000000000, 0, 2000000010, 10}));
}

TEST(FloatPlacement, AlignOrPercents)
{
    const RECT container{100, 50, 300, 150};
    const tagTPercentInfo none{};
    const struct {
        unsigned align;
        SIZE xy;
        tagTPercentInfo percent;
        Box expected;
    } cases[] = {
        {0, {20, 30}, none, {120, 80, 141, 111}},
        {FloatAlignCenter | FloatAlignVCenter, {20, 30}, none, {189, 84, 210, 115}},
        {FloatAlignRight | FloatAlignBottom, {20, 30}, none, {279, 119, 300, 150}},
        {FloatAlignRight | FloatAlignCenter, {20, 30}, none, {189, 80, 210, 111}},
        {FloatAlignBottom, {20, 30}, none, {120, 119, 141, 150}},
        {0, {0, 0}, {0.5, 0.25, 1.0, 0.5}, {200, 75, 321, 131}},
        {0, {0, 0}, {0.333, 0, 0, 0}, {166, 50, 121, 81}},
        {0, {0, 0}, {-0.333, 0, 0, 0}, {34, 50, 121, 81}},
        {0, {0, 0}, {std::nan(""), std::numeric_limits<double>::infinity(), 0, 0}, {100, 2147483647, 121, 81}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Of(FloatChildRect(container, c.xy, SIZE{21, 31}, c.align, c.percent)), c.expected) << c.align;
    }
}

TEST(FloatPlacement, StackedChildrenFillTheClientWithinTheirLimits)
{
    const RECT client{10, 20, 110, 70};
    EXPECT_EQ(Of(StackedChildRect(client, SIZE{0, 0}, SIZE{9999, 9999})), (Box{10, 20, 110, 70}));
    EXPECT_EQ(Of(StackedChildRect(client, SIZE{150, 0}, SIZE{9999, 30})), (Box{10, 20, 160, 50}));
}

TEST(SeparatorDrag, EdgeFollowsTheMouseWithinLimits)
{
    const struct {
        const char* what;
        int size;
        LONG last, now;
        LONG minExtent, maxExtent;
        bool moved;
        LONG lead, trail;
    } cases[] = {
        {"bottom edge down from inside the thumb", 4, 98, 103, 0, 9999, true, 0, 105},
        {"bottom edge up", 4, 98, 90, 0, 9999, true, 0, 92},
        {"down while the mouse is above the thumb", 4, 90, 95, 0, 9999, false, 0, 100},
        {"up while the mouse is below the edge", 4, 110, 105, 0, 9999, false, 0, 100},
        {"down to the maximum", 4, 98, 130, 0, 120, true, 0, 120},
        {"up to the minimum", 4, 98, 10, 50, 9999, true, 0, 50},
        {"top edge up", -4, 2, -8, 0, 9999, true, -10, 100},
        {"top edge down", -4, 2, 12, 0, 9999, true, 10, 100},
        {"top edge down while the mouse is above it", -4, -10, -5, 0, 9999, false, 0, 100},
        {"top edge up while the mouse is below the thumb", -4, 20, 10, 0, 9999, false, 0, 100},
        {"top edge down to the minimum", -4, 2, 90, 40, 9999, true, 60, 100},
    };
    for (const auto& c : cases) {
        LONG lead = 0, trail = 100;
        EXPECT_EQ(DragSeparatorEdge(lead, trail, c.size, c.last, c.now, c.minExtent, c.maxExtent), c.moved) << c.what;
        EXPECT_EQ(lead, c.lead) << c.what;
        EXPECT_EQ(trail, c.trail) << c.what;
    }
    // At a limit already, a move beyond it is dropped.
    LONG lead = 0, trail = 50;
    EXPECT_FALSE(DragSeparatorEdge(lead, trail, 4, 48, 30, 50, 9999));
    EXPECT_EQ(trail, 50);
}
