#include <gtest/gtest.h>

#include <cmath>

#include "grid/BlockableManager.h"
#include "grid/GridTestSupport.h"
#include "grid/RectBlockable.h"
#include "map/records/DoorElement.h"
#include "world/elements/BlockableAvoid.h"
#include "world/elements/Door.h"
#include "world/elements/Wander.h"
#include "world/steering/SteerableSimulator.h"
#include "world/steering/WorldRandom.h"
#include "world/units/SecondarySteerableUnit.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::FRect;
using GeometryLib::Point;

void expectNear(FPoint actual, FPoint expected, float tolerance = 1e-3f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

// Draws the room and gives every solid cell its blockable, as the map import does.
void drawRoom(CellGrid& grid, BlockableManager& blockables, const std::vector<std::string>& rows,
              u32 cellSize) {
    zarn_test::drawGrid(grid, rows, cellSize);
    grid.forEachCell([&](const Point& origin, TileStatus& status) {
        if (status == 0) return;
        const auto side = static_cast<float>(cellSize);
        auto b = std::make_unique<RectBlockable>(grid, &blockables, FRect(side, side, FPoint(origin)));
        blockables.addBlockable(*b);
        blockables.adopt(std::move(b));
    });
}

TEST(WanderTest, WithoutJitterItKeepsItsAngleAndPushesAheadPlusTheOffset) {
    SteerableUnit unit(1);
    unit.body().velocity = FPoint(3, 4);
    Wander wander(&unit, 30.0f, 0.0f);
    SteeringForces out;
    out.braking = FPoint(9, 9);
    wander.steer(out, 0.03f);
    expectNear(out.steering, FPoint(18, 54));
    EXPECT_EQ(out.braking, FPoint(0, 0));
    EXPECT_EQ(wander.angle, 0.0f);
    EXPECT_FALSE(wander.isFinished());

    wander.angle = 3.14159265f / 2;
    wander.steer(out, 0.03f);
    expectNear(out.steering, FPoint(18 - 30, 24));
}

TEST(WanderTest, TheAngleDriftsWithinTheJitterFromTheSeededEngine) {
    SteerableUnit unit(1);
    auto drift = [&] {
        seedWorldRandomEngine(99);
        auto wander = Wander::fromDegrees(&unit, 30.0f, 90.0f);
        EXPECT_NEAR(wander->jitter, 0.785398f, 1e-5f);
        std::vector<float> angles;
        SteeringForces out;
        for (int i = 0; i < 200; ++i) {
            const float before = wander->angle;
            wander->steer(out, 0.03f);
            EXPECT_GE(wander->angle - before, -wander->jitter);
            EXPECT_LT(wander->angle - before, wander->jitter);
            angles.push_back(wander->angle);
        }
        return angles;
    };
    const auto first = drift();
    EXPECT_EQ(first, drift());
}

TEST(WanderTest, CopiesTakeTheDefaultsAndTheNewUnit) {
    SteerableUnit a(1);
    SteerableUnit b(2);
    Wander wander(&a, 50.0f, 1.0f);
    wander.angle = 2.0f;
    auto copy = wander.cloneFor(&b);
    auto* w = dynamic_cast<Wander*>(copy.get());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->unit, &b);
    EXPECT_EQ(w->distance, 30.0f);
    EXPECT_EQ(w->jitter, 0.2617992f);
    EXPECT_EQ(w->angle, 0.0f);
}

class BlockableAvoidTest : public testing::Test {
protected:
    BlockableAvoidTest() : blockables(grid), unit(kFirstSecondaryUnitHandle) {}

    CellGrid grid;
    BlockableManager blockables;
    SteerableUnit unit;
};

TEST_F(BlockableAvoidTest, ARestingPropProbesDownThenTheFourTurnedFeelers) {
    const auto f = BlockableAvoid::feelers(FPoint(0, 0));
    expectNear(f[0], FPoint(0, -8));
    expectNear(f[1], FPoint(5.657f, -5.657f));
    expectNear(f[2], FPoint(-5.657f, -5.657f));
    expectNear(f[3], FPoint(8, 0));
    expectNear(f[4], FPoint(-8, 0));
    const auto moving = BlockableAvoid::feelers(FPoint(30, 0));
    expectNear(moving[0], FPoint(8, 0));
    expectNear(moving[3], FPoint(0, 8));
}

