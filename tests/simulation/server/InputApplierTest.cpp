#include <gtest/gtest.h>

#include <cmath>
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
    InputApplier applier{registry,  world.units, world.dialogs,
                         world.map, trigger,     world.triggers.positionElementTrigger()};
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

// A waited dialog takes the players' steering; dismissing it gives it back.
TEST_F(InputApplierTest, DismissingAWaitedDialogLetsTheKeysSteerAgain) {
    unit().inputEnabled = 0;
    applier.apply(3, {keys(1, {8})});
    world.stepOnce();
    EXPECT_EQ(unit().body().position, FPoint(48.0f, 48.0f));
    applier.apply(3, {keys(2, {12, 9, 8})});
    EXPECT_EQ(unit().inputEnabled, 1);
    world.stepOnce();
    EXPECT_GT(unit().body().position.x, 48.0f);
}

// Key events in, the unit's walk out: each row holds and releases keys in
// one received state, then the world steps once.
TEST_F(InputApplierTest, HeldKeysWalkTheUnitInTheirDirection) {
    struct Case {
        std::vector<u8> kinds;
        FPoint direction;
    };
    const float d = 1.0f / std::sqrt(2.0f);
    const Case cases[] = {
        {{4}, {0.0f, 1.0f}},       {{6}, {0.0f, -1.0f}},    {{8}, {1.0f, 0.0f}},
        {{10}, {-1.0f, 0.0f}},     {{4, 8}, {d, d}},        {{6, 10}, {-d, -d}},
        {{4, 10}, {-d, d}},        {{8, 10}, {0.0f, 0.0f}}, {{4, 6, 8}, {1.0f, 0.0f}},
        {{4, 8, 5}, {1.0f, 0.0f}}, {{8, 9}, {0.0f, 0.0f}},  {{8, 8, 8, 9}, {0.0f, 0.0f}},
    };
    u32 tick = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kinds " << testing::PrintToString(c.kinds));
        unit().body().position = FPoint(160.0f, 128.0f);
        applier.apply(3, {keys(tick++, c.kinds)});
        world.stepOnce();
        const FPoint v = unit().body().velocity;
        EXPECT_NEAR(v.x, c.direction.x * 100.0f, 0.01f);
        EXPECT_NEAR(v.y, c.direction.y * 100.0f, 0.01f);
        EXPECT_NEAR(unit().body().position.x, 160.0f + v.x * world.tickDelta(), 0.001f);
        // Let go of everything before the next row.
        applier.apply(3, {keys(tick++, {5, 7, 9, 11})});
        world.stepOnce();
        EXPECT_EQ(unit().body().velocity, FPoint(0.0f, 0.0f));
    }
}

TEST_F(InputApplierTest, PlayerUnitsWalkByKeysAsFastAsToAClickedPoint) {
    GameWorld other;
    const SteerableUnit& player = other.addPlayer(1);
    EXPECT_EQ(player.keySteeringSpeed, player.body().maxSteeringSpeed);
    EXPECT_GT(player.keySteeringSpeed, 0.0f);
}

// The latest of clicks and keys steers.
TEST_F(InputApplierTest, AKeyPressDropsAClickWalkAndAClickReplacesTheKeys) {
    applier.apply(3, {InputState(3, 1, {InputData(1, FPoint(280.0f, 48.0f))})});
    for (int i = 0; i < 5; ++i) world.stepOnce();
    ASSERT_GT(unit().body().velocity.x, 0.0f);

    applier.apply(3, {keys(2, {4})});
    world.stepOnce();
    const float x = unit().body().position.x;
    for (int i = 0; i < 10; ++i) world.stepOnce();
    EXPECT_EQ(unit().body().position.x, x) << "the walk to the click was dropped";
    EXPECT_NEAR(unit().body().velocity.y, 100.0f, 0.01f);

    // Up still held; a click walks there instead, and the held key does not
    // pull the unit away.
    const FPoint target(unit().body().position.x - 20.0f, unit().body().position.y);
    applier.apply(3, {InputState(3, 3, {InputData(1, target)})});
    for (int i = 0; i < 60; ++i) world.stepOnce();
    EXPECT_NEAR(unit().body().position.x, target.x, 3.0f);
    EXPECT_NEAR(unit().body().position.y, target.y, 3.0f);
    EXPECT_EQ(unit().keysHeld, (std::array<u8, 4>{1, 0, 0, 0}));

    // The next key event hands the unit back to the keys.
    applier.apply(3, {keys(4, {8})});
    world.stepOnce();
    EXPECT_NEAR(unit().body().velocity.x, 100.0f / std::sqrt(2.0f), 0.01f);
    EXPECT_NEAR(unit().body().velocity.y, 100.0f / std::sqrt(2.0f), 0.01f);
}

TEST_F(InputApplierTest, KeysDoNotMoveACarriedUnitOrOneWithoutInput) {
    unit().state = UnitState::carried;
    applier.apply(3, {keys(1, {8})});
    for (int i = 0; i < 5; ++i) world.stepOnce();
    EXPECT_EQ(unit().body().position, FPoint(48.0f, 48.0f));
    EXPECT_EQ(unit().keysHeld, (std::array<u8, 4>{0, 0, 0, 1})) << "the key is still counted as held";

    unit().state = UnitState::alive;
    unit().inputEnabled = 0;
    applier.apply(3, {keys(2, {9, 4})});
    for (int i = 0; i < 5; ++i) world.stepOnce();
    EXPECT_EQ(unit().body().position, FPoint(48.0f, 48.0f));

    unit().inputEnabled = 1;
    applier.apply(3, {keys(3, {5, 4})});
    world.stepOnce();
    EXPECT_GT(unit().body().position.y, 48.0f);
}

}  // namespace
