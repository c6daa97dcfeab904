#include <gtest/gtest.h>

#include "ElementTestSupport.h"
#include "foundation/Error.h"
#include "map/records/ElevatorPadElement.h"
#include "world/effects/SteeringSpeedModifier.h"
#include "world/elements/ElevatorPad.h"
#include "world/steering/Seek.h"
#include "world/steering/SteerableSimulator.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

class ElevatorPadTest : public testing::Test {
protected:
    ElevatorPadTest() {
        zarn_test::openRoom(grid, 10, 10, 32);
        record.cell = Point(2, 3);
        record.number = 12;
        units.addClient(7);
        unit = &units.getUnit(7);
        unit->body().position = FPoint(70, 100);  // in cell (2, 3), off centre
    }
    // The pad and its effect, wired as the builder wires them.
    std::unique_ptr<ElevatorPad> makePad() {
        auto effect = std::make_unique<ElevatorPadEffect>(record, units, grid);
        ElevatorPadEffect* raw = effect.get();
        auto pad = std::make_unique<ElevatorPad>(record, std::move(effect));
        raw->padState = &pad->state;
        return pad;
    }

    CellGrid grid;
    ElevatorPadElement record;
    SteerableUnitManager units;
    SteerableUnit* unit;
};

TEST_F(ElevatorPadTest, ConstructionFollowsTheRecord) {
    auto pad = makePad();
    EXPECT_EQ(pad->state.value, 0);
    EXPECT_TRUE(pad->isEnabled());
    record.startHidden = 1;
    record.startValue = 0;
    ElevatorPad hiddenDisabled(record, makeNullEffect());
    EXPECT_EQ(hiddenDisabled.state.value, 1);
    EXPECT_FALSE(hiddenDisabled.isEnabled());
    EXPECT_FALSE(hiddenDisabled.touches(Point(2, 3), unit));
}

TEST_F(ElevatorPadTest, CarriesAUnitToTheCentreOfItsCellAndSetsItDownThere) {
    auto pad = makePad();
    unit->body().setSteeringVelocity({50, 0});
    unit->motion.addSteering(std::make_unique<Seek>(unit, FPoint(300, 300)));
    unit->motion.modifiers.add(std::make_unique<SteeringSpeedModifier>(unit, 0.5f));

    ASSERT_TRUE(pad->touches(Point(2, 3), unit));
    auto result = pad->effect->apply(unit);
    EXPECT_EQ(result->applied, 1);
    EXPECT_EQ(result->kind, EffectKind::elevatorPad);
    EXPECT_EQ(result->ids, std::vector<u32>{7});
    EXPECT_EQ(dynamic_cast<NumberEffectResult&>(*result).number, 12u);
    EXPECT_EQ(unit->state, UnitState::carried);
    EXPECT_EQ(pad->state.payload, 7u);
    EXPECT_EQ(unit->body().velocity, FPoint(0, 0));
    EXPECT_EQ(unit->body().steeringVelocity, FPoint(0, 0));
    EXPECT_EQ(unit->motion.steering.size(), 1u) << "the walk replaced the unit's own steering";
    EXPECT_FALSE(unit->motion.modifiers.empty()) << "modifiers are kept";

    SteerableSimulator sim;
    sim.timeStep = 0.03f;
    sim.addUnit(7, unit);
    for (int i = 0; i < 200; ++i) {
        sim.step();
        pad->update(0.03f);
    }
    const FPoint centre(80, 112);
    EXPECT_NEAR(unit->body().position.x, centre.x, ExternalTimedSteering::kArrivalDistance);
    EXPECT_NEAR(unit->body().position.y, centre.y, ExternalTimedSteering::kArrivalDistance);
    EXPECT_EQ(unit->body().steeringVelocity, FPoint(0, 0)) << "set down: at rest";
    EXPECT_TRUE(unit->motion.steering.empty());
    EXPECT_EQ(unit->state, UnitState::carried);
}

TEST_F(ElevatorPadTest, ArrivalTargetIsTheCellCentre) {
    record.cell = Point(2, 3);
    ElevatorPadEffect effect(record, units, grid);
    EXPECT_EQ(effect.target(), FPoint(80.0f, 112.0f));
    CellGrid odd;
    zarn_test::openRoom(odd, 4, 4, 33);
    record.cell = Point(0, 0);
    ElevatorPadEffect oddEffect(record, units, odd);
    EXPECT_EQ(oddEffect.target(), FPoint(16.5f, 16.5f));
}

