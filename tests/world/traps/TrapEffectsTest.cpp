#include <gtest/gtest.h>

#include "TrapTestSupport.h"
#include "foundation/Error.h"
#include "world/effects/SteeringSpeedModifier.h"
#include "world/effects/WaitThenResetModifier.h"
#include "world/elements/SpawnPoints.h"
#include "world/steering/Seek.h"
#include "world/steering/SteerableSimulator.h"
#include "world/traps/TrapEffects.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

// A room of 64-unit cells with one player unit that respawns on cell (1, 1),
// centre (96, 96).
class TrapEffectsTest : public testing::Test {
protected:
    TrapEffectsTest() {
        test::makeRoom(grid, 64);
        units.addClient(1);
        unit = &units.getUnit(1);
        spawns.setSpawnPoint(1, Point(1, 1));
        sim.timeStep = 0.5f;
        sim.addUnit(1, unit);
    }
    void placeAt(float x, float y) { unit->body().position = FPoint(x, y); }
    // Centre of a cell.
    static FPoint centreOf(i16 x, i16 y) { return FPoint(x * 64.0f + 32.0f, y * 64.0f + 32.0f); }
    void walk(const FPoint& speed) {
        unit->body().setSteeringVelocity(speed);
        unit->body().recomputeVelocity();
    }
    std::vector<ExternalSteering*> pulls() {
        std::vector<ExternalSteering*> found;
        unit->motion.impulses.forEach([&](Steering& s) {
            if (auto* e = dynamic_cast<ExternalSteering*>(&s)) found.push_back(e);
        });
        return found;
    }
    // Steps the simulation until the unit respawned; returns the seconds it took.
    float secondsToRespawn() {
        float t = 0.0f;
        while (unit->state != UnitState::alive && t < 10.0f) {
            sim.step();
            t += sim.timeStep;
        }
        return t;
    }
    CellGrid grid;
    SpawnPoints spawns;
    SteerableUnitManager units;
    SteerableUnit* unit;
    SteerableSimulator sim;
};

TEST_F(TrapEffectsTest, TimedSlowFilesOneRestartingModifierBesideASlow) {
    TimedSlow slow(1.0f, 0.25f, 0);
    auto result = slow.apply(unit);
    EXPECT_EQ(result->applied, 1);
    EXPECT_EQ(result->kind, EffectKind::slow);
    EXPECT_EQ(result->ids, std::vector<u32>{1});
    auto* filed = dynamic_cast<TimedSteeringSpeedModifier*>(
        unit->motion.modifiers.find(ModifierKind::timedSteeringSpeed));
    ASSERT_NE(filed, nullptr);
    EXPECT_EQ(filed->duration, 1.0f);
    EXPECT_EQ(filed->factor, 0.25f);

    // The unit walks at cruising speed; the slow cuts it to a quarter.
    unit->motion.addSteering(std::make_unique<Seek>(unit, FPoint(600, 96)));
    placeAt(96, 96);
    sim.step();
    EXPECT_LE(SteerableKinematics::length(unit->body().steeringVelocity), 50.0f + 1e-3f);
    EXPECT_EQ(filed->elapsed, 0.5f);

    // A second timed slow restarts the running one and is dropped.
    TimedSlow other(5.0f, 0.9f, 0);
    EXPECT_EQ(other.apply(unit)->applied, 1);
    EXPECT_EQ(unit->motion.modifiers.find(ModifierKind::timedSteeringSpeed), filed);
    EXPECT_EQ(filed->duration, 1.0f);
    EXPECT_EQ(filed->elapsed, 0.0f);

    // A plain slow files beside it.
    Slow brake(0.0f);
    auto brakeResult = brake.apply(unit);
    EXPECT_EQ(brakeResult->kind, EffectKind::slow);
    EXPECT_TRUE(unit->motion.modifiers.contains(ModifierKind::steeringSpeed));
    EXPECT_TRUE(unit->motion.modifiers.contains(ModifierKind::timedSteeringSpeed));
}

TEST_F(TrapEffectsTest, AZeroSlowStopsAUnitWalkingOnIt) {
    placeAt(96, 96);
    walk(FPoint(200, 0));
    unit->motion.addSteering(std::make_unique<Seek>(unit, FPoint(600, 96)));
    Slow stop(0.0f);
    for (int i = 0; i < 4; ++i) {
        // On the trap the effect applies in every tick.
        EXPECT_EQ(stop.apply(unit)->applied, 1);
        sim.step();
        EXPECT_EQ(unit->body().steeringVelocity, FPoint(0, 0)) << i;
    }
    const FPoint stopped = unit->body().position;
    sim.step();
    sim.step();
    EXPECT_GT(unit->body().position.x, stopped.x) << "off the trap it walks again";
}

