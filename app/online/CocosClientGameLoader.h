#pragma once

#include <memory>

#include "map/records/MultiplayerMapList.h"
#include "online/lobby/ClientGameLoader.h"

namespace Zarn {
class NetworkedZarnClient;
}
class MultiplayerInGameScene;
struct OnlineConnectionState;

// The engine side of the lobby's game loader: for the game instance the
// lobby handed over it builds the networked client (its core given the
// instance with this client as its only listed player, the playback latency
// of the settings) and the online scene that runs it, and keeps both until
// the lobby panel switches to the scene. The client is told to report a
// lost server to the scene, which then returns to the main menu with a
// notice.
//
// The loader and the scene share the client: destroying the loader while
// its scene runs (a new lobby panel makes a new loader) leaves the client to
// the scene, and the scene may go first as well. Main thread only.
class CocosClientGameLoader : public ZarnLobby::ClientGameLoader {
public:
    CocosClientGameLoader();
    // Releases the scene when the panel never took it.
    ~CocosClientGameLoader() override;
    CocosClientGameLoader(const CocosClientGameLoader&) = delete;
    CocosClientGameLoader& operator=(const CocosClientGameLoader&) = delete;

    // Throws Zarn::MapHashNotFoundException, changing nothing, for a map
    // hash the multiplayer map list lacks. Otherwise replaces what an
    // earlier load made. When the map cannot be brought up (logged) the
    // client is kept and scene() is null: the caller must not switch to it.
    void load(const Zarn::GameInstance& instance, u32 clientID) override;
    // Starts the loaded client's session (the scene's set-up has done so
    // already; a second start does nothing).
    void connect(u32) override;

    // Retained by the loader until releaseScene; null before a load.
    MultiplayerInGameScene* scene() const { return scene_; }
    // Null before a load.
    Zarn::NetworkedZarnClient* client() const { return client_.get(); }
    // Drops the loader's reference to the scene (the panel calls it once
    // the director holds the scene).
    void releaseScene();

private:
    std::shared_ptr<Zarn::NetworkedZarnClient> client_;
    std::shared_ptr<OnlineConnectionState> connection_;
    Zarn::MultiplayerMapList maps_;
    MultiplayerInGameScene* scene_ = nullptr;
};
