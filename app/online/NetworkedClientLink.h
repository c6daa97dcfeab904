#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "foundation/Types.h"

namespace Zarn {
class GameInstance;
class NetworkedZarnClient;
class ZarnClientInterface;
}  // namespace Zarn

// What the network threads tell the online scene about its connection. Any
// thread sets a flag; the scene reads them on the main thread each frame.
struct OnlineConnectionState {
    // The game server closed or reset the connection.
    std::atomic<bool> serverLost{false};
    // The game server could not be reached.
    std::atomic<bool> connectFailed{false};
};

// The calls the loader and the online scene make on the networked game
// client, gathered in one place. The client is shared by the loader and the
// scene that runs it: whichever goes last destroys it (stopping and joining
// its threads), so neither outlives the other's use of it.

// A client for the game server of the instance, on a port the system picks,
// with the playback latency (ms) of the settings and the instance given to
// its core (the server's endpoint is filed under the instance's fromID when
// the session starts). serverLost runs on the main thread once the server
// has closed or reset the connection.
std::shared_ptr<Zarn::NetworkedZarnClient> makeNetworkedClient(const Zarn::GameInstance& instance,
                                                               u32 clientID, u32 latencyMs,
                                                               std::function<void()> serverLost);
Zarn::ZarnClientInterface& clientInterface(Zarn::NetworkedZarnClient& client);
// Starts connecting to the game server and returns at once; a second call
// does nothing. A server that cannot be reached runs failed on the main
// thread, in a later frame's update of the client.
void startNetworkedSession(Zarn::NetworkedZarnClient& client, std::function<void()> failed);
// Closes the connection to the game server when it is open.
void closeNetworkedConnection(Zarn::NetworkedZarnClient& client);
