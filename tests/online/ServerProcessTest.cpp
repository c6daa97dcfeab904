// The real server programs as a new user runs them, played against by the
// game's own lobby and game clients on loopback.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "online/support/LobbyJoin.h"
#include "online/support/OnlinePlay.h"
#include "online/support/ServerProcess.h"
#include "simulation/managers/PlayerInfoManager.h"

using zarn_test::LobbyPlayer;
using zarn_test::ServerProcess;

namespace {

std::unique_ptr<ServerProcess> startGameServer() {
    return std::make_unique<ServerProcess>(
        ServerProcess::Launch{ServerProcess::gameServerProgram(), {"--port", "0", "--address", "127.0.0.1"}});
}

std::unique_ptr<ServerProcess> startLobby(const std::vector<const ServerProcess*>& games) {
    std::vector<std::string> arguments = {"--port", "0", "--address", "127.0.0.1", "--map", "multi_lv1"};
    for (const ServerProcess* game : games) {
        arguments.push_back("--game");
        arguments.push_back(game->endpoint());
    }
    return std::make_unique<ServerProcess>(ServerProcess::Launch{ServerProcess::lobbyProgram(), arguments});
}

// Players quick-join one after another through the lobby, connect to the
// game server they are sent to and play until everyone sees the mates the
// lobby put in its game, under the number and nickname the lobby gave them
// (and nobody else). Answers the game server endpoint of each instance.
std::map<u32, std::string> playThroughTheLobby(u16 lobbyPort, std::size_t count) {
    std::vector<std::unique_ptr<LobbyPlayer>> players;
    for (std::size_t i = 0; i < count; ++i) {
        players.push_back(std::make_unique<LobbyPlayer>(lobbyPort));
        EXPECT_TRUE(players.back()->connected()) << i;
        EXPECT_TRUE(players.back()->quickJoinOnceLinked("rat" + std::to_string(i))) << i;
        if (::testing::Test::HasFailure()) return {};
    }
    std::map<u32, std::vector<LobbyPlayer*>> games;
    std::map<u32, std::string> endpoints;
    for (auto& player : players) {
        const Zarn::GameInstance& instance = player->client().getCore().gameInstance();
        games[instance.instanceID].push_back(player.get());
        endpoints[instance.instanceID] = instance.endpoint;
        player->client().startSession();
    }
    std::vector<Zarn::NetworkedZarnClient*> clients;
    for (auto& player : players) clients.push_back(&player->client());
    const auto everyoneSeesTheirGame = [&] {
        for (auto* client : clients)
            if (!zarn_test::hearsTheServer(*client)) return false;
        for (auto& [id, mates] : games)
            for (LobbyPlayer* player : mates)
                for (LobbyPlayer* mate : mates)
                    if (!zarn_test::hasUnit(player->client(), mate->clientID())) return false;
        return true;
    };
    EXPECT_TRUE(zarn_test::playUntil(clients, everyoneSeesTheirGame)) << "not every player sees its game";
    for (auto& [id, mates] : games) {
        for (LobbyPlayer* player : mates) {
            Zarn::NetworkedZarnClient& client = player->client();
            EXPECT_EQ(client.getCore().gameInstance().instanceID, id)
                << "the 12 carries the lobby's instance";
            EXPECT_EQ(client.getCore().gameInstance().endpoint, endpoints[id]);
            for (LobbyPlayer* mate : mates) {
                if (mate == player) continue;
                const Zarn::PlayerInfo& given = mate->lobby.lobby().playerInfo;
                EXPECT_TRUE(client.getCore().playerInfos().hasInfo(given.clientID));
                if (!client.getCore().playerInfos().hasInfo(given.clientID)) continue;
                const Zarn::PlayerInfo& seen = client.getCore().playerInfos().getInfo(given.clientID);
                EXPECT_EQ(seen.name, given.name) << "client " << player->clientID();
                EXPECT_EQ(seen.number, given.number) << "client " << player->clientID();
            }
        }
        for (auto& [other, strangers] : games) {
            if (other == id) continue;
            for (LobbyPlayer* stranger : strangers)
                EXPECT_FALSE(zarn_test::hasUnit(mates.front()->client(), stranger->clientID()));
        }
    }
    for (auto& [id, mates] : games) {
        std::set<u8> numbers;
        for (LobbyPlayer* player : mates) numbers.insert(player->lobby.lobby().playerInfo.number);
        EXPECT_EQ(numbers.size(), mates.size()) << "instance " << id << " gave a number twice";
    }
    EXPECT_EQ(games.size(), (count + 3) / 4);
    for (auto& [id, mates] : games) EXPECT_EQ(mates.size(), 4u) << "instance " << id;
    return endpoints;
}

}  // namespace

TEST(ServerProcessTest, EightPlayersThroughOneLobbyMakeTwoGamesOfFourWithTheLobbysNamesAndNumbers) {
    auto game = startGameServer();
    ASSERT_TRUE(game->started());
    auto lobby = startLobby({game.get()});
    ASSERT_TRUE(lobby->started());
    const auto endpoints = playThroughTheLobby(lobby->port(), 8);
    for (const auto& [id, endpoint] : endpoints) EXPECT_EQ(endpoint, game->endpoint());
    EXPECT_EQ(game->stop(), 0);
    EXPECT_EQ(lobby->stop(), 0);
}

TEST(ServerProcessTest, TwelvePlayersWithTwoGameServersMakeThreeGamesSpreadOverBoth) {
    auto first = startGameServer();
    auto second = startGameServer();
    ASSERT_TRUE(first->started() && second->started());
    auto lobby = startLobby({first.get(), second.get()});
    ASSERT_TRUE(lobby->started());
    const auto endpoints = playThroughTheLobby(lobby->port(), 12);
    std::map<std::string, int> gamesOn;
    for (const auto& [id, endpoint] : endpoints) ++gamesOn[endpoint];
    EXPECT_EQ(gamesOn.size(), 2u) << "both game servers hold games";
    EXPECT_EQ(gamesOn[first->endpoint()] + gamesOn[second->endpoint()], 3);
}
