#include <gtest/gtest.h>

#include <atomic>
#include <boost/asio/read.hpp>
#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>

#include "foundation/Error.h"
#include "online/lobby/LobbyServer.h"
#include "online/lobby/NetworkedZarnLobbyClient.h"
#include "support/net/RawTcpPeer.h"
#include "support/net/Waiting.h"
#include "support/online/LobbyStandIn.h"

using namespace ZarnLobby;
using namespace std::chrono_literals;
using zarn_test::eventually;

namespace {

struct RecordingLoader : ClientGameLoader {
    void load(const Zarn::GameInstance& instance, u32 clientID) override {
        ++attempts;
        if (fail) throw std::runtime_error("no such map here");
        loaded = instance;
        this->clientID = clientID;
        ++loads;
    }
    Zarn::GameInstance loaded;
    u32 clientID = 0;
    int loads = 0;
    int attempts = 0;
    bool fail = false;
};

// Counts the two connection callbacks; they come on the client's I/O thread.
struct Outcome {
    std::atomic<int> failed{0};
    std::atomic<int> connected{0};
    void wire(NetworkedZarnLobbyClient& client) {
        client.setCallbacks([this] { ++failed; }, [this] { ++connected; });
    }
};

// A port on loopback that nothing listens on.
u16 closedPort() {
    boost::asio::io_context io;
    boost::asio::ip::tcp::acceptor acceptor(
        io, boost::asio::ip::tcp::endpoint(boost::asio::ip::address_v4::loopback(), 0));
    return acceptor.local_endpoint().port();
}

class LobbyClientWithServer : public ::testing::Test {
protected:
    LobbyClientWithServer() : server(serverOptions(game)) {
        server.start();
        EXPECT_TRUE(zarn_test::linked(server));
    }
    ~LobbyClientWithServer() override { server.stop(); }

    static LobbyServer::Options serverOptions(const zarn_test::GameServerStandIn& game) {
        LobbyServer::Options options;
        options.address = "127.0.0.1";
        options.games = {game.endpoint()};
        return options;
    }
    // Connects and starts the client the way its owner does: start() after
    // the connected callback.
    void connectAndStart() {
        outcome.wire(client);
        client.setLobbyEndpoint("127.0.0.1", server.port());
        ASSERT_TRUE(eventually([&] { return outcome.connected.load() == 1; }));
        client.start();
    }
    // Frames until the lobby state is reached or the time is up.
    bool updateUntil(u8 state) {
        return eventually(
            [&] {
                client.update();
                return client.status().state == state;
            },
            10s);
    }

    zarn_test::GameServerStandIn game;
    LobbyServer server;
    RecordingLoader loader;
    Outcome outcome;
    NetworkedZarnLobbyClient client{&loader, 0};
};

}  // namespace

TEST_F(LobbyClientWithServer, ConnectsQuickJoinsAndHandsTheGameToTheLoader) {
    connectAndStart();
    EXPECT_TRUE(client.started());
    EXPECT_EQ(client.lobbyEndpoint(), "127.0.0.1:" + std::to_string(server.port()));
    ASSERT_TRUE(client.lobby().issue(lobby_command::quickJoin, ClientQuickJoinHeader(1, "ann").toBytes()));
    client.update();
    EXPECT_EQ(client.status().state, WAITING_QUICK_JOIN);
    ASSERT_TRUE(updateUntil(GAME_LOADED));
    EXPECT_EQ(loader.loads, 1);
    EXPECT_GE(loader.clientID, LobbyServer::kFirstClientID);
    EXPECT_EQ(loader.clientID, client.status().clientID);
    EXPECT_EQ(loader.loaded.endpoint, game.endpoint());
    EXPECT_EQ(loader.loaded.players.count(loader.clientID), 1u);
    EXPECT_EQ(client.lobby().playerInfo.name, "ann");
    EXPECT_EQ(outcome.failed.load(), 0);
}

TEST_F(LobbyClientWithServer, AJoinByAnUnknownNumberComesBackAsANotice) {
    connectAndStart();
    ASSERT_TRUE(
        client.lobby().issue(lobby_command::joinInstance, JoinInstanceHeader(999, 1, "cy").toBytes()));
    client.update();
    ASSERT_EQ(client.status().state, WAITING_QUICK_JOIN);
    ASSERT_TRUE(updateUntil(LOITERING));
    EXPECT_EQ(client.lobby().takeNotices(), std::vector<std::string>{kNoSuchInstanceNotice});
}

TEST_F(LobbyClientWithServer, ALoaderThatThrowsIsLoggedAndTheFrameGoesOn) {
    loader.fail = true;
    connectAndStart();
    ASSERT_TRUE(client.lobby().issue(lobby_command::quickJoin, ClientQuickJoinHeader(1, "ann").toBytes()));
    // The load fails inside update; the state stays where it was.
    ASSERT_TRUE(eventually([&] {
        client.update();
        return loader.attempts == 1;
    }));
    EXPECT_EQ(client.status().state, WAITING_QUICK_JOIN);
    EXPECT_EQ(loader.loads, 0);
    EXPECT_NO_THROW(client.update());
}

