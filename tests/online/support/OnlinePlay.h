#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Geometry.h"
#include "foundation/Stopwatch.h"
#include "foundation/Types.h"
#include "online/game/GameServerHost.h"
#include "online/game/NetworkedZarnClient.h"
#include "support/online/LobbyStandIn.h"

namespace zarn_test {

// The bytes of a shipped room, "maps/NAME.map" as the game reads it (from the
// build tree's assets). Empty when it is missing.
std::string shippedRoomBytes(const std::string& name);

// A game server on loopback, on a port the system picks, serving the room
// (under both multiplayer map hashes), with a stand-in for its lobby: a test
// admits its clients before they connect (TestGameServer::admit).
std::unique_ptr<TestGameServer> startGameServer(const std::string& mapBytes);

// A networked client for the game server at `endpoint` as the loader makes
// one: its core's instance names the server (fromID 1) and lists only the
// client; the room is loaded. The session is not started. clock: the
// client's silence clock.
std::unique_ptr<Zarn::NetworkedZarnClient> makeClient(
    const std::string& endpoint, u32 clientId, const std::string& mapBytes,
    const std::vector<Zarn::PlayerInfo>& infos = {},
    const Convinience::TickClock& clock = Convinience::TickClock::steady());

// Steps clients like the frames of a game at 60 frames a second, in real time
// (a frame that ran late is not made up), each client on a thread of its own
// at its own pace; the test's thread runs what the network threads handed to
// the main thread and asks `done` (with every client held between two of its
// frames) every few milliseconds. Stops when `done` holds (true) or the time
// is up (false); the clients are the test thread's again afterwards.
bool playUntil(const std::vector<Zarn::NetworkedZarnClient*>& clients, const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));
// The same for a fixed time.
void playFor(const std::vector<Zarn::NetworkedZarnClient*>& clients, std::chrono::milliseconds time);

// Runs the functions the network threads handed to the main thread.
void runMainThreadFunctions();

// Queues a move of the client's own unit to a point (map units); it leaves as
// an input command at the client's next tick.
void moveTo(Zarn::NetworkedZarnClient& client, GeometryLib::FPoint point);
// The centre of a cell of the client's room.
GeometryLib::FPoint cellCentre(Zarn::NetworkedZarnClient& client, int x, int y);
// Where the client sees a player's unit; (-1, -1) when it has none.
GeometryLib::FPoint seen(Zarn::NetworkedZarnClient& client, u32 player);
bool hasUnit(Zarn::NetworkedZarnClient& client, u32 player);
// The game server has sent the client a state of the game.
bool hearsTheServer(Zarn::NetworkedZarnClient& client);
// Every client has a unit for every player.
bool everyoneSeesEveryone(const std::vector<Zarn::NetworkedZarnClient*>& clients,
                          const std::vector<u32>& players);
float distance(GeometryLib::FPoint a, GeometryLib::FPoint b);

}  // namespace zarn_test
