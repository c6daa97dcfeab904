#include <gtest/gtest.h>

#include "../support/AppFixture.h"
#include "app/story/MedalRules.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "foundation/Error.h"

using namespace cocos2d;
using Zarn::Medal;

namespace {

// The goals of every built-in level.
Zarn::LevelEntry builtInGoals() {
    Zarn::LevelEntry level;
    level.mapName = "Room";
    level.deathGoldGoal = 0;
    level.deathSilverGoal = 2;
    level.deathBronzeGoal = 4;
    level.timeGoldGoal = 10000;
    level.timeSilverGoal = 15000;
    level.timeBronzeGoal = 30000;
    return level;
}

TEST(MedalRules, AValueEarnsTheBestMedalWhoseLimitItDoesNotExceed) {
    const Zarn::LevelEntry level = builtInGoals();
    const std::pair<u32, Medal> deaths[] = {
        {0, Medal::Gold},   {1, Medal::Silver}, {2, Medal::Silver},         {3, Medal::Bronze},
        {4, Medal::Bronze}, {5, Medal::None},   {0xFFFFFFFFu, Medal::None},  // no record
    };
    for (const auto& [value, medal] : deaths) EXPECT_EQ(deathMedalOf(level, value), medal) << value;
    const std::pair<u64, Medal> times[] = {
        {0, Medal::Gold},       {10000, Medal::Gold},   {10001, Medal::Silver}, {15000, Medal::Silver},
        {15001, Medal::Bronze}, {30000, Medal::Bronze}, {30001, Medal::None},   {~u64{0}, Medal::None},
    };
    for (const auto& [value, medal] : times) EXPECT_EQ(timerMedalOf(level, value), medal) << value;

    Zarn::LevelEntry unordered = level;
    unordered.deathGoldGoal = 5;
    unordered.deathSilverGoal = 2;
    unordered.deathBronzeGoal = 9;
    EXPECT_EQ(deathMedalOf(unordered, 3), Medal::Gold) << "the rule assumes no order of the limits";
    EXPECT_EQ(deathMedalOf(unordered, 7), Medal::Bronze);
}

TEST(MedalRules, HintsNameTheNextBetterMedalsLimit) {
    const Zarn::LevelEntry level = builtInGoals();
    const std::pair<u8, const char*> deathHints[] = {
        {0, "You're AMAZING!"},
        {1, "Get 0 DEATH or less for GOLD"},
        {2, "Get 2 DEATH or less for SILVER"},
        {3, "Get 4 DEATH or less for BRONZE"},
        {200, "Get 4 DEATH or less for BRONZE"},
    };
    for (const auto& [medal, text] : deathHints)
        EXPECT_EQ(deathGoalHintText(level, medal), text) << int(medal);
    const std::pair<u8, const char*> timeHints[] = {
        {0, "SUPER-SPEED!"},
        {1, "Get 10.00s or less\nfor GOLD"},
        {2, "Get 15.00s or less\nfor SILVER"},
        {3, "Get 30.00s or less\nfor BRONZE"},
    };
    for (const auto& [medal, text] : timeHints) EXPECT_EQ(timeGoalHintText(level, medal), text) << int(medal);

    Zarn::LevelEntry slow = level;
    slow.timeGoldGoal = 61500;
    slow.timeSilverGoal = 12045;
    EXPECT_EQ(timeGoalHintText(slow, 1), "Get 1m 1.50s or less\nfor GOLD");
    EXPECT_EQ(timeGoalHintText(slow, 2), "Get 12.04s or less\nfor SILVER");
}

TEST(MedalRules, TheIconTablesNameEveryMedalAndAMissingKeyGivesAnEmptyName) {
    EXPECT_EQ(deathMedalIconTable[0], "medal_death_count_gold.png");
    EXPECT_EQ(deathMedalIconTable[1], "medal_death_count_silver.png");
    EXPECT_EQ(deathMedalIconTable[2], "medal_death_count_bronze.png");
    EXPECT_EQ(deathMedalIconTable[3], "medal_death_count_empty.png");
    EXPECT_EQ(timerMedalIconTable[0], "medal_timer_gold.png");
    EXPECT_EQ(timerMedalIconTable[3], "medal_timer_empty.png");
    EXPECT_EQ(timerMedalIconTable[9], "");
    timerMedalIconTable.erase(9);
    EXPECT_STREQ(timeAttackMedalIcon(true), "medal_time_attack_gold.png");
    EXPECT_STREQ(timeAttackMedalIcon(false), "medal_time_attack_empty.png");
}

class MedalRulesOnScreen : public zarn_test::AppFixture {
protected:
    Zarn::LevelList levels{builtInGoals(), builtInGoals()};
};

TEST_F(MedalRulesOnScreen, TheHintIsACentredLabelAndTheTimerSpriteShowsTheEarnedMedal) {
    Label* hint = makeTimeGoalHint(levels, 1, 2);
    EXPECT_EQ(hint->getString(), "Get 15.00s or less\nfor SILVER");
    EXPECT_EQ(hint->getStringNumLines(), 2);
    EXPECT_FLOAT_EQ(hint->getTTFConfig().fontSize, 30.0f);
    EXPECT_FLOAT_EQ(hint->getAdditionalKerning(), 1.0f);
    EXPECT_EQ(hint->getHorizontalAlignment(), TextHAlignment::CENTER);
    EXPECT_EQ(makeDeathGoalHint(levels, 0, 3)->getString(), "Get 4 DEATH or less for BRONZE");

    EXPECT_TRUE(makeTimerMedalSprite(levels, 0, 12000)
                    ->isFrameDisplayed(
                        SpriteFrameCache::getInstance()->getSpriteFrameByName("medal_timer_silver.png")));
    EXPECT_THROW(
        {
            try {
                makeDeathGoalHint(levels, 2, 0);
            } catch (const Convinience::Error& e) {
                EXPECT_STREQ(e.what(), "no such level");
                throw;
            }
        },
        Convinience::Error);
}

}  // namespace
