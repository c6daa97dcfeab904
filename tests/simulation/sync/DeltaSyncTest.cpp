#include <gtest/gtest.h>

#include <random>

#include "../support/StateWorld.h"
#include "simulation/core/ClientIncomingCommands.h"
#include "simulation/state/GameStateCapture.h"
#include "simulation/state/InputTables.h"
#include "simulation/sync/GSCommandPusher.h"
#include "simulation/sync/GameStateBuffer.h"
#include "simulation/sync/GameStatePacker.h"
#include "world/steering/SteerableSimulator.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using namespace Zarn;
using zarn_test::StateWorld;

// One copy of a room with three interval traps, a door and a lever, players
// and the capture of its states.
struct Game {
    Game() : mapCapture(world.trapList, world.numbered, nullptr), capture(units, simulator) {
        for (u32 n = 1; n <= 3; ++n) world.addTrap(n, 43);
        world.addElement(10, 36);
        world.addElement(11, 35);
        capture.mapState = &mapCapture;
    }

    InteractiveMapElementState& trap(u32 n) { return world.findTrap(n)->getState(); }
    void setTrap(u32 n, EIntervalTrapState v) { static_cast<IntervalTrapIMEState&>(trap(n)).value = v; }

    StateWorld world;
    SteerableUnitManager units;
    SteerableSimulator simulator;
    MapStateCapture mapCapture;
    GameStateCapture capture;
};

GameState through(const GameState& sent, const StateFactories& factories) {
    const std::vector<u8> bytes = sent.toBytes();
    Convinience::ByteReader reader(bytes);
    return GameState(reader, factories);
}

MapState withoutBase(MapState m) {
    m.baseTick = 0;
    return m;
}

TEST(GameStatePacker, FullUntilAcknowledgedThenChangedEntriesOnly) {
    Game server;
    GameStatePacker packer;
    server.simulator.tickCount = 1;
    GameState full = server.capture.capture();
    GameState sent = packer.makeDelta(7, full);
    packer.file(full);
    EXPECT_EQ(sent.mapState.baseTick, 0u);
    EXPECT_EQ(sent.mapState.trapStates.size(), 3u);
    EXPECT_EQ(sent.mapState.elementStates.size(), 2u);

    packer.acknowledge(7, 1);
    server.simulator.tickCount = 2;
    server.setTrap(2, EIntervalTrapState::active);
    full = server.capture.capture();
    sent = packer.makeDelta(7, full);
    packer.file(full);
    EXPECT_EQ(sent.mapState.baseTick, 1u);
    EXPECT_EQ(sent.mapState.trapStates.size(), 1u);
    EXPECT_NE(sent.mapState.trapStates.find(2), nullptr);
    EXPECT_TRUE(sent.mapState.elementStates.empty());

    // Another client has acknowledged nothing and still gets full states.
    EXPECT_EQ(packer.makeDelta(8, full).mapState.trapStates.size(), 3u);

    // Acknowledging a tick the history does not hold changes nothing.
    packer.acknowledge(7, 55);
    EXPECT_EQ(*packer.acknowledgedTick(7), 1u);
    packer.removeClient(7);
    EXPECT_EQ(packer.makeDelta(7, full).mapState.baseTick, 0u);
}

// A delta against tick 0 would travel with base tick 0, which marks a full
// state: the client would take the few changed entries for the whole room.
TEST(GameStatePacker, AcknowledgedTickZeroGetsFullStates) {
    Game server;
    GameStatePacker packer;
    GameState full = server.capture.capture();  // tick 0
    packer.file(full);
    packer.acknowledge(7, 0);
    server.simulator.tickCount = 1;
    server.setTrap(1, EIntervalTrapState::active);
    full = server.capture.capture();
    const GameState sent = packer.makeDelta(7, full);
    EXPECT_EQ(sent.mapState.baseTick, 0u);
    EXPECT_EQ(sent.mapState.trapStates.size(), 3u);
    EXPECT_EQ(sent.mapState.elementStates.size(), 2u);
}

TEST(GameStatePacker, HistoryKeepsTheNewestHundred) {
    Game server;
    GameStatePacker packer;
    for (u32 t = 1; t <= 120; ++t) {
        server.simulator.tickCount = t;
        packer.file(server.capture.capture());
    }
    packer.file(packer.history().rbegin()->second);
    EXPECT_EQ(packer.history().size(), 100u);
    EXPECT_EQ(packer.history().begin()->first, 21u);
    packer.acknowledge(7, 10);
    EXPECT_EQ(packer.acknowledgedTick(7), nullptr);
}

