#include <gtest/gtest.h>

#include "ElementTestSupport.h"
#include "foundation/Error.h"
#include "map/records/MapElement.h"
#include "world/effects/Kill.h"
#include "world/elements/Checkpoint.h"
#include "world/elements/SpawnPoints.h"
#include "world/steering/SteerableSimulator.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

class CheckpointTest : public testing::Test {
protected:
    CheckpointTest() {
        zarn_test::openRoom(grid, 10, 10, 32);
        spawns.setDefaultSpawnCell(Point(1, 1));
        recordA.cell = Point(3, 4);
        recordA.number = 40;
        recordB.cell = Point(6, 2);
        recordB.number = 41;
        a = make(recordA);
        b = make(recordB);
        units.addClient(1);
        unit = &units.getUnit(1);
    }
    std::unique_ptr<Checkpoint> make(const TileNumberedMapElement& record) {
        auto effect = std::make_unique<CheckpointEffect>(spawns);
        CheckpointEffect* raw = effect.get();
        auto checkpoint = std::make_unique<Checkpoint>(record, std::move(effect));
        raw->checkpoint = checkpoint.get();
        return checkpoint;
    }
    static const CheckpointEffectResult& asCheckpoint(const std::unique_ptr<EffectResult>& r) {
        return dynamic_cast<const CheckpointEffectResult&>(*r);
    }
    // Kills the unit and lets it respawn.
    void killAndRespawn() {
        Kill kill(spawns, grid, 5, 1.0f);
        kill.apply(unit);
        SteerableSimulator sim;
        sim.timeStep = 0.5f;
        sim.addUnit(1, unit);
        for (int i = 0; i < 3; ++i) sim.step();
        ASSERT_EQ(unit->state, 0u);
    }

    CellGrid grid;
    SpawnPoints spawns;
    SteerableUnitManager units;
    SteerableUnit* unit;
    TileNumberedMapElement recordA;
    TileNumberedMapElement recordB;
    std::unique_ptr<Checkpoint> a;
    std::unique_ptr<Checkpoint> b;
};

TEST_F(CheckpointTest, TouchesItsCellWhileEnabled) {
    EXPECT_TRUE(a->touches(Point(3, 4), nullptr));
    EXPECT_FALSE(a->touches(Point(4, 3), unit));
    EXPECT_FALSE(a->reactsOnEnterOnly());
    a->disable();
    EXPECT_FALSE(a->touches(Point(3, 4), unit));
}

TEST_F(CheckpointTest, FirstTouchRecordsItWithoutNewlyReached) {
    auto r = a->effect->apply(unit);
    EXPECT_EQ(r->applied, 1);
    EXPECT_EQ(r->kind, EffectKind::checkpoint);
    EXPECT_EQ(r->ids, std::vector<u32>{1});
    EXPECT_EQ(asCheckpoint(r).number, 40u);
    EXPECT_EQ(asCheckpoint(r).newlyReached, 0);
    EXPECT_EQ(a->state.value, EOnOffState::off);
    EXPECT_EQ(spawns.findCheckpoint(1), a.get());

    auto again = a->effect->apply(unit);
    EXPECT_EQ(again->applied, 0);
    EXPECT_EQ(asCheckpoint(again).number, 40u);
    EXPECT_EQ(a->state.value, EOnOffState::off);
}

TEST_F(CheckpointTest, AKilledUnitRespawnsAtTheCheckpointAndReachesItNewly) {
    a->effect->apply(unit);
    unit->body().position = FPoint(300, 300);
    killAndRespawn();
    EXPECT_EQ(unit->body().position, FPoint(3 * 32 + 16, 4 * 32 + 16));

    auto r = a->effect->apply(unit);
    EXPECT_EQ(r->applied, 1);
    EXPECT_EQ(asCheckpoint(r).newlyReached, 1);
    EXPECT_EQ(a->effect->apply(unit)->applied, 0);
}

TEST_F(CheckpointTest, MovingOnHandsTheRespawnPointToTheNextCheckpoint) {
    killAndRespawn();
    EXPECT_EQ(unit->body().position, FPoint(48, 48)) << "the map's spawn cell before any checkpoint";

    EXPECT_EQ(asCheckpoint(a->effect->apply(unit)).newlyReached, 1)
        << "first checkpoint contact after the kill";
    auto r = b->effect->apply(unit);
    EXPECT_EQ(r->applied, 1);
    EXPECT_EQ(asCheckpoint(r).newlyReached, 0);
    EXPECT_EQ(a->state.value, EOnOffState::on);
    EXPECT_EQ(b->state.value, EOnOffState::off);
    EXPECT_EQ(spawns.spawnPointFor(1), Point(6, 2));

    killAndRespawn();
    EXPECT_EQ(unit->body().position, FPoint(6 * 32 + 16, 2 * 32 + 16));
}

TEST_F(CheckpointTest, EachUnitHasItsOwnCheckpoint) {
    units.addClient(2);
    SteerableUnit* other = &units.getUnit(2);
    a->effect->apply(unit);
    b->effect->apply(other);
    EXPECT_EQ(spawns.spawnPointFor(1), Point(3, 4));
    EXPECT_EQ(spawns.spawnPointFor(2), Point(6, 2));
    EXPECT_EQ(a->state.value, EOnOffState::off);
    EXPECT_EQ(b->state.value, EOnOffState::off);
}

TEST_F(CheckpointTest, AnUnwiredEffectDeclines) {
    CheckpointEffect unwired(spawns);
    auto r = unwired.apply(unit);
    EXPECT_EQ(r->applied, 0);
    EXPECT_EQ(r->kind, EffectKind::checkpoint);
    EXPECT_EQ(asCheckpoint(r).number, 0u);
    EXPECT_EQ(spawns.findCheckpoint(1), nullptr);
}

TEST_F(CheckpointTest, ResetThrows) {
    try {
        a->reset();
        FAIL();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "checkpoint cannot yet be reset");
    }
}

}  // namespace
}  // namespace Zarn
