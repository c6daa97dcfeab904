#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <sstream>
#include <vector>

#include "../support/RoomFixtures.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/server/GameInstance.h"
#include "simulation/server/ZarnServer.h"
#include "world/units/SteerableUnit.h"

using namespace Zarn;
using GeometryLib::Point;

namespace {

// The fixture room with an exit as rooms have one: an area event over cells
// (8, 1) and (8, 2) that never runs out of firings and takes a player out of
// the level.
zarn_test::MapBuilder roomWithExit() {
    zarn_test::MapBuilder b = zarn_test::fixtureRoom();
    Zarn::MapEventData exit;
    exit.eventId = 900;
    auto area = std::make_unique<Zarn::AreaTriggerData>();
    area->triggerId = 20;
    area->count = std::numeric_limits<u32>::max();
    area->cells.insert(Point(8, 1));
    area->cells.insert(Point(8, 2));
    exit.trigger = std::move(area);
    exit.actions.push_back(std::make_unique<Zarn::ActionData>(37));
    b.event(std::move(exit));
    return b;
}

// What the server put on its outgoing ring for the host (route 2 = 0), by
// command ID, with the last game instance it carried.
struct HostRecords {
    std::vector<u32> ids;
    GameInstance instance;
};

HostRecords drainHostRecords(Corvel::MessageQueue& outgoing) {
    HostRecords records;
    Corvel::QueuedMessage message;
    while (outgoing.pop(message)) {
        if (message.toClientId != 0) continue;
        Convinience::ByteReader reader(message.bytes);
        const Corvel::CommandHeader header(reader);
        records.ids.push_back(header.commandId);
        if (header.commandId == HostCommandId::roomFinished) records.instance = GameInstance(reader);
    }
    return records;
}

class RoomEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        server = std::make_unique<ZarnServer>(incoming, outgoing, clock);
        server->setTickDelta(0.03f);
        std::istringstream in = roomWithExit().stream();
        server->loadMap(in);
        server->gameInstance().mapHash = 1;
        for (u32 id : {10u, 11u, 12u}) {
            server->addClient(id);
            server->gameInstance().players.insert(id);
            unit(id).body().position = zarn_test::cellCentre(Point(static_cast<i16>(id - 9), 5));
        }
    }
    SteerableUnit& unit(u32 id) { return server->world().units.getUnit(id); }
    // A player walks onto a cell; the server steps twice (the contact, then
    // the action it queued).
    void stepOnto(u32 id, Point cell) {
        unit(id).body().position = zarn_test::cellCentre(cell);
        server->waitOrStep();
        server->runCommandBatch();
        server->waitOrStep();
    }
    std::vector<u32> states() { return {unit(10).state, unit(11).state, unit(12).state}; }

    Corvel::MessageQueue incoming{513};
    Corvel::MessageQueue outgoing{513};
    Convinience::ManualTickClock clock;
    std::unique_ptr<ZarnServer> server;
};

constexpr u32 kOut = UnitState::carried;

// The exit takes the player who stepped on it, not the first player of the
// table, and the next player who steps on it, and so on: nobody is left in a
// room whose exit is spent. Once every player is out the room is over: the
// host is told once, with the game instance.
TEST_F(RoomEndTest, TheExitTakesEachPlayerWhoStepsOnItAndTheLastOneEndsTheRoom) {
    stepOnto(11, Point(8, 1));
    EXPECT_EQ(states(), (std::vector<u32>{0, kOut, 0})) << "the exit took someone else";
    stepOnto(12, Point(8, 2));
    EXPECT_EQ(states(), (std::vector<u32>{0, kOut, kOut}));
    EXPECT_FALSE(server->roomFinished());
    EXPECT_TRUE(drainHostRecords(outgoing).ids.empty());

    stepOnto(10, Point(8, 1));
    EXPECT_EQ(states(), (std::vector<u32>{kOut, kOut, kOut}));
    EXPECT_TRUE(server->roomFinished());
    server->waitOrStep();
    server->runCommandBatch();
    const HostRecords records = drainHostRecords(outgoing);
    EXPECT_EQ(records.ids, (std::vector<u32>{HostCommandId::roomFinished}));
    EXPECT_EQ(records.instance.mapHash, 1u);
    EXPECT_EQ(records.instance.players.size(), 3u);
}

// A player who leaves the game while the others are out ends the room too:
// the others are not kept waiting for someone who is gone.
TEST_F(RoomEndTest, APlayerWhoLeavesWhileTheOthersAreOutEndsTheRoom) {
    stepOnto(10, Point(8, 1));
    stepOnto(12, Point(8, 1));
    EXPECT_FALSE(server->roomFinished());
    Corvel::CommandHeader header(11, ServerCommandId::exitGame, 0, true);
    Convinience::Buffer buffer;
    header.serialize(buffer);
    Corvel::QueuedMessage leave;
    leave.fromClientId = 11;
    leave.reliable = 1;
    leave.bytes = buffer.takeBytes();
    incoming.push(std::move(leave));
    server->runCommandBatch();
    server->runCommandBatch();
    EXPECT_TRUE(server->roomFinished());
    EXPECT_EQ(drainHostRecords(outgoing).ids,
              (std::vector<u32>{HostCommandId::playerLeft, HostCommandId::roomFinished}));
}

}  // namespace