TEST(GameStateBuffer, RebuildsDeltasAndDropsDuplicates) {
    Game server;
    Game client;
    GameStatePacker packer;
    GameStateBuffer buffer;

    server.simulator.tickCount = 1;
    GameState full1 = server.capture.capture();
    ASSERT_TRUE(buffer.store(through(packer.makeDelta(7, full1), client.world.factories)));
    packer.file(full1);
    packer.acknowledge(7, 1);

    server.simulator.tickCount = 2;
    server.setTrap(3, EIntervalTrapState::destroyed);
    const GameState full2 = server.capture.capture();
    const GameState delta = through(packer.makeDelta(7, full2), client.world.factories);
    ASSERT_EQ(delta.mapState.trapStates.size(), 1u);
    EXPECT_TRUE(buffer.store(delta));
    EXPECT_FALSE(buffer.store(delta));
    EXPECT_EQ(buffer.size(), 2u);
    // The unchanged traps are present, unchanged, in the rebuilt state.
    EXPECT_EQ(withoutBase(buffer.newest().mapState), full2.mapState);
    EXPECT_EQ(buffer.oldest().tick, 1u);
    EXPECT_EQ(buffer.secondOldest().tick, 2u);
}

// Rebuilding from an empty base would take a delta's few entries for the
// whole room; such a delta is not filed.
TEST(GameStateBuffer, DeltaAgainstAnUnheldBaseIsNotFiled) {
    Game client;
    GameStateBuffer buffer;
    GameState delta;
    delta.tick = 9;
    delta.mapState.baseTick = 4;
    delta.mapState.trapStates.put(1, std::make_unique<IntervalTrapIMEState>());
    EXPECT_FALSE(buffer.store(delta));
    EXPECT_TRUE(buffer.empty());
}

TEST(GameStateBuffer, AccessorsOnTooFewStatesThrow) {
    GameStateBuffer buffer;
    EXPECT_THROW(buffer.oldest(), GameStateBufferEmptyException);
    EXPECT_THROW(buffer.newest(), GameStateBufferEmptyException);
    GameState s;
    s.tick = 3;
    buffer.store(s);
    EXPECT_THROW(buffer.secondOldest(), GameStateNotFoundException);
    EXPECT_EQ(buffer.oldest().tick, 3u);
}

TEST(GameStateBuffer, MapHistoryKeepsTheNewestHundred) {
    GameStateBuffer buffer;
    for (u32 t = 1; t <= 130; ++t) {
        GameState s;
        s.tick = t;
        buffer.store(s);
    }
    EXPECT_EQ(buffer.mapHistory().size(), 100u);
    EXPECT_FALSE(buffer.hasMapState(30));
    EXPECT_TRUE(buffer.hasMapState(31));
}

// A delta whose base the client does not hold is refused; the client's next
// state update must not acknowledge it, or the server would base every later
// delta on a state the client never filed.
TEST(DeltaSync, ARefusedDeltaIsNotAcknowledged) {
    Game server;
    Game client;
    GameStatePacker packer;
    GameStateBuffer buffer;
    UnconfirmedInputTable unconfirmed;
    auto receive = [&](const GameState& sent) {
        Corvel::CommandHeader header(7, 3, 0, false);
        Convinience::Buffer bytes;
        header.serialize(bytes);
        sent.serialize(bytes);
        const std::vector<u8> raw = bytes.takeBytes();
        Convinience::ByteReader reader(raw);
        StateSyncCommand(CommandData(reader, client.world.factories), buffer, client.simulator, unconfirmed)
            .execute();
    };

    server.simulator.tickCount = 1;
    GameState full = server.capture.capture();
    receive(packer.makeDelta(7, full));
    packer.file(full);
    ASSERT_EQ(client.capture.capture().tick, 1u);
    packer.acknowledge(7, client.capture.capture().tick);

    GameState unheldBase;
    unheldBase.tick = 9;
    unheldBase.mapState.baseTick = 4;
    receive(unheldBase);
    EXPECT_EQ(buffer.size(), 1u);
    EXPECT_EQ(client.capture.capture().tick, 1u) << "the refused state's tick is not acknowledged";

    server.simulator.tickCount = 10;
    server.setTrap(2, EIntervalTrapState::active);
    full = server.capture.capture();
    packer.acknowledge(7, client.capture.capture().tick);
    receive(packer.makeDelta(7, full));
    packer.file(full);
    EXPECT_EQ(buffer.size(), 2u);
    EXPECT_EQ(withoutBase(buffer.newest().mapState), full.mapState);
    EXPECT_EQ(client.capture.capture().tick, 10u);
}

