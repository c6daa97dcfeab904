#include "online/support/LobbyJoin.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

#include "online/lobby/LobbyHeaders.h"
#include "online/support/OnlinePlay.h"

namespace zarn_test {

void SceneLessGameLoader::load(const Zarn::GameInstance& instance, u32 clientID) {
    const std::string endpoint = route ? route(instance.endpoint) : instance.endpoint;
    client = std::make_unique<Zarn::NetworkedZarnClient>(endpoint, 0, clientID);
    client->setPlaybackLatency(latencyMs);
    Zarn::GameInstance mine = instance;
    mine.players.clear();
    mine.players.insert(clientID);
    client->getCore().setGameInstance(mine);
    mapName = maps_.findByHash(instance.mapHash);
    const std::string room = mapName.substr(0, mapName.rfind(".map"));
    std::istringstream bytes(shippedRoomBytes(room));
    client->loadMap(bytes);
}

LobbyPlayer::LobbyPlayer(u16 lobbyPort) {
    // Shared with the callbacks, which run on the lobby client's I/O thread.
    auto outcome = std::make_shared<std::atomic<int>>(0);
    lobby.setCallbacks([outcome] { *outcome = -1; }, [outcome] { *outcome = 1; });
    lobby.setLobbyEndpoint("127.0.0.1", lobbyPort);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (outcome->load() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (outcome->load() != 1) return;
    lobby.start();
    connected_ = true;
}

bool LobbyPlayer::quickJoin(const std::string& name) {
    if (!connected_) return false;
    if (!lobby.lobby().issue(ZarnLobby::lobby_command::quickJoin,
                             ZarnLobby::ClientQuickJoinHeader(1, name).toBytes()))
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        lobby.update();
        if (lobby.status().state == ZarnLobby::GAME_LOADED) return loader.client != nullptr;
        // "Instance not found": no game server took the player.
        if (lobby.status().state == ZarnLobby::LOITERING) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

bool LobbyPlayer::quickJoinOnceLinked(const std::string& name) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (quickJoin(name)) return true;
        if (!connected_ || lobby.status().state != ZarnLobby::LOITERING) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace zarn_test
