#include <gtest/gtest.h>

#include <sstream>

#include "../support/RoomFixtures.h"
#include "map/records/DoorElement.h"
#include "map/records/SwitchElement.h"
#include "simulation/core/GameWorld.h"
#include "world/elements/Door.h"
#include "world/elements/Lever.h"
#include "world/steering/Seek.h"
#include "world/traps/Boss.h"

using namespace Zarn;
using GeometryLib::FPoint;
using GeometryLib::Point;
using zarn_test::cellCentre;

namespace {

void load(GameWorld& world, const zarn_test::MapBuilder& builder) {
    std::istringstream in = builder.stream();
    world.loadMap(in);
}

void run(GameWorld& world, float seconds) {
    for (float t = 0.0f; t < seconds; t += world.tickDelta()) world.stepOnce();
}

// The start event enables the spike through the map-action factory; a unit
// that walks into it dies and comes back at the spawn point 2 s later.
TEST(GameWorldTest, AUnitWalksIntoAnEnabledSpikeDiesAndRespawns) {
    auto b = zarn_test::fixtureRoom();
    b.trap(zarn_test::trapAt(43, 1, Point(5, 1), 10.0f, 0.0f));
    b.event(zarn_test::eventWith(1, 1, 0, zarn_test::oneAction(0, 1)));
    GameWorld world;
    load(world, b);
    SteerableUnit& rat = world.addPlayer(1);
    EXPECT_FLOAT_EQ(rat.body().position.x, 48.0f) << "new units start at the map's start point";
    rat.body().position = cellCentre(Point(3, 1));
    rat.motion.addSteering(std::make_unique<Seek>(&rat, cellCentre(Point(9, 1))));

    int deathTick = -1;
    for (int tick = 0; tick < 100 && deathTick < 0; ++tick) {
        world.stepOnce();
        if (rat.state == 5) deathTick = tick;
    }
    ASSERT_GE(deathTick, 0);
    EXPECT_EQ(world.map.grid.toCell(Point(rat.body().position)), Point(5, 1));
    run(world, 2.1f);
    EXPECT_EQ(rat.state, 0u);
    EXPECT_NEAR(rat.body().position.x, 48.0f, 0.5f);
}

// A lever's on list opens a door by number; the door-opened event disables a
// trap that the start event enabled: map actions chained through real commands.
TEST(GameWorldTest, ALeverOpensADoorWhoseEventDisablesATrap) {
    SwitchElement lever;
    lever.elementId = 35;
    lever.number = 5;
    lever.position = Point(2 * 32 + 10, 1 * 32 + 10);
    lever.startOff = 1;
    lever.secondActions.push_back(std::make_unique<NumberActionData>(10, 6));
    lever.firstActions.push_back(std::make_unique<NumberActionData>(11, 6));
    DoorElement door;
    door.elementId = 36;
    door.number = 6;
    door.position = Point(5 * 32, 3 * 32);
    door.width = 32;
    door.height = 64;
    auto b = zarn_test::fixtureRoom();
    b.trap(zarn_test::trapAt(43, 7, Point(8, 6), 5.0f, 0.0f)).element(lever).element(door);
    b.event(zarn_test::eventWith(1, 1, 0, zarn_test::oneAction(0, 7)));
    b.event(zarn_test::eventWith(2, 10, 6, zarn_test::oneAction(1, 7)));

    GameWorld world;
    load(world, b);
    SteerableUnit& rat = world.addPlayer(1);
    rat.body().position = cellCentre(Point(0, 1));
    run(world, 0.1f);
    EXPECT_TRUE(world.store.findTrap(7)->isEnabled());
    rat.motion.addSteering(std::make_unique<Seek>(&rat, cellCentre(Point(2, 1))));
    run(world, 2.0f);
    EXPECT_TRUE(world.numbered.getTyped<Door>(6).isOpen());
    EXPECT_FALSE(world.store.findTrap(7)->isEnabled());
}

// Two copies of the busy room, stepped alike, stay alike.
TEST(GameWorldTest, TwoCopiesOfABusyRoomStepAlike) {
    GameWorld a, b;
    load(a, zarn_test::busyRoom());
    load(b, zarn_test::busyRoom());
    for (GameWorld* w : {&a, &b})
        for (u32 id = 0; id < 4; ++id) w->addPlayer(id).body().position = cellCentre(Point(2 * id + 1, 6));
    for (int tick = 0; tick < 300; ++tick) {
        a.stepOnce();
        b.stepOnce();
    }
    for (u32 id = 0; id < 4; ++id) {
        EXPECT_EQ(a.units.getUnit(id).state, b.units.getUnit(id).state);
        EXPECT_FLOAT_EQ(a.units.getUnit(id).body().position.x, b.units.getUnit(id).body().position.x);
    }
    EXPECT_TRUE(a.store.findTrap(27)->isEnabled());
    EXPECT_EQ(a.store.spawnedTrapCount(), b.store.spawnedTrapCount());
}

}  // namespace
