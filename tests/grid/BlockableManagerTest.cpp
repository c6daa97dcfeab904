#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "GridTestSupport.h"
#include "grid/BlockableManager.h"
#include "grid/RectBlockable.h"

using GeometryLib::FPoint;
using GeometryLib::FRect;
using GeometryLib::Point;
using Zarn::BlockableManager;
using Zarn::RectBlockable;

namespace {

class BlockableFixture : public ::testing::Test {
protected:
    BlockableFixture() {
        grid.setProperties(Zarn::MapProperties(320, 320, 16));
        grid.resize();
    }
    RectBlockable& make(float x, float y, float w = 16, float h = 16) {
        auto b = std::make_unique<RectBlockable>(grid, &manager, FRect(w, h, FPoint(x, y)));
        RectBlockable& ref = *b;
        manager.addBlockable(ref);
        manager.adopt(std::move(b));
        return ref;
    }

    Zarn::CellGrid grid;
    BlockableManager manager{grid};
};

// A blockable with cells that can be changed, as a door's.
class MovableBlockable : public Zarn::Blockable {
public:
    const std::vector<Point>& coveredCells() const override { return cells; }
    bool contains(const FPoint&) const override { return true; }
    FPoint blockingNormal(const FPoint&, const FPoint&) override { return {}; }
    std::vector<Point> cells;
};

}  // namespace

TEST_F(BlockableFixture, CoveredCellsReachPastFarEdgesOnBorders) {
    RectBlockable full(grid, &manager, FRect(16, 16, FPoint(32, 48)));
    EXPECT_EQ(full.coveredCells(), (std::vector<Point>{Point(2, 3), Point(2, 4), Point(3, 3), Point(3, 4)}));
    RectBlockable small(grid, &manager, FRect(15, 15, FPoint(32, 48)));
    EXPECT_EQ(small.coveredCells(), (std::vector<Point>{Point(2, 3)}));
    RectBlockable broken(grid, &manager,
                         FRect(-1e30f, std::numeric_limits<float>::quiet_NaN(), FPoint(1e30f, -1e30f)));
    EXPECT_FALSE(broken.coveredCells().empty());
}

TEST_F(BlockableFixture, ContainsIncludesEdgesAndTruncatesTheSize) {
    RectBlockable b(grid, &manager, FRect(16, 16, FPoint(32, 48)));
    for (FPoint p : {FPoint(32, 48), FPoint(48, 48), FPoint(48, 64), FPoint(32, 64), FPoint(40, 56)}) {
        EXPECT_TRUE(b.contains(p)) << p.x << ", " << p.y;
    }
    for (FPoint p : {FPoint(31.99f, 56), FPoint(48.01f, 56), FPoint(40, 47.99f), FPoint(40, 64.01f)}) {
        EXPECT_FALSE(b.contains(p)) << p.x << ", " << p.y;
    }
    RectBlockable narrow(grid, &manager, FRect(15.9f, 16, FPoint(32, 48)));
    EXPECT_TRUE(narrow.contains(FPoint(47, 56)));
    EXPECT_FALSE(narrow.contains(FPoint(47.5f, 56)));
}

TEST_F(BlockableFixture, NormalOfTheSideThatIsRunInto) {
    RectBlockable& b = make(32, 48);
    EXPECT_EQ(b.blockingNormal(FPoint(20, 56), FPoint(10, 0)), FPoint(-1, 0));
    EXPECT_EQ(b.blockingNormal(FPoint(60, 56), FPoint(-10, 0)), FPoint(1, 0));
    EXPECT_EQ(b.blockingNormal(FPoint(40, 30), FPoint(0, 10)), FPoint(0, -1));
    EXPECT_EQ(b.blockingNormal(FPoint(40, 80), FPoint(0, -10)), FPoint(0, 1));
    // Up and right: the line meets the left side at (32, 52), the bottom's line outside the rectangle.
    EXPECT_EQ(b.blockingNormal(FPoint(20, 40), FPoint(10, 10)), FPoint(-1, 0));
}

TEST_F(BlockableFixture, BlockedSideFallsBackToTheSecondOrNone) {
    RectBlockable& b = make(32, 48);
    RectBlockable& leftOfIt = make(16, 48);  // covers (28, 56), right outside the left side
    EXPECT_EQ(b.blockingNormal(FPoint(20, 56), FPoint(10, 0)), FPoint(0, 0));
    // Heading for the lower-left corner: bottom and left are hit at the same distance, the
    // bottom first; with a blocker right below it the left side is taken.
    EXPECT_EQ(b.blockingNormal(FPoint(24, 44), FPoint(10, 5)), FPoint(0, -1));
    make(32, 32);
    EXPECT_EQ(b.blockingNormal(FPoint(24, 44), FPoint(10, 5)), FPoint(0, 0));
    manager.removeBlockable(leftOfIt);
    EXPECT_EQ(b.blockingNormal(FPoint(24, 44), FPoint(10, 5)), FPoint(-1, 0));
}

