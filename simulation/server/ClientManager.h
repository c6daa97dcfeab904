#pragma once

#include <vector>

#include "foundation/Interfaces.h"
#include "foundation/Types.h"

namespace Zarn {

class GameWorld;

// The one way a client enters or leaves every per-client table of a server.
// The creators are observed (the server owns them and fills the list in its
// constructor: unit manager first, so a unit exists before anyone else hears
// of the client). Server thread only.
class ClientManager {
public:
    explicit ClientManager(GameWorld& world) : world_(world) {}
    virtual ~ClientManager() = default;

    // Each creator in list order, then clientAdded.
    void addClient(u32 clientId);
    // The unit leaves the simulator first; then each creator in list order,
    // then clientRemoved.
    void removeClient(u32 clientId);

    // Gives the client's unit wall avoidance and collision with the moving
    // props, and hands it to the simulator. Throws
    // Convinience::ClientIDNotFoundException when the client has no unit.
    virtual void clientAdded(u32 clientId);
    // Takes the unit out of the simulator and destroys it.
    virtual void clientRemoved(u32 clientId);

    std::vector<Convinience::MultiClientCreator*> creators;

private:
    GameWorld& world_;
};

}  // namespace Zarn
