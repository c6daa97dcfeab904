#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "online/lobby/ClientLobbyState.h"
#include "online/lobby/LobbyServer.h"
#include "support/net/LogWatch.h"
#include "support/net/TransportNode.h"
#include "support/net/Waiting.h"
#include "support/online/LobbyStandIn.h"

using namespace ZarnLobby;

namespace {

struct RecordingLoader : ClientGameLoader {
    void load(const Zarn::GameInstance& instance, u32 clientID) override {
        loaded = instance;
        this->clientID = clientID;
    }
    Zarn::GameInstance loaded;
    u32 clientID = 0;
};

// A lobby client over a real loopback connection: the transport node, the
// lobby state on its rings, and the loader its load commands call.
struct LobbyPeer {
    explicit LobbyPeer(u16 serverPort) {
        EXPECT_TRUE(node.connectTo(serverPort));
        node.endpoints.assign(LobbyServer::kLobbyServerID, "127.0.0.1:" + std::to_string(serverPort));
        node.start();
    }
    // Steps the lobby state like a frame until the state is reached or time is up.
    bool stepUntil(u8 state) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            lobby.update();
            node.sender->wake();
            if (lobby.status.state == state) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    zarn_test::TransportNode node{zarn_test::TransportNode::Role::Client};
    Corvel::ClientCommandState commands;
    RecordingLoader loader;
    ClientLobbyState lobby{node.outgoing, node.incoming, commands, &loader};
};

}  // namespace

TEST(LobbyServerTest, TwoClientsQuickJoinTheSameGame) {
    zarn_test::GameServerStandIn game;
    LobbyServer::Options options;
    options.address = "127.0.0.1";
    options.games = {game.endpoint()};
    LobbyServer server(options);
    ASSERT_NE(server.port(), 0);
    server.start();
    ASSERT_TRUE(zarn_test::linked(server));

    LobbyPeer first(server.port());
    LobbyPeer second(server.port());
    ASSERT_TRUE(first.lobby.issue(lobby_command::quickJoin, ClientQuickJoinHeader(1, "ann").toBytes()));
    ASSERT_TRUE(first.stepUntil(GAME_LOADED));
    ASSERT_TRUE(second.lobby.issue(lobby_command::quickJoin, ClientQuickJoinHeader(1, "bob").toBytes()));
    ASSERT_TRUE(second.stepUntil(GAME_LOADED));

    EXPECT_GE(first.lobby.status.clientID, LobbyServer::kFirstClientID);
    EXPECT_GE(second.lobby.status.clientID, LobbyServer::kFirstClientID);
    EXPECT_NE(first.lobby.status.clientID, second.lobby.status.clientID);
    EXPECT_EQ(first.loader.clientID, first.lobby.status.clientID);
    EXPECT_EQ(first.lobby.playerInfo.name, "ann");
    EXPECT_EQ(second.lobby.playerInfo.name, "bob");
    EXPECT_EQ(first.lobby.playerInfo.number, 0);
    EXPECT_EQ(second.lobby.playerInfo.number, 1);
    EXPECT_EQ(first.loader.loaded.instanceID, second.loader.loaded.instanceID);
    EXPECT_EQ(second.loader.loaded.endpoint, game.endpoint());
    EXPECT_EQ(second.loader.loaded.players.size(), 2u);
    EXPECT_EQ(second.loader.loaded.players.count(first.lobby.status.clientID), 1u);

    // A join by a number that names no game comes back as "not found".
    LobbyPeer third(server.port());
    ASSERT_TRUE(third.lobby.issue(lobby_command::joinInstance, JoinInstanceHeader(999, 1, "cy").toBytes()));
    third.lobby.update();
    EXPECT_EQ(third.lobby.status.state, WAITING_QUICK_JOIN);
    ASSERT_TRUE(third.stepUntil(LOITERING));
    EXPECT_EQ(third.lobby.takeNotices(), std::vector<std::string>{kNoSuchInstanceNotice});
    server.stop();
}

// A lobby client that leaves gives its player number back: the next one in
// the game takes the lowest free number, never a number a player still holds.
TEST(LobbyServerTest, ANewcomerNeverTakesTheNumberOfAPlayerStillInTheGame) {
    zarn_test::GameServerStandIn game;
    LobbyServer::Options options;
    options.address = "127.0.0.1";
    options.games = {game.endpoint()};
    LobbyServer server(options);
    server.start();
    ASSERT_TRUE(zarn_test::linked(server));

    auto first = std::make_unique<LobbyPeer>(server.port());
    LobbyPeer second(server.port());
    ASSERT_TRUE(first->lobby.issue(lobby_command::quickJoin, ClientQuickJoinHeader(1, "ann").toBytes()));
    ASSERT_TRUE(first->stepUntil(GAME_LOADED));
    ASSERT_TRUE(second.lobby.issue(lobby_command::quickJoin, ClientQuickJoinHeader(1, "bob").toBytes()));
    ASSERT_TRUE(second.stepUntil(GAME_LOADED));
    const u32 firstID = first->lobby.status.clientID;
    const u8 secondNumber = second.lobby.playerInfo.number;

    // Its place is free once the game server has confirmed it.
    first.reset();
    ASSERT_TRUE(zarn_test::eventually([&] { return server.stats().members == 1; }, std::chrono::seconds(60)));
    LobbyPeer third(server.port());
    ASSERT_TRUE(third.lobby.issue(lobby_command::quickJoin, ClientQuickJoinHeader(1, "cy").toBytes()));
    ASSERT_TRUE(third.stepUntil(GAME_LOADED));
    EXPECT_EQ(third.loader.loaded.instanceID, second.loader.loaded.instanceID);
    EXPECT_EQ(third.loader.loaded.players.count(firstID), 0u);
    EXPECT_NE(third.lobby.playerInfo.number, secondNumber);
    EXPECT_EQ(third.lobby.playerInfo.number, 0);
    server.stop();
}