TEST_F(BlockableFixture, ZeroMovementCountsAsOneOne) {
    RectBlockable& b = make(32, 48);
    // Moving (1, 1) toward the lower-left corner: the bottom side is hit first.
    EXPECT_EQ(b.blockingNormal(FPoint(30, 46), FPoint(0, 0)), b.blockingNormal(FPoint(30, 46), FPoint(1, 1)));
    EXPECT_EQ(b.blockingNormal(FPoint(30, 46), FPoint(0, 0)), FPoint(0, -1));
}

TEST_F(BlockableFixture, BlockerAtFindsTheContainingBlockableInAddOrder) {
    EXPECT_EQ(manager.blockerAt(FPoint(40, 56)), nullptr);
    RectBlockable& first = make(32, 48);
    RectBlockable& second = make(36, 52, 8, 8);
    EXPECT_EQ(manager.blockerAt(FPoint(40, 56)), &first);
    EXPECT_EQ(manager.blockerAt(FPoint(50, 56)), nullptr);  // cell (3, 3) filed, point outside both
    manager.removeBlockable(first);
    EXPECT_EQ(manager.blockerAt(FPoint(40, 56)), &second);
    EXPECT_EQ(manager.blockerAt(FPoint(1e30f, -1e30f)), nullptr);
    EXPECT_EQ(manager.blockerAt(FPoint(std::numeric_limits<float>::quiet_NaN(), 0)), nullptr);
}

TEST_F(BlockableFixture, RemoveDropsEmptyCellsAndIgnoresStrangers) {
    RectBlockable& only = make(32, 48);
    EXPECT_EQ(manager.cellCount(), 4u);
    RectBlockable stranger(grid, &manager, FRect(16, 16, FPoint(32, 48)));
    manager.removeBlockable(stranger);
    EXPECT_EQ(manager.cellCount(), 4u);
    manager.removeBlockable(only);
    EXPECT_EQ(manager.cellCount(), 0u);
    EXPECT_EQ(manager.blockerAt(FPoint(40, 56)), nullptr);
    EXPECT_TRUE(manager.cellsOf(only).empty());
}

TEST_F(BlockableFixture, UpdateFollowsChangedCellsAndKeepsUnchangedOnes) {
    MovableBlockable door;
    door.cells = {Point(1, 1), Point(1, 2)};
    manager.addBlockable(door);
    manager.updateBlockable(door);
    EXPECT_EQ(manager.cellsOf(door), door.cells);
    EXPECT_EQ(manager.blockablesInCell(Point(1, 1)), std::vector<Zarn::Blockable*>{&door});
    EXPECT_EQ(manager.cellCount(), 2u);

    door.cells = {Point(1, 2), Point(5, 5)};
    manager.updateBlockable(door);
    EXPECT_TRUE(manager.blockablesInCell(Point(1, 1)).empty());
    EXPECT_EQ(manager.blockablesInCell(Point(5, 5)), std::vector<Zarn::Blockable*>{&door});
    EXPECT_EQ(manager.cellCount(), 2u);
    manager.removeBlockable(door);
    EXPECT_EQ(manager.cellCount(), 0u);
}

TEST_F(BlockableFixture, UpdateKeepsThePlaceInCellsThatStay) {
    MovableBlockable door;
    door.cells = {Point(1, 1), Point(2, 1)};
    manager.addBlockable(door);
    MovableBlockable other;
    other.cells = {Point(1, 1), Point(2, 1), Point(3, 1)};
    manager.addBlockable(other);
    manager.updateBlockable(door);
    EXPECT_EQ(manager.blockablesInCell(Point(1, 1)), (std::vector<Zarn::Blockable*>{&door, &other}));
    EXPECT_EQ(manager.blockerAt(FPoint(20, 20)), &door);
    door.cells = {Point(2, 1), Point(3, 1)};
    manager.updateBlockable(door);
    EXPECT_EQ(manager.blockablesInCell(Point(1, 1)), std::vector<Zarn::Blockable*>{&other});
    EXPECT_EQ(manager.blockablesInCell(Point(2, 1)), (std::vector<Zarn::Blockable*>{&door, &other}));
    EXPECT_EQ(manager.blockablesInCell(Point(3, 1)), (std::vector<Zarn::Blockable*>{&other, &door}));
    EXPECT_EQ(manager.cellsOf(door), door.cells);
    MovableBlockable stranger;
    stranger.cells = {Point(9, 9)};
    manager.updateBlockable(stranger);  // not filed yet: filed now
    EXPECT_EQ(manager.blockablesInCell(Point(9, 9)), std::vector<Zarn::Blockable*>{&stranger});
    manager.removeBlockable(door);
    manager.removeBlockable(other);
    manager.removeBlockable(stranger);
    EXPECT_EQ(manager.cellCount(), 0u);
}

TEST_F(BlockableFixture, AddingTwiceFilesOnce) {
    MovableBlockable door;
    door.cells = {Point(1, 1), Point(1, 1)};
    manager.addBlockable(door);
    manager.addBlockable(door);
    EXPECT_EQ(manager.blockablesInCell(Point(1, 1)).size(), 1u);
    EXPECT_EQ(manager.cellsOf(door).size(), 1u);
    manager.removeBlockable(door);
}
