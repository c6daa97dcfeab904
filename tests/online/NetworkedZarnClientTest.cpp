#include <gtest/gtest.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/Error.h"
#include "foundation/Stopwatch.h"
#include "online/game/NetworkedZarnClient.h"
#include "online/support/OnlinePlay.h"
#include "simulation/commands/CommandIds.h"
#include "support/net/TransportNode.h"
#include "support/net/Waiting.h"

using namespace Zarn;
using namespace std::chrono_literals;
using GeometryLib::FPoint;
using zarn_test::distance;
using zarn_test::seen;

namespace {

constexpr u32 kServer = GameServerHost::kServerId;

const std::string& coopRoom() {
    static const std::string bytes = zarn_test::shippedRoomBytes("multi_lv1");
    return bytes;
}

std::string loopback(u16 port) {
    return "127.0.0.1:" + std::to_string(port);
}

// A port that nobody listens on: the system picks it and it is given back.
u16 closedPort() {
    boost::asio::io_context io;
    boost::asio::ip::tcp::acceptor acceptor(io, {boost::asio::ip::address_v4::loopback(), 0});
    return acceptor.local_endpoint().port();
}

TEST(NetworkedZarnClientTest, TheEndpointIsCutAtItsFirstColon) {
    struct Case {
        const char* endpoint;
        const char* host;
        const char* port;
    };
    const Case cases[] = {
        {"10.1.2.3:4000", "10.1.2.3", "4000"},
        {"game.example:12346", "game.example", "12346"},
        {"10.1.2.3:4000:5", "10.1.2.3", "4000:5"},
        {"10.1.2.3", "10.1.2.3", ""},
        {":4000", "", "4000"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const GameServerAddress address = splitGameServerEndpoint(c.endpoint);
        EXPECT_EQ(address.host, c.host) << c.endpoint;
        EXPECT_EQ(address.port, c.port) << c.endpoint;
    }
}

TEST(NetworkedZarnClientTest, PlaybackStaysTheLatencyBehindInWholeTicks) {
    NetworkedZarnClient client("127.0.0.1:4000", 0, 10);
    EXPECT_NE(client.localPort(), 0);
    EXPECT_EQ(client.getLocalClientID(), 10u);
    const struct {
        u32 latency;
        u32 steps;
        u32 halfSteps;
    } cases[] = {{166, 5, 2}, {50, 1, 0}, {300, 10, 5}, {0, 0, 0}, {179, 5, 2}, {180, 6, 3}};
    EXPECT_EQ(client.getCore().playbackTicker().steps, 5u) << "166 ms after construction";
    for (const auto& c : cases) {
        client.setPlaybackLatency(c.latency);
        EXPECT_EQ(client.getCore().playbackTicker().steps, c.steps) << c.latency;
        EXPECT_EQ(client.getCore().playbackTicker().halfSteps, c.halfSteps) << c.latency;
    }
}

// The game server's view: the first record of a new client.
TEST(NetworkedZarnClientTest, ItsFirstCommandIsTheGameInstanceUpdateNumberedZero) {
    for (const bool waits : {true, false}) {
        zarn_test::TransportNode server(zarn_test::TransportNode::Role::Server);
        server.onAccepted = [&server](const std::string& endpoint) { server.endpoints.assign(12, endpoint); };
        server.start();
        auto client = zarn_test::makeClient(loopback(server.port()), 12, coopRoom());
        if (waits) {
            client->startSession();
            EXPECT_TRUE(client->announced());
        } else {
            client->startSessionAsync([] { ADD_FAILURE() << "the connect failed"; });
            EXPECT_FALSE(client->announced()) << "a frame announces the client";
        }
        EXPECT_TRUE(client->running());
        // Frames until the client is announced, and a few more: the command
        // is pushed before the first state update. The server reads TCP and
        // UDP apart, so updates (unreliable) may be read first; their numbers
        // show they were pushed after it.
        ASSERT_TRUE(zarn_test::playUntil({client.get()}, [&] { return client->announced(); }))
            << (waits ? "startSession" : "startSessionAsync");
        zarn_test::playFor({client.get()}, 100ms);
        std::vector<Corvel::QueuedMessage> received;
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while ((received.empty() || received.back().reliable == 0) &&
               std::chrono::steady_clock::now() < deadline)
            for (auto& message : server.waitForIncoming(1, 100ms)) received.push_back(std::move(message));
        ASSERT_FALSE(received.empty()) << (waits ? "startSession" : "startSessionAsync");
        ASSERT_EQ(received.back().reliable, 1) << (waits ? "startSession" : "startSessionAsync");
        for (std::size_t i = 0; i + 1 < received.size(); ++i) {
            Convinience::ByteReader early(received[i].bytes);
            const Corvel::CommandHeader update(early);
            EXPECT_TRUE(update.commandId == ServerCommandId::stateUpdate ||
                        update.commandId == ServerCommandId::input)
                << i << ": command " << update.commandId;
            EXPECT_GE(update.commandNumber, 1u) << i;
        }
        EXPECT_EQ(received.back().fromClientId, 12u);
        Convinience::ByteReader reader(received.back().bytes);
        const Corvel::CommandHeader header(reader);
        EXPECT_EQ(header.clientId, 12u);
        EXPECT_EQ(header.commandId, ServerCommandId::gameInstanceUpdate);
        EXPECT_EQ(header.commandNumber, 0u);
        EXPECT_TRUE(header.expectsConfirmation);
        EXPECT_EQ(reader.remaining(), 0u) << "no payload";
    }
}

// Each case: an endpoint that leads nowhere.
TEST(NetworkedZarnClientTest, AServerThatCannotBeReachedIsANoticeNeverAThrowIntoTheFrame) {
    const u16 closed = closedPort();
    struct Case {
        std::string what;
        std::string endpoint;
    };
    const std::vector<Case> cases = {
        {"a refused connection", loopback(closed)},
        {"a second colon in the port", loopback(closed) + ":1"},
        {"no port at all", "127.0.0.1"},
        {"an address that does not answer", "192.0.2.1:4000"},
    };
    for (const Case& c : cases) {
        auto waiting = zarn_test::makeClient(c.endpoint, 10, coopRoom());
        waiting->connectTimeout = 300ms;
        try {
            waiting->startSession();
            ADD_FAILURE() << c.what << ": no throw";
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), "could not connect to game server") << c.what;
        }
        EXPECT_FALSE(waiting->running()) << c.what;

        auto frame = zarn_test::makeClient(c.endpoint, 10, coopRoom());
        frame->connectTimeout = 300ms;
        int notices = 0;
        frame->startSessionAsync([&notices] { ++notices; });
        EXPECT_TRUE(zarn_test::playUntil(
            {frame.get()}, [&] { return notices > 0; }, 5s))
            << c.what;
        zarn_test::playFor({frame.get()}, 100ms);
        EXPECT_EQ(notices, 1) << c.what << ": told once";
        EXPECT_EQ(frame->connection(), NetworkedZarnClient::Connection::failed) << c.what;
        EXPECT_FALSE(frame->announced()) << c.what;
    }
}