TEST(NetworkedZarnLobbyClientTest, ARefusedConnectionReportsFailureOnly) {
    NetworkedZarnLobbyClient client(nullptr, 0);
    Outcome outcome;
    outcome.wire(client);
    client.setLobbyEndpoint("127.0.0.1", closedPort());
    ASSERT_TRUE(eventually([&] { return outcome.failed.load() == 1; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(outcome.connected.load(), 0);
    EXPECT_EQ(outcome.failed.load(), 1);
}

TEST(NetworkedZarnLobbyClientTest, AConnectThatHangsGivesUpAfterItsTimeout) {
    zarn_test::SilentListener silent;
    NetworkedZarnLobbyClient client(nullptr, 0);
    Outcome outcome;
    outcome.wire(client);
    client.connectTimeout = 1s;
    const auto asked = std::chrono::steady_clock::now();
    const auto returned = zarn_test::timed([&] { client.setLobbyEndpoint("127.0.0.1", silent.port()); });
    // The caller's frame goes on: the call returns long before the timeout.
    EXPECT_LT(returned, 500ms);
    EXPECT_EQ(outcome.failed.load(), 0);
    ASSERT_TRUE(eventually([&] { return outcome.failed.load() == 1; }, 10s));
    EXPECT_GE(std::chrono::steady_clock::now() - asked, 990ms);
    EXPECT_EQ(outcome.connected.load(), 0);
}

TEST(NetworkedZarnLobbyClientTest, DestroyingTheClientDuringAConnectReturnsAtOnceAndCallsNothing) {
    zarn_test::SilentListener silent;
    Outcome outcome;
    const auto took = zarn_test::timed([&] {
        NetworkedZarnLobbyClient client(nullptr, 0);
        outcome.wire(client);
        client.setLobbyEndpoint("127.0.0.1", silent.port());
        std::this_thread::sleep_for(20ms);
    });
    EXPECT_LT(took, 1s);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(outcome.failed.load() + outcome.connected.load(), 0);
}

TEST(NetworkedZarnLobbyClientTest, StartWithoutAnEndpointThrowsAndStartsNothing) {
    NetworkedZarnLobbyClient client(nullptr, 0);
    try {
        client.start();
        FAIL() << "start without an endpoint";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "cannot start without valid client");
    }
    EXPECT_FALSE(client.started());
}

TEST(NetworkedZarnLobbyClientTest, AnUnstartedClientUpdatesAndGoesQuietly) {
    const auto took = zarn_test::timed([] {
        NetworkedZarnLobbyClient client(nullptr, 0);
        client.update();  // nothing received: only wakes the (idle) sender
        EXPECT_EQ(client.status().state, LOITERING);
    });
    EXPECT_LT(took, 1s);
}

TEST(NetworkedZarnLobbyClientTest, TheEndpointIsTheHostAndThePortDefaultingTo12345) {
    NetworkedZarnLobbyClient client(nullptr, 0);
    client.setLobbyEndpoint("lobby.invalid");
    EXPECT_EQ(client.lobbyEndpoint(), "lobby.invalid:12345");
    client.setLobbyEndpoint("127.0.0.1", 4000);
    EXPECT_EQ(client.lobbyEndpoint(), "127.0.0.1:4000");
}

TEST(NetworkedZarnLobbyClientTest, ClosingTheConnectionEndsItAtThePeer) {
    zarn_test::RawTcpPeer peer;
    NetworkedZarnLobbyClient client(nullptr, 0);
    Outcome outcome;
    outcome.wire(client);
    client.setLobbyEndpoint("127.0.0.1", peer.port());
    peer.accept();
    ASSERT_TRUE(eventually([&] { return outcome.connected.load() == 1; }));
    client.start();
    client.closeConnection();
    // The peer's read ends with the end of the stream instead of a byte.
    EXPECT_THROW(peer.read(1), std::exception);
}

TEST(LobbyAddressTest, ReadsHostAndOptionalPort) {
    struct Case {
        const char* text;
        LobbyAddress expected;
    };
    const LobbyAddress fallback;
    const Case cases[] = {
        {nullptr, fallback},
        {"", fallback},
        {"10.0.0.7", {"10.0.0.7", 12345}},
        {"lobby.example:4000", {"lobby.example", 4000}},
        {"127.0.0.1:65535", {"127.0.0.1", 65535}},
        {"127.0.0.1:0", fallback},
        {"127.0.0.1:65536", fallback},
        {"127.0.0.1:", fallback},
        {"127.0.0.1:12x", fallback},
        {":4000", fallback},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseLobbyAddress(c.text), c.expected) << (c.text ? c.text : "(null)");
    }
    EXPECT_EQ(fallback.host, "127.0.0.1");
    EXPECT_EQ(fallback.port, 12345);
}
