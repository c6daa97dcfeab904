#pragma once

#include "foundation/Types.h"
#include "simulation/server/GameInstance.h"

namespace ZarnLobby {

// What the lobby's load commands call to start loading a game: the game
// instance the lobby handed over and this client's ID on it. Called on the
// thread that runs the lobby client's update (the main thread).
class ClientGameLoader {
public:
    virtual ~ClientGameLoader() = default;
    // May throw Zarn::MapHashNotFoundException for a map hash this client
    // does not know; the loader is then as it was, and the caller returns
    // the lobby state to 0 with a notice.
    virtual void load(const Zarn::GameInstance& instance, u32 clientID) = 0;
    // Connects the loaded game's client to its game server (once; a loader
    // with nothing loaded does nothing).
    virtual void connect(u32) {}
};

}  // namespace ZarnLobby
