#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/Logger.h"
#include "simulation/achievements/AchievementTrigger.h"

namespace Zarn {

// Makes the triggers of achievement IDs.
class AchievementTriggerFactory {
public:
    virtual ~AchievementTriggerFactory() = default;
    // Triggers for the IDs it knows, in input order; unknown IDs make none.
    virtual std::vector<std::unique_ptr<AchievementTrigger>> create(const std::vector<std::string>& ids) = 0;
};

// The passive achievements: conditions over the story-mode progress.
// The ID table (ID string -> passive number) holds "BEAT_1_LEVEL" 0,
// "BEAT_10_LEVELS" 1, "BEAT_50_LEVELS" 2 and "BEAT_100_LEVELS" 3.
const std::unordered_map<std::string, u32>& passiveAchievementIds();

// Builds the triggers of passive achievements over one progress record.
// The record, the level list and the cache are kept by the scene that made
// the factory and outlive it and its triggers. Main thread only.
class PassiveAchievementTriggerFactory : public AchievementTriggerFactory {
public:
    PassiveAchievementTriggerFactory(const SinglePlayerData& data, const LevelList& levels,
                                     AchievementCache& cache)
        : data_(data), levels_(levels), cache_(cache) {}

    // Clears the cache first. IDs without a passive number, and numbers
    // without a trigger, are logged at WARN and skipped.
    std::vector<std::unique_ptr<AchievementTrigger>> create(const std::vector<std::string>& ids) override;

    // The trigger of one passive number, or null for a number without one.
    std::unique_ptr<AchievementTrigger> createByNumber(u32 number);

private:
    const SinglePlayerData& data_;
    const LevelList& levels_;
    AchievementCache& cache_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
