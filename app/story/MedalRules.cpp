#include "app/story/MedalRules.h"

#include "engine/Label.h"
#include "engine/Sprite.h"
#include "foundation/Error.h"

using namespace cocos2d;

std::unordered_map<u8, std::string> deathMedalIconTable = {
    {0, "medal_death_count_gold.png"},
    {1, "medal_death_count_silver.png"},
    {2, "medal_death_count_bronze.png"},
    {3, "medal_death_count_empty.png"},
};

std::unordered_map<u8, std::string> timerMedalIconTable = {
    {0, "medal_timer_gold.png"},
    {1, "medal_timer_silver.png"},
    {2, "medal_timer_bronze.png"},
    {3, "medal_timer_empty.png"},
};

namespace {

constexpr const char* kHintFont = "fonts/boogaloo.ttf";

Label* makeHint(const std::string& text) {
    Label* label = Label::createWithTTF("", kHintFont, 30.0f, Size::ZERO);
    label->setAdditionalKerning(1.0f);
    label->setHorizontalAlignment(TextHAlignment::CENTER);
    label->setString(text);
    return label;
}

}  // namespace

const char* timeAttackMedalIcon(bool won) {
    return won ? kTimeAttackMedalGold : kTimeAttackMedalEmpty;
}

const Zarn::LevelEntry& medalLevel(const Zarn::LevelList& levels, u32 levelIndex) {
    if (levelIndex >= levels.size()) throw Convinience::Error("no such level");
    return levels[levelIndex];
}

Zarn::Medal deathMedalOf(const Zarn::LevelEntry& level, u32 deaths) {
    return Zarn::medalFor(deaths, level.deathGoldGoal, level.deathSilverGoal, level.deathBronzeGoal);
}

Zarn::Medal timerMedalOf(const Zarn::LevelEntry& level, u64 ms) {
    return Zarn::medalFor(ms, level.timeGoldGoal, level.timeSilverGoal, level.timeBronzeGoal);
}

std::string deathGoalHintText(const Zarn::LevelEntry& level, u8 medal) {
    switch (medal) {
        case 0:
            return "You're AMAZING!";
        case 1:
            return "Get " + std::to_string(level.deathGoldGoal) + " DEATH or less for GOLD";
        case 2:
            return "Get " + std::to_string(level.deathSilverGoal) + " DEATH or less for SILVER";
        default:
            return "Get " + std::to_string(level.deathBronzeGoal) + " DEATH or less for BRONZE";
    }
}

std::string timeGoalHintText(const Zarn::LevelEntry& level, u8 medal) {
    switch (medal) {
        case 0:
            return "SUPER-SPEED!";
        case 1:
            return "Get " + Zarn::timeToString(level.timeGoldGoal) + " or less\nfor GOLD";
        case 2:
            return "Get " + Zarn::timeToString(level.timeSilverGoal) + " or less\nfor SILVER";
        default:
            return "Get " + Zarn::timeToString(level.timeBronzeGoal) + " or less\nfor BRONZE";
    }
}

Sprite* makeTimerMedalSprite(const Zarn::LevelList& levels, u32 levelIndex, u64 ms) {
    const Zarn::Medal medal = timerMedalOf(medalLevel(levels, levelIndex), ms);
    return Sprite::createWithSpriteFrameName(timerMedalIconTable[static_cast<u8>(medal)]);
}

Label* makeDeathGoalHint(const Zarn::LevelList& levels, u32 levelIndex, u8 medal) {
    return makeHint(deathGoalHintText(medalLevel(levels, levelIndex), medal));
}

Label* makeTimeGoalHint(const Zarn::LevelList& levels, u32 levelIndex, u8 medal) {
    return makeHint(timeGoalHintText(medalLevel(levels, levelIndex), medal));
}