// A link that drops and swaps records, driven by a seeded engine.
class LossyLink {
public:
    explicit LossyLink(u32 seed) : rng_(seed) {}

    void send(std::vector<u8> bytes) {
        if (lossy && chance() < 0.3) return;
        inFlight_.push_back(std::move(bytes));
        if (lossy && inFlight_.size() >= 2 && chance() < 0.3) {
            std::swap(inFlight_[inFlight_.size() - 1], inFlight_[inFlight_.size() - 2]);
        }
    }
    // Delivers what is in flight, holding back one record now and then.
    std::vector<std::vector<u8>> deliver() {
        std::vector<std::vector<u8>> out;
        std::vector<std::vector<u8>> held;
        for (auto& b : inFlight_) {
            if (lossy && chance() < 0.2) {
                held.push_back(std::move(b));
            } else {
                out.push_back(std::move(b));
            }
        }
        inFlight_ = std::move(held);
        return out;
    }

    bool lossy = true;

private:
    double chance() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_); }
    std::mt19937 rng_;
    std::vector<std::vector<u8>> inFlight_;
};

TEST(DeltaSync, ClientConvergesThroughALossyReorderingLink) {
    for (u32 seed : {1u, 2u, 3u, 42u}) {
        SCOPED_TRACE(seed);
        Game server;
        Game client;
        server.units.addClient(7);
        GameStatePacker packer;
        Corvel::MessageQueue out(512);
        GSCommandPusher pusher(out, server.capture);
        pusher.packer = &packer;
        GameStateBuffer buffer;
        UnconfirmedInputTable unconfirmed;
        LossyLink down(seed);
        LossyLink up(seed + 1000);
        std::mt19937 world(seed);

        auto round = [&] {
            // The server steps and changes a few things.
            ++server.simulator.tickCount;
            const u32 pick = world() % 6;
            if (pick < 3) {
                server.setTrap(pick + 1, static_cast<EIntervalTrapState>(world() % 6));
            } else if (pick == 3) {
                static_cast<DoorIMEState&>(server.world.numbered.get(10).getState()).value =
                    static_cast<EDoorState>(world() % 2);
            } else if (pick == 4) {
                server.world.numbered.get(11).getState().hidden ^= 1;
            }
            server.units.getUnit(7).body().position.x += 1.0f;
            // It answers the client's confirmation with a state synchronisation.
            Corvel::CommandHeader reply(7, 3, 0, false);
            pusher.push(reply);
            Corvel::QueuedMessage m;
            while (out.pop(m)) down.send(std::move(m.bytes));
            // The client executes what arrives as its state synchronisation
            // commands and sends its state update, whose tick the server
            // acknowledges.
            for (const auto& bytes : down.deliver()) {
                Convinience::ByteReader reader(bytes);
                StateSyncCommand(CommandData(reader, client.world.factories), buffer, client.simulator,
                                 unconfirmed)
                    .execute();
            }
            up.send(client.capture.capture().toBytes());
            for (const auto& bytes : up.deliver()) {
                Convinience::ByteReader reader(bytes);
                packer.acknowledge(7, GameState(reader, server.world.factories).tick);
            }
        };

        u32 deltas = 0;
        for (int i = 0; i < 300; ++i) {
            round();
            if (!buffer.empty() && buffer.newest().mapState.baseTick != 0) ++deltas;
        }
        down.lossy = false;
        up.lossy = false;
        for (int i = 0; i < 4; ++i) round();

        const GameState truth = server.capture.capture();
        ASSERT_FALSE(buffer.empty());
        const GameState& newest = buffer.newest();
        EXPECT_EQ(newest.tick, truth.tick);
        EXPECT_EQ(newest.clientStates, truth.clientStates);
        EXPECT_EQ(withoutBase(newest.mapState), truth.mapState);
        // Every filed state is a faithful copy of the server's state of its tick.
        for (const auto& [tick, state] : buffer.states()) {
            auto sent = packer.history().find(tick);
            if (sent == packer.history().end()) continue;
            EXPECT_EQ(withoutBase(state.mapState), sent->second.mapState) << tick;
        }
        EXPECT_GT(deltas, 50u);
    }
}

}  // namespace