TEST_F(ElevatorPadTest, ACarriedUnitNeitherTriggersNorIsTakenAgain) {
    auto pad = makePad();
    unit->state = UnitState::carried;
    EXPECT_FALSE(pad->touches(Point(2, 3), unit));
    EXPECT_EQ(pad->triggered, 0);

    unit->body().setSteeringVelocity({20, 0});
    unit->motion.addSteering(std::make_unique<Seek>(unit, FPoint(300, 300)));
    auto result = pad->effect->apply(unit);
    EXPECT_EQ(result->applied, 0);
    EXPECT_EQ(result->kind, EffectKind::elevatorPad);
    EXPECT_EQ(unit->body().steeringVelocity, FPoint(20, 0)) << "motion kept";
    EXPECT_EQ(unit->motion.steering.size(), 1u);
    EXPECT_EQ(pad->state.payload, 7u) << "the payload names the unit anyway";
}

TEST_F(ElevatorPadTest, ADeadUnitIsMovedButKeepsItsDeathState) {
    auto pad = makePad();
    unit->state = 5;
    ASSERT_TRUE(pad->touches(Point(2, 3), unit));
    auto result = pad->effect->apply(unit);
    EXPECT_EQ(result->applied, 1);
    EXPECT_EQ(unit->state, 5u);
    EXPECT_EQ(unit->motion.steering.size(), 1u);
}

TEST_F(ElevatorPadTest, AUnitWithoutSteeringGetsNoWalk) {
    auto pad = makePad();
    unit->motion.steerable = 0;
    pad->effect->apply(unit);
    EXPECT_TRUE(unit->motion.steering.empty());
    EXPECT_EQ(unit->state, UnitState::carried);
}

TEST_F(ElevatorPadTest, RunsItsTwoSecondCycleAndReArms) {
    auto pad = makePad();
    ASSERT_TRUE(pad->touches(Point(2, 3), unit));
    EXPECT_FALSE(pad->touches(Point(2, 3), nullptr)) << "busy while triggered";
    const u8 values[] = {1, 1, 0, 0};
    for (u8 v : values) {
        pad->update(0.5f);
        EXPECT_EQ(pad->state.value, v) << pad->timer;
        EXPECT_EQ(pad->triggered, 1);
    }
    pad->update(0.5f);  // timer 2.5: re-armed
    EXPECT_EQ(pad->triggered, 0);
    EXPECT_EQ(pad->timer, 0.0f);
    EXPECT_EQ(pad->state.value, 0);
    EXPECT_TRUE(pad->touches(Point(2, 3), unit));
}

TEST_F(ElevatorPadTest, AnyTouchOfAnIdlePadTriggersItButOnlyItsCellAnswersTrue) {
    auto pad = makePad();
    EXPECT_FALSE(pad->touches(Point(4, 4), unit));
    EXPECT_EQ(pad->triggered, 1);
}

TEST_F(ElevatorPadTest, ADisabledPadPausesItsCycleAndResetRestoresTheRecordsEnabledFlag) {
    auto pad = makePad();
    pad->touches(Point(2, 3), unit);
    pad->update(0.5f);
    pad->disable();
    pad->update(5.0f);
    EXPECT_EQ(pad->timer, 0.5f);
    pad->enable();
    pad->update(0.6f);
    EXPECT_EQ(pad->state.value, 0);

    record.startValue = 0;
    ElevatorPad startsOff(record, makeNullEffect());
    startsOff.enable();
    startsOff.reset();
    EXPECT_FALSE(startsOff.isEnabled());
}

TEST_F(ElevatorPadTest, AnUnknownUnitThrows) {
    auto pad = makePad();
    SteerableUnit stranger(99);
    try {
        pad->effect->apply(&stranger);
        FAIL();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "no such unit pointer");
    }
}

TEST_F(ElevatorPadTest, StateBytesCompare) {
    ElevatorPadState state;
    state.hidden = 1;
    state.value = 1;
    state.payload = 0x01020304;
    Convinience::Buffer buffer;
    state.serialize(buffer);
    ASSERT_EQ(buffer.size(), 6u);
    EXPECT_EQ(state.serializedSize(), 6u);
    auto back = ElevatorPadState::fromRaw(buffer.bytes().data(), buffer.size());
    EXPECT_TRUE(*back == state);
    EXPECT_EQ(back->payload, 0x01020304u);
    EXPECT_THROW(ElevatorPadState::fromRaw(buffer.bytes().data(), 5), Convinience::ReadPastEndError);

    auto copy = state.clone();
    EXPECT_TRUE(*copy == state);
    back->payload = 1;
    EXPECT_TRUE(*back != state);
    InteractiveMapElementState plain;
    plain.hidden = 1;
    EXPECT_FALSE(state == plain);
}

}  // namespace
}  // namespace Zarn
