// fuzz-links: online zarn_map_test_support
// Feeds arbitrary packets from four network peers into a game server the
// way its I/O thread does: each packet passes the client gate, which admits,
// holds, passes or rejects its peer; passed packets become records through
// the receiver processor; the game turns them into commands, executes them
// (a join's registrar releases the joiner's held packets) and steps its world.
//
// Input: packets one after another, each a peer byte, a u16 length
// (little-endian) and that many bytes (fewer when the input ends first). The
// peer byte's low two bits pick the endpoint; with bit 7 set the peer's
// connection ends before the packet, so the packet is its new connection's.
// A rejected peer's connection is closed: its packets are dropped until its
// connection is made again. Nothing a peer sends may crash the server; every
// failure is a rejection or a logged, dropped command.
#include <array>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "../../simulation/support/RoomFixtures.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "net/ClientEndpointTable.h"
#include "net/RecieverProcessor.h"
#include "online/game/ClientGate.h"
#include "simulation/server/EndpointRegistrar.h"
#include "simulation/server/ZarnServer.h"

namespace {

constexpr std::size_t kPeers = 4;
constexpr int kMaxPackets = 64;

// One game server without its sockets and threads: the gate, the receiver
// processor and a game on the fuzzing thread.
class Server : public Zarn::ClientGate::Host, public Zarn::EndpointRegistrar {
public:
    Server() {
        std::istringstream map = zarn_test::fixtureRoom().stream();
        game.loadMap(map);
        game.setSpawnSeed(7);
        game.gameInstance().fromID = Zarn::ClientGate::kServerId;
        game.setEndpointRegistrar(this);
        clock.start();
        connected.fill(true);
    }

    void joinWaiting() override {}
    void wakeGame() override {}
    void closeConnection(const std::string& endpoint) override {
        for (std::size_t i = 0; i < kPeers; ++i)
            if (endpoints[i] == endpoint) connected[i] = false;
    }
    void registerEndpoint(u32 clientId, const std::string&) override { gate.release(clientId); }
    void removeEndpoint(u32) override {}

    void packet(std::size_t peer, bool reconnect, const u8* bytes, std::size_t size) {
        if (reconnect) {
            if (connected[peer]) gate.leave(endpoints[peer]);
            connected[peer] = true;
        }
        if (connected[peer]) gate.receive(bytes, size, endpoints[peer]);
        game.runCommandBatch();
        game.world().stepOnce();
        Corvel::QueuedMessage drop;
        while (outgoing.pop(drop)) {
        }
    }

    const std::array<std::string, kPeers> endpoints = {"127.0.0.1:4000", "127.0.0.1:4001", "127.0.0.1:4002",
                                                       "10.0.0.2:4000"};
    std::array<bool, kPeers> connected{};
    Convinience::ManualTickClock ticks;
    Convinience::Stopwatch clock{ticks};
    Ferro::AcknowledgementQueue acknowledgements;
    Corvel::MessageQueue incoming{513};
    Corvel::MessageQueue outgoing{4096};
    Ferro::ClientEndpointTable table;
    Ferro::ClientIDResolver resolver{table};
    Ferro::RecieverProcessor receiver{acknowledgements, resolver, &clock, incoming};
    Zarn::ClientGate gate{*this, table, receiver, incoming};
    Zarn::ZarnServer game{incoming, outgoing, ticks};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Server server;
    std::size_t at = 0;
    for (int n = 0; n < kMaxPackets && at + 3 <= size; ++n) {
        const u8 peer = data[at];
        const std::size_t length = data[at + 1] | (static_cast<std::size_t>(data[at + 2]) << 8);
        at += 3;
        const std::size_t taken = std::min(length, size - at);
        server.packet(peer % kPeers, (peer & 0x80) != 0, data + at, taken);
        at += taken;
        Ferro::AcknowledgementRecord acknowledgement;
        while (server.acknowledgements.pop(acknowledgement)) {
        }
    }
    return 0;
}
