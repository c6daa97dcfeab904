#include "app/ingame/InGameHUD.h"

#include <string>

#include "engine/Director.h"
#include "engine/Label.h"

InGameHUD* InGameHUD::create() {
    return cocos2d::createWithInit<InGameHUD>();
}

bool InGameHUD::init() {
    if (!Node::init()) return false;
    scheduleUpdate();
    return true;
}

void InGameHUD::watch(const Zarn::LevelScore* score, const u64*) {
    score_ = score;
}

void InGameHUD::addScoreHUD(u8) {
    if (deaths_ != nullptr) return;
    deaths_ = cocos2d::Label::createWithTTF("x 0", "fonts/riffic.ttf", 20.0f);
    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    deaths_->setPosition(visible.width - 70.0f, visible.height - 30.0f);
    addChild(deaths_);
}

void InGameHUD::update(float) {
    if (score_ == nullptr || deaths_ == nullptr || score_->deaths == shownDeaths_) return;
    shownDeaths_ = score_->deaths;
    deaths_->setString("x " + std::to_string(shownDeaths_));
}
