#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Buffer.h"
#include "foundation/CommandHeader.h"
#include "net/Endpoint.h"
#include "online/game/GameServerHost.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/managers/InputManager.h"
#include "simulation/state/InputState.h"
#include "support/map/MapBuilder.h"
#include "support/net/TransportNode.h"
#include "support/net/Waiting.h"
#include "support/online/LobbyStandIn.h"
#include "world/units/SteerableUnitManager.h"

using namespace Zarn;
using namespace std::chrono_literals;
using GeometryLib::FPoint;
using GeometryLib::Point;

namespace {

constexpr u32 kServer = GameServerHost::kServerId;

// A free room of 10 x 8 cells of 32 units.
std::string roomBytes() {
    zarn_test::MapBuilder b("room", Point(48, 48));
    b.grid(32, {"..........", "..........", "..........", "..........", "..........", "..........",
                "..........", ".........."});
    return b.stream().str();
}

FPoint cellCentre(Point cell) {
    return FPoint(cell.x * 32.0f + 16.0f, cell.y * 32.0f + 16.0f);
}

std::vector<u8> commandBytes(u32 clientId, u32 commandId, u32 number = 0) {
    Corvel::CommandHeader header(clientId, commandId, 0, true);
    header.commandNumber = number;
    Convinience::Buffer buffer(64);
    header.serialize(buffer);
    return buffer.takeBytes();
}

std::unique_ptr<zarn_test::TestGameServer> startHost() {
    return zarn_test::startTestGameServer(roomBytes());
}

// A whole game client over the real transport: a client game core fed by a
// transport node, driven frame by frame on the test thread.
struct Player {
    // The lobby announces the player, then it connects.
    Player(u32 id, zarn_test::TestGameServer& host, const std::vector<u32>& everyone) : id(id) {
        EXPECT_TRUE(host.admit(id, static_cast<u8>(id - 10), "Player " + std::to_string(id)));
        const u16 serverPort = host.port();
        EXPECT_TRUE(node.connectTo(serverPort));
        node.endpoints.assign(kServer,
                              Ferro::endpointString(boost::asio::ip::address_v4::loopback(), serverPort));
        node.start();
        core.setInputManager(&inputs);
        core.setTickDelta(0.03f);
        core.setLocalClientID(id);
        inputs.addClient(id);
        // As the lobby hands it over: every player's ID and record.
        GameInstance instance;
        instance.fromID = kServer;
        for (u32 player : everyone) {
            instance.players.insert(player);
            instance.playerInfos.emplace_back(player, 0, "Player " + std::to_string(player));
        }
        core.setGameInstance(instance);
        for (u32 player : everyone) core.addPlayer(player);
        std::istringstream map(roomBytes());
        core.loadMap(map);
        // What the client says on connecting: it joins the game instance.
        node.send(
            zarn_test::makeMessage(id, kServer, true, commandBytes(id, ServerCommandId::gameInstanceUpdate)));
        // The core numbers its own commands from 0, as this record is, and the
        // game keeps one command per number of a batch: the core sends
        // nothing before the game's answer (the instance) is here.
        EXPECT_TRUE(zarn_test::eventually([&] { return !node.incoming.empty(); }, 60s))
            << "client " << id << " has no answer to its join";
    }
    void frame() {
        core.update(0.03f);
        node.sender->wake();
    }
    void moveTo(Point cell) {
        inputs.pushInput(id, InputData(1, cellCentre(cell)));
        core.setNextLocalCommand(LocalCommandId::input);
    }
    FPoint seen(u32 who) { return core.world().units.getUnit(who).body().position; }

