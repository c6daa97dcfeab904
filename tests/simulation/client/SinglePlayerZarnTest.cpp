#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "../support/RoomFixtures.h"
#include "foundation/Stopwatch.h"
#include "map/records/MapElement.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/client/ZarnGameNotifier.h"
#include "simulation/state/InputState.h"
#include "world/elements/SpawnPoints.h"
#include "world/traps/SpawningTrap.h"

using namespace Zarn;
using namespace std::chrono_literals;
using GeometryLib::FPoint;
using GeometryLib::Point;

namespace {

// A spike at (5, 1) enabled by the start event; a checkpoint at (1, 5) whose
// touch ends the level (the exit).
zarn_test::MapBuilder levelRoom() {
    auto b = zarn_test::fixtureRoom();
    b.trap(zarn_test::trapAt(43, 1, Point(5, 1), 100.0f, 0.0f));
    TileNumberedMapElement exit;
    exit.elementId = 42;
    exit.number = 9;
    exit.cell = Point(1, 5);
    b.element(exit);
    b.event(zarn_test::eventWith(1, 1, 0, zarn_test::oneAction(0, 1)));
    b.event(zarn_test::eventWith(2, 12, 9, zarn_test::oneAction(37, 0)));
    return b;
}

struct Outcome {
    bool died = false;
    bool respawned = false;
    int exits = 0;
};

// Frames of 0.03 s; the server thread answers between them.
Outcome playLevel() {
    SinglePlayerZarn client;
    std::istringstream in = levelRoom().stream();
    client.loadMap(in);
    Outcome outcome;
    client.setExitHandler([&] { ++outcome.exits; });
    client.startServer();
    SteerableUnit& rat = client.getSteerableUnitManager().getUnit(0);
    auto moveTo = [&](Point cell) {
        client.getInputManager().pushInput(0, InputData(1, zarn_test::cellCentre(cell)));
        client.setNextLocalCommand(2);
    };
    moveTo(Point(5, 1));
    for (int frame = 0; frame < 1500 && outcome.exits == 0; ++frame) {
        client.update(0.03f);
        std::this_thread::sleep_for(1ms);
        if (!outcome.died && rat.state == 5) outcome.died = true;
        if (outcome.died && !outcome.respawned && rat.state == 0) {
            outcome.respawned = true;
            moveTo(Point(1, 5));
        }
    }
    for (int frame = 0; frame < 10; ++frame) client.update(0.03f);
    return outcome;
}

TEST(SinglePlayerZarnTest, APlayerDiesOnASpikeRespawnsAndReachesTheExitOnEveryRun) {
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const Outcome outcome = playLevel();
        EXPECT_TRUE(outcome.died);
        EXPECT_TRUE(outcome.respawned);
        EXPECT_EQ(outcome.exits, 1);
    }
}

// The boss falls to a bomb on a bombable trap; its "trap disabled" event
// fires once and the client sees the exit door open.
TEST(SinglePlayerZarnTest, TheBossFallsAndItsDefeatEventOpensTheExitOnce) {
    SinglePlayerZarn client;
    std::istringstream in = zarn_test::bossDefeatRoom().stream();
    client.loadMap(in);
    client.startServer();
    const auto& door = dynamic_cast<const DoorIMEState&>(client.getNumberedElements().get(40).getState());
    ASSERT_EQ(door.value, EDoorState::closed);
    for (int frame = 0; frame < 3000 && door.value == EDoorState::closed; ++frame) {
        client.update(0.03f);
        std::this_thread::sleep_for(1ms);
    }
    for (int frame = 0; frame < 100; ++frame) {
        client.update(0.03f);
        std::this_thread::sleep_for(1ms);
    }
    client.stopServer();
    EXPECT_EQ(door.value, EDoorState::open);
    const auto& boss = dynamic_cast<const BossState&>(client.server().world().store.findTrap(27)->getState());
    EXPECT_EQ(boss.health, 0);
    EXPECT_FALSE(client.server().world().store.findTrap(27)->isEnabled());
}

