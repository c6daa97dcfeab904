#include <gtest/gtest.h>

#include "map/records/MapElement.h"
#include "world/effects/Kill.h"
#include "world/effects/SteeringSpeedModifier.h"
#include "world/effects/WaitThenResetModifier.h"
#include "world/elements/SpawnPoints.h"
#include "grid/CellGrid.h"
#include "world/steering/Seek.h"
#include "world/steering/SteerableSimulator.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

class KillTest : public testing::Test {
protected:
    explicit KillTest(u32 cellSize = 32) {
        grid.setProperties(MapProperties{640, 640, cellSize});
        grid.resize();
        units.addClient(1);
        unit = &units.getUnit(1);
    }
    void moving() {
        unit->body().setSteeringVelocity({100, 0});
        unit->body().externalVelocity = {0, 30};
        unit->body().recomputeVelocity();
        unit->motion.addSteering(std::make_unique<Seek>(unit, FPoint(600, 600)));
    }
    CellGrid grid;
    SpawnPoints spawns;
    SteerableUnitManager units;
    SteerableUnit* unit;
};

TEST_F(KillTest, KillsStopsAndRespawnsAtTheCentreOfTheSpawnCellAfterTheWait) {
    spawns.setSpawnPoint(1, Point(3, 4));
    moving();
    Kill kill(spawns, grid, 5, 2.0f);
    auto result = kill.apply(unit);
    EXPECT_EQ(result->applied, 1);
    EXPECT_EQ(result->kind, EffectKind::kill);
    EXPECT_EQ(result->ids, std::vector<u32>{1});
    EXPECT_EQ(unit->state, 5u);
    EXPECT_EQ(unit->body().velocity, FPoint(0, 0));
    EXPECT_EQ(unit->body().steeringVelocity, FPoint(0, 0));
    EXPECT_EQ(unit->body().externalVelocity, FPoint(0, 0));
    EXPECT_TRUE(unit->motion.steering.empty());
    EXPECT_EQ(kill.respawnPoint, FPoint(112, 144));
    EXPECT_TRUE(spawns.hasReachedEntry(1));
    EXPECT_FALSE(spawns.isReached(1));

    SteerableSimulator sim;
    sim.timeStep = 0.5f;
    sim.addUnit(1, unit);
    const FPoint deathPlace = unit->body().position;
    for (int i = 0; i < 3; ++i) {
        // A dead unit cannot steer itself while it waits.
        unit->motion.addSteering(std::make_unique<Seek>(unit, FPoint(600, 600)));
        sim.step();
        EXPECT_EQ(unit->state, 5u);
        EXPECT_EQ(unit->body().position, deathPlace);
    }
    sim.step();  // 2.0 s passed: respawned
    EXPECT_EQ(unit->state, 0u);
    EXPECT_EQ(unit->body().position, FPoint(112, 144));
    EXPECT_EQ(unit->body().velocity, FPoint(0, 0));
    sim.step();
    EXPECT_FALSE(unit->motion.modifiers.contains(ModifierKind::waitThenReset));
}

class OddCellKillTest : public KillTest {
protected:
    OddCellKillTest() : KillTest(33) {}
};

TEST_F(OddCellKillTest, HalfCellIsTruncated) {
    spawns.setSpawnPoint(1, Point(1, 1));
    Kill kill(spawns, grid, 5, 2.0f);
    kill.apply(unit);
    EXPECT_EQ(kill.respawnPoint, FPoint(49, 49));
    spawns.setSpawnPoint(1, Point(-1, 2));
    kill.apply(unit);
    EXPECT_EQ(kill.respawnPoint, FPoint(-17, 82));
}

TEST_F(KillTest, FirstCauseWinsButTheUnitIsStillStopped) {
    unit->state = UnitState::carried;
    moving();
    Kill kill(spawns, grid, 5, 1.0f);
    EXPECT_EQ(kill.apply(unit)->applied, 1);
    EXPECT_EQ(unit->state, UnitState::carried);
    EXPECT_EQ(unit->body().steeringVelocity, FPoint(0, 0));
    ASSERT_TRUE(unit->motion.modifiers.contains(ModifierKind::waitThenReset));
    unit->motion.update(1.0f);
    EXPECT_EQ(unit->state, 0u);
}

TEST_F(KillTest, KillingAWaitingUnitAgainRestartsTheWait) {
    Kill kill(spawns, grid, 5, 2.0f);
    kill.apply(unit);
    unit->motion.update(1.5f);
    kill.apply(unit);
    unit->motion.update(1.5f);
    EXPECT_EQ(unit->state, 5u);
    unit->motion.update(0.5f);
    EXPECT_EQ(unit->state, 0u);
}