TEST_F(TrapEffectsTest, ExternalSteeringPushesForOneTick) {
    unit->body().externalVelocity = FPoint(10, 0);
    ExternalSteering push(unit, FPoint(-30, 40));
    SteeringForces out;
    out.steering = FPoint(5, 5);
    push.steer(out, 0.03125f);
    EXPECT_EQ(out.external, FPoint(-40, 40));
    EXPECT_EQ(out.steering, FPoint(0, 0));
    EXPECT_TRUE(push.isFinished());
    auto copy = push.cloneFor(unit);
    EXPECT_EQ(dynamic_cast<ExternalSteering&>(*copy).force, FPoint(-30, 40));

    unit->body().externalVelocity = FPoint(0, 0);
    unit->motion.addImpulse(std::make_unique<ExternalSteering>(unit, FPoint(-30, 0)));
    sim.step();
    EXPECT_TRUE(unit->motion.impulses.empty());
    EXPECT_LT(unit->body().externalVelocity.x, 0.0f);
}

class VortexTest : public TrapEffectsTest {
protected:
    VortexTest() {
        record.elementId = 55;
        record.position = Point(5, 5);
        for (i16 x = 3; x <= 7; ++x) {
            for (i16 y = 3; y <= 7; ++y) record.coveredCells.insert(Point(x, y));
        }
        record.radius = 128.0f;
        record.innerPull = 200.0f;
        record.outerPull = 100.0f;
    }
    RadialTrapElement record;
};

TEST_F(VortexTest, PullsTowardsTheMiddleFasterTheCloserTheUnitIs) {
    VortexEffect vortex(record, grid, spawns);
    EXPECT_EQ(vortex.centre, FPoint(352, 352));
    struct Case {
        FPoint position;
        u8 applied;
        FPoint force;
    };
    const std::vector<Case> cases = {
        {FPoint(480, 352), 1, FPoint(-100, 0)},  // on the rim: outerPull
        {FPoint(352, 288), 1, FPoint(0, 150)},   // half way: (1 - 0.5) x 100 + 100
        {FPoint(480.5f, 352), 0, FPoint()},      // just beyond the rim
    };
    for (const Case& c : cases) {
        unit->motion.impulses.clear();
        placeAt(c.position.x, c.position.y);
        auto result = vortex.apply(unit);
        EXPECT_EQ(result->applied, c.applied) << c.position.x << "," << c.position.y;
        EXPECT_EQ(result->kind, EffectKind::vortex);
        EXPECT_EQ(unit->state, UnitState::alive);
        auto found = pulls();
        if (c.applied) {
            ASSERT_EQ(found.size(), 1u);
            EXPECT_EQ(found[0]->force, c.force);
        } else {
            EXPECT_TRUE(found.empty());
        }
    }
}

TEST_F(VortexTest, KillsAUnitThatReachedTheMiddleAndRespawnsIt) {
    VortexEffect vortex(record, grid, spawns);
    placeAt(352, 352);
    auto result = vortex.apply(unit);
    EXPECT_EQ(result->applied, 1);
    EXPECT_EQ(result->kind, EffectKind::kill);
    EXPECT_EQ(unit->state, VortexEffect::kDeathState);
    EXPECT_TRUE(unit->motion.impulses.empty()) << "the kill's stop empties the impulses, zero pull included";
    EXPECT_EQ(secondsToRespawn(), 2.0f);
    EXPECT_EQ(unit->body().position, FPoint(96, 96));
}

TEST_F(VortexTest, LeavesCarriedUnitsAndZeroRadiusAlone) {
    VortexEffect vortex(record, grid, spawns);
    placeAt(352, 352);
    unit->state = UnitState::carried;
    auto carried = vortex.apply(unit);
    EXPECT_EQ(carried->applied, 0);
    EXPECT_EQ(carried->kind, EffectKind::vortex);
    EXPECT_EQ(unit->state, UnitState::carried);
    EXPECT_TRUE(unit->motion.impulses.empty());

    unit->state = UnitState::alive;
    record.radius = 0.0f;
    VortexEffect flat(record, grid, spawns);
    auto none = flat.apply(unit);
    EXPECT_EQ(none->applied, 0);
    EXPECT_EQ(none->kind, EffectKind::vortex);
    EXPECT_EQ(unit->state, UnitState::alive);
    EXPECT_TRUE(unit->motion.impulses.empty());
}

