#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "../support/RoomFixtures.h"
#include "simulation/core/GameWorld.h"
#include "simulation/server/InputApplier.h"
#include "simulation/state/InputState.h"
#include "simulation/state/InputTables.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/triggers/InputResult.h"

using namespace Zarn;
using GeometryLib::FPoint;

namespace {

class RecordingInputTrigger : public InputEventTrigger {
public:
    void onInput(const InputResult& result) override { results.push_back({result.kind, result.applied}); }
    std::vector<std::pair<u8, u8>> results;
};

class InputApplierTest : public ::testing::Test {
protected:
    InputApplierTest() {
        std::istringstream in = zarn_test::fixtureRoom().stream();
        world.loadMap(in);
        world.addPlayer(3).keySteeringSpeed = 100.0f;
    }

    InputState keys(u32 tick, std::vector<u8> kinds) {
        InputState state(3, tick);
        for (u8 k : kinds) state.inputs.emplace_back(k, FPoint(0.0f, 0.0f));
        return state;
    }

    SteerableUnit& unit() { return world.units.getUnit(3); }

    GameWorld world;
    AppliedInputRegistry registry;
    RecordingInputTrigger trigger;
    InputApplier applier{registry, world.units, world.dialogs, world.map, trigger};
};

TEST_F(InputApplierTest, RepeatedKeyEventsCannotAccumulateSpeed) {
    applier.apply(3, {keys(1, {4, 4, 8})});
    EXPECT_FLOAT_EQ(unit().keySteeringDirection.y, 100.0f);
    EXPECT_FLOAT_EQ(unit().keySteeringDirection.x, 100.0f);
    applier.apply(3, {keys(2, {5, 5, 9, 10})});
    EXPECT_FLOAT_EQ(unit().keySteeringDirection.y, 0.0f);
    EXPECT_FLOAT_EQ(unit().keySteeringDirection.x, -100.0f);
    EXPECT_EQ(unit().keysHeld, (std::array<u8, 4>{0, 0, 1, 0}));
    EXPECT_EQ(trigger.results.size(), 7u) << "every input reaches the trigger";
}

TEST_F(InputApplierTest, AResentInputStateIsAppliedOnce) {
    const InputState press = keys(5, {6});
    applier.apply(3, {press});
    applier.apply(3, {press});
    EXPECT_FLOAT_EQ(unit().keySteeringDirection.y, -100.0f);
    EXPECT_EQ(trigger.results.size(), 1u);
    EXPECT_EQ(registry.all().at(3), (std::set<u32>{5}));
    applier.apply(3, {});
    EXPECT_TRUE(registry.all().at(3).empty()) << "the set follows the latest state's list";
}

TEST_F(InputApplierTest, AMoveForACarriedUnitIsRefusedAndADismissStopsTheDialog) {
    unit().state = UnitState::carried;
    InputState move(3, 1, {InputData(1, FPoint(200.0f, 48.0f))});
    applier.apply(3, {move});
    ASSERT_EQ(trigger.results.size(), 1u);
    EXPECT_EQ(trigger.results[0], (std::pair<u8, u8>{1, 0}));

    unit().state = 0;
    InputState moveAgain(3, 2, {InputData(1, FPoint(200.0f, 48.0f))});
    applier.apply(3, {moveAgain});
    EXPECT_EQ(trigger.results[1], (std::pair<u8, u8>{1, 1}));
    for (int i = 0; i < 100; ++i) world.stepOnce();
    EXPECT_GT(unit().body().position.x, 150.0f) << "the planned walk moves the unit";

    applier.apply(3, {keys(3, {12})});
    EXPECT_EQ(trigger.results[2], (std::pair<u8, u8>{InputResultKind::dialogClosed, 1}));
    EXPECT_EQ(unit().dialogDismissed, 1);
}

}  // namespace