TEST_F(KillTest, DefaultSpawnCellIsUsedAndKept) {
    spawns.setDefaultSpawnCell(Point(2, 2));
    Kill kill(spawns, grid, 4, 1.0f);
    kill.apply(unit);
    EXPECT_EQ(kill.respawnPoint, FPoint(80, 80));
    spawns.setDefaultSpawnCell(Point(9, 9));
    kill.apply(unit);
    EXPECT_EQ(kill.respawnPoint, FPoint(80, 80));
}

// A kill remembers its last unit; once that unit has left the game, stop()
// must not reach it.
TEST_F(KillTest, StopAfterTheUnitLeftTheGameDoesNothing) {
    Kill kill(spawns, grid, 5, 2.0f);
    kill.apply(unit);
    EXPECT_EQ(kill.lastUnit(), unit);
    units.removeClient(1);
    EXPECT_EQ(kill.lastUnit(), nullptr);
    kill.stop();
    EXPECT_EQ(kill.apply(nullptr)->applied, 0);
}

TEST_F(KillTest, KillThenWaitActsOnlyOnItsCellsAndOnLivingUnits) {
    KillThenWait kill(spawns, grid, 7, 2.0f, std::vector<Point>{Point(2, 2), Point(3, 2)});
    unit->body().position = {40, 80};  // cell (1, 2)
    moving();
    auto missed = kill.apply(unit);
    EXPECT_EQ(missed->applied, 0);
    EXPECT_EQ(missed->kind, EffectKind::kill);
    EXPECT_EQ(missed->ids, std::vector<u32>{1});
    EXPECT_EQ(unit->state, 0u);
    EXPECT_EQ(unit->body().steeringVelocity, FPoint(100, 0));

    unit->body().position = {100, 70};  // cell (3, 2)
    unit->state = 4;
    EXPECT_EQ(kill.apply(unit)->applied, 0);
    EXPECT_FALSE(unit->motion.modifiers.contains(ModifierKind::waitThenReset));

    unit->state = 0;
    EXPECT_EQ(kill.apply(unit)->applied, 1);
    EXPECT_EQ(unit->state, 7u);

    PointSet coverage{Point(5, 5)};
    KillThenWait observing(spawns, grid, 8, 2.0f, coverage);
    unit->state = 0;
    unit->body().position = {170, 170};
    EXPECT_EQ(observing.apply(unit)->applied, 1);
    KillThenWait single(spawns, grid, 8, 2.0f, Point(5, 5));
    EXPECT_TRUE(single.cells().contains(Point(5, 5)));
}

TEST(WaitThenResetModifierTest, RespawnsWhenTheWaitIsOverAndFinishesAfterIt) {
    SteerableUnit unit(1);
    unit.state = 5;
    unit.body().position = {1, 1};
    WaitThenResetModifier wait(&unit, 2.0f, {50, 60});
    EXPECT_EQ(wait.kind, ModifierKind::waitThenReset);
    wait.update(1.0f);
    EXPECT_EQ(unit.state, 5u);
    wait.update(1.0f);
    EXPECT_EQ(unit.state, 0u);
    EXPECT_EQ(unit.body().position, FPoint(50, 60));
    EXPECT_FALSE(wait.isFinished());
    wait.update(1.0f);
    EXPECT_TRUE(wait.isFinished());

    SteeringForces f;
    f.steering = {1, 2};
    f.braking = {3, 4};
    f.avoidance = {5, 6};
    f.external = {7, 8};
    f.externalBraking = {9, 10};
    wait.modify(f);
    EXPECT_EQ(f.steering, FPoint(0, 0));
    EXPECT_EQ(f.braking, FPoint(3, 4));
    EXPECT_EQ(f.avoidance, FPoint(5, 6));
    EXPECT_EQ(f.external, FPoint(7, 8));
    EXPECT_EQ(f.externalBraking, FPoint(9, 10));
}

// A timed slow filed on a steered unit holds it at half speed while it runs;
// the unit speeds up again after it.
TEST(SlowedUnitTest, TimedSlowHoldsASteeredUnitDownUnderTheSimulator) {
    SteerableUnit unit(1);
    unit.motion.addSteering(std::make_unique<Seek>(&unit, FPoint(10000, 0)));
    auto slow = std::make_unique<TimedSteeringSpeedModifier>(&unit, 1.0f, 0.5f, 10);
    slow->kind = ModifierKind::timedSteeringSpeed;
    unit.statuses.insert(10);
    unit.motion.modifiers.add(std::move(slow));
    SteerableSimulator sim;
    sim.timeStep = 0.03f;
    sim.addUnit(1, &unit);
    for (int i = 0; i < 30; ++i) {
        sim.step();
        EXPECT_LE(unit.body().steeringVelocity.x, 100.0f + 1e-3f);
    }
    for (int i = 0; i < 10; ++i) sim.step();
    EXPECT_GT(unit.body().steeringVelocity.x, 150.0f);
    EXPECT_FALSE(unit.statuses.containsTen());
    EXPECT_TRUE(unit.motion.modifiers.empty());
}

}  // namespace
}  // namespace Zarn
