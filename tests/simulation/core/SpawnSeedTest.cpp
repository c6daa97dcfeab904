#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "../support/RoomFixtures.h"
#include "foundation/ByteReader.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/server/ZarnServer.h"
#include "world/traps/SpawningTrap.h"

using namespace Zarn;
using GeometryLib::Point;

namespace {

constexpr u32 kSpawner = 5;
constexpr u32 kPlayer = 10;

// A trap spawner over rows 2 to 5 (40 cells) that makes 3 to 30 traps of all
// three kinds, enabled at the start; a unit standing on (3, 3) sets it off.
zarn_test::MapBuilder spawnerRoom() {
    auto b = zarn_test::fixtureRoom();
    auto spawner = zarn_test::trapAt<TrapSpawningTrapElement>(130, kSpawner, Point(0, 2), 1.0f, 0.5f);
    for (i16 y = 2; y <= 5; ++y)
        for (i16 x = 0; x < 10; ++x) spawner.coveredCells.insert(Point(x, y));
    spawner.startDelay = 0.5f;
    spawner.spawnInterval = 1;
    spawner.spawnDelayed = 1;
    spawner.spawnRadial = 1;
    spawner.minCount = 3;
    spawner.maxCount = 30;
    b.trap(spawner);
    b.event(zarn_test::eventWith(1, 1, 0, zarn_test::oneAction(0, kSpawner)));
    return b;
}

// The server of one game and a client's copy of the room, which takes the
// server's game instance as it comes over the wire.
struct ServerAndClient {
    explicit ServerAndClient(u32 seed) {
        std::istringstream serverMap = spawnerRoom().stream();
        server.loadMap(serverMap);
        server.setSpawnSeed(seed);
        const std::vector<u8> wire = server.gameInstance().toBytes();
        Convinience::ByteReader reader(wire);
        client.setGameInstance(GameInstance(reader));
        std::istringstream clientMap = spawnerRoom().stream();
        client.loadMap(clientMap);
        for (GameWorld* world : {&server.world(), &client.world()})
            world->addPlayer(kPlayer).body().position = zarn_test::cellCentre(Point(3, 3));
    }

    static std::vector<SpawnedIntervalTrapState> spawnedIn(GameWorld& world) {
        auto& spawner = static_cast<BaseSpawningTrap&>(*world.store.findTrap(kSpawner));
        return static_cast<const SpawningIntervalTrapState&>(spawner.getState()).spawned;
    }

    Corvel::MessageQueue serverIn{4};
    Corvel::MessageQueue serverOut{4096};
    Convinience::ManualTickClock clock;
    ZarnServer server{serverIn, serverOut, clock};
    Corvel::MessageQueue clientIn{4};
    Corvel::MessageQueue clientOut{4};
    ClientGameCore client{clientIn, clientOut};
};

// Every cell the spawner filled, with the kind, over a whole spawn cycle.
std::set<std::pair<std::pair<i16, i16>, u32>> cellsSpawnedWith(u32 seed) {
    ServerAndClient game(seed);
    std::set<std::pair<std::pair<i16, i16>, u32>> cells;
    for (int tick = 0; tick < 100; ++tick) {
        game.server.world().stepOnce();
        for (const auto& s : ServerAndClient::spawnedIn(game.server.world()))
            cells.insert({{s.position.x, s.position.y}, s.trapType});
    }
    return cells;
}

TEST(SpawnSeedTest, AServerAndAClientCopyOfOneInstanceSpawnTheSameTrapsTickByTick) {
    for (u32 seed : {1u, 77u, 0xDEADBEEFu}) {
        ServerAndClient game(seed);
        EXPECT_EQ(game.client.gameInstance().spawnSeed, seed);
        EXPECT_EQ(game.client.world().spawnSeed(), seed);
        std::size_t mostSpawned = 0;
        for (int tick = 0; tick < 150; ++tick) {
            game.server.world().stepOnce();
            game.client.world().stepOnce();
            const auto onServer = ServerAndClient::spawnedIn(game.server.world());
            ASSERT_EQ(onServer, ServerAndClient::spawnedIn(game.client.world()))
                << "seed " << seed << ", tick " << tick;
            mostSpawned = std::max(mostSpawned, onServer.size());
        }
        EXPECT_GE(mostSpawned, 3u) << "the spawner went off";
    }
}

TEST(SpawnSeedTest, DifferentSeedsSpawnDifferentTrapsAndOneSeedTheSameAgain) {
    const auto first = cellsSpawnedWith(1);
    EXPECT_EQ(cellsSpawnedWith(1), first);
    for (u32 seed : {2u, 3u, 1000u}) EXPECT_NE(cellsSpawnedWith(seed), first) << "seed " << seed;
}

// Without a seed the spawners keep the random device, as in single play.
TEST(SpawnSeedTest, SeedZeroLeavesTheSpawnersOnTheRandomDevice) {
    ServerAndClient game(0);
    auto& spawner = static_cast<BaseSpawningTrap&>(*game.server.world().store.findTrap(kSpawner));
    EXPECT_FALSE(spawner.seedSource);
    game.server.setSpawnSeed(9);
    EXPECT_TRUE(spawner.seedSource);
    game.server.setSpawnSeed(0);
    EXPECT_FALSE(spawner.seedSource);
}

}  // namespace