TEST(NetworkedZarnClientTest, DestroyingAClientInAnyStateDoesNotHoldTheFrame) {
    auto host = zarn_test::startGameServer(coopRoom());
    const auto limit = std::chrono::milliseconds(500);
    {
        auto idle = zarn_test::makeClient(loopback(host->port()), 10, coopRoom());
        EXPECT_LT(zarn_test::timed([&] { idle.reset(); }), limit) << "never started";
    }
    {
        auto connecting = zarn_test::makeClient("192.0.2.1:4000", 10, coopRoom());
        connecting->connectTimeout = 10s;
        connecting->startSessionAsync({});
        EXPECT_LT(zarn_test::timed([&] { connecting.reset(); }), limit) << "while connecting";
    }
    {
        ASSERT_TRUE(host->admit(10));
        auto playing = zarn_test::makeClient(loopback(host->port()), 10, coopRoom());
        playing->startSession();
        zarn_test::playFor({playing.get()}, 300ms);
        EXPECT_LT(zarn_test::timed([&] { playing.reset(); }), limit) << "while playing";
    }
}

TEST(NetworkedZarnClientTest, TwoClientsPlayTheCoopRoomAndSeeEachOtherMove) {
    auto host = zarn_test::startGameServer(coopRoom());
    const std::vector<PlayerInfo> infos = {PlayerInfo(10, 0, "ann"), PlayerInfo(11, 1, "bob")};
    for (const PlayerInfo& info : infos) ASSERT_TRUE(host->admit(info.clientID, info.number, info.name));
    auto a = zarn_test::makeClient(loopback(host->port()), 10, coopRoom(), infos);
    auto b = zarn_test::makeClient(loopback(host->port()), 11, coopRoom(), infos);
    a->startSession();
    b->startSessionAsync([] { ADD_FAILURE() << "b could not connect"; });
    ASSERT_TRUE(zarn_test::playUntil({a.get(), b.get()}, [&] {
        return zarn_test::hasUnit(*a, 11) && zarn_test::hasUnit(*b, 10);
    })) << "each sees the other join";

    const FPoint aTarget = zarn_test::cellCentre(*a, 3, 1);
    const FPoint bTarget = zarn_test::cellCentre(*b, 1, 4);
    zarn_test::moveTo(*a, aTarget);
    zarn_test::moveTo(*b, bTarget);
    EXPECT_TRUE(zarn_test::playUntil({a.get(), b.get()},
                                     [&] {
                                         return distance(seen(*a, 10), aTarget) < 4.0f &&
                                                distance(seen(*b, 10), aTarget) < 4.0f &&
                                                distance(seen(*a, 11), bTarget) < 4.0f &&
                                                distance(seen(*b, 11), bTarget) < 4.0f;
                                     }))
        << "a sees a at (" << seen(*a, 10).x << ", " << seen(*a, 10).y << "), b sees a at (" << seen(*b, 10).x
        << ", " << seen(*b, 10).y << "); a sees b at (" << seen(*a, 11).x << ", " << seen(*a, 11).y << ")";
    EXPECT_EQ(host->rejectedClients(), 0u);
}

