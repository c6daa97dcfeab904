#pragma once

#include <string>
#include <unordered_map>

#include "simulation/scores/LevelEntry.h"
#include "simulation/scores/LevelScore.h"
#include "simulation/scores/ScoreKeeperSummary.h"

namespace cocos2d {
class Label;
class Sprite;
}  // namespace cocos2d

// The story mode's medal rules as the screens show them: the medal a level's
// death count or time earns, the sprite frame of each medal, and the hint
// that names what the next better medal needs. Shared by the medal result
// screen and the elevator's medal bars; the rule itself (Zarn::medalFor) and
// the formatters (Zarn::deathCountToString, Zarn::timeToString) are the
// score keepers'. Main thread only.

// Sprite frames by medal index (0 gold, 1 silver, 2 bronze, 3 none), filled
// at static initialisation; looking up a missing key inserts an empty name.
extern std::unordered_map<u8, std::string> deathMedalIconTable;
extern std::unordered_map<u8, std::string> timerMedalIconTable;

inline constexpr const char* kTimeAttackMedalGold = "medal_time_attack_gold.png";
inline constexpr const char* kTimeAttackMedalEmpty = "medal_time_attack_empty.png";
// The time-attack medal's frame: won or not.
const char* timeAttackMedalIcon(bool won);

// The level of that index in the list; throws Convinience::Error "no such
// level" past its end.
const Zarn::LevelEntry& medalLevel(const Zarn::LevelList& levels, u32 levelIndex);
// The medal that a death count or a time (ms) earns on the level; all ones
// (no record) earns none.
Zarn::Medal deathMedalOf(const Zarn::LevelEntry& level, u32 deaths);
Zarn::Medal timerMedalOf(const Zarn::LevelEntry& level, u64 ms);

// The hint texts for a player who holds `medal` (any value above 2 reads as
// none): gold praises, the others name the next better medal's limit. The
// time hint is two lines.
std::string deathGoalHintText(const Zarn::LevelEntry& level, u8 medal);
std::string timeGoalHintText(const Zarn::LevelEntry& level, u8 medal);

// A sprite of the timer medal that the time earns on the level.
cocos2d::Sprite* makeTimerMedalSprite(const Zarn::LevelList& levels, u32 levelIndex, u64 ms);
// The hint as a label: "fonts/boogaloo.ttf" 30, kerning 1, centred; the
// caller colours it.
cocos2d::Label* makeDeathGoalHint(const Zarn::LevelList& levels, u32 levelIndex, u8 medal);
cocos2d::Label* makeTimeGoalHint(const Zarn::LevelList& levels, u32 levelIndex, u8 medal);
