// fuzz-links: online zarn_map_test_support
// Feeds arbitrary packets from network peers into a game server the way its
// I/O thread does: each TCP packet and each datagram passes the client gate,
// which takes a trusted peer's hello as the lobby's link and its grants,
// revokes and junk as link messages, and admits, holds, passes, drops or
// rejects every other peer; the instances' games run on the fuzzing thread,
// turn the passed records into commands, execute them (a join tells the gate
// to release the joiner's held packets) and step their worlds.
//
// Input: records one after another, each a peer byte, a u16 length
// (little-endian) and that many bytes (fewer when the input ends first). The
// peer byte's low two bits pick the endpoint (0 to 2 on 127.0.0.1, the lobby's
// address; 3 on 10.0.0.2). Bit 6 makes the record a datagram from that
// endpoint's address on another port; otherwise it is a TCP packet, and bit 7
// ends the endpoint's connection before it (a new connection is opened).
// Bit 5 makes the record a pause: the clock moves on by the length in
// milliseconds times 100 and the gate's housekeeping runs (no bytes follow).
// Nothing a peer sends may crash the server; every failure is a refusal, a
// rejection, a dropped datagram or a logged, dropped command.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../../simulation/support/RoomFixtures.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "online/game/ClientGate.h"
#include "online/game/HostedGame.h"
#include "simulation/server/ZarnServer.h"

namespace {

constexpr std::size_t kPeers = 4;
constexpr int kMaxRecords = 64;

// One game server without its sockets and threads: the gate, and the games
// it opens driven on the fuzzing thread.
class Server : public Zarn::ClientGate::Host,
               public Zarn::HostedGame::Events,
               public Zarn::HostedGame::Outlet {
public:
    Server() { connected.fill(false); }

    void closeConnection(const std::string& endpoint) override {
        for (std::size_t i = 0; i < kPeers; ++i)
            if (endpoints[i] == endpoint) connected[i] = false;
    }
    void sendTo(const std::string&, std::vector<u8>&&) override {}
    bool servesMap(u32 mapHash) const override { return mapHash == 0; }
    std::shared_ptr<Zarn::HostedGame> openGame(const ZarnOnline::InstanceTerms& terms) override {
        auto game = std::make_shared<Zarn::HostedGame>(++serial, terms, room, 7, *this, *this, ticks);
        games.push_back(game);
        return game;
    }
    void retireGame(std::shared_ptr<Zarn::HostedGame>) override {}
    void wakeGame(Zarn::HostedGame&) override {}

    void tookIn(Zarn::HostedGame& game, u32 clientID) override { gate.tookIn(game, clientID); }
    void seated(Zarn::HostedGame& game, u32 clientID) override { gate.seated(game, clientID); }
    void closed(Zarn::HostedGame& game) override { gate.closed(game); }
    void finished(Zarn::HostedGame& game) override { gate.finished(game); }
    void kicked(Zarn::HostedGame& game, const std::vector<u32>& clientIDs) override {
        gate.kicked(game, clientIDs);
    }
    void ended(Zarn::HostedGame& game) override { gate.ended(game); }
    void sendToClient(u32, bool, std::vector<u8>&&) override {}

    u64 now() const { return ticks.nowTicks() / 10000; }

    void packet(std::size_t peer, bool reconnect, const u8* bytes, std::size_t size) {
        if (reconnect && connected[peer]) {
            gate.ended(endpoints[peer]);
            connected[peer] = false;
        }
        if (!connected[peer]) {
            connected[peer] = true;
            gate.opened(endpoints[peer], now());
        }
        gate.receive(bytes, size, endpoints[peer], now());
        runGames();
    }
    void datagram(std::size_t peer, const u8* bytes, std::size_t size) {
        gate.receiveDatagram(bytes, size, sources[peer], now());
        runGames();
    }
    void pause(u64 milliseconds) {
        ticks.advanceMs(milliseconds);
        gate.housekeeping(now());
        runGames();
    }

    // A batch and a step of every game the gate opened, and their records.
    void runGames() {
        for (std::size_t i = 0; i < games.size(); ++i) {
            const auto game = games[i];
            game->server().runCommandBatch();
            game->server().world().stepOnce();
            game->drain();
        }
    }

    const std::array<std::string, kPeers> endpoints = {"127.0.0.1:4000", "127.0.0.1:4001", "127.0.0.1:4002",
                                                       "10.0.0.2:4000"};
    const std::array<std::string, kPeers> sources = {"127.0.0.1:5000", "127.0.0.1:5001", "127.0.0.1:5002",
                                                     "10.0.0.2:5000"};
    std::array<bool, kPeers> connected{};
    std::string room = zarn_test::fixtureRoom().stream().str();
    Convinience::ManualTickClock ticks;
    u64 serial = 0;
    std::vector<std::shared_ptr<Zarn::HostedGame>> games;
    Zarn::ClientRoutes routes;
    Zarn::ClientGate gate{*this, routes, {"127.0.0.1"}, Zarn::ClientGate::Timeouts{}};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Server server;
    std::size_t at = 0;
    for (int n = 0; n < kMaxRecords && at + 3 <= size; ++n) {
        const u8 peer = data[at];
        const std::size_t length = data[at + 1] | (static_cast<std::size_t>(data[at + 2]) << 8);
        at += 3;
        if ((peer & 0x20) != 0) {
            server.pause(static_cast<u64>(length) * 100);
            continue;
        }
        const std::size_t taken = std::min(length, size - at);
        if ((peer & 0x40) != 0) {
            server.datagram(peer % kPeers, data + at, taken);
        } else {
            server.packet(peer % kPeers, (peer & 0x80) != 0, data + at, taken);
        }
        at += taken;
    }
    return 0;
}