TEST(NetworkedZarnClientTest, APlayerWhoLeavesOrDropsIsSeenToGo) {
    auto host = zarn_test::startGameServer(coopRoom());
    const std::vector<PlayerInfo> infos = {PlayerInfo(10, 0, "ann"), PlayerInfo(11, 1, "bob"),
                                           PlayerInfo(12, 2, "cy")};
    for (const PlayerInfo& info : infos) ASSERT_TRUE(host->admit(info.clientID, info.number, info.name));
    auto stays = zarn_test::makeClient(loopback(host->port()), 10, coopRoom(), infos);
    auto leaves = zarn_test::makeClient(loopback(host->port()), 11, coopRoom(), infos);
    auto drops = zarn_test::makeClient(loopback(host->port()), 12, coopRoom(), infos);
    for (auto* client : {stays.get(), leaves.get(), drops.get()}) client->startSession();
    ASSERT_TRUE(zarn_test::playUntil({stays.get(), leaves.get(), drops.get()}, [&] {
        return zarn_test::hasUnit(*stays, 11) && zarn_test::hasUnit(*stays, 12);
    }));

    // Leaving through the game: the exit command.
    leaves->setNextLocalCommand(LocalCommandId::exitGame);
    EXPECT_TRUE(zarn_test::playUntil({stays.get(), leaves.get(), drops.get()}, [&] {
        return !zarn_test::hasUnit(*stays, 11);
    })) << "the player who left is still seen";
    leaves.reset();

    // Dropping out: the client goes without a word.
    drops.reset();
    EXPECT_TRUE(zarn_test::playUntil({stays.get()}, [&] { return !zarn_test::hasUnit(*stays, 12); }))
        << "the player who dropped is still seen";
    EXPECT_TRUE(zarn_test::hasUnit(*stays, 10));
    EXPECT_FALSE(stays->disconnected());
}

// The game-over steps close the connection: the server lets the player go,
// and the client that closed it is not told of a lost server.
TEST(NetworkedZarnClientTest, ClosingItsConnectionLetsThePlayerGoWithoutALostServerNotice) {
    auto host = zarn_test::startGameServer(coopRoom());
    ASSERT_TRUE(host->admit(10));
    ASSERT_TRUE(host->admit(11, 1));
    auto stays = zarn_test::makeClient(loopback(host->port()), 10, coopRoom());
    auto closes = zarn_test::makeClient(loopback(host->port()), 11, coopRoom());
    int told = 0;
    closes->setDisconnectFunction([&told] { ++told; });
    stays->startSession();
    closes->startSession();
    ASSERT_TRUE(
        zarn_test::playUntil({stays.get(), closes.get()}, [&] { return zarn_test::hasUnit(*stays, 11); }));

    closes->closeConnection();
    EXPECT_TRUE(
        zarn_test::playUntil({stays.get(), closes.get()}, [&] { return !zarn_test::hasUnit(*stays, 11); }));
    EXPECT_EQ(told, 0);
    EXPECT_FALSE(closes->disconnected());
}

