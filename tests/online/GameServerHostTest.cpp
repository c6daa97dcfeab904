#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <algorithm>
#include <array>
#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/write.hpp>
#include <chrono>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Buffer.h"
#include "foundation/CommandHeader.h"
#include "map/records/ActionData.h"
#include "map/records/MapEventData.h"
#include "map/records/TriggerData.h"
#include "net/Endpoint.h"
#include "net/Packet.h"
#include "online/game/GameServerHost.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/managers/InputManager.h"
#include "simulation/state/InputState.h"
#include "support/map/MapBuilder.h"
#include "support/net/LogWatch.h"
#include "support/net/TransportNode.h"
#include "support/net/Waiting.h"
#include "support/online/LobbyStandIn.h"
#include "world/units/SteerableUnit.h"
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

// The same room with its exit under every cell: a player is out as soon as
// the game steps, and with every player out the room is over.
std::string roomOverAtOnceBytes() {
    zarn_test::MapBuilder b("room", Point(48, 48));
    b.grid(32, {"..........", "..........", "..........", "..........", "..........", "..........",
                "..........", ".........."});
    Zarn::MapEventData exit;
    exit.eventId = 900;
    auto area = std::make_unique<Zarn::AreaTriggerData>();
    area->triggerId = 20;
    area->count = std::numeric_limits<u32>::max();
    for (i16 x = 0; x < 10; ++x)
        for (i16 y = 0; y < 8; ++y) area->cells.insert(Point(x, y));
    exit.trigger = std::move(area);
    exit.actions.push_back(std::make_unique<Zarn::ActionData>(37));
    b.event(std::move(exit));
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

// How a player comes: the lobby's announce and the client's sockets.
struct Join {
    u8 number = 0;
    std::string name;
    u32 instance = 1;
    // TCP and UDP on one port (the game's own client) or on two.
    bool sharePort = true;
    std::chrono::seconds answerWithin = 60s;
};

// A whole game client over the real transport: a client game core fed by a
// transport node, driven frame by frame on the test thread.
struct Player {
    // The lobby announces the player (unless `announce` is false), then it
    // connects and says it is here.
    Player(u32 id, zarn_test::TestGameServer& host, const std::vector<u32>& everyone, Join join = {})
        : id(id), node(zarn_test::TransportNode::Role::Client, join.sharePort) {
        if (join.name.empty()) join.name = "Player " + std::to_string(id);
        EXPECT_TRUE(host.admit(id, join.number, join.name, join.instance));
        const u16 serverPort = host.port();
        EXPECT_TRUE(node.connectTo(serverPort));
        node.endpoints.assign(kServer,
                              Ferro::endpointString(boost::asio::ip::address_v4::loopback(), serverPort));
        node.start();
        core.setInputManager(&inputs);
        core.setTickDelta(0.03f);
        core.setLocalClientID(id);
        inputs.addClient(id);
        // As the lobby hands it over: the game, with this player alone.
        GameInstance instance;
        instance.fromID = kServer;
        for (u32 player : everyone) instance.players.insert(player);
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
        answered = zarn_test::eventually([&] { return !node.incoming.empty(); }, join.answerWithin);
        EXPECT_TRUE(answered) << "client " << id << " has no answer to its join";
    }
    void frame() {
        core.update(0.03f);
        node.sender->wake();
    }
    void moveTo(Point cell) {
        inputs.pushInput(id, InputData(1, cellCentre(cell)));
        core.setNextLocalCommand(LocalCommandId::input);
    }
    FPoint seen(u32 who) {
        if (!core.world().units.hasClient(who)) return FPoint(-1.0f, -1.0f);
        return core.world().units.getUnit(who).body().position;
    }

    u32 id;
    zarn_test::TransportNode node;
    InputManager inputs;
    ClientGameCore core{node.incoming, node.outgoing};
    bool answered = false;
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

// The bytes of one packet as a peer would write them.
std::vector<u8> packetBytes(u32 sender, bool reliable, const std::vector<u8>& payload,
                            u32 applicationId = Ferro::kApplicationId) {
    Ferro::Packet1337 packet;
    packet.header.applicationId = applicationId;
    packet.header.senderClientId = sender;
    packet.header.destinationClientId = kServer;
    packet.header.reliable = reliable ? 1 : 0;
    packet.payload = payload;
    packet.header.payloadLength = static_cast<u32>(payload.size());
    return packet.bytes();
}

// Connects a bare transport node that speaks as `id` first thing.
std::unique_ptr<zarn_test::TransportNode> knock(zarn_test::TestGameServer& host, u32 id) {
    auto node = std::make_unique<zarn_test::TransportNode>(zarn_test::TransportNode::Role::Client);
    EXPECT_TRUE(node->connectTo(host.port()));
    node->endpoints.assign(kServer, host.endpoint());
    node->start();
    node->send(
        zarn_test::makeMessage(id, kServer, true, commandBytes(id, ServerCommandId::gameInstanceUpdate)));
    return node;
}

TEST(GameServerHostTest, OnlyThePlayersTheLobbyAnnouncedAreAdmittedAndEveryOtherIsRefusedWithALogLine) {
    auto host = startHost();
    Player a(10, *host, {10});
    a.moveTo(Point(8, 1));
    ASSERT_TRUE(playUntil({&a}, [&] { return a.seen(10).x > 80.0f; })) << "a at x " << a.seen(10).x;
    ZarnOnline::InstanceTerms terms;
    terms.instanceID = 1;
    terms.endpoint = host->endpoint();
    ASSERT_TRUE(host->lobby().grant(terms, PlayerInfo(13, 1, "far"), "10.0.0.9"));
    ASSERT_TRUE(host->lobby().grant(terms, PlayerInfo(14, 2, "gone")));
    host->lobby().revoke(1, 14);
    const auto taken = host->lobby().next();
    ASSERT_TRUE(taken && taken->kind == ZarnOnline::link::playerLeft && taken->player.clientID == 14u);

    const struct {
        const char* what;
        u32 id;
        const char* why;
    } cases[] = {
        {"an ID the lobby never announced", 12, "the lobby announced no such player"},
        {"an ID announced for another address", 13, "the lobby announced it from 10.0.0.9"},
        {"an ID whose place the lobby took back", 14, "the lobby announced no such player"},
        {"the ID of a player in play", 10, "it plays from 127.0.0.1:"},
    };
    u32 rejected = 0;
    for (const auto& c : cases) {
        zarn_test::LogWatch log;
        auto node = knock(*host, c.id);
        ++rejected;
        EXPECT_TRUE(zarn_test::eventually([&] { return host->rejectedClients() == rejected; })) << c.what;
        const std::string text = log.text();
        EXPECT_NE(text.find("Refused client ID " + std::to_string(c.id) + " from 127.0.0.1:"),
                  std::string::npos)
            << c.what << "\n"
            << text;
        EXPECT_NE(text.find(c.why), std::string::npos) << c.what << "\n" << text;
    }
    a.moveTo(Point(1, 6));
    EXPECT_TRUE(playUntil({&a}, [&] { return a.seen(10).y > 180.0f; })) << "a at y " << a.seen(10).y;
    EXPECT_EQ(host->stats().players, 2u) << "a and the far place";
}

TEST(GameServerHostTest, EveryPlayerIsAnnouncedWithTheLobbysNumberAndNicknameInTheLobbysInstance) {
    auto host = startHost();
    Player a(10, *host, {10}, Join{2, "ann", 7});
    Player b(11, *host, {11}, Join{0, "bob", 7});
    const auto knows = [](Player& p, u32 who, const std::string& name) {
        return p.core.playerInfos().hasInfo(who) && p.core.playerInfos().getInfo(who).name == name;
    };
    ASSERT_TRUE(playUntil({&a, &b}, [&] { return knows(a, 11, "bob") && knows(b, 10, "ann"); }));
    EXPECT_EQ(a.core.playerInfos().getInfo(11).number, 0);
    EXPECT_EQ(b.core.playerInfos().getInfo(10).number, 2);
    for (Player* p : {&a, &b}) {
        EXPECT_EQ(p->core.gameInstance().instanceID, 7u) << "the 12 carries the lobby's instance";
        EXPECT_EQ(p->core.gameInstance().endpoint, host->endpoint());
        EXPECT_EQ(p->core.gameInstance().fromID, kServer);
    }
}

// A client that binds TCP and UDP each to a port of its own: its datagrams
// come from another port than its connection, and its syncs go back there.
TEST(GameServerHostTest, AClientWhoseDatagramsComeFromAnotherPortPlays) {
    auto host = startHost();
    Player a(10, *host, {10}, Join{0, "ann", 1, false});
    ASSERT_NE(a.node.port(), a.node.connector->localPort());
    Player b(11, *host, {10, 11}, Join{1, "bob"});
    a.moveTo(Point(8, 1));
    EXPECT_TRUE(playUntil({&a, &b}, [&] { return b.seen(10).x > 240.0f; }))
        << "b sees a at x " << b.seen(10).x;
    EXPECT_FALSE(a.core.stateBuffer().mapHistory().empty()) << "a has no state of the game";
    b.moveTo(Point(1, 6));
    EXPECT_TRUE(playUntil({&a, &b}, [&] { return a.seen(11).y > 180.0f; }))
        << "a sees b at y " << a.seen(11).y;
    EXPECT_EQ(host->rejectedClients(), 0u);
}

// Datagrams from the players' own address that break the rules: each is
// dropped and counted, logged at most once a second, and nobody leaves.
TEST(GameServerHostTest, ForgedAndBrokenDatagramsAreDroppedAndCountedAndThePlayersStay) {
    auto host = startHost();
    Player a(10, *host, {10, 11}, Join{0, "ann"});
    Player b(11, *host, {10, 11}, Join{1, "bob"});
    ASSERT_TRUE(playUntil({&a, &b}, [&] { return b.seen(10).x > 0.0f && a.seen(11).x > 0.0f; }));

    std::vector<u8> cut = packetBytes(10, false, commandBytes(10, ServerCommandId::stateUpdate, 50));
    cut.resize(cut.size() - 3);
    const struct {
        const char* what;
        std::vector<u8> bytes;
    } cases[] = {
        {"a few bytes", {1, 2, 3, 4, 5}},
        {"a packet shorter than it says", cut},
        {"a wrong application ID",
         packetBytes(10, false, commandBytes(10, ServerCommandId::stateUpdate, 50), 0x1338)},
        {"a reliable packet", packetBytes(10, true, commandBytes(10, ServerCommandId::stateUpdate, 50))},
        {"another client's command",
         packetBytes(10, false, commandBytes(11, ServerCommandId::stateUpdate, 50))},
        {"a leave by datagram", packetBytes(10, false, commandBytes(10, ServerCommandId::exitGame, 50))},
        {"a command only the host may send",
         packetBytes(10, false, commandBytes(10, ServerCommandId::addPlayer, 50))},
        {"a client that is not playing",
         packetBytes(12, false, commandBytes(12, ServerCommandId::stateUpdate, 50))},
        {"a number far ahead of the player's",
         packetBytes(10, false, commandBytes(10, ServerCommandId::stateUpdate, 0xFFFFFF00))},
    };
    constexpr int kCopies = 20;
    zarn_test::LogWatch log;
    boost::asio::io_context io;
    boost::asio::ip::udp::socket forger(io, {boost::asio::ip::address_v4::loopback(), 0});
    const boost::asio::ip::udp::endpoint server(boost::asio::ip::address_v4::loopback(), host->port());
    for (const auto& c : cases)
        for (int i = 0; i < kCopies; ++i) forger.send_to(boost::asio::buffer(c.bytes), server);
    const u64 expected = std::size(cases) * kCopies;
    EXPECT_TRUE(zarn_test::eventually([&] { return host->badDatagrams() == expected; }))
        << host->badDatagrams() << " of " << expected;
    a.moveTo(Point(8, 6));
    EXPECT_TRUE(playUntil({&a, &b}, [&] { return b.seen(10).y > 180.0f && b.seen(10).x > 240.0f; }))
        << "b sees a at (" << b.seen(10).x << ", " << b.seen(10).y << ")";
    EXPECT_EQ(host->rejectedClients(), 0u);
    EXPECT_EQ(host->stats().players, 2u);
    const std::string source = "127.0.0.1:" + std::to_string(forger.local_endpoint().port());
    EXPECT_LE(log.count("Dropped a datagram from " + source), 2u) << "at most one line a second";
}

// The last player leaves; a player who comes 0 to 7 s later (while the
// empty game counts down, after it has closed, after it has ended) is
// served: it gets its game and moves in it. Each delay has an instance of
// its own, all at once.
TEST(GameServerHostTest, AJoinAtAnyMomentAfterTheLastLeaveIsServed) {
    auto host = startHost();
    const std::vector<std::chrono::milliseconds> delays = {0ms, 1500ms, 3500ms, 5000ms, 6500ms, 7000ms};
    std::vector<std::unique_ptr<Player>> first;
    for (std::size_t i = 0; i < delays.size(); ++i) {
        const u32 id = 10 + static_cast<u32>(i);
        first.push_back(std::make_unique<Player>(id, *host, std::vector<u32>{id}, Join{0, "", 20 + u32(i)}));
    }
    std::vector<Player*> players;
    for (auto& p : first) players.push_back(p.get());
    ASSERT_TRUE(playUntil(players, [&] {
        for (Player* p : players)
            if (p->core.stateBuffer().mapHistory().empty()) return false;
        return true;
    }));
    first.clear();
    const auto left = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<Player>> second;
    for (std::size_t i = 0; i < delays.size(); ++i) {
        std::this_thread::sleep_until(left + delays[i]);
        const u32 id = 30 + static_cast<u32>(i);
        second.push_back(
            std::make_unique<Player>(id, *host, std::vector<u32>{id}, Join{0, "", 20 + u32(i), true, 10s}));
        EXPECT_TRUE(second.back()->answered) << delays[i].count() << " ms after the last leave";
    }
    players.clear();
    for (auto& p : second) {
        p->moveTo(Point(8, 6));
        players.push_back(p.get());
    }
    EXPECT_TRUE(playUntil(players, [&] {
        for (Player* p : players)
            if (p->seen(p->id).y < 180.0f) return false;
        return true;
    }));
    for (std::size_t i = 0; i < delays.size(); ++i)
        EXPECT_GT(second[i]->seen(second[i]->id).y, 180.0f)
            << delays[i].count() << " ms after the last leave";
    EXPECT_EQ(host->rejectedClients(), 0u);
}

TEST(GameServerHostTest, AQuietConnectionASilentPlayerAndAnUnusedPlaceAreLetGo) {
    GameServerHost::Options options;
    options.maps = {{0, roomBytes()}};
    options.timeouts = {1000, 1000, 1000};
    zarn_test::TestGameServer host(std::move(options));
    ASSERT_TRUE(host.lobby().linked());

    boost::asio::io_context io;
    boost::asio::ip::tcp::socket quiet(io);
    quiet.connect({boost::asio::ip::address_v4::loopback(), host.port()});
    const timeval limit{10, 0};
    ::setsockopt(quiet.native_handle(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    Player a(10, host, {10});
    ZarnOnline::InstanceTerms terms;
    terms.endpoint = host.endpoint();
    terms.instanceID = 1;
    ASSERT_TRUE(host.lobby().grant(terms, PlayerInfo(11, 1, "never")));
    ASSERT_TRUE(playUntil({&a}, [&] { return !a.core.stateBuffer().mapHistory().empty(); }));
    // a stops sending; the quiet one never said anything; 11 never comes.
    std::vector<u32> left;
    for (int i = 0; i < 4 && left.size() < 2; ++i)
        if (const auto message = host.lobby().next())
            if (message->kind == ZarnOnline::link::playerLeft) left.push_back(message->player.clientID);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<u32>{10, 11}));
    EXPECT_EQ(host.rejectedClients(), 1u) << "the silent player";
    std::array<u8, 1> byte{};
    boost::system::error_code error;
    quiet.read_some(boost::asio::buffer(byte), error);
    EXPECT_EQ(error, boost::asio::error::eof) << "the quiet connection was not closed";
    EXPECT_TRUE(zarn_test::eventually([&] { return host.stats().connections == 1u; })) << "the lobby's link";
}

}  // namespace

// Once every player is out the room is over: the lobby hears at once that the
// instance's game has ended, and a player it places there afterwards starts a
// fresh game instead of entering the finished one, whose player stays until
// it leaves.
TEST(GameServerHostTest, ARoomThatIsOverTakesNoNewPlayerAndTheLobbyHearsItsGameHasEnded) {
    auto host = zarn_test::startTestGameServer(roomOverAtOnceBytes());
    Player ann(10, *host, {10});
    ASSERT_TRUE(playUntil({&ann}, [&] {
        return ann.core.world().units.hasClient(10) &&
               ann.core.world().units.getUnit(10).state == UnitState::carried;
    })) << "the exit never took the player";
    bool ended = false;
    while (!ended) {
        const auto message = host->lobby().next();
        if (!message) break;
        ended = message->kind == ZarnOnline::link::gameEnded && message->instance.instanceID == 1;
    }
    ASSERT_TRUE(ended) << "the lobby never heard that the room is over";

    Player bob(11, *host, {11});
    ASSERT_TRUE(bob.answered);
    EXPECT_TRUE(playUntil({&ann, &bob}, [&] { return bob.core.world().units.hasClient(11); }));
    EXPECT_FALSE(bob.core.world().units.hasClient(10)) << "the newcomer entered the finished room";
    EXPECT_EQ(host->stats().games, 2u);
    EXPECT_EQ(host->stats().players, 2u);
}
