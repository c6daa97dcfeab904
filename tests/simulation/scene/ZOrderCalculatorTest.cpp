#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

#include "foundation/Error.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "grid/CellGrid.h"

namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;
using Zarn::ZOrderCalculator;

// Answers a fixed z, or passes the decision on, and notes that it was asked.
class ScriptedModifier : public Zarn::PlayerZOrderModifier {
public:
    ScriptedModifier(i32 key, std::vector<Point> covered, std::function<int(int)> rule, std::vector<int>* log,
                     int tag)
        : PlayerZOrderModifier(key), rule_(std::move(rule)), log_(log), tag_(tag) {
        cells = std::move(covered);
    }
    int apply(const FPoint&, int z) override {
        log_->push_back(tag_);
        return rule_(z);
    }

private:
    std::function<int(int)> rule_;
    std::vector<int>* log_;
    int tag_;
};

}  // namespace

TEST(ZOrderCalculator, RowBandsFollowTheirFormulas) {
    const ZOrderCalculator z(32, 10);
    struct Row {
        int row;
        int base, middle, top, highBase, highMiddle, highTop;
    };
    const Row rows[] = {
        {0, 4500, 4750, 4999, 1004500, 1004750, 1004999},
        {3, 3000, 3250, 3499, 1003000, 1003250, 1003499},
        {9, 0, 250, 499, 1000000, 1000250, 1000499},
        {10, -500, -250, -1, 999500, 999750, 999999},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(z.rowBase(r.row), r.base) << r.row;
        EXPECT_EQ(z.rowMiddle(r.row), r.middle) << r.row;
        EXPECT_EQ(z.rowTop(r.row), r.top) << r.row;
        EXPECT_EQ(z.highRowBase(r.row), r.highBase) << r.row;
        EXPECT_EQ(z.highRowMiddle(r.row), r.highMiddle) << r.row;
        EXPECT_EQ(z.highRowTop(r.row), r.highTop) << r.row;
    }
}

TEST(ZOrderCalculator, PositionsFallIntoTheirRowsAndSpreadInsideThem) {
    const ZOrderCalculator z(32, 10);
    struct Case {
        float y;
        int yBase, yMiddle, yTop, highYBase, highY, highYTop, player;
    };
    // y = 96 is the bottom edge of row 3: frac 0, the full row value.
    // y = 112 is half-way up row 3: frac 0.5, trunc(0.5 x 285.71429) = 142.
    // y = 127.9 is near the top of row 3: trunc(0.996875 x 285.71429) = 284.
    // y = 31 is in row 0: frac 31/32, trunc(276.78571) = 276.
    const Case cases[] = {
        {96.0f, 3000, 3250, 3499, 1003000, 1003250, 1003499, 1003375},
        {112.0f, 3000, 3250, 3499, 1003000, 1003250 - 142, 1003499, 1003375 - 142},
        {127.9f, 3000, 3250, 3499, 1003000, 1003250 - 284, 1003499, 1003375 - 284},
        {31.0f, 4500, 4750, 4999, 1004500, 1004750 - 276, 1004999, 1004875 - 276},
        {0.0f, 4500, 4750, 4999, 1004500, 1004750, 1004999, 1004875},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(z.yBase(c.y), c.yBase) << c.y;
        EXPECT_EQ(z.yMiddle(c.y), c.yMiddle) << c.y;
        EXPECT_EQ(z.yTop(c.y), c.yTop) << c.y;
        EXPECT_EQ(z.highYBase(c.y), c.highYBase) << c.y;
        EXPECT_EQ(z.highY(c.y), c.highY) << c.y;
        EXPECT_EQ(z.highYTop(c.y), c.highYTop) << c.y;
        EXPECT_EQ(z.playerZOrder(FPoint(50.0f, c.y)), c.player) << c.y;
    }
    // A player is half a band above the high order of the same point, and a
    // lower row is drawn in front of a higher one.
    EXPECT_EQ(z.playerZOrder(FPoint(0, 112.0f)), z.highY(112.0f) + 125);
    EXPECT_GT(z.playerZOrder(FPoint(0, 95.9f)), z.playerZOrder(FPoint(0, 96.0f)));
}

