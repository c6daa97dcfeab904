#include <gtest/gtest.h>

#include <limits>

#include "grid/GridTestSupport.h"
#include "map/import/GameMap.h"
#include "world/planning/JPSMovePlanner.h"
#include "world/steering/Arrival.h"
#include "world/steering/PathedSteering.h"
#include "world/units/SteerableUnit.h"

using GeometryLib::FPoint;
using GeometryLib::Point;
using GeometryLib::Rect;
using Zarn::JPSMovePlanner;

namespace {

constexpr i16 S = 16;

FPoint centre(int cx, int cy) {
    return FPoint(cx * S + 8.0f, cy * S + 8.0f);
}

class PlannerFixture : public ::testing::Test {
protected:
    PlannerFixture() {
        // Row 0 is the bottom row; a wall splits the room except on the top and bottom rows.
        zarn_test::drawGrid(grid,
                            {
                                "........",
                                "...#....",
                                "...#....",
                                "...#....",
                                "........",
                            },
                            S);
        rectangles = {Rect(3, 5, Point(0, 0)), Rect(4, 5, Point(4, 0)), Rect(8, 1, Point(0, 0)),
                      Rect(8, 1, Point(0, 4))};
        unit.body().position = centre(1, 2);
    }

    std::vector<Zarn::Steering*> steering() {
        std::vector<Zarn::Steering*> out;
        unit.motion.steering.forEach([&](Zarn::Steering& s) { out.push_back(&s); });
        return out;
    }

    Zarn::CellGrid grid;
    std::vector<Rect> rectangles;
    Zarn::SteerableUnit unit{1};
};

}  // namespace

TEST_F(PlannerFixture, SameFreeRectangleArrivesWithoutSearch) {
    JPSMovePlanner planner(unit, grid, rectangles);
    planner.planMove(FPoint(40.5f, 70.25f));  // cell (2, 4), same rectangle as (1, 2)
    const auto installed = steering();
    ASSERT_EQ(installed.size(), 1u);
    const auto* arrival = dynamic_cast<Zarn::Arrival*>(installed[0]);
    ASSERT_NE(arrival, nullptr);
    EXPECT_EQ(arrival->target, FPoint(40.5f, 70.25f));
    EXPECT_FLOAT_EQ(arrival->slowRadius, 16.0f);
    EXPECT_EQ(planner.getArrival(), nullptr);  // the motion took it
}

TEST_F(PlannerFixture, TargetBehindAWallWalksJumpPointsToTheTarget) {
    JPSMovePlanner planner(unit, grid, rectangles);
    const FPoint target = centre(6, 2);
    planner.planMove(target);
    const auto installed = steering();
    ASSERT_EQ(installed.size(), 1u);
    const auto* path = dynamic_cast<Zarn::PathedSteering*>(installed[0]);
    ASSERT_NE(path, nullptr);
    ASSERT_FALSE(path->waypoints.empty());
    EXPECT_EQ(path->waypoints.back(), target);
    EXPECT_FLOAT_EQ(path->waypointRadius, 16.0f);
    // Every leg is a straight or diagonal walk of allowed steps, starting at the unit.
    FPoint from = centre(1, 2);
    for (const FPoint& to : path->waypoints) {
        const int dx = static_cast<int>(to.x - from.x) / S;
        const int dy = static_cast<int>(to.y - from.y) / S;
        ASSERT_TRUE(dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy));
        const Point step(static_cast<i16>(dx > 0 ? S : (dx < 0 ? -S : 0)),
                         static_cast<i16>(dy > 0 ? S : (dy < 0 ? -S : 0)));
        Point cur(from);
        for (int k = 0; k < std::max(std::abs(dx), std::abs(dy)); ++k) {
            ASSERT_TRUE(grid.canStep(step, cur));
            cur = cur + step;
        }
        from = to;
    }
    // Jump points only: fewer waypoints than cells walked.
    EXPECT_LT(path->waypoints.size(), 5u);
}

TEST_F(PlannerFixture, DeathStatesAreIgnoredOtherStatesPlanned) {
    JPSMovePlanner planner(unit, grid, rectangles);
    planner.planMove(centre(2, 2));
    ASSERT_EQ(steering().size(), 1u);
    const Zarn::Steering* before = steering()[0];
    for (u32 state : {3u, 5u, 8u, 22u}) {
        unit.state = state;
        planner.planMove(centre(6, 2));
        ASSERT_EQ(steering().size(), 1u) << state;
        EXPECT_EQ(steering()[0], before) << state;
    }
    unit.state = 9;
    planner.planMove(centre(6, 2));
    ASSERT_EQ(steering().size(), 1u);
    EXPECT_NE(dynamic_cast<Zarn::PathedSteering*>(steering()[0]), nullptr);
}

