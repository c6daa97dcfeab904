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

namespace {

// The hint for a held medal: the praise for gold, else "Get " + the limit of
// the next better medal + `rest` + its name.
std::string goalHint(u8 medal, const char* praise, const std::string& gold, const std::string& silver,
                     const std::string& bronze, const char* rest) {
    switch (medal) {
        case 0:
            return praise;
        case 1:
            return "Get " + gold + rest + "GOLD";
        case 2:
            return "Get " + silver + rest + "SILVER";
        default:
            return "Get " + bronze + rest + "BRONZE";
    }
}

}  // namespace

std::string deathGoalHintText(const Zarn::LevelEntry& level, u8 medal) {
    return goalHint(medal, "You're AMAZING!", std::to_string(level.deathGoldGoal),
                    std::to_string(level.deathSilverGoal), std::to_string(level.deathBronzeGoal),
                    " DEATH or less for ");
}

std::string timeGoalHintText(const Zarn::LevelEntry& level, u8 medal) {
    return goalHint(medal, "SUPER-SPEED!", Zarn::timeToString(level.timeGoldGoal),
                    Zarn::timeToString(level.timeSilverGoal), Zarn::timeToString(level.timeBronzeGoal),
                    " or less\nfor ");
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
