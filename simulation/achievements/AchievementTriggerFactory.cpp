#include "simulation/achievements/AchievementTriggerFactory.h"

namespace Zarn {

const std::unordered_map<std::string, u32>& passiveAchievementIds() {
    static const std::unordered_map<std::string, u32> ids = {
        {"BEAT_1_LEVEL", 0},
        {"BEAT_10_LEVELS", 1},
        {"BEAT_50_LEVELS", 2},
        {"BEAT_100_LEVELS", 3},
    };
    return ids;
}

std::unique_ptr<AchievementTrigger> PassiveAchievementTriggerFactory::createByNumber(u32 number) {
    static constexpr u32 kCounts[] = {1, 10, 50, 100};
    static const char* const kBeat[] = {"BEAT_1_LEVEL", "BEAT_10_LEVELS", "BEAT_50_LEVELS",
                                        "BEAT_100_LEVELS"};
    static const char* const kDeathGold[] = {"DEATH_GOLD_1", "DEATH_GOLD_10", "DEATH_GOLD_50",
                                             "DEATH_GOLD_100"};
    static const char* const kTimerGold[] = {"TIMER_GOLD_1", "TIMER_GOLD_10", "TIMER_GOLD_50",
                                             "TIMER_GOLD_100"};
    static const char* const kTimeAttackGold[] = {"TIME_ATTACK_GOLD_1", "TIME_ATTACK_GOLD_10",
                                                  "TIME_ATTACK_GOLD_50", "TIME_ATTACK_GOLD_100"};
    const auto medalCount = [&](const char* id, u8 mode, u32 count) {
        return std::make_unique<MedalCountAch>(id, data_, cache_, levels_, mode, Medal::Gold, count);
    };
    const auto complete = [&](const char* id, u32 selector) {
        return std::make_unique<GameCompleteAch>(id, data_, cache_, selector);
    };
    if (number <= 3) return std::make_unique<LevelsBeatenAch>(kBeat[number], data_, cache_, kCounts[number]);
    if (number <= 7) return medalCount(kDeathGold[number - 4], playMode::deaths, kCounts[number - 4]);
    if (number <= 11) return medalCount(kTimerGold[number - 8], playMode::timer, kCounts[number - 8]);
    if (number <= 15) return nullptr;
    if (number <= 19)
        return medalCount(kTimeAttackGold[number - 16], playMode::timeAttack, kCounts[number - 16]);
    switch (number) {
        case 20:
            return complete("BEAT_SINGLE_PLAYER", 0);
        case 21:
            return complete("BEAT_WITH_TIMER", 1);
        case 22:
            return complete("BEAT_WITH_TIME_ATTACK", 2);
        case 23:
            return complete("BEAT_WITH_ALL_MODES", 6);
        case 24:
            return complete("BEAT_WITH_LIMITED_LIVES_3", 3);
        case 25:
            return complete("BEAT_WITH_LIMITED_LIVES_2", 4);
        case 26:
            return complete("BEAT_WITH_LIMITED_LIVES_1", 5);
        default:
            return nullptr;
    }
}

std::vector<std::unique_ptr<AchievementTrigger>> PassiveAchievementTriggerFactory::create(
    const std::vector<std::string>& ids) {
    cache_.clear();
    std::vector<std::unique_ptr<AchievementTrigger>> triggers;
    for (const std::string& id : ids) {
        const auto found = passiveAchievementIds().find(id);
        if (found == passiveAchievementIds().end()) {
            logger_.log(Convinience::severity::warn, "No such passive achievement id for creation: " + id);
            continue;
        }
        std::unique_ptr<AchievementTrigger> trigger = createByNumber(found->second);
        if (!trigger) {
            logger_.log(Convinience::severity::warn, "Unhandled passive achievement creation: " + id);
            continue;
        }
        triggers.push_back(std::move(trigger));
    }
    return triggers;
}

}  // namespace Zarn
