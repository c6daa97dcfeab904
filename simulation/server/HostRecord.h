#pragma once

#include <vector>

#include "foundation/QueuedMessage.h"
#include "foundation/Types.h"

namespace Zarn {

// A record of the game for its host (route 2 = 0): a command header from the
// game (sender and route 1 = its fromID, answering nothing, asking for
// confirmation), then the payload; reliable, not numbered. The server puts
// such records straight on its outgoing ring, without a pusher.
Corvel::QueuedMessage makeHostRecord(u32 fromId, u32 commandId, const std::vector<u8>& payload = {});

}  // namespace Zarn
