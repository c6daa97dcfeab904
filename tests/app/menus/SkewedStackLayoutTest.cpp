#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/menus/SkewedStackLayout.h"

namespace {

using GeometryLib::FPoint;

// Items of width 100 and the given heights, growing threefold when expanded.
std::vector<SkewedStackItem> stack(const std::vector<float>& heights) {
    std::vector<SkewedStackItem> items;
    for (float h : heights) items.push_back(SkewedStackItem{{0, 0}, {100, h}, 3.0f, false});
    return items;
}

void expectPositions(const std::vector<SkewedStackItem>& items, const std::vector<FPoint>& expected,
                     const std::string& where) {
    ASSERT_EQ(items.size(), expected.size()) << where;
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_FLOAT_EQ(items[i].position.x, expected[i].x) << where << " item " << i;
        EXPECT_FLOAT_EQ(items[i].position.y, expected[i].y) << where << " item " << i;
    }
}

std::vector<bool> expandedFlags(const std::vector<SkewedStackItem>& items) {
    std::vector<bool> flags;
    for (const SkewedStackItem& item : items) flags.push_back(item.expanded);
    return flags;
}

TEST(SkewedStackLayout, EffectiveSizeGrowsOnlyWhileExpanded) {
    SkewedStackItem item{{0, 0}, {100, 50}, 3.0f, false};
    EXPECT_EQ(SkewedStackLayout::effectiveSize(item), FPoint(100, 50));
    item.expanded = true;
    EXPECT_EQ(SkewedStackLayout::effectiveSize(item), FPoint(300, 150));
}

// The initial stack: item 0 in front, the others below it with the gap
// between their boxes (an item already marked expanded counts at its grown
// height), each one step further left.
TEST(SkewedStackLayout, LayoutStacksDownwardsFromTheFirstItem) {
    struct Case {
        std::string name;
        std::vector<float> heights;
        int expandedBefore;  // -1: none
        std::vector<FPoint> positions;
    };
    const std::vector<Case> cases = {
        {"one item", {50}, -1, {{0, 0}}},
        {"three alike", {50, 50, 50}, -1, {{0, 0}, {-300, -200}, {-600, -400}}},
        {"first marked expanded", {50, 50, 50}, 0, {{0, 0}, {-300, -250}, {-600, -450}}},
        {"mixed heights", {50, 100, 20}, -1, {{0, 0}, {-300, -225}, {-600, -435}}},
    };
    for (const Case& c : cases) {
        std::vector<SkewedStackItem> items = stack(c.heights);
        if (c.expandedBefore >= 0) items[c.expandedBefore].expanded = true;
        SkewedStackLayout layout;
        layout.selectedIndex = 7;
        layout.layout(items);
        expectPositions(items, c.positions, c.name);
        EXPECT_EQ(layout.selectedIndex, 0u) << c.name;
        EXPECT_EQ(items[0].expanded, c.expandedBefore == 0) << c.name << ": flags are left alone";
    }
    std::vector<SkewedStackItem> none;
    SkewedStackLayout layout;
    layout.layout(none);  // nothing to lay out
    EXPECT_EQ(layout.items, &none);
}

// Bringing an item to the front: it stands at (0, 0) with the flag given, the
// others stack above and below it collapsed, one step left per place.
TEST(SkewedStackLayout, SetItemExpandedStacksAroundTheFrontItem) {
    struct Case {
        std::string name;
        std::vector<float> heights;
        int index;
        bool expanded;
        std::vector<FPoint> positions;
        std::vector<bool> flags;
        unsigned selected;
    };
    const std::vector<Case> cases = {
        {"middle expanded",
         {50, 50, 50},
         1,
         true,
         {{-300, 250}, {0, 0}, {-300, -250}},
         {false, true, false},
         1},
        {"last expanded", {50, 50, 50}, 2, true, {{-600, 450}, {-300, 250}, {0, 0}}, {false, false, true}, 2},
        {"first collapsed",
         {50, 50, 50},
         0,
         false,
         {{0, 0}, {-300, -200}, {-600, -400}},
         {false, false, false},
         0},
        {"mixed heights",
         {50, 100, 20},
         1,
         true,
         {{-300, 325}, {0, 0}, {-300, -310}},
         {false, true, false},
         1},
        {"five, fourth in front",
         {50, 50, 50, 50, 50},
         3,
         true,
         {{-900, 650}, {-600, 450}, {-300, 250}, {0, 0}, {-300, -250}},
         {false, false, false, true, false},
         3},
        {"only item", {50}, 0, true, {{0, 0}}, {true}, 0},
    };
    for (const Case& c : cases) {
        std::vector<SkewedStackItem> items = stack(c.heights);
        SkewedStackLayout layout;
        layout.layout(items);
        items.back().expanded = true;  // a stale flag that the call clears (unless it is the front)
        layout.setItemExpanded(c.index, c.expanded);
        expectPositions(items, c.positions, c.name);
        EXPECT_EQ(expandedFlags(items), c.flags) << c.name;
        EXPECT_EQ(layout.selectedIndex, c.selected) << c.name;
    }
}