class RatTrapEffectTest : public TrapEffectsTest {
protected:
    RatTrapEffectTest() : effect(Point(2, 2), grid, 1.0f, 0.5f) {}
    RatTrapEffect effect;
    RatTrapIMEState trapState;
};

TEST_F(RatTrapEffectTest, WithoutTheTrapStateItThrows) {
    try {
        effect.apply(unit);
        FAIL() << "no throw";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "rat trap effect has no trap state!");
    }
}

TEST_F(RatTrapEffectTest, CatchesOnlyOnTheSideThatSetItOffDuringPhaseB) {
    effect.trapState = &trapState;
    struct Case {
        int state;
        FPoint position;
        u8 applied;
        bool caught;
    };
    const std::vector<Case> cases = {
        {0, centreOf(2, 2), 0, false},  // armed
        {4, centreOf(2, 2), 1, true},   // left side, set off from the left
        {3, centreOf(2, 2), 1, false},  //
        {4, centreOf(3, 2), 1, false},  // right side while the left snapped
        {3, centreOf(3, 2), 1, true},   //
        {2, centreOf(2, 2), 1, false},  // phase A
    };
    for (const Case& c : cases) {
        unit->motion.modifiers.clear();
        unit->statuses.clear();
        trapState.value = static_cast<ERatTrapState>(c.state);
        placeAt(c.position.x, c.position.y);
        auto result = effect.apply(unit);
        EXPECT_EQ(result->applied, c.applied) << c.state;
        EXPECT_EQ(result->kind, EffectKind::ratTrap);
        EXPECT_EQ(unit->motion.modifiers.contains(ModifierKind::timedSteeringSpeed), c.caught) << c.state;
        EXPECT_EQ(unit->statuses.containsTen(), c.caught) << c.state;
    }
}

TEST_F(RatTrapEffectTest, TheCatchEndsWithItsSlow) {
    effect.trapState = &trapState;
    trapState.value = static_cast<ERatTrapState>(4);
    placeAt(160, 160);
    effect.apply(unit);
    ASSERT_TRUE(unit->statuses.containsTen());
    sim.step();
    sim.step();
    EXPECT_TRUE(unit->statuses.containsTen());
    sim.step();
    EXPECT_FALSE(unit->statuses.containsTen());
    EXPECT_FALSE(unit->motion.modifiers.contains(ModifierKind::timedSteeringSpeed));
}

TEST_F(TrapEffectsTest, KillIfMovingKillsFromASteeringSpeedOfTen) {
    PointSet cells{Point(2, 2)};
    KillIfMoving effect(spawns, 8, 2.0f, grid, cells);
    struct Case {
        FPoint steering;
        FPoint position;
        u8 applied;
    };
    const std::vector<Case> cases = {
        {FPoint(9.99f, 0), centreOf(2, 2), 0},
        {FPoint(0, 0), centreOf(2, 2), 0},
        {FPoint(10.0f, 0), centreOf(3, 2), 0},  // moving, but not on its cells
        {FPoint(6.0f, 8.0f), centreOf(2, 2), 1},
    };
    for (const Case& c : cases) {
        placeAt(c.position.x, c.position.y);
        walk(c.steering);
        auto result = effect.apply(unit);
        EXPECT_EQ(result->applied, c.applied) << c.steering.x << "," << c.steering.y;
        EXPECT_EQ(result->kind, EffectKind::kill);
    }
    EXPECT_EQ(unit->state, 8u);
    walk(FPoint(10.0f, 0));
    EXPECT_EQ(effect.apply(unit)->applied, 0) << "already dead";
}

