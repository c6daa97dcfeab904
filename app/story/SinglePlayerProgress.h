#pragma once

#include <string>

#include "foundation/Types.h"

namespace Zarn {
class SinglePlayerData;
}

// The story progress file "singleplayer.bin" under the writable directory,
// kept in step with the level list (Zarn::LevelList::instance()). All work on
// the game's one progress record (Zarn::singlePlayerProgress()); main thread
// only.

// "singleplayer.bin".
const std::string& getSinglePlayerSaveFileName();

// Reads the file; a missing file is first created with a fresh progress (32
// levels, the first open). A file that does not load leaves fresh progress
// (the progress record keeps the bad bytes beside it).
void loadSinglePlayerProgress();
// Reads the file when it exists, brings the level count in step with the
// level list, and writes it. A changed level count keeps the floors reached
// and the results; a completed story opens every floor.
void saveSinglePlayerProgress();
// Writes the progress into the file, replacing it only when every byte was
// written; a failure is logged.
void writeSinglePlayerProgress(const Zarn::SinglePlayerData& progress);

// The elevator's view of the progress record. The elevator's "current floor"
// is the furthest floor reached in the active run (`furthestLevel`); the
// level being played is `currentLevel`. Choosing a floor sets only the level
// being played: it never locks or forgets a floor already reached.
u32 elevatorCurrentFloor(const Zarn::SinglePlayerData& progress);
void chooseElevatorFloor(Zarn::SinglePlayerData& progress, u32 floor);