TEST(SkewedStackLayout, AnIndexOutsideTheListChangesNothing) {
    std::vector<SkewedStackItem> items = stack({50, 50, 50});
    SkewedStackLayout layout;
    layout.layout(items);
    layout.setItemExpanded(1, true);
    const std::vector<SkewedStackItem> before = items;
    // 3 is past the end; a stored u32 of 2^31 or more reads as negative.
    for (int index : {3, 5, -1, static_cast<int>(0x80000000u), static_cast<int>(0xFFFFFFFFu)}) {
        layout.setItemExpanded(index, true);
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(items[i].position, before[i].position) << index;
        EXPECT_EQ(expandedFlags(items), expandedFlags(before)) << index;
        EXPECT_EQ(layout.selectedIndex, 1u) << index;
    }
    // A layout that was never given a list, or an empty one, has nothing to move.
    SkewedStackLayout empty;
    empty.setItemExpanded(0, true);
    empty.scrollBy(100);
    std::vector<SkewedStackItem> none;
    empty.layout(none);
    empty.setItemExpanded(0, true);
    empty.scrollBy(-100);
    EXPECT_EQ(empty.selectedIndex, 0u);
}

// Dragging three collapsed items (heights 50, from y 0, -200, -400): the stack
// moves by the delta unless the first item would sink below the front line or
// the last rise above it; every item slides along x = -|y| / slopeDivisor, and
// the item nearest the line (the lower index on a tie) is remembered.
TEST(SkewedStackLayout, ScrollByClampsAtTheEndsAndFollowsTheSlope) {
    struct Case {
        std::string name;
        std::vector<float> deltas;
        float slopeDivisor;
        std::vector<FPoint> positions;
        unsigned nearest;
    };
    const std::vector<Case> cases = {
        {"up a little", {100}, 1, {{-100, 100}, {-100, -100}, {-300, -300}}, 0},
        {"down at the top", {-50}, 1, {{0, 0}, {-300, -200}, {-600, -400}}, 9},
        {"far up stops at the last", {1000}, 1, {{-400, 400}, {-200, 200}, {0, 0}}, 2},
        {"repeated steps", {150, 150}, 1, {{-300, 300}, {-100, 100}, {-100, -100}}, 1},
        {"up then back down past the top", {300, -1000}, 1, {{0, 0}, {-200, -200}, {-400, -400}}, 0},
        {"flatter slope", {100}, 2, {{-50, 100}, {-50, -100}, {-150, -300}}, 0},
        {"no slope: only y moves", {100}, 0, {{0, 100}, {-300, -100}, {-600, -300}}, 9},
    };
    for (const Case& c : cases) {
        std::vector<SkewedStackItem> items = stack({50, 50, 50});
        SkewedStackLayout layout;
        layout.layout(items);
        layout.slopeDivisor = c.slopeDivisor;
        layout.nearestIndex = 9;  // left alone when nothing moves along the slope
        for (float d : c.deltas) layout.scrollBy(d);
        expectPositions(items, c.positions, c.name);
        EXPECT_EQ(layout.nearestIndex, c.nearest) << c.name;
        EXPECT_EQ(layout.selectedIndex, 0u) << c.name;
    }
}

}  // namespace
