#pragma once

#include <string>

#include "foundation/Types.h"

namespace Zarn {

// What a hosting process learns of the players a game server adds and
// removes. Called on the server thread, from inside the join and exit
// commands: the register call comes before the new client has entered the
// server's per-client tables, the remove call after the client has left them.
// Installed by a host that serves remote clients; single play installs none.
class EndpointRegistrar {
public:
    virtual ~EndpointRegistrar() = default;
    // `address` is empty: the host knows each client's endpoint already.
    virtual void registerEndpoint(u32 clientId, const std::string& address) = 0;
    virtual void removeEndpoint(u32 clientId) = 0;
};

}  // namespace Zarn
