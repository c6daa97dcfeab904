#pragma once

#include "foundation/Types.h"
#include "simulation/server/GameInstance.h"

namespace ZarnLobby {

// What the lobby's load commands call to start loading a game: the game
// instance the lobby handed over and this client's ID on it. Called on the
// thread that runs the lobby client's update.
class ClientGameLoader {
public:
    virtual ~ClientGameLoader() = default;
    virtual void load(const Zarn::GameInstance& instance, u32 clientID) = 0;
};

}  // namespace ZarnLobby
