#include "simulation/achievements/AchievementTracker.h"

namespace Zarn {

const std::unordered_set<std::string>& achievementIdSet() {
    static const std::unordered_set<std::string> ids = {
        "TEST_ACHIEVEMENT",
        "BEAT_1_LEVEL",
        "BEAT_10_LEVELS",
        "BEAT_50_LEVELS",
        "BEAT_100_LEVELS",
        "DEATH_GOLD_1",
        "DEATH_GOLD_10",
        "DEATH_GOLD_50",
        "DEATH_GOLD_100",
        "TIMER_GOLD_1",
        "TIMER_GOLD_10",
        "TIMER_GOLD_50",
        "TIMER_GOLD_100",
        "BEAT_SINGLE_PLAYER",
        "END_WITH_MONEY",
        "END_WITHOUT_MONEY",
        "LIMITED_LIVES_2",
        "LIMITED_LIVES_1",
        "LIMITED_LIVES_0",
        "BEAT_GAME_WITH_ALL_MODES",
        "PLAYED_MULTIPLAYER",
        "VISITED_WEBSITE",
        "VISITED_STEAM",
        "VISITED_ANDROID",
        "VISTED_FORUMS",
        "DEFEAT_BOSS_1",
        "DEFEAT_BOSS_2",
        "DEFEAT_BOSS_3",
        "DEFEAT_BOSS_4",
        "DIE_100",
        "DIE_1337",
        "TIME_ATTACK_GOLD_1",
        "TIME_ATTACK_GOLD_10",
        "TIME_ATTACK_GOLD_50",
        "TIME_ATTACK_GOLD_100",
        "KILL_BOSS_BOMBS_ONLY",
        "KILL_BOSS_SPIKE_ONLY",
        "KILL_BOSS_NO_DEATH",
        "MULTIPLAYER_JOIN_10",
        "DIE_WITH_OTHERS",
    };
    return ids;
}

AchievementTracker::AchievementTracker(ThirdParty::AchievementService& service,
                                       ThirdParty::AchievementStore& store,
                                       std::unique_ptr<AchievementTriggerFactory> factory,
                                       AchievementCache& cache)
    : service_(service), store_(store), factory_(std::move(factory)), cache_(cache) {}

AchievementTracker::~AchievementTracker() {
    // The service outlives the tracker: leave it no callback into a dead one.
    if (callbackInstalled_) service_.onAchievement = nullptr;
}

bool AchievementTracker::platformReady() {
    return service_.ready() && store_.ready();
}

void AchievementTracker::requestAchievements() {
    if (!known_.empty()) return;
    service_.onAchievement = [this](const ThirdParty::Achievement& a) { storeAchievement(a); };
    callbackInstalled_ = true;
    for (const std::string& id : achievementIdSet()) service_.request(id);
}

void AchievementTracker::storeAchievement(const ThirdParty::Achievement& achievement) {
    known_.insert_or_assign(achievement.id, achievement);
}

void AchievementTracker::setTriggerFactory(std::unique_ptr<AchievementTriggerFactory> factory) {
    pending_.clear();
    factory_ = std::move(factory);
}

void AchievementTracker::addTriggers(const std::vector<std::string>& ids) {
    if (!factory_) return;
    std::vector<std::string> used;
    for (const std::string& id : ids) {
        if (known_.empty()) {
            used.push_back(id);
            continue;
        }
        const auto found = known_.find(id);
        if (found != known_.end() && found->second.achieved == 0) used.push_back(id);
    }
    for (std::unique_ptr<AchievementTrigger>& trigger : factory_->create(used)) {
        const std::string id = trigger->id;
        pending_.insert_or_assign(id, std::move(trigger));
    }
}

void AchievementTracker::checkUnlocked() {
    cache_.clear();
    bool unlocked = false;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (!it->second->isReached()) {
            ++it;
            continue;
        }
        ThirdParty::Achievement achievement;
        achievement.id = it->first;
        service_.unlock(achievement);
        // The platform's record is now out of date: a later level must not
        // make the trigger again.
        if (const auto found = known_.find(it->first); found != known_.end()) found->second.achieved = 1;
        it = pending_.erase(it);
        unlocked = true;
    }
    if (unlocked) service_.store();
}

}  // namespace Zarn
