#include <gtest/gtest.h>

#include "ElementTestSupport.h"
#include "map/records/MapElement.h"
#include "world/effects/DragModifier.h"
#include "world/effects/Kill.h"
#include "world/elements/Floor.h"
#include "world/elements/SpawnPoints.h"
#include "world/steering/Seek.h"
#include "world/steering/SteerableSimulator.h"
#include "world/traps/TrapKills.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

class FloorTest : public testing::Test {
protected:
    FloorTest() {
        zarn_test::openRoom(grid, 10, 10, 32);
        record.cell = Point(2, 2);
        units.addClient(1);
        unit = &units.getUnit(1);
        unit->body().position = FPoint(80, 80);  // cell (2, 2)
    }

    CellGrid grid;
    SpawnPoints spawns;
    SteerableUnitManager units;
    SteerableUnit* unit;
    WholeTileMapElement record;
};

TEST_F(FloorTest, DoesNothingUntilEnabledThenTouchesItsCell) {
    Floor floor(record, std::make_unique<ZeroFriction>());
    EXPECT_FALSE(floor.isEnabled());
    EXPECT_FALSE(floor.touches(Point(2, 2), unit));
    floor.enable();
    EXPECT_TRUE(floor.touches(Point(2, 2), unit));
    EXPECT_FALSE(floor.touches(Point(2, 3), unit));
    EXPECT_FALSE(floor.reactsOnEnterOnly());
    floor.disable();
    EXPECT_FALSE(floor.touches(Point(2, 2), unit));
}

TEST_F(FloorTest, HasNoStateButTheHiddenByte) {
    Floor floor(record, makeNullEffect());
    DoorIMEState other(EDoorState::open);
    other.hidden = 1;
    floor.setState(other);
    EXPECT_EQ(floor.state.hidden, 1);
    floor.reset();
    EXPECT_EQ(floor.state.hidden, 1);
    Convinience::Buffer buffer;
    floor.getState().serialize(buffer);
    EXPECT_EQ(buffer.size(), 1u);
}

TEST_F(FloorTest, ZeroFrictionFilesAOneStepDragEveryTickTheUnitStaysOn) {
    Floor floor(record, std::make_unique<ZeroFriction>());
    floor.enable();
    unit->motion.addSteering(std::make_unique<Seek>(unit, FPoint(300, 80)));
    for (int tick = 0; tick < 3; ++tick) {
        auto r = floor.effect->apply(unit);
        EXPECT_EQ(r->applied, 1);
        EXPECT_EQ(r->kind, EffectKind::zeroFriction);
        EXPECT_EQ(r->ids, std::vector<u32>{1});
        ASSERT_TRUE(unit->motion.modifiers.contains(ModifierKind::drag));
        EXPECT_EQ(unit->motion.modifiers.find(ModifierKind::drag)->kind, ModifierKind::drag);
        const FPoint before = unit->body().steeringVelocity;
        unit->motion.update(0.03f);
        // The seek asks for far more; the drag lets only a push of 5 through.
        EXPECT_NEAR(SteerableKinematics::length(unit->body().steeringVelocity - before), 5.0f, 1e-3f);
        EXPECT_FALSE(unit->motion.modifiers.contains(ModifierKind::drag)) << "dropped after its step";
    }
    unit->motion.update(0.03f);
    EXPECT_GT(SteerableKinematics::length(unit->body().steeringVelocity), 15.0f + 50.0f)
        << "off the tile: full force";
}

TEST_F(FloorTest, AConveyorPushesOncePerTickWhileTheUnitStaysOn) {
    Floor floor(record, std::make_unique<ConveyerEffect>(FPoint(0, -150)));
    floor.enable();
    SteerableSimulator sim;
    sim.timeStep = 0.03f;
    sim.addUnit(1, unit);
    for (int tick = 0; tick < 4; ++tick) {
        auto r = floor.effect->apply(unit);
        EXPECT_EQ(r->applied, 1);
        EXPECT_EQ(r->kind, EffectKind::conveyor);
        EXPECT_EQ(unit->motion.impulses.size(), 1u);
        sim.step();
        EXPECT_TRUE(unit->motion.impulses.empty()) << "one tick only";
    }
    EXPECT_LT(unit->body().externalVelocity.y, -100.0f);
    EXPECT_EQ(unit->body().externalVelocity.x, 0.0f);
    EXPECT_LT(unit->body().position.y, 80.0f);
    const float pushed = unit->body().externalVelocity.y;
    sim.step();  // off the belt: friction brakes the push
    EXPECT_GT(unit->body().externalVelocity.y, pushed);
}

TEST_F(FloorTest, ADeadlyTileKillsALivingUnitOnItAndRespawnsIt) {
    spawns.setSpawnPoint(1, Point(0, 0));
    Floor floor(record, std::make_unique<SlowStopKillThenWait>(spawns, grid, 5, 2.0f, record.cell));
    floor.enable();
    ASSERT_TRUE(floor.touches(Point(2, 2), unit));
    auto r = floor.effect->apply(unit);
    EXPECT_EQ(r->applied, 1);
    EXPECT_EQ(r->kind, EffectKind::kill);
    EXPECT_EQ(unit->state, 5u);
    EXPECT_EQ(floor.effect->apply(unit)->applied, 0) << "already dead";

    SteerableSimulator sim;
    sim.timeStep = 0.5f;
    sim.addUnit(1, unit);
    for (int i = 0; i < 4; ++i) sim.step();
    EXPECT_EQ(unit->state, 0u);
    EXPECT_EQ(unit->body().position, FPoint(16, 16));
}

}  // namespace
}  // namespace Zarn