// A checkpoint the server records for the player becomes the player's in the
// client's spawn points as soon as the state that shows it arrives.
TEST(SinglePlayerZarnTest, ACheckpointRecordedByTheServerReachesTheClientsSpawnPoints) {
    auto room = zarn_test::fixtureRoom();
    TileNumberedMapElement checkpoint;
    checkpoint.elementId = 42;
    checkpoint.number = 8;
    checkpoint.cell = Point(4, 1);
    room.element(checkpoint);
    SinglePlayerZarn client;
    std::istringstream in = room.stream();
    client.loadMap(in);
    client.startServer();
    SpawnPoints& spawns = client.getSpawnPoints();
    EXPECT_EQ(spawns.spawnPointFor(0), Point(1, 1));
    client.getInputManager().pushInput(0, InputData(1, zarn_test::cellCentre(Point(4, 1))));
    client.setNextLocalCommand(2);
    for (int frame = 0; frame < 1000 && spawns.findCheckpoint(0) == nullptr; ++frame) {
        client.update(0.03f);
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(spawns.findCheckpoint(0), &client.getNumberedElements().get(8));
    EXPECT_EQ(spawns.spawnPointFor(0), Point(4, 1));
}

// The client's copy of the room runs no trap of its own: the traps a
// spawner makes on the server reach the client's spawner through the states
// it receives, and the client makes them in its own store, where the visuals
// find them.
TEST(SinglePlayerZarnTest, TrapsASpawnerMakesOnTheServerAreMadeInTheClientsRoom) {
    auto room = zarn_test::fixtureRoom();
    auto spawner = zarn_test::trapAt<TrapSpawningTrapElement>(130, 5, Point(0, 2), 2.0f, 0.5f);
    for (i16 y = 2; y <= 4; ++y)
        for (i16 x = 0; x < 10; ++x) spawner.coveredCells.insert(Point(x, y));
    spawner.startDelay = 0.5f;
    spawner.spawnInterval = 1;
    spawner.minCount = 6;
    spawner.maxCount = 6;
    room.trap(spawner);
    room.event(zarn_test::eventWith(1, 1, 0, zarn_test::oneAction(0, 5)));
    SinglePlayerZarn client;
    std::istringstream in = room.stream();
    client.loadMap(in);
    client.startServer();
    client.getInputManager().pushInput(0, InputData(1, zarn_test::cellCentre(Point(1, 3))));
    client.setNextLocalCommand(2);
    auto& onClient = static_cast<BaseSpawningTrap&>(*client.getInteractiveElementStore().findTrap(5));
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (onClient.spawned.size() < 6 && std::chrono::steady_clock::now() < deadline) {
        client.update(0.03f);
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_EQ(onClient.spawned.size(), 6u);
    EXPECT_EQ(client.getInteractiveElementStore().spawnedTrapCount(), 6u);
    for (const auto& [number, made] : onClient.spawned) {
        EXPECT_EQ(made.record->elementId, 134u);
        EXPECT_TRUE(spawner.coveredCells.contains(made.record->position));
        EXPECT_EQ(client.getInteractiveElementStore().findSpawnedTrap(made.record->trapNumber), made.trap);
    }
}

// Waits (a bounded while) for the server loop of the client to have ended.
bool loopEnds(SinglePlayerZarn& client) {
    for (int i = 0; i < 2000 && !client.server().hasExited(); ++i) std::this_thread::sleep_for(1ms);
    return client.server().hasExited();
}

TEST(SinglePlayerZarnTest, ServerThreadLifecycleInEveryOrderAScenCanCause) {
    {
        SinglePlayerZarn neverStarted;
        EXPECT_FALSE(neverStarted.serverStarted());
        EXPECT_FALSE(neverStarted.server().hasExited()) << "the loop never ran";
    }
    {
        SinglePlayerZarn stoppedTwice;
        std::istringstream in = levelRoom().stream();
        stoppedTwice.loadMap(in);
        stoppedTwice.startServer();
        stoppedTwice.startServer();
        stoppedTwice.update(0.03f);
        stoppedTwice.stopServer();
        EXPECT_TRUE(loopEnds(stoppedTwice));
        stoppedTwice.stopServer();
        stoppedTwice.update(0.03f);
        EXPECT_TRUE(stoppedTwice.server().hasExited());
    }
    {
        SinglePlayerZarn stoppedBeforeStart;
        stoppedBeforeStart.stopServer();
        stoppedBeforeStart.startServer();
        EXPECT_TRUE(loopEnds(stoppedBeforeStart)) << "a loop stopped before it ran ends at once";
    }
    {
        SinglePlayerZarn destroyedMidLevel;
        std::istringstream in = levelRoom().stream();
        destroyedMidLevel.loadMap(in);
        destroyedMidLevel.startServer();
        for (int i = 0; i < 20; ++i) destroyedMidLevel.update(0.03f);
        EXPECT_FALSE(destroyedMidLevel.server().hasExited()) << "running until the client goes";
    }
}

TEST(SinglePlayerZarnTest, AFullServerRingKeepsTheClientsRecordsForLaterFrames) {
    // A clock that never moves: the server steps only for confirmations.
    Convinience::ManualTickClock clock;
    SinglePlayerZarn client(clock);
    std::istringstream in = levelRoom().stream();
    client.loadMap(in);
    // The server does not run: 600 ticks of state updates pile up beyond the
    // server ring's 512 slots. The server is then driven on this thread, a
    // command batch after each frame, so that what each frame moves is all
    // it gets: every record reaches it in order; of each batch it drains it
    // answers the newest and drops the older ones as stale, stepping once
    // per answer.
    for (int i = 0; i < 600; ++i) client.update(0.03f);
    ZarnServer& server = client.server();
    const Simulator& clientTicks = client.getCore().world().simulator;
    auto lastFiled = [&]() -> u32 {
        const auto& executed = server.commands().own.executed;
        return executed.empty() ? 0 : executed.rbegin()->first;
    };
    for (int frame = 0;
         frame < 20 && (lastFiled() != 599 || clientTicks.tickCount != server.stepper().stepCount());
         ++frame) {
        client.update(0.0f);
        server.runCommandBatch();
    }
    EXPECT_EQ(lastFiled(), 599u) << "the last of the 600 (numbered from 0) reached the server";
    EXPECT_GT(server.stepper().stepCount(), 0u);
    EXPECT_EQ(clientTicks.tickCount, server.stepper().stepCount()) << "the last answer arrived";
}

class ExitNotifier : public ZarnGameNotifier {
public:
    void gameNotification() override { ++exits; }
    void playerJoined(u32) override {}
    void playerLeft(u32) override {}
    void playerChanged(u32) override {}
    int exits = 0;
};

// Leaving: the local exit command reaches the server, whose confirmation
// comes back and reaches the scene's notifier once.
TEST(SinglePlayerZarnTest, LeavingTheGameIsConfirmedToTheNotifier) {
    SinglePlayerZarn client;
    std::istringstream in = levelRoom().stream();
    client.loadMap(in);
    ExitNotifier notifier;
    client.setGameNotifier(&notifier);
    client.startServer();
    client.setNextLocalCommand(9);
    for (int frame = 0; frame < 1000 && notifier.exits == 0; ++frame) {
        client.update(0.03f);
        std::this_thread::sleep_for(1ms);
    }
    for (int frame = 0; frame < 10; ++frame) client.update(0.03f);
    EXPECT_EQ(notifier.exits, 1);
    client.setGameNotifier(nullptr);
}

}  // namespace
