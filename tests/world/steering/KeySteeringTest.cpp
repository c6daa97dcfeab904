#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "grid/BlockableManager.h"
#include "grid/GridTestSupport.h"
#include "grid/RectBlockable.h"
#include "world/steering/KeySteering.h"
#include "world/steering/SteerableSimulator.h"
#include "world/units/SteerableUnit.h"

namespace {

using GeometryLib::FPoint;
using Zarn::KeySteering;

constexpr float kCell = 16.0f;
constexpr float kSpeed = 200.0f;

FPoint centre(int cx, int cy) {
    return FPoint(cx * kCell + 8.0f, cy * kCell + 8.0f);
}

// A walled room of 16-unit cells, row 0 at the bottom: a pillar at (6, 2)
// and a free corridor round it. The unit is moved by a simulator with the
// server's tick.
class KeySteeringTest : public ::testing::Test {
protected:
    KeySteeringTest() {
        zarn_test::drawGrid(grid,
                            {
                                "##########",
                                "#........#",
                                "#.....#..#",
                                "#........#",
                                "#........#",
                                "##########",
                            },
                            16);
        // Solid cells block as the map importer files them: edges included.
        grid.forEachCell([&](const GeometryLib::Point& origin, Zarn::TileStatus& status) {
            if (status == 0) return;
            auto wall = std::make_unique<Zarn::RectBlockable>(
                grid, &blockables, GeometryLib::FRect(kCell, kCell, FPoint(origin)));
            blockables.addBlockable(*wall);
            blockables.adopt(std::move(wall));
        });
        unit.keySteeringSpeed = kSpeed;
        unit.body().position = centre(2, 2);
        simulator.timeStep = 0.03f;
        simulator.addUnit(1, &unit);
    }

    // Holds the keys whose pushes sum to (x, y) (-1, 0 or 1 per axis).
    void hold(int x, int y) {
        unit.keySteeringDirection = FPoint(x * kSpeed, y * kSpeed);
        KeySteering::takeOver(unit, grid, blockables);
    }
    void run(float seconds) {
        for (int i = 0; i < static_cast<int>(std::lround(seconds / 0.03f)); ++i) simulator.step();
    }
    bool keysSteer() {
        bool found = false;
        unit.motion.steering.forEach(
            [&](Zarn::Steering& s) { found |= dynamic_cast<KeySteering*>(&s) != nullptr; });
        return found;
    }
    FPoint& position() { return unit.body().position; }