TEST_F(TrapEffectsTest, SlowStopKillLetsTheUnitSlideAndRespawnsItAfterTheWait) {
    PointSet cells{Point(2, 2)};
    SlowStopKillThenWait kill(spawns, grid, 5, 2.0f, cells);
    placeAt(160, 160);
    walk(FPoint(100, 0));
    unit->motion.addSteering(std::make_unique<Seek>(unit, FPoint(600, 160)));
    unit->statuses.insert(10);
    Slow(0.5f).apply(unit);
    auto result = kill.apply(unit);
    EXPECT_EQ(result->applied, 1);
    EXPECT_EQ(result->kind, EffectKind::kill);
    EXPECT_EQ(result->ids, std::vector<u32>{1});
    EXPECT_EQ(unit->state, 5u);
    EXPECT_TRUE(unit->motion.steering.empty());
    EXPECT_TRUE(unit->statuses.empty());
    EXPECT_EQ(unit->motion.modifiers.size(), 1u);
    EXPECT_NE(dynamic_cast<WaitThenResetModifier*>(unit->motion.modifiers.find(ModifierKind::waitThenReset)),
              nullptr);
    EXPECT_EQ(unit->body().steeringVelocity, FPoint(100, 0)) << "a slow stop keeps the velocity";
    EXPECT_EQ(kill.respawnPoint, FPoint(96, 96));

    sim.step();
    EXPECT_GT(unit->body().position.x, 160.0f) << "the dead unit slides on";
    EXPECT_EQ(kill.apply(unit)->applied, 0) << "a dead unit is not killed again";
    EXPECT_EQ(secondsToRespawn(), 1.5f);
    EXPECT_EQ(unit->body().position, FPoint(96, 96));
    EXPECT_EQ(unit->body().velocity, FPoint(0, 0));
}

TEST_F(TrapEffectsTest, BossArmKillsWithFiveOnTheArmAndTwentyTwoElsewhere) {
    DelayedTrapElement armRecord =
        test::intervalRecord<DelayedTrapElement>(132, 0.5f, 0.5f, 1.0f, Point(5, 2));
    for (i16 x = 3; x <= 5; ++x) {
        for (i16 y = 2; y <= 4; ++y) armRecord.coveredCells.insert(Point(x, y));
    }
    BossArmEffect effect(spawns, armRecord, grid);
    EXPECT_EQ(effect.armCells, (std::vector<Point>{Point(5, 2), Point(5, 3), Point(5, 4)}));
    struct Case {
        Point cell;
        u8 applied;
        u32 state;
    };
    const std::vector<Case> cases = {{Point(5, 4), 1, 5}, {Point(4, 3), 1, 22}, {Point(8, 8), 0, 0}};
    for (const Case& c : cases) {
        unit->state = UnitState::alive;
        unit->motion.modifiers.clear();
        const FPoint at = centreOf(c.cell.x, c.cell.y);
        placeAt(at.x, at.y);
        auto result = effect.apply(unit);
        EXPECT_EQ(result->applied, c.applied) << c.cell.x << "," << c.cell.y;
        EXPECT_EQ(result->kind, EffectKind::kill);
        EXPECT_EQ(unit->state, c.state) << c.cell.x << "," << c.cell.y;
    }
}

// A unit that stands on an interval trap dies when the trap turns lethal,
// waits, respawns, and is not killed again while dead.
TEST_F(TrapEffectsTest, AUnitOnALethalTrapDiesWaitsAndRespawns) {
    auto record = test::intervalRecord<IntervalTrapElement>(43, 0.0f, 0.5f, 1.0f, Point(4, 4));
    IntervalTrap trap(record,
                      std::make_unique<SlowStopKillThenWait>(spawns, grid, 5, 2.0f, record.coveredCells));
    trap.enable();
    sim.timeStep = 0.25f;
    placeAt(centreOf(4, 4).x, centreOf(4, 4).y);
    std::vector<int> states;
    std::vector<int> kills;
    for (int tick = 0; tick < 14; ++tick) {
        sim.step();
        trap.update(sim.timeStep);
        const Point cell = grid.toCell(Point(unit->body().position));
        int applied = -1;
        if (record.coveredCells.contains(cell) && trap.touches(cell, unit))
            applied = trap.effect->apply(unit)->applied;
        states.push_back(static_cast<int>(unit->state));
        kills.push_back(applied);
    }
    // Lethal in [0.5, 1.0) and [2.0, 2.5); the kill at 0.5 s holds the unit
    // until 2.5 s, so the second lethal phase finds it dead.
    EXPECT_EQ(states, (std::vector<int>{0, 5, 5, 5, 5, 5, 5, 5, 5, 0, 0, 0, 0, 0}));
    EXPECT_EQ(kills, (std::vector<int>{-1, 1, 0, -1, -1, -1, -1, 0, 0, -1, -1, -1, -1, -1}));
    EXPECT_EQ(unit->body().position, FPoint(96, 96));
}

}  // namespace
}  // namespace Zarn