    u32 id;
    zarn_test::TransportNode node{zarn_test::TransportNode::Role::Client};
    InputManager inputs;
    ClientGameCore core{node.incoming, node.outgoing};
};

// Frames for every player until `done` holds or the deadline passes; the
// deadline is wall time, generous for a machine under load.
bool playUntil(std::vector<Player*> players, const std::function<bool()>& done,
               std::chrono::seconds deadline = 60s) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        for (Player* p : players) p->frame();
        if (done()) return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

// Bytes straight onto a TCP connection to the server, no transport.
void sendRawBytes(u16 port, const std::vector<u8>& bytes) {
    boost::asio::io_context io;
    boost::asio::ip::tcp::socket socket(io);
    socket.connect({boost::asio::ip::address_v4::loopback(), port});
    boost::asio::write(socket, boost::asio::buffer(bytes));
    std::this_thread::sleep_for(100ms);
}

TEST(GameServerHostTest, TwoClientsSeeEachOthersUnitMoveAndAGarbageSenderIsDroppedWhileTheyPlayOn) {
    auto host = startHost();
    ASSERT_NE(host->port(), 0);
    Player a(10, *host, {10, 11});
    Player b(11, *host, {10, 11});

    a.moveTo(Point(8, 1));
    b.moveTo(Point(1, 1));
    EXPECT_TRUE(playUntil({&a, &b}, [&] { return b.seen(10).x > 240.0f && a.seen(11).x < 80.0f; }))
        << "b sees a at x " << b.seen(10).x << ", a sees b at x " << a.seen(11).x;

    // Garbage on a connection of its own: that client goes, the game goes on.
    // A packet that frames (its length field says 8 bytes follow) and holds nonsense.
    std::vector<u8> garbage(33 + 8, 0xAB);
    garbage[28] = 8;
    garbage[29] = garbage[30] = garbage[31] = 0;
    sendRawBytes(host->port(), garbage);
    EXPECT_TRUE(zarn_test::eventually([&] { return host->rejectedClients() == 1; }));

    a.moveTo(Point(8, 6));
    EXPECT_TRUE(playUntil({&a, &b}, [&] { return b.seen(10).y > 180.0f; }))
        << "b sees a at y " << b.seen(10).y << ", a is at y " << a.seen(10).y;
}

// Each case: a client that breaks one rule with its first record.
struct BadSender {
    const char* what;
    u32 packetSender;
    u32 commandSender;
    u32 commandId;
};

TEST(GameServerHostTest, AClientThatBreaksARuleIsDisconnected) {
    const BadSender cases[] = {
        {"client ID below 10", 5, 5, ServerCommandId::gameInstanceUpdate},
        {"a command of another client", 12, 13, ServerCommandId::gameInstanceUpdate},
        {"a command only the host may send", 12, 12, ServerCommandId::addPlayer},
        {"an unknown command", 12, 12, 77},
    };
    auto host = startHost();
    u32 rejected = 0;
    for (const BadSender& c : cases) {
        zarn_test::TransportNode node(zarn_test::TransportNode::Role::Client);
        ASSERT_TRUE(node.connectTo(host->port()));
        node.endpoints.assign(kServer,
                              Ferro::endpointString(boost::asio::ip::address_v4::loopback(), host->port()));
        node.start();
        node.send(zarn_test::makeMessage(c.packetSender, kServer, true,
                                         commandBytes(c.commandSender, c.commandId)));
        ++rejected;
        EXPECT_TRUE(zarn_test::eventually([&] { return host->rejectedClients() == rejected; }, 5s)) << c.what;
    }
}

// The impostor speaks only once the first client's unit moves on its own
// screen, so the server has taken the first client in: the taken ID is then
// the impostor's to lose, whatever the load on the machine.
TEST(GameServerHostTest, ASecondClientClaimingATakenIDIsDisconnectedAndTheFirstStays) {
    auto host = startHost();
    Player a(10, *host, {10});
    zarn_test::TransportNode impostor(zarn_test::TransportNode::Role::Client);
    ASSERT_TRUE(impostor.connectTo(host->port()));
    impostor.endpoints.assign(kServer,
                              Ferro::endpointString(boost::asio::ip::address_v4::loopback(), host->port()));
    impostor.start();
    a.moveTo(Point(8, 1));
    ASSERT_TRUE(playUntil({&a}, [&] { return a.seen(10).x > 80.0f; })) << "a at x " << a.seen(10).x;
    impostor.send(
        zarn_test::makeMessage(10, kServer, true, commandBytes(10, ServerCommandId::gameInstanceUpdate)));
    EXPECT_TRUE(zarn_test::eventually([&] { return host->rejectedClients() == 1; }, 60s));
    EXPECT_TRUE(playUntil({&a}, [&] { return a.seen(10).x > 240.0f; })) << "a at x " << a.seen(10).x;
    EXPECT_EQ(host->rejectedClients(), 1u);
}

// A player who leaves gives its number back: the next one to join takes the
// lowest free number, never the number of a player still in the game.
TEST(GameServerHostTest, ANewcomerNeverTakesTheNumberOfAPlayerStillInTheGame) {
    auto host = startHost();
    auto a = std::make_unique<Player>(10, *host, std::vector<u32>{10});
    a->moveTo(Point(8, 1));
    ASSERT_TRUE(playUntil({a.get()}, [&] { return a->seen(10).x > 80.0f; }));
    Player b(11, *host, {10, 11});
    b.moveTo(Point(1, 6));
    // b's own moves come back: the game has taken b in.
    ASSERT_TRUE(
        playUntil({a.get(), &b}, [&] { return a->core.playerInfos().hasInfo(11) && b.seen(11).y > 120.0f; }));
    const u8 bNumber = a->core.playerInfos().getInfo(11).number;

    a.reset();
    ASSERT_TRUE(playUntil({&b}, [&] { return !b.core.world().units.hasClient(10); })) << "b sees a leave";
    Player c(12, *host, {12});
    ASSERT_TRUE(playUntil({&b, &c}, [&] { return b.core.playerInfos().hasInfo(12); }));
    EXPECT_NE(b.core.playerInfos().getInfo(12).number, bNumber);
}

}  // namespace