TEST_F(BlockableAvoidTest, FeelersOnTheSameSideOfAWallAddItsNormalOnce) {
    drawRoom(grid, blockables,
             {"....#.....",  //
              "....#.....",  //
              "....#.....",  //
              "....#....."},
             32);
    unit.body().position = FPoint(124, 64);  // 4 units left of the wall
    unit.body().setSteeringVelocity({30, 0});
    BlockableAvoid avoid(&unit, blockables);
    SteeringForces out;
    avoid.steer(out, 0.03f);
    expectNear(out.avoidance, FPoint(-30, 0));
    EXPECT_EQ(out.steering, FPoint(0, 0));

    unit.body().applyForces(out);
    EXPECT_NEAR(unit.body().velocity.x, 0.0f, 1e-4f) << "the push cancels the run into the wall";
}

TEST_F(BlockableAvoidTest, WithNothingToAvoidItCancelsTheLastAvoidance) {
    drawRoom(grid, blockables, {"....", "....", "...."}, 32);
    unit.body().position = FPoint(48, 48);
    unit.body().avoidanceVelocity = FPoint(-7, 2);
    BlockableAvoid avoid(&unit, blockables);
    SteeringForces out;
    avoid.steer(out, 0.03f);
    EXPECT_EQ(out.avoidance, FPoint(7, -2));
    EXPECT_FALSE(avoid.isFinished());

    SteerableUnit other(5);
    auto copy = avoid.cloneFor(&other);
    auto* a = dynamic_cast<BlockableAvoid*>(copy.get());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->blockables, &blockables);
    EXPECT_EQ(a->unit, &other);
}

// A wandering prop, built as the element builder builds one, in a walled room
// with pillars and a closed door, never stands in a solid cell or in the door.
TEST_F(BlockableAvoidTest, AWanderingPropNeverEntersABlockedCellOverALongRun) {
    drawRoom(grid, blockables,
             {"####################",  //
              "#..................#",  //
              "#..##........#.....#",  //
              "#..##...#....#.....#",  //
              "#.......#..........#",  //
              "#............###...#",  //
              "#...#..............#",  //
              "#...#....#.........#",  //
              "#........#....#....#",  //
              "#..................#",  //
              "####################"},
             32);
    DoorElement doorRecord;
    doorRecord.position = Point(32 * 15, 32 * 6);
    doorRecord.width = 32;
    doorRecord.height = 64;
    Door door(doorRecord, grid, &blockables);
    blockables.addBlockable(door);

    for (u32 seed : {1u, 7u, 2024u}) {
        seedWorldRandomEngine(seed);
        SecondarySteerableUnit prop(kFirstSecondaryUnitHandle);
        prop.cellSize = 32;
        prop.radius = 10.0f;
        SteerableKinematics& body = prop.unit.body();
        body.maxSteeringSpeed = 30.0f;
        body.maxSteeringForce = 10.0f;
        body.position = FPoint(48, 48);
        prop.unit.motion.addSteering(Wander::fromDegrees(&prop.unit, 30.0f, 90.0f));
        prop.unit.motion.addLateSteering(std::make_unique<BlockableAvoid>(&prop.unit, blockables));
        SteerableSimulator sim;
        sim.timeStep = 0.03f;
        sim.addSecondaryUnit(&prop.unit);

        std::set<u32> visited;
        for (int tick = 0; tick < 10000; ++tick) {
            sim.step();
            const FPoint p = body.position;
            ASSERT_TRUE(grid.isFree(p)) << "seed " << seed << " tick " << tick << " at " << p.x << "," << p.y;
            ASSERT_FALSE(door.contains(p)) << "seed " << seed << " tick " << tick;
            visited.insert(grid.toCell(Point(p)).key);
        }
        EXPECT_GT(visited.size(), 10u) << "the prop wanders about";
    }
}

}  // namespace
}  // namespace Zarn
