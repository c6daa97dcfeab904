#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "simulation/achievements/AchievementService.h"
#include "simulation/achievements/AchievementTriggerFactory.h"

namespace Zarn {

// The 40 achievement IDs that the tracker asks the platform for.
const std::unordered_set<std::string>& achievementIdSet();

// Keeps one trigger per achievement still to earn and unlocks, through the
// platform's service, those whose condition holds. Exists only when a
// platform service is installed; it then lives as long as the service, over
// every level, while each level's scene gives it a trigger factory over the
// progress. Main thread only (the core's tick, the scene's level end and the
// service's callback).
class AchievementTracker {
public:
    // The service and the store are the platform's and outlive the tracker;
    // so does the cache, which the factory's triggers share. The factory may
    // be null until setTriggerFactory.
    AchievementTracker(ThirdParty::AchievementService& service, ThirdParty::AchievementStore& store,
                       std::unique_ptr<AchievementTriggerFactory> factory, AchievementCache& cache);
    ~AchievementTracker();
    AchievementTracker(const AchievementTracker&) = delete;
    AchievementTracker& operator=(const AchievementTracker&) = delete;

    // Both platform interfaces report ready.
    bool platformReady();
    // Until the platform has reported a record: asks it for every ID of
    // achievementIdSet(), with the answers going to storeAchievement.
    void requestAchievements();
    // Keeps a reported record, replacing an older one of the same ID.
    void storeAchievement(const ThirdParty::Achievement& achievement);
    // Replaces the factory that addTriggers uses. The pending triggers go
    // with the old factory: they read what it was made over, which need not
    // outlive it.
    void setTriggerFactory(std::unique_ptr<AchievementTriggerFactory> factory);
    // Makes triggers for the IDs not yet unlocked (all of them while the
    // platform has reported nothing); none without a factory.
    void addTriggers(const std::vector<std::string>& ids);
    // Unlocks every pending achievement whose condition holds, forgets its
    // trigger (marking a known record achieved), and stores once when
    // anything was unlocked.
    void checkUnlocked();

    const std::unordered_map<std::string, ThirdParty::Achievement>& known() const { return known_; }
    AchievementCache& cache() { return cache_; }
    std::size_t pendingCount() const { return pending_.size(); }
    bool isPending(const std::string& id) const { return pending_.count(id) != 0; }

private:
    ThirdParty::AchievementService& service_;
    ThirdParty::AchievementStore& store_;
    std::unique_ptr<AchievementTriggerFactory> factory_;
    AchievementCache& cache_;
    bool callbackInstalled_ = false;
    std::unordered_map<std::string, ThirdParty::Achievement> known_;
    std::unordered_map<std::string, std::unique_ptr<AchievementTrigger>> pending_;
};

}  // namespace Zarn
