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

// A level list, in play order. A level's index is its identity in the story
// mode: the elevator's floor, the row of its record in the progress file and
// of its goals; the last five are the bonus challenges. Readers that take a
// list by reference are handed instance() by the application; tests build
// their own.
class LevelList : public std::vector<LevelEntry> {
public:
    using std::vector<LevelEntry>::vector;

    // The game's 32 levels, built during static initialisation and never
    // changed; main thread only.
    static const LevelList& instance();
};

// The map file of a level of instance(): its map name followed by ".map";
// "BlankRoom.map" for an index past the list.
std::string levelMapFileName(u32 levelIndex);

}  // namespace Zarn