TEST(ZOrderCalculator, DerivedBandsChangeEverythingBuiltOnThem) {
    struct Shifted : ZOrderCalculator {
        using ZOrderCalculator::ZOrderCalculator;
        int rowBase(int row) const override { return ZOrderCalculator::rowBase(row) + 7; }
        int highRowBase(int row) const override { return ZOrderCalculator::highRowBase(row) + 11; }
        int rowMiddle(int row) const override { return ZOrderCalculator::rowMiddle(row) + 3; }
    };
    const Shifted s(32, 10);
    const ZOrderCalculator z(32, 10);
    const float y = 112.0f;
    EXPECT_EQ(s.yBase(y), z.yBase(y) + 7);
    EXPECT_EQ(s.yTop(y), z.yTop(y) + 7);
    EXPECT_EQ(s.yMiddle(y), z.yMiddle(y) + 3);
    EXPECT_EQ(s.rowTop(3), z.rowTop(3));  // defined on the plain band
    EXPECT_EQ(s.highRowMiddle(3), z.highRowMiddle(3) + 11);
    EXPECT_EQ(s.highY(y), z.highY(y) + 11);
    EXPECT_EQ(s.highYBase(y), z.highYBase(y) + 11);
    EXPECT_EQ(s.highRowTop(3), z.highRowTop(3) + 11);
    EXPECT_EQ(s.highYTop(y), z.highYTop(y) + 11);
    EXPECT_EQ(s.playerZOrder(FPoint(0, y)), z.playerZOrder(FPoint(0, y)) + 11);
}

TEST(ZOrderCalculator, ModifiersOfTheCellAreAskedByDescendingKey) {
    ZOrderCalculator z(32, 10);
    std::vector<int> asked;
    const auto pass = [](int v) { return v; };
    ScriptedModifier low(
        1, {Point(1, 3)}, [](int) { return 42; }, &asked, 1);
    ScriptedModifier high(5, {Point(1, 3), Point(2, 3)}, pass, &asked, 5);
    ScriptedModifier sameKeyFirst(
        5, {Point(2, 3)}, [](int) { return 7; }, &asked, 50);
    ScriptedModifier sameKeyLast(5, {Point(2, 3)}, pass, &asked, 51);
    z.addModifier(&low);
    z.addModifier(&high);
    z.addModifier(&sameKeyFirst);
    z.addModifier(&sameKeyLast);

    // Cell (1, 3): key 5 passes, key 1 decides.
    EXPECT_EQ(z.playerZOrder(FPoint(40.0f, 100.0f)), 42);
    EXPECT_EQ(asked, (std::vector<int>{5, 1}));

    // Cell (2, 3): the three key-5 modifiers, the one filed last first.
    asked.clear();
    EXPECT_EQ(z.playerZOrder(FPoint(70.0f, 100.0f)), 7);
    EXPECT_EQ(asked, (std::vector<int>{51, 50}));

    // A cell without modifiers asks nobody.
    asked.clear();
    const int plain = z.playerZOrder(FPoint(10.0f, 100.0f));
    EXPECT_EQ(plain, 1003250 + 125 - 35);  // frac(100) = 4 / 32, trunc(0.125 x 285.71429) = 35
    EXPECT_TRUE(asked.empty());
}

TEST(ZOrderCalculator, RefusesACellSizeBelowOneAndSurvivesWildPositions) {
    EXPECT_THROW(ZOrderCalculator(0, 10), Convinience::Error);
    const ZOrderCalculator z(32, 10);
    EXPECT_NO_THROW(z.playerZOrder(FPoint(1e30f, -1e30f)));
    EXPECT_NO_THROW(z.highY(std::numeric_limits<float>::quiet_NaN()));
}

TEST(ZOrderCalculator, TakesCellSizeAndRowsFromTheRoomsGrid) {
    Zarn::CellGrid grid;
    grid.setProperties(Zarn::MapProperties(320, 192, 16));
    grid.resize();
    const ZOrderCalculator z(grid);
    EXPECT_EQ(z.cellSize(), 16);
    EXPECT_EQ(z.rows(), 12);
    EXPECT_EQ(z.rowBase(11), 0);
    EXPECT_EQ(z.yBase(0.0f), 5500);

    Zarn::CellGrid empty;
    empty.setProperties(Zarn::MapProperties(0, 0, 0));
    EXPECT_THROW(ZOrderCalculator{empty}, Convinience::Error);
}
