#include "simulation/scores/ScoreKeeperSummary.h"

#include <cstdio>

#include "foundation/Error.h"
#include "simulation/scores/ScoreKeeper.h"

namespace Zarn {

std::string deathCountToString(u32 deaths) {
    if (deaths == 0xFFFFFFFFu) return ":(";
    return std::to_string(deaths);
}

std::string timeToString(u64 ms) {
    if (ms == ~u64{0}) return "None";
    std::string text;
    const u64 minutes = ms / 60000;
    if (minutes > 0) text += std::to_string(minutes) + "m ";
    const u64 seconds = (ms % 60000) / 1000;
    const u64 hundredths = (ms % 1000) / 10;
    if (seconds != 0 || hundredths != 0) {
        char part[32];
        std::snprintf(part, sizeof part, "%llu.%02llus", static_cast<unsigned long long>(seconds),
                      static_cast<unsigned long long>(hundredths));
        text += part;
    }
    return text;
}

std::vector<ScoreResult> ScoreKeeperSummary::describeAll(const LevelScore& score,
                                                         const LevelList& levels) const {
    if (levelIndex >= levels.size()) throw Convinience::Error("no such level score");
    const LevelEntry& goals = levels[levelIndex];
    std::vector<ScoreResult> rows;
    for (const u8 kind : kinds) {
        ScoreResult row;
        row.kind = kind;
        switch (kind) {
            case scoreKeeperKind::deaths:
                row.medal =
                    medalFor(score.deaths, goals.deathGoldGoal, goals.deathSilverGoal, goals.deathBronzeGoal);
                row.text = deathCountToString(score.deaths);
                break;
            case scoreKeeperKind::timer:
                row.medal =
                    medalFor(score.time, goals.timeGoldGoal, goals.timeSilverGoal, goals.timeBronzeGoal);
                row.text = row.medal != Medal::None ? timeToString(score.time) : "No medal";
                break;
            case scoreKeeperKind::timeAttack:
                row.medal = Medal::None;
                row.text = "Time attack completed!";
                break;
            case scoreKeeperKind::limitedLives:
                row.medal = Medal::None;
                row.text = std::to_string(score.lives);
                break;
            default:
                throw Convinience::Error("no such handler for scorekeeper");
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace Zarn
