#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <sstream>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/core/GameWorld.h"
#include "simulation/server/ZarnServer.h"
#include "simulation/state/GameState.h"
#include "support/RoomFixtures.h"

namespace {

constexpr u32 kClients = 4;

void placePlayers(Zarn::GameWorld& world) {
    for (u32 id = 0; id < kClients; ++id) {
        world.units.getUnit(id).body().position = zarn_test::cellCentre(GeometryLib::Point(2 * id + 1, 6));
    }
}

// Both benchmarks run the busy room: 20 interval spikes, the boss with its
// bomb dropper, spawners, arms and cannon group fighting, and 4 player units
// standing among the spikes (dying and respawning). A tick is 30 ms: the time
// per iteration is the figure to hold against it. The logger is silenced.

// The world's one step alone (GameWorld::stepOnce, which the server's step
// runs): steering, traps, elements, contacts, timers and map commands.
void BM_WorldStepBusyRoom(benchmark::State& state) {
    Convinience::Logger::setEnabled(false);
    Zarn::GameWorld world;
    std::istringstream in = zarn_test::busyRoom().stream();
    world.loadMap(in);
    for (u32 id = 0; id < kClients; ++id) world.addPlayer(id);
    placePlayers(world);
    for (int warm = 0; warm < 100; ++warm) world.stepOnce();
    for (auto _ : state) world.stepOnce();
}
BENCHMARK(BM_WorldStepBusyRoom);

// One tick of the server of a game of 4 players, as the loop does it: each
// client's state update (acknowledging the last state it received) is taken
// off the incoming ring and executed: the acknowledgement, the tick
// confirmation (the last one admits the step: the world's step, the tick
// tracker, the score keepers) and the reply, a state synchronisation with
// the capture of the world, its delta against what that client acknowledged
// and the bytes of both with the score block. The replies are taken off the
// outgoing ring as the transport would.
void BM_ServerTickFourClients(benchmark::State& state) {
    Convinience::Logger::setEnabled(false);
    Corvel::MessageQueue incoming{513};
    Corvel::MessageQueue outgoing{513};
    Convinience::ManualTickClock clock;
    Zarn::ZarnServer server(incoming, outgoing, clock);
    server.setTickDelta(0.03f);
    std::istringstream in = zarn_test::busyRoom().stream();
    server.loadMap(in);
    for (u32 id = 0; id < kClients; ++id) {
        server.addClient(id);
        server.gameInstance().players.insert(id);
    }
    placePlayers(server.world());

    // A client's state update: its header, then a state of the tick it holds
    // (no units, inputs or map entries: what a client without input sends).
    std::array<std::vector<u8>, kClients> updates;
    for (u32 id = 0; id < kClients; ++id) {
        Convinience::Buffer buffer(64);
        Corvel::CommandHeader(id, 1, 0, false).serialize(buffer);
        Zarn::GameState().serialize(buffer);
        updates[id] = buffer.takeBytes();
    }
    std::array<u32, kClients> acknowledged{};
    u32 number = 0;
    u64 replyBytes = 0;
    auto tick = [&] {
        ++number;
        for (u32 id = 0; id < kClients; ++id) {
            Corvel::QueuedMessage message;
            message.fromClientId = id;
            message.bytes = updates[id];
            std::memcpy(message.bytes.data() + 8, &number, 4);
            std::memcpy(message.bytes.data() + Corvel::CommandHeader::kSize, &acknowledged[id], 4);
            incoming.push(std::move(message));
        }
        server.runCommandBatch();
        Corvel::QueuedMessage reply;
        while (outgoing.pop(reply)) {
            Convinience::ByteReader reader(reply.bytes);
            const Corvel::CommandHeader header(reader);
            if (header.clientId < kClients) acknowledged[header.clientId] = reader.readU32();
            replyBytes += reply.bytes.size();
        }
    };
    for (int warm = 0; warm < 100; ++warm) tick();
    const u32 stepsBefore = server.stepper().stepCount();
    replyBytes = 0;
    for (auto _ : state) tick();
    const double ticks = static_cast<double>(state.iterations());
    state.counters["steps_per_tick"] = (server.stepper().stepCount() - stepsBefore) / ticks;
    state.counters["reply_bytes_per_tick"] = static_cast<double>(replyBytes) / ticks;
}
BENCHMARK(BM_ServerTickFourClients);

}  // namespace

BENCHMARK_MAIN();
