#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LevelEntry.h"
#include "simulation/scores/LevelScore.h"

namespace Zarn {

// What the passive achievement triggers computed during one factory run or
// one check, per progress record, so that triggers of one kind compute once.
// The owner of the tracker keeps it; the factory and the tracker clear it at
// the start of each run. Main thread only.
class AchievementCache {
public:
    struct GameCompletion {
        bool allBeaten = true;
        bool allTimed = true;
        bool allTimeAttacked = true;
        u32 livesAtCompletion = SinglePlayerData::kNoLivesAtCompletion;
    };

    void clear() {
        levelsBeaten.clear();
        medalCounts.clear();
        gameCompletion.clear();
    }

    std::unordered_map<const SinglePlayerData*, u32> levelsBeaten;
    std::unordered_map<const SinglePlayerData*, std::map<std::pair<u8, Medal>, u32>> medalCounts;
    std::unordered_map<const SinglePlayerData*, GameCompletion> gameCompletion;
};

// A condition over the story-mode progress that earns one achievement.
// The progress record, the level list and the cache are owned by the scene
// that made the trigger and outlive it.
class AchievementTrigger {
public:
    AchievementTrigger(std::string id, const SinglePlayerData& data, AchievementCache& cache)
        : id(std::move(id)), data_(data), cache_(cache) {}
    virtual ~AchievementTrigger() = default;

    // Answers from the cache when it holds this trigger's value, else computes.
    virtual bool isReached() = 0;
    // Evaluates the condition and fills the cache.
    virtual bool compute() = 0;

    const std::string id;

protected:
    const SinglePlayerData& data_;
    AchievementCache& cache_;
};

// At least N levels beaten (a fewest-deaths record exists).
class LevelsBeatenAch : public AchievementTrigger {
public:
    LevelsBeatenAch(std::string id, const SinglePlayerData& data, AchievementCache& cache, u32 count)
        : AchievementTrigger(std::move(id), data, cache), count_(count) {}
    bool isReached() override;
    bool compute() override;

private:
    u32 count_;
};

// At least N levels whose medal in one play mode is the given medal.
class MedalCountAch : public AchievementTrigger {
public:
    MedalCountAch(std::string id, const SinglePlayerData& data, AchievementCache& cache,
                  const LevelList& levels, u8 mode, Medal medal, u32 count)
        : AchievementTrigger(std::move(id), data, cache),
          levels_(levels),
          mode_(mode),
          medal_(medal),
          count_(count) {}
    bool isReached() override;
    bool compute() override;

    // The medal of one level in a play mode (0 deaths, 1 timer, 2 time
    // attack, 3 limited lives); `medal` is what a time-attack level earns.
    static Medal levelMedal(const LevelStatus& status, const LevelEntry& goals, u8 mode, Medal medal,
                            u32 livesAtCompletion);

private:
    const LevelList& levels_;  // owned by the application, outlives the trigger
    u8 mode_;
    Medal medal_;
    u32 count_;
};

// The whole story beaten, with a selector for how: 0 every level beaten,
// 1 every level timed, 2 every level beaten in time attack, 3/4/5 a
// limited-lives run that ended with 3/2/1 lives, 6 all of 0-2 with a
// limited-lives run completed.
class GameCompleteAch : public AchievementTrigger {
public:
    GameCompleteAch(std::string id, const SinglePlayerData& data, AchievementCache& cache, u32 selector)
        : AchievementTrigger(std::move(id), data, cache), selector_(selector) {}
    bool isReached() override;
    bool compute() override;

private:
    bool evaluate(const AchievementCache::GameCompletion& completion) const;

    u32 selector_;
};

}  // namespace Zarn
