#include <gtest/gtest.h>

#include <typeinfo>

#include "level/BuildTestSupport.h"
#include "level/WorldFixtures.h"
#include "map/records/BossElement.h"
#include "map/records/DoorElement.h"
#include "map/records/GroupedTrapElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/SwitchElement.h"
#include "simulation/state/GameStateCapture.h"
#include "simulation/state/StateInterpolator.h"

namespace {

using namespace Zarn;
using GeometryLib::Point;
using zarn_test::actionList;
using zarn_test::eventOf;
using zarn_test::numberAction;
using zarn_test::trapAt;

// A room with spawners, boss arms, a cannon group and the boss; a rat trap
// and a spike; a lever and a door; a numbered floor; two musical notes and
// their controller.
std::vector<u8> busyRoom() {
    auto rat = trapAt<RatTrapElement>(49, 7, Point(3, 7));
    rat.snapTime = 0.1f;
    auto spike = trapAt(43, 8, Point(9, 7), 0.3f, 0.3f);
    auto rat47 = trapAt<RatTrapElement>(47, 9, Point(5, 7));
    TileNumberedMapElement floor;
    floor.elementId = 138;
    floor.number = 34;
    floor.cell = Point(8, 0);
    SwitchElement lever;
    lever.elementId = 35;
    lever.number = 5;
    lever.position = Point(2 * 32 + 10, 1 * 32 + 10);
    lever.startOff = 1;
    DoorElement door;
    door.elementId = 36;
    door.number = 6;
    door.position = Point(5 * 32, 3 * 32);
    door.width = 32;
    door.height = 64;
    MusicalNoteElement c;
    c.elementId = 383;
    c.number = 31;
    c.cell = Point(1, 1);
    MusicalNoteElement d = c;
    d.number = 32;
    d.cell = Point(2, 1);
    MusicalNoteControllerElement controller;
    controller.elementId = 379;
    controller.number = 30;
    controller.cell = Point(0, 1);
    controller.controllerTime = 0.5f;
    controller.noteSequences = {{31, 32}};

    zarn_test::MapBuilder b = zarn_test::openRoom();
    zarn_test::addBossFight(b, Point(5, 5), Point(8, 6));
    b.trap(rat)
        .trap(spike)
        .trap(rat47)
        .element(floor)
        .element(lever)
        .element(door)
        .element(c)
        .element(d)
        .element(controller);
    std::vector<std::unique_ptr<ActionData>> start;
    start.push_back(numberAction(0, 27));
    start.push_back(numberAction(0, 8));
    b.event(eventOf(1, 1, 0, actionList(std::move(start))));
    return b.bytes();
}

// A world as a game owns it, with the two state factories over its own map.
struct Game {
    Game() : trapStates(world.store), elementStates(world.numbered) {
        world.load(busyRoom());
        factories.traps = &trapStates;
        factories.elements = &elementStates;
    }
    MapState capture() const {
        return MapStateCapture(world.traps, world.numbered, &world.dialogs).capture();
    }

    zarn_test::TestWorld world;
    RawTrapStateFactory trapStates;
    NumberedElementStateFactoryImpl elementStates;
    StateFactories factories;
};

// The server's map state of a real room, sent and read with the client's
// own map, rebuilds every trap and element state in the class the client's
// element holds, so that applying it takes effect everywhere.
TEST(LoadedRoomSnapshot, ServerMapStateRebuildsOnTheClientInTheElementsOwnClasses) {
    Game server;
    Game client;
    server.world.addPlayer(1, {24.0f, 24.0f});
    server.world.run(2.0f);
    const MapState sent = server.capture();
    ASSERT_FALSE(sent.trapStates.empty());
    ASSERT_FALSE(sent.elementStates.empty());

    for (const auto& [number, state] : sent.trapStates) {
        ASSERT_NE(client.world.store.findTrap(number), nullptr) << number;
    }
    const std::vector<u8> bytes = sent.toBytes();
    Convinience::ByteReader reader(bytes);
    const MapState read(reader, client.factories);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(read, sent);
    for (const auto& [number, state] : read.trapStates) {
        EXPECT_EQ(typeid(*state), typeid(client.world.store.findTrap(number)->getState()))
            << "trap " << number;
    }
    for (const auto& [number, state] : read.elementStates) {
        EXPECT_EQ(typeid(*state), typeid(client.world.numbered.get(number).getState()))
            << "element " << number;
    }

    // Played back on the client, the room takes the server's states.
    ASSERT_FALSE(client.capture() == sent) << "the server's room has moved on from the start";
    GameState from;
    from.tick = 1;
    from.mapState = read;
    GameState to = from;
    to.tick = 2;
    StateInterpolator interpolator(client.world.units, &client.world.store, &client.world.numbered,
                                   &client.world.dialogs);
    interpolator.start(from, to);
    interpolator.step(1.0f);
    EXPECT_EQ(client.capture(), sent);
}

}  // namespace
