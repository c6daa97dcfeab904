#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "online/game/GameServerHost.h"
#include "online/game/NetworkedZarnClient.h"
#include "online/lobby/LobbyServer.h"
#include "online/support/LobbyJoin.h"
#include "online/support/OnlinePlay.h"
#include "simulation/commands/CommandIds.h"
#include "support/net/LoopbackRelay.h"
#include "world/units/SteerableUnitManager.h"

using namespace Zarn;
using namespace std::chrono_literals;
using GeometryLib::FPoint;
using zarn_test::distance;
using zarn_test::seen;

namespace {

// A lobby server whose games run on the game server host, on the room of
// the map hash (0 multi_lv1, 1 multi_lv2).
std::unique_ptr<ZarnLobby::LobbyServer> startLobby(const GameServerHost& host, u32 mapHash) {
    ZarnLobby::LobbyServer::Options options;
    options.address = "127.0.0.1";
    options.games = {"127.0.0.1:" + std::to_string(host.port())};
    options.maps = {mapHash};
    auto lobby = std::make_unique<ZarnLobby::LobbyServer>(options);
    lobby->start();
    EXPECT_TRUE(zarn_test::linked(*lobby));
    return lobby;
}

std::string where(const FPoint& p) {
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

TEST(OnlinePlayTest, TwoPlayersQuickJoinThroughTheLobbyPlayTheCoopRoomAndSeeLeavesAndTheServerGo) {
    auto host = zarn_test::startGameServer(zarn_test::shippedRoomBytes("multi_lv1"));
    auto lobby = startLobby(*host, 0);
    zarn_test::LobbyPlayer ann(lobby->port());
    zarn_test::LobbyPlayer bob(lobby->port());
    ASSERT_TRUE(ann.connected() && bob.connected());
    ASSERT_TRUE(ann.quickJoin("ann"));
    ASSERT_TRUE(bob.quickJoin("bob"));
    EXPECT_EQ(ann.loader.mapName, "multi_lv1.map");
    const u32 a = ann.clientID();
    const u32 b = bob.clientID();
    ASSERT_NE(a, b);

    // What the online scene does: start the session without waiting.
    NetworkedZarnClient& annClient = ann.client();
    NetworkedZarnClient& bobClient = bob.client();
    int annLost = 0;
    annClient.setDisconnectFunction([&annLost] { ++annLost; });
    for (NetworkedZarnClient* client : {&annClient, &bobClient})
        client->startSessionAsync([] { ADD_FAILURE() << "could not connect"; });
    const std::vector<NetworkedZarnClient*> both = {&annClient, &bobClient};
    ASSERT_TRUE(zarn_test::playUntil(
        both, [&] { return zarn_test::hasUnit(annClient, b) && zarn_test::hasUnit(bobClient, a); }));

    const FPoint annTarget = zarn_test::cellCentre(annClient, 3, 1);
    const FPoint bobTarget = zarn_test::cellCentre(bobClient, 1, 4);
    zarn_test::moveTo(annClient, annTarget);
    zarn_test::moveTo(bobClient, bobTarget);
    EXPECT_TRUE(zarn_test::playUntil(both,
                                     [&] {
                                         return distance(seen(bobClient, a), annTarget) < 4.0f &&
                                                distance(seen(annClient, b), bobTarget) < 4.0f;
                                     }))
        << "bob sees ann at " << where(seen(bobClient, a)) << ", ann sees bob at "
        << where(seen(annClient, b));

    bobClient.setNextLocalCommand(LocalCommandId::exitGame);
    EXPECT_TRUE(zarn_test::playUntil(both, [&] { return !zarn_test::hasUnit(annClient, b); }))
        << "ann still sees bob after he left";
    bob.loader.client.reset();

    host.reset();
    EXPECT_TRUE(zarn_test::playUntil(
        {&annClient}, [&] { return annLost > 0; }, 10s))
        << "ann was not told that the game server went";
    EXPECT_EQ(annLost, 1);
}

// Each lossy player plays through a relay of its own that drops and reorders
// a tenth of the datagrams both ways; a loss-free observer shows the server's
// world as the server sent it.
TEST(OnlinePlayTest, ThroughALossyRelayThePlayersWorldsConvergeToTheServers) {
    auto host = zarn_test::startGameServer(zarn_test::shippedRoomBytes("multi_lv1"));
    auto lobby = startLobby(*host, 0);
    std::vector<std::unique_ptr<zarn_test::LoopbackRelay>> relays;
    for (u32 seed : {7u, 8u}) {
        zarn_test::RelayFaults faults;
        faults.seed = seed;
        faults.drop = 0.1;
        faults.reorder = 0.1;
        relays.push_back(std::make_unique<zarn_test::LoopbackRelay>(host->port(), faults));
    }
    std::vector<std::unique_ptr<zarn_test::LobbyPlayer>> players;
    for (std::size_t i = 0; i < 3; ++i) {
        players.push_back(std::make_unique<zarn_test::LobbyPlayer>(lobby->port()));
        if (i < relays.size()) {
            zarn_test::LoopbackRelay* relay = relays[i].get();
            players[i]->loader.route = [relay](const std::string&) { return relay->endpoint(); };
        }
        ASSERT_TRUE(players[i]->quickJoin("p" + std::to_string(i)));
    }
    std::vector<NetworkedZarnClient*> clients;
    std::vector<u32> ids;
    for (auto& p : players) {
        clients.push_back(&p->client());
        ids.push_back(p->clientID());
        p->client().startSessionAsync([] { ADD_FAILURE() << "could not connect"; });
    }
    NetworkedZarnClient& observer = *clients.back();
    ASSERT_TRUE(zarn_test::playUntil(clients, [&] { return zarn_test::everyoneSeesEveryone(clients, ids); }))
        << "everyone sees everyone";

    // Moves of the lossy players, one each second; then no input.
    const int route[][2][2] = {{{3, 1}, {2, 4}}, {{1, 4}, {3, 2}}, {{2, 2}, {1, 1}}};
    for (const auto& step : route) {
        for (std::size_t i = 0; i < 2; ++i)
            zarn_test::moveTo(*clients[i], zarn_test::cellCentre(*clients[i], step[i][0], step[i][1]));
        zarn_test::playFor(clients, 1s);
    }
    const FPoint finals[] = {zarn_test::cellCentre(observer, 2, 2), zarn_test::cellCentre(observer, 1, 1)};
    const auto converged = [&] {
        for (std::size_t i = 0; i < 2; ++i)
            if (distance(seen(observer, ids[i]), finals[i]) > 2.0f) return false;
        for (NetworkedZarnClient* c : clients)
            for (u32 id : ids)
                if (distance(seen(*c, id), seen(observer, id)) > 0.5f) return false;
        return true;
    };
    EXPECT_TRUE(zarn_test::playUntil(clients, converged, 20s));
    for (std::size_t c = 0; c < clients.size(); ++c) {
        for (u32 id : ids) {
            EXPECT_LT(distance(seen(*clients[c], id), seen(observer, id)), 0.5f)
                << "client " << c << " sees " << id << " at " << where(seen(*clients[c], id))
                << ", the server at " << where(seen(observer, id));
            EXPECT_EQ(clients[c]->getSteerableUnitManager().getUnit(id).state,
                      observer.getSteerableUnitManager().getUnit(id).state)
                << "client " << c << ", unit " << id;
        }
    }
    for (const auto& relay : relays) {
        EXPECT_GT(relay->stats(zarn_test::RelayDirection::ToTarget).dropped, 0u);
        EXPECT_GT(relay->stats(zarn_test::RelayDirection::ToClient).dropped, 0u);
        EXPECT_GT(relay->stats(zarn_test::RelayDirection::ToClient).reordered, 0u);
    }
    EXPECT_EQ(host->rejectedClients(), 0u);
}

}  // namespace
