#pragma once

#include "foundation/Types.h"

namespace Zarn {

// The command IDs of the game protocol (the command header's command-ID
// field). The first three tables share one number space on the wire; each
// factory reads only its own table, so one number may name different
// commands in different tables.

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
}  // namespace HostCommandId

// The client's own commands, chosen by the client game core each tick and
// built by its local command factory.
namespace LocalCommandId {
inline constexpr u32 stateUpdate = 1;
inline constexpr u32 input = 2;
inline constexpr u32 exitGame = 9;
}  // namespace LocalCommandId

// Map actions: the command ID of a map file's action record (a number space
// of its own), read by the map-action factory. 3 and 33 to 36 are no actions.
namespace MapActionId {
inline constexpr u32 enableTrap = 0;
inline constexpr u32 disableTrap = 1;
inline constexpr u32 moveSteerable = 2;
inline constexpr u32 playDialog = 4;
inline constexpr u32 stopDialog = 5;
inline constexpr u32 playWaitedDialog = 6;
inline constexpr u32 stopWaitedDialog = 7;
inline constexpr u32 hideTrap = 8;
inline constexpr u32 showTrap = 9;
inline constexpr u32 doorOpen = 10;
inline constexpr u32 doorClose = 11;
inline constexpr u32 turnOnSwitch = 12;
inline constexpr u32 turnOffSwitch = 13;
inline constexpr u32 playSequencedDialog = 14;
inline constexpr u32 playRandomDialog = 15;
inline constexpr u32 timerAction = 16;
inline constexpr u32 turnOnMultiSwitch = 17;
inline constexpr u32 turnOffMultiSwitch = 18;
inline constexpr u32 enableEvent = 19;
inline constexpr u32 disableEvent = 20;
inline constexpr u32 enableEvents = 21;
inline constexpr u32 disableEvents = 22;
inline constexpr u32 setSpawnPoint = 23;
inline constexpr u32 enableNumberedElement = 24;
inline constexpr u32 disableNumberedElement = 25;
inline constexpr u32 showNumberedElement = 26;
inline constexpr u32 hideNumberedElement = 27;
inline constexpr u32 toggleDoor = 28;
inline constexpr u32 toggleTrapVisibility = 29;
inline constexpr u32 toggleTrapEnable = 30;
inline constexpr u32 enableTraps = 31;
inline constexpr u32 disableTraps = 32;
inline constexpr u32 exitLevel = 37;

// Whether the ID names a map action.
inline constexpr bool isMapAction(u32 id) {
    return id <= 37 && id != 3 && (id < 33 || id > 36);
}
}  // namespace MapActionId

}  // namespace Zarn
