#pragma once

#include <string>
#include <vector>

#include "foundation/Types.h"

namespace Zarn {

// One level of the story mode's level list: its map and its medal goals.
struct LevelEntry {
    std::string mapName;  // without ".map"
    u32 deathGoldGoal = 0;
    u32 deathSilverGoal = 0;
    u32 deathBronzeGoal = 0;
    u64 timeGoldGoal = 0;  // milliseconds
    u64 timeSilverGoal = 0;
    u64 timeBronzeGoal = 0;
    u64 timeAttackLimit = 0;  // milliseconds
};

// The level list, in play order. The application builds it at start-up and
// hands it by reference to what reads goals; main thread only.
using LevelList = std::vector<LevelEntry>;

}  // namespace Zarn