TEST_F(PlannerFixture, SecondRequestReplacesTheWalk) {
    JPSMovePlanner planner(unit, grid, rectangles);
    planner.planMove(centre(6, 2));
    JPSMovePlanner next(unit, grid, rectangles);
    next.planMove(centre(0, 0));
    const auto installed = steering();
    ASSERT_EQ(installed.size(), 1u);
    EXPECT_NE(dynamic_cast<Zarn::Arrival*>(installed[0]), nullptr);
}

TEST_F(PlannerFixture, UnreachableOrBrokenTargetsInstallNothing) {
    zarn_test::drawGrid(grid,
                        {
                            "........",
                            ".....###",
                            ".....#..",
                            ".....###",
                            "........",
                        },
                        S);
    rectangles.clear();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (FPoint target : {centre(6, 2), FPoint(-40, 8), FPoint(1e30f, 8), FPoint(nan, 8), FPoint(8, -inf)}) {
        JPSMovePlanner planner(unit, grid, rectangles);
        planner.planMove(target);
        EXPECT_TRUE(steering().empty()) << target.x << ", " << target.y;
        EXPECT_EQ(planner.getPath(), nullptr);
        EXPECT_EQ(planner.getArrival(), nullptr);
    }
}

TEST_F(PlannerFixture, UnitThatTakesNoSteeringGetsNothingAndThePlannerKeepsIt) {
    unit.motion.steerable = 0;
    JPSMovePlanner planner(unit, grid, rectangles);
    planner.planMove(centre(6, 2));
    EXPECT_TRUE(steering().empty());
    EXPECT_NE(planner.getPath(), nullptr);
    planner.planMove(centre(2, 2));
    EXPECT_TRUE(steering().empty());
    EXPECT_NE(planner.getArrival(), nullptr);
}

TEST_F(PlannerFixture, StraightClearNeedsOneRectangleForBothCells) {
    JPSMovePlanner planner(unit, grid, rectangles);
    EXPECT_TRUE(planner.straightClear(Point(8, 8), Point(120, 8)));     // bottom row
    EXPECT_TRUE(planner.straightClear(Point(8, 8), Point(40, 72)));     // left block
    EXPECT_FALSE(planner.straightClear(Point(8, 40), Point(104, 40)));  // across the wall
    EXPECT_FALSE(planner.straightClear(Point(-8, 8), Point(8, 8)));
    EXPECT_FALSE(planner.straightClear(Point(8, 8), Point(200, 8)));
}

TEST_F(PlannerFixture, ReconstructStopsAtBlockedCellsAndCycles) {
    JPSMovePlanner planner(unit, grid, rectangles);
    Zarn::AStarPathFinder::PathMap cameFrom;
    cameFrom[Point(8, 8)] = Point(24, 8);
    cameFrom[Point(24, 8)] = Point(56, 40);  // (3, 2) is the wall
    cameFrom[Point(56, 40)] = Point(56, 40);
    EXPECT_EQ(planner.reconstructPath(cameFrom, Point(8, 8), Point(56, 40)),
              (std::vector<FPoint>{FPoint(24, 8)}));
    Zarn::AStarPathFinder::PathMap cycle;
    cycle[Point(8, 8)] = Point(24, 8);
    cycle[Point(24, 8)] = Point(8, 8);
    EXPECT_LE(planner.reconstructPath(cycle, Point(8, 8), Point(100, 8)).size(), 3u);
}

TEST_F(PlannerFixture, ReadsTheLoadedMapsGridAndRectangles) {
    Zarn::GameMap map;
    zarn_test::drawGrid(map.grid, {"....", "....", "...."}, S);
    JPSMovePlanner noRectangles(unit, map);
    unit.body().position = centre(0, 0);
    noRectangles.planMove(centre(3, 2));
    ASSERT_EQ(steering().size(), 1u);
    EXPECT_NE(dynamic_cast<Zarn::PathedSteering*>(steering()[0]), nullptr);
    map.maximalRectangles.push_back(Rect(4, 3, Point(0, 0)));
    JPSMovePlanner withRectangle(unit, map);
    withRectangle.planMove(centre(3, 2));
    ASSERT_EQ(steering().size(), 1u);
    EXPECT_NE(dynamic_cast<Zarn::Arrival*>(steering()[0]), nullptr);
}
