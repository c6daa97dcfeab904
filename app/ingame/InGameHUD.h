#pragma once

#include "engine/Node.h"
#include "simulation/scores/LevelScore.h"

namespace cocos2d {
class Label;
}

// The single-play heads-up display: one counter per score keeper kind.
class InGameHUD : public cocos2d::Node {
public:
    static InGameHUD* create();
    bool init() override;
    // Adds the counter of a keeper kind once.
    void addScoreHUD(u8 kind);
    // Both belong to the client's score registry, which outlives the HUD.
    void watch(const Zarn::LevelScore* score, const u64* timeAttackRemaining);
    void update(float dt) override;

private:
    const Zarn::LevelScore* score_ = nullptr;
    cocos2d::Label* deaths_ = nullptr;
    u32 shownDeaths_ = 0;
};
