#pragma once

#include "foundation/Types.h"

namespace Zarn {

// What the client game core tells the scene of game events, on the thread
// that ticks the client (the main thread).
class ZarnGameNotifier {
public:
    virtual ~ZarnGameNotifier() = default;
    // The server confirmed that this client left the game.
    virtual void gameNotification() = 0;
    virtual void playerJoined(u32 clientID) = 0;
    virtual void playerLeft(u32 clientID) = 0;
    // A player already in the game has a new record (its name or number
    // changed): what shows them must follow.
    virtual void playerChanged(u32 clientID) = 0;
};

}  // namespace Zarn
