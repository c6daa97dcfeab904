#include "simulation/achievements/AchievementTrigger.h"

#include <algorithm>

namespace Zarn {

bool LevelsBeatenAch::isReached() {
    const auto found = cache_.levelsBeaten.find(&data_);
    if (found == cache_.levelsBeaten.end()) return compute();
    return found->second >= count_;
}

bool LevelsBeatenAch::compute() {
    u32 beaten = 0;
    for (const LevelStatus& status : data_.levelStatuses) {
        if (status.beaten()) ++beaten;
    }
    cache_.levelsBeaten[&data_] = beaten;
    return beaten >= count_;
}

Medal MedalCountAch::levelMedal(const LevelStatus& status, const LevelEntry& goals, u8 mode, Medal medal,
                                u32 livesAtCompletion) {
    switch (mode) {
        case playMode::deaths:
            return medalFor(status.fewestDeaths, goals.deathGoldGoal, goals.deathSilverGoal,
                            goals.deathBronzeGoal);
        case playMode::timer:
            return medalFor(status.bestTime, goals.timeGoldGoal, goals.timeSilverGoal, goals.timeBronzeGoal);
        case playMode::timeAttack:
            return status.timeAttackDone ? medal : Medal::None;
        case playMode::limitedLives:
            switch (livesAtCompletion) {
                case 1:
                    return Medal::Gold;
                case 2:
                    return Medal::Silver;
                case 3:
                    return Medal::Bronze;
                default:
                    return Medal::None;
            }
        default:
            return Medal::None;
    }
}

bool MedalCountAch::isReached() {
    const auto perData = cache_.medalCounts.find(&data_);
    if (perData != cache_.medalCounts.end()) {
        const auto found = perData->second.find({mode_, medal_});
        if (found != perData->second.end()) return found->second >= count_;
    }
    return compute();
}

bool MedalCountAch::compute() {
    u32 matching = 0;
    // Levels past the end of the level list have no goals and earn nothing.
    const std::size_t n = std::min(data_.levelStatuses.size(), levels_.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (levelMedal(data_.levelStatuses[i], levels_[i], mode_, medal_, data_.livesAtCompletion) ==
            medal_) {
            ++matching;
        }
    }
    cache_.medalCounts[&data_][{mode_, medal_}] = matching;
    return matching >= count_;
}

bool GameCompleteAch::isReached() {
    const auto found = cache_.gameCompletion.find(&data_);
    if (found == cache_.gameCompletion.end()) return compute();
    return evaluate(found->second);
}

bool GameCompleteAch::compute() {
    AchievementCache::GameCompletion completion;
    completion.livesAtCompletion = data_.livesAtCompletion;
    for (const LevelStatus& status : data_.levelStatuses) {
        if (!status.beaten()) {
            completion.allBeaten = completion.allTimed = completion.allTimeAttacked = false;
            break;
        }
        if (status.bestTime == LevelStatus::kNoTime) completion.allTimed = false;
        if (!status.timeAttackDone) completion.allTimeAttacked = false;
    }
    cache_.gameCompletion[&data_] = completion;
    return evaluate(completion);
}

bool GameCompleteAch::evaluate(const AchievementCache::GameCompletion& c) const {
    switch (selector_) {
        case 0:
            return c.allBeaten;
        case 1:
            return c.allTimed;
        case 2:
            return c.allTimeAttacked;
        case 3:
            return c.livesAtCompletion == 3;
        case 4:
            return c.livesAtCompletion == 2;
        case 5:
            return c.livesAtCompletion == 1;
        case 6:
            return c.allBeaten && c.allTimed && c.allTimeAttacked && c.livesAtCompletion < 4;
        default:
            return false;
    }
}

}  // namespace Zarn
