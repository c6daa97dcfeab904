#pragma once

#include <functional>
#include <memory>
#include <string>

#include "map/records/MultiplayerMapList.h"
#include "online/game/NetworkedZarnClient.h"
#include "online/lobby/ClientGameLoader.h"
#include "online/lobby/NetworkedZarnLobbyClient.h"

namespace zarn_test {

// The loader's work without a scene: the networked client for the instance
// the lobby sent (local port 0), the playback latency, the instance with only
// this client in its player set, the room of the instance's map hash loaded
// from the shipped maps. `route`, when set, turns the instance's endpoint into
// the one this client connects to (a relay in front of the game server).
class SceneLessGameLoader : public ZarnLobby::ClientGameLoader {
public:
    void load(const Zarn::GameInstance& instance, u32 clientID) override;

    std::function<std::string(const std::string&)> route;
    u32 latencyMs = Zarn::NetworkedZarnClient::kDefaultPlaybackLatencyMs;
    std::unique_ptr<Zarn::NetworkedZarnClient> client;
    std::string mapName;

private:
    Zarn::MultiplayerMapList maps_;
};

// A player in the lobby: the game's lobby client on loopback, with the
// scene-less loader behind its load commands.
class LobbyPlayer {
public:
    // Connects to the lobby server on the port (at most ten seconds).
    explicit LobbyPlayer(u16 lobbyPort);

    bool connected() const { return connected_; }
    // Quick-joins under the name and steps the lobby like frames until the
    // game is loaded (false when that takes more than ten seconds, or when the
    // lobby answers that it found no instance).
    bool quickJoin(const std::string& name);
    // Quick-joins again while the lobby finds no instance (its link to a game
    // server is not up yet), for at most ten seconds.
    bool quickJoinOnceLinked(const std::string& name);
    u32 clientID() { return lobby.status().clientID; }
    Zarn::NetworkedZarnClient& client() { return *loader.client; }

    SceneLessGameLoader loader;
    ZarnLobby::NetworkedZarnLobbyClient lobby{&loader, 0};

private:
    bool connected_ = false;
};

}  // namespace zarn_test
