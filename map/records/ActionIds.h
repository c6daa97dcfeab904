#pragma once

#include "foundation/Types.h"

namespace Zarn {

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

// Whether the ID names a map action: every ID up to disableTraps but the one
// after moveSteerable, and exitLevel.
inline constexpr bool isMapAction(u32 id) {
    return id == exitLevel || (id <= disableTraps && id != moveSteerable + 1);
}
}  // namespace MapActionId

// The steps of a scripted figure's script (the action records of a scripted
// steerable element), read by the scripted-action builder. A number space of
// its own: 4 and 33 to 36 are also map-action IDs, with other meanings.
namespace ScriptedActionId {
inline constexpr u32 playDialog = 4;
inline constexpr u32 pathedMove = 33;
inline constexpr u32 waitForContact = 34;
inline constexpr u32 waitForArrival = 35;
inline constexpr u32 wait = 36;
inline constexpr u32 setGenericState = 38;
}  // namespace ScriptedActionId

}  // namespace Zarn
