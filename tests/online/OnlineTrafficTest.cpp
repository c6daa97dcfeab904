#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "online/game/GameServerHost.h"
#include "online/game/NetworkedZarnClient.h"
#include "online/lobby/LobbyServer.h"
#include "online/support/LobbyJoin.h"
#include "online/support/OnlinePlay.h"
#include "support/net/LoopbackRelay.h"

using namespace Zarn;
using namespace std::chrono_literals;
using GeometryLib::FPoint;
using zarn_test::RelayDirection;

namespace {

// What one client's relay carried, both channels.
struct Carried {
    std::size_t udpBytes[2] = {0, 0};
    std::size_t tcpBytes[2] = {0, 0};
    std::size_t largestDatagram = 0;
};

Carried carriedBy(const zarn_test::LoopbackRelay& relay) {
    Carried carried;
    for (RelayDirection direction : {RelayDirection::ToTarget, RelayDirection::ToClient}) {
        const int d = static_cast<int>(direction);
        for (const auto& datagram : relay.wholeDatagrams(direction)) {
            carried.udpBytes[d] += datagram.size();
            carried.largestDatagram = std::max(carried.largestDatagram, datagram.size());
        }
    }
    carried.tcpBytes[0] = relay.tcpBytesToTarget();
    carried.tcpBytes[1] = relay.tcpBytesToClient();
    return carried;
}

// Four players on the busiest co-op room (two lanes of cycling trap doors,
// two doors, coins), each through a fault-free relay that counts what it
// carries. Every player moves once a second for ten seconds; the delay from
// the first player's input to the second player seeing that unit start to
// move is taken in ticks of 30 ms. The figures are printed for the record.
TEST(OnlineTrafficTest, FourPlayersOnTheBusiestCoopRoomStayUnderTheDatagramLimit) {
    auto host = zarn_test::startGameServer(zarn_test::shippedRoomBytes("multi_lv2"));
    ZarnLobby::LobbyServer::Options options;
    options.address = "127.0.0.1";
    options.games = {"127.0.0.1:" + std::to_string(host->port())};
    options.maps = {1};
    ZarnLobby::LobbyServer lobby(options);
    lobby.start();
    ASSERT_TRUE(zarn_test::linked(lobby));

    constexpr std::size_t kPlayers = 4;
    std::vector<std::unique_ptr<zarn_test::LoopbackRelay>> relays;
    std::vector<std::unique_ptr<zarn_test::LobbyPlayer>> players;
    std::vector<NetworkedZarnClient*> clients;
    std::vector<u32> ids;
    for (std::size_t i = 0; i < kPlayers; ++i) {
        relays.push_back(std::make_unique<zarn_test::LoopbackRelay>(host->port(), zarn_test::RelayFaults{}));
        players.push_back(std::make_unique<zarn_test::LobbyPlayer>(lobby.port()));
        zarn_test::LoopbackRelay* relay = relays.back().get();
        players.back()->loader.route = [relay](const std::string&) { return relay->endpoint(); };
        ASSERT_TRUE(players.back()->quickJoin("p" + std::to_string(i)));
        ASSERT_EQ(players.back()->loader.mapName, "multi_lv2.map");
        clients.push_back(&players.back()->client());
        ids.push_back(players.back()->clientID());
    }
    for (NetworkedZarnClient* client : clients)
        client->startSessionAsync([] { ADD_FAILURE() << "could not connect"; });
    ASSERT_TRUE(zarn_test::playUntil(clients, [&] { return zarn_test::everyoneSeesEveryone(clients, ids); }))
        << "everyone sees everyone";
    // Past the starting gun: the doors to the lanes are open.
    zarn_test::playFor(clients, 1500ms);

    std::vector<Carried> before;
    for (const auto& relay : relays) before.push_back(carriedBy(*relay));
    const auto start = std::chrono::steady_clock::now();

    // Each player goes back and forth between two cells of its own.
    const int cells[kPlayers][2][2] = {
        {{1, 1}, {1, 2}}, {{1, 4}, {1, 5}}, {{3, 1}, {3, 2}}, {{3, 4}, {3, 5}}};
    std::vector<double> delays;
    constexpr int kRounds = 10;
    for (int round = 0; round < kRounds; ++round) {
        const FPoint watchedFrom = zarn_test::seen(*clients[1], ids[0]);
        const auto issued = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < kPlayers; ++i) {
            const int* cell = cells[i][round % 2];
            zarn_test::moveTo(*clients[i], zarn_test::cellCentre(*clients[i], cell[0], cell[1]));
        }
        const bool moved = zarn_test::playUntil(
            clients,
            [&] { return zarn_test::distance(zarn_test::seen(*clients[1], ids[0]), watchedFrom) > 1.0f; },
            1s);
        if (moved) {
            const auto ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - issued);
            delays.push_back(ms.count() / 30.0);
        }
        zarn_test::playFor(clients, std::chrono::duration_cast<std::chrono::milliseconds>(
                                        1s - (std::chrono::steady_clock::now() - issued)));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    ASSERT_GE(delays.size(), static_cast<std::size_t>(kRounds - 1)) << "the second player saw too few moves";
    std::sort(delays.begin(), delays.end());
    std::size_t largest = 0;
    for (std::size_t i = 0; i < kPlayers; ++i) {
        const Carried after = carriedBy(*relays[i]);
        const double up = static_cast<double>(after.udpBytes[0] - before[i].udpBytes[0] + after.tcpBytes[0] -
                                              before[i].tcpBytes[0]) /
                          seconds;
        const double down = static_cast<double>(after.udpBytes[1] - before[i].udpBytes[1] +
                                                after.tcpBytes[1] - before[i].tcpBytes[1]) /
                            seconds;
        largest = std::max(largest, after.largestDatagram);
        std::printf(
            "[traffic] client %zu: %.0f B/s to the server, %.0f B/s from it (UDP %zu/%zu B, TCP %zu/%zu B)\n",
            i, up, down, after.udpBytes[0] - before[i].udpBytes[0], after.udpBytes[1] - before[i].udpBytes[1],
            after.tcpBytes[0] - before[i].tcpBytes[0], after.tcpBytes[1] - before[i].tcpBytes[1]);
        EXPECT_GT(up, 0.0);
        EXPECT_GT(down, 0.0);
    }
    std::printf(
        "[traffic] %.1f s measured; largest datagram %zu B; input to another client's view: median %.1f "
        "ticks, max %.1f ticks (%zu of %d moves seen)\n",
        seconds, largest, delays[delays.size() / 2], delays.back(), delays.size(), kRounds);
    EXPECT_LT(largest, 4096u) << "a datagram at or above the 4,096-byte limit";
    EXPECT_EQ(host->rejectedClients(), 0u);
    lobby.stop();
}

}  // namespace
