#pragma once

#include <string>
#include <vector>

#include "simulation/scores/LevelEntry.h"
#include "simulation/scores/LevelScore.h"

namespace Zarn {

// One row of the level result screen.
struct ScoreResult {
    u8 kind = 0;
    Medal medal = Medal::None;
    std::string text;

    bool operator==(const ScoreResult&) const = default;
};

// Death count as shown: decimal; 0xFFFFFFFF (no record) gives ":(".
std::string deathCountToString(u32 deaths);
// Time as shown: whole minutes and "m " (from 60000 ms), then seconds, a
// point, two digits of hundredths and "s" (left out when both are 0); all
// bits set gives "None".
std::string timeToString(u64 ms);

// Which keepers were active in a finished level, to build its result rows.
struct ScoreKeeperSummary {
    u32 levelIndex = 0;
    std::vector<u8> kinds;  // in the order the rows are shown

    // One row per active kind, with medals against the level's goals. Throws
    // "no such level score" when the level index is past the list and "no
    // such handler for scorekeeper" for a kind without a row (money).
    std::vector<ScoreResult> describeAll(const LevelScore& score, const LevelList& levels) const;
};

}  // namespace Zarn
