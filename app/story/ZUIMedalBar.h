#pragma once

#include "engine/Node.h"
#include "foundation/Types.h"

namespace cocos2d {
class Sprite;
}
namespace Zarn {
class LevelStatus;
}

// The medals earned on one level, shown under its elevator floor: the death
// medal alone (before the story is complete), or a box with the death, timer
// and time-attack medals. The creator calls exactly one of the two builders
// right after create; the level's record is read only then. Anchor (0.5,
// 0.5). Main thread only.
class ZUIMedalBar : public cocos2d::Node {
public:
    static ZUIMedalBar* create(u32 levelIndex, const Zarn::LevelStatus* status);
    bool init() override;

    void initBoxedMedals();
    void initDeathMedalOnly();

    // Null in the death-medal-only form.
    cocos2d::Sprite* getBox() const { return box; }
    cocos2d::Sprite* getDeathMedal() const { return deathMedal; }
    cocos2d::Sprite* getTimerMedal() const { return timerMedal; }
    cocos2d::Sprite* getTimeAttackMedal() const { return timeAttackMedal; }

protected:
    void addMedals();
    void addDeathMedal();
    void addTimerMedal();
    void addTimeAttackMedal();

    u32 levelIndex = 0;
    const Zarn::LevelStatus* status = nullptr;  // not owned; read while building
    // Children; the node tree keeps them alive.
    cocos2d::Sprite* box = nullptr;
    cocos2d::Sprite* shadow = nullptr;
    cocos2d::Sprite* outline = nullptr;
    cocos2d::Sprite* deathMedal = nullptr;
    cocos2d::Sprite* timeAttackMedal = nullptr;
    cocos2d::Sprite* timerMedal = nullptr;
};
