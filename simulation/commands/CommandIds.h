#pragma once

#include "foundation/Types.h"
#include "map/records/ActionIds.h"

namespace Zarn {

// The command IDs of the game protocol (the command header's command-ID
// field). The first three tables share one number space on the wire; each
// factory reads only its own table, so one number may name different
// commands in different tables. The fourth table, the map actions
// (MapActionId), is a number space of the map files; it stands with the action
// records (map/records/ActionIds.h) so that the world can name the actions it
// reports.

// Client to server, read by the server's command factory.
namespace ServerCommandId {
inline constexpr u32 stateUpdate = 1;          // payload: the client's GameState capture
inline constexpr u32 input = 2;                // payload: a capture holding queued input
inline constexpr u32 addPlayer = 8;            // payload: the add-player record
inline constexpr u32 exitGame = 9;             // no payload; confirmation flag set
inline constexpr u32 setGameFromId = 10;       // payload: the game ID record
inline constexpr u32 gameInstanceUpdate = 11;  // payload: the game instance
}  // namespace ServerCommandId

// Server to client, read by the client's incoming-command factory.
namespace ClientCommandId {
inline constexpr u32 stateSync = 0;             // payload: GameState, then the score block
inline constexpr u32 stateSyncReply = 3;        // the same, answering a state update or input
inline constexpr u32 addPlayer = 8;             // payload: the add-player record
inline constexpr u32 playerExit = 9;            // payload: Uint32Serializable, the client that left
inline constexpr u32 gameInstanceConfirm = 12;  // payload: the game instance
inline constexpr u32 kickPlayers = 13;          // payload: KickPlayersHeader
inline constexpr u32 exitGameConfirm = 14;      // no payload
}  // namespace ClientCommandId

// Server to the host side (route 2 = 0); no factory of the game reads them.
namespace HostCommandId {
inline constexpr u32 requestFromId = 23;    // payload: the game instance's first u32 field
inline constexpr u32 fromIdConfirmed = 24;  // no payload
inline constexpr u32 gameClosed = 25;       // no payload; confirmation flag set
inline constexpr u32 playerLeft = 26;       // payload: the serialised game instance
inline constexpr u32 roomFinished = 27;     // payload: the serialised game instance; once, when
                                            // every player has left the room by its exit
}  // namespace HostCommandId

// The client's own commands, chosen by the client game core each tick and
// built by its local command factory.
namespace LocalCommandId {
inline constexpr u32 stateUpdate = 1;
inline constexpr u32 input = 2;
inline constexpr u32 exitGame = 9;
}  // namespace LocalCommandId

}  // namespace Zarn
