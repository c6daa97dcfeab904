#pragma once

#include <string>

#include "simulation/scores/LevelEntry.h"

namespace Zarn {

// The story mode's levels in play order: 32 entries, the last five the
// bonus challenges. Built once during static initialisation and never
// changed; a level's index is its identity everywhere in the story mode.
const LevelList& storyLevelList();

// The map file of a level: the entry's map name + ".map", or "BlankRoom.map"
// for an index past the list.
std::string levelMapFileName(u32 level);

}  // namespace Zarn