TEST(NetworkedZarnClientTest, AStoppedServerRunsTheDisconnectFunctionOfEachClientStillThere) {
    auto host = zarn_test::startGameServer(coopRoom());
    ASSERT_TRUE(host->admit(10));
    ASSERT_TRUE(host->admit(11, 1));
    auto stays = zarn_test::makeClient(loopback(host->port()), 10, coopRoom());
    auto goes = zarn_test::makeClient(loopback(host->port()), 11, coopRoom());
    int staysTold = 0;
    int goesTold = 0;
    stays->setDisconnectFunction([&staysTold] { ++staysTold; });
    goes->setDisconnectFunction([&goesTold] { ++goesTold; });
    stays->startSession();
    goes->startSession();
    ASSERT_TRUE(
        zarn_test::playUntil({stays.get(), goes.get()}, [&] { return zarn_test::hasUnit(*stays, 11); }));

    host.reset();
    // Both hear of it on their network threads; one client is destroyed
    // before the main thread runs what was handed over. Whatever the
    // destroyed client handed over was queued before its destruction
    // returned (its threads are joined), so it is run, or dropped, by the
    // time the other client's function has run.
    ASSERT_TRUE(zarn_test::eventually([&] { return stays->disconnected() && goes->disconnected(); }));
    goes.reset();
    EXPECT_TRUE(zarn_test::playUntil({stays.get()}, [&] { return staysTold > 0; }));
    zarn_test::runMainThreadFunctions();
    EXPECT_EQ(staysTold, 1);
    EXPECT_EQ(goesTold, 0) << "a function of a destroyed client ran";
}

// A game server that falls silent without closing the connection is lost all
// the same: 5 s by the client's clock without a packet from it (counted from
// the announce, then from its last packet) runs the disconnect function,
// once. The test moves the clock; nothing sleeps for the silence.
TEST(NetworkedZarnClientTest, FiveSecondsWithoutAPacketFromTheServerIsALostConnection) {
    zarn_test::TransportNode server(zarn_test::TransportNode::Role::Server);
    server.onAccepted = [&server](const std::string& endpoint) { server.endpoints.assign(12, endpoint); };
    server.start();
    Convinience::ManualTickClock clock;
    auto client = zarn_test::makeClient(loopback(server.port()), 12, coopRoom(), {}, clock);
    int told = 0;
    client->setDisconnectFunction([&told] { ++told; });
    EXPECT_EQ(client->silenceMs(), 0u) << "not announced yet";
    client->startSession();
    auto frame = [&] {
        client->update(0.0f);
        zarn_test::runMainThreadFunctions();
    };

    clock.advanceMs(4999);
    frame();
    EXPECT_EQ(client->silenceMs(), 4999u);
    EXPECT_FALSE(client->disconnected());

    // One packet from the server (an exit confirmation, which nothing here
    // listens to) starts the count again. The server sends it once it has
    // taken the connection in.
    std::string accepted;
    ASSERT_TRUE(zarn_test::eventually([&] { return server.endpoints.getReliableEndpoint(12, accepted); }));
    Convinience::Buffer bytes(64);
    Corvel::CommandHeader(12, ClientCommandId::exitGameConfirm, 0, true).serialize(bytes);
    ASSERT_TRUE(server.send(zarn_test::makeMessage(kServer, 12, true, bytes.takeBytes())));
    ASSERT_TRUE(zarn_test::eventually([&] { return client->silenceMs() == 0; })) << "the packet never came";
    clock.advanceMs(4999);
    frame();
    EXPECT_FALSE(client->disconnected());
    EXPECT_EQ(told, 0);

    clock.advanceMs(1);
    frame();
    EXPECT_TRUE(client->disconnected());
    EXPECT_EQ(told, 1);
    clock.advanceMs(10000);
    frame();
    frame();
    EXPECT_EQ(told, 1) << "told once";
}

}  // namespace