    Zarn::CellGrid grid;
    Zarn::BlockableManager blockables{grid};
    Zarn::SteerableUnit unit{1};
    Zarn::SteerableSimulator simulator;
};

TEST_F(KeySteeringTest, HeldKeysWalkAtTheKeySpeedInTheirDirection) {
    struct Case {
        int x, y;
    };
    for (const Case c :
         {Case{1, 0}, Case{-1, 0}, Case{0, 1}, Case{0, -1}, Case{1, 1}, Case{-1, 1}, Case{1, -1}}) {
        SCOPED_TRACE(testing::Message() << "keys " << c.x << "," << c.y);
        position() = centre(4, 3);
        hold(c.x, c.y);
        simulator.step();
        const FPoint v = unit.body().velocity;
        EXPECT_NEAR(std::hypot(v.x, v.y), kSpeed, 0.01f) << "a diagonal is as fast as a straight walk";
        EXPECT_NEAR(v.x * c.y - v.y * c.x, 0.0f, 0.01f) << "along the keys";
        EXPECT_GT(v.x * c.x + v.y * c.y, 0.0f);
        EXPECT_NEAR(position().x, centre(4, 3).x + v.x * 0.03f, 0.001f);
        hold(0, 0);
        simulator.step();
    }
}

TEST_F(KeySteeringTest, ReleasingTheKeysStopsTheUnitAtOnce) {
    position() = centre(2, 3);
    hold(1, 0);
    run(0.3f);
    EXPECT_NEAR(position().x, centre(2, 3).x + kSpeed * 0.3f, 0.01f);
    EXPECT_NEAR(unit.body().heading, 3.14159f / 2.0f, 0.001f) << "facing +x";

    hold(0, 0);
    simulator.step();
    const float stoppedAt = position().x;
    EXPECT_EQ(unit.body().velocity, FPoint(0.0f, 0.0f));
    EXPECT_FALSE(keysSteer()) << "the behaviour finished";
    run(0.3f);
    EXPECT_EQ(position().x, stoppedAt);
    EXPECT_NEAR(unit.body().heading, 3.14159f / 2.0f, 0.001f) << "the heading stays";
}

TEST_F(KeySteeringTest, KeysThatCancelOutInstallNothing) {
    hold(0, 0);
    EXPECT_FALSE(keysSteer());
    hold(1, 0);
    hold(1, 0);
    int count = 0;
    unit.motion.steering.forEach([&](Zarn::Steering&) { ++count; });
    EXPECT_EQ(count, 1) << "a second key event keeps the running key steering";
}

TEST_F(KeySteeringTest, AWallStopsTheUnitInFrontOfIt) {
    // Right from (2, 2) into the pillar at (6, 2): cells 3 to 5 are free.
    hold(1, 0);
    run(2.0f);
    const float pillarLeft = 6 * kCell;
    EXPECT_LT(position().x, pillarLeft);
    EXPECT_GE(position().x, pillarLeft - KeySteering::kLookAhead - kSpeed * 0.03f);
    EXPECT_EQ(unit.body().velocity, FPoint(0.0f, 0.0f));
    EXPECT_TRUE(keysSteer()) << "the keys are still held";

    // The outer wall on the left, and the room's bottom wall going down.
    hold(-1, -1);
    run(2.0f);
    EXPECT_GE(position().x, kCell);
    EXPECT_GE(position().y, kCell);
    EXPECT_TRUE(grid.isFree(position()));
    EXPECT_EQ(unit.body().velocity, FPoint(0.0f, 0.0f));
}

TEST_F(KeySteeringTest, AUnitOnTheEdgeOfAWallDoesNotWalkIntoIt) {
    // On the right edge of the left outer wall (a walk's waypoint can end on a
    // cell edge); the edge itself counts as the wall's.
    position() = FPoint(kCell, centre(1, 3).y);
    hold(-1, 0);
    run(0.5f);
    EXPECT_EQ(position().x, kCell);
    hold(1, 0);
    run(0.1f);
    EXPECT_GT(position().x, kCell) << "away from the wall it walks";

    // Inside the pillar (pushed there by something else) it may walk out.
    position() = centre(6, 2);
    hold(0, 1);
    run(0.3f);
    EXPECT_GT(position().y, 3 * kCell);
}

TEST_F(KeySteeringTest, AWalkAlongAWallSlidesAtFullSpeed) {
    // Up and right under the top wall (row 5): the upward part is left out.
    position() = centre(1, 4);
    hold(1, 1);
    run(0.15f);
    EXPECT_LT(position().y, 5 * kCell);
    EXPECT_NEAR(unit.body().velocity.x, kSpeed, 0.01f);
    EXPECT_EQ(unit.body().velocity.y, 0.0f);
}

TEST_F(KeySteeringTest, AClosedDoorBlocksLikeAWall) {
    Zarn::RectBlockable door(grid, &blockables,
                             GeometryLib::FRect(kCell, kCell, FPoint(4 * kCell, 3 * kCell)));
    blockables.addBlockable(door);
    position() = centre(2, 3);
    hold(1, 0);
    run(1.0f);
    EXPECT_LT(position().x, 4 * kCell);
    EXPECT_EQ(unit.body().velocity, FPoint(0.0f, 0.0f));
    blockables.removeBlockable(door);
    run(0.3f);
    EXPECT_GT(position().x, 5 * kCell) << "the opened door lets the unit through";
}

TEST_F(KeySteeringTest, AUnitThatMayNotSteerIsNotMovedByKeys) {
    struct Case {
        const char* name;
        void (*set)(Zarn::SteerableUnit&);
    };
    const Case cases[] = {
        {"input disabled", [](Zarn::SteerableUnit& u) { u.inputEnabled = 0; }},
        {"carried (state 17)", [](Zarn::SteerableUnit& u) { u.state = Zarn::UnitState::carried; }},
        {"dead", [](Zarn::SteerableUnit& u) { u.state = 5; }},
        {"motion takes no steering", [](Zarn::SteerableUnit& u) { u.motion.steerable = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Pressed while it may not steer: nothing is installed.
        Zarn::SteerableUnit other(2);
        other.keySteeringSpeed = kSpeed;
        other.body().position = centre(2, 2);
        c.set(other);
        other.keySteeringDirection = FPoint(kSpeed, 0.0f);
        KeySteering::takeOver(other, grid, blockables);
        EXPECT_TRUE(other.motion.steering.empty());

        // Walking when it stops being allowed to: it stops and the keys let go.
        position() = centre(2, 2);
        hold(1, 0);
        simulator.step();
        ASSERT_GT(unit.body().velocity.x, 0.0f);
        c.set(unit);
        simulator.step();
        EXPECT_EQ(unit.body().steeringVelocity, FPoint(0.0f, 0.0f));
        EXPECT_FALSE(keysSteer());
        unit.inputEnabled = 1;
        unit.state = Zarn::UnitState::alive;
        unit.motion.steerable = 1;
        hold(0, 0);
    }
}

}  // namespace
