#include "app/ingame/InGameHUD.h"

#include <algorithm>

#include "app/ingame/ScoreCounterHUD.h"
#include "app/story/ZUISinglePlayerScene.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/Director.h"
#include "engine/ProgressTimer.h"
#include "engine/Transition.h"
#include "simulation/scores/ScoreKeeper.h"
#include "visuals/traps/RedGreenSign.h"

using namespace cocos2d;

bool TimeAttackGauge::take(u64 remaining, float& percentage) {
    if (remaining == lastShown) return false;
    largestSeen = std::max(largestSeen, remaining);
    percentage =
        static_cast<float>(static_cast<double>(remaining) / static_cast<double>(largestSeen) * 100.0);
    lastShown = remaining;
    return true;
}

InGameHUD* InGameHUD::create() {
    return createWithInit<InGameHUD>();
}

bool InGameHUD::init() {
    if (!Node::init()) return false;
    buildLevelButton();
    scheduleUpdate();
    return true;
}

void InGameHUD::buildLevelButton() {
    levelButton_ = ZUICoreButton::create(coreButtonStyles[0], kLevelsIcon);
    levelButton_->setOpacity(180);
    levelButton_->setScale(0.4f);
    const Size visible = Director::getInstance()->getVisibleSize();
    const Size size = levelButton_->getContentSize() * 0.4f;
    levelButton_->setPosition(Vec2(size.width * 0.5f + 20.0f, visible.height - size.height * 0.5f - 20.0f));
    levelButton_->callback = [] {
        Director::getInstance()->replaceScene(
            TransitionMoveInT::create(kLevelsTransitionSeconds, ZUISinglePlayerScene::create()));
    };
    addChild(levelButton_);
}

void InGameHUD::addToRow(ScoreCounterHUD* counter, float leftOfLast) {
    counter->setScale(kCounterScale);
    counter->setPosition(Vec2(last_->getPositionX() - leftOfLast, rowY_));
    addChild(counter);
    last_ = counter;
}

void InGameHUD::addScoreHUD(u8 kind) {
    if (deaths_ == nullptr && kind != Zarn::scoreKeeperKind::deaths)
        addScoreHUD(Zarn::scoreKeeperKind::deaths);
    const Size visible = Director::getInstance()->getVisibleSize();
    switch (kind) {
        case Zarn::scoreKeeperKind::deaths:
            if (deaths_ != nullptr) return;
            deaths_ = DeathCountHUD::create(kDeathIcon);
            deaths_->setScale(kCounterScale);
            rowY_ = visible.height - deaths_->getContentSize().height * kCounterScale * 0.5f - 20.0f;
            deaths_->setPosition(Vec2(visible.width - 70.0f, rowY_));
            addChild(deaths_);
            last_ = deaths_;
            return;
        case Zarn::scoreKeeperKind::timer:
            if (timer_ != nullptr) return;
            timer_ = TimerHUD::create();
            addToRow(timer_, 130.0f);
            return;
        case Zarn::scoreKeeperKind::limitedLives:
            if (lives_ != nullptr) return;
            lives_ = LivesCountHUD::create();
            addToRow(lives_, 100.0f);
            return;
        case Zarn::scoreKeeperKind::money:
            if (money_ != nullptr) return;
            money_ = MoneyHUD::create(kMoneyIcon);
            addToRow(money_, 100.0f);
            return;
        case Zarn::scoreKeeperKind::timeAttack:
            if (bar_ != nullptr) return;
            bar_ = RGProgressBar::create();
            bar_->setScaleX(1.5f);
            bar_->setPosition(Vec2(visible.width * 0.5f, visible.height - bar_->getContentSize().height));
            addChild(bar_);
            return;
        default:
            return;
    }
}

void InGameHUD::watch(const Zarn::LevelScore* score, const u64* timeAttackRemaining) {
    score_ = score;
    timeAttackRemaining_ = timeAttackRemaining;
}

void InGameHUD::update(float) {
    if (score_ == nullptr) return;
    const Zarn::LevelScore& now = *score_;
    bool changed = false;
    if (now.deaths != shown_.deaths && deaths_ != nullptr) {
        deaths_->setValue(now.deaths);
        changed = true;
    }
    if (now.time != shown_.time && timer_ != nullptr) {
        timer_->setTime(now.time);
        changed = true;
    }
    if (now.lives != shown_.lives && lives_ != nullptr) {
        lives_->setValue(now.lives);
        changed = true;
    }
    float percentage = 0.0f;
    if (bar_ != nullptr && timeAttackRemaining_ != nullptr && gauge_.take(*timeAttackRemaining_, percentage))
        bar_->getTimer()->setPercentage(percentage);
    if (now.money != shown_.money && money_ != nullptr) {
        money_->setValue(now.money);
        changed = true;
    }
    if (changed) shown_ = now;
}
