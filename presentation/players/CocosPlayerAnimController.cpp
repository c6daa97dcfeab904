#include "presentation/players/CocosPlayerAnimController.h"

#include "engine/ActionInterval.h"
#include "engine/Animation.h"
#include "engine/Node.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "presentation/effects/DustPuffs.h"

CocosPlayerAnimController::CocosPlayerAnimController(cocos2d::Node* node,
                                                     const Zarn::ZOrderCalculator* zOrder)
    : node_(node), zOrder_(zOrder), frameCache_(cocos2d::SpriteFrameCache::getInstance()) {
    animations_.max_load_factor(1.0f);
    animations_.rehash(8);
    stateTable_.max_load_factor(1.0f);
    stateTable_.rehash(8);
}

CocosPlayerAnimController::~CocosPlayerAnimController() {
    removeSubstitute();
}

void CocosPlayerAnimController::play(i32 key) {
    auto it = animations_.find(key);
    if (it == animations_.end()) return;
    for (AnimationEntry& entry : it->second) {
        entry.running = entry.action->clone();
        entry.target->runAction(entry.running.get());
    }
}

void CocosPlayerAnimController::stop(i32 key) {
    auto it = animations_.find(key);
    if (it == animations_.end()) return;
    for (AnimationEntry& entry : it->second) {
        if (!entry.running) continue;
        entry.target->stopAction(entry.running.get());
        entry.running = nullptr;
    }
}

void CocosPlayerAnimController::add(i32 key, cocos2d::Node* target, cocos2d::Action* action) {
    animations_[key].push_back(AnimationEntry{target, cocos2d::RefPtr<cocos2d::Action>(action), nullptr});
}

i32 CocosPlayerAnimController::keyOf(i32 id) const {
    auto it = stateTable_.find(id);
    return it == stateTable_.end() ? 0 : it->second;
}

cocos2d::Action* CocosPlayerAnimController::runningAction(i32 key) const {
    auto it = animations_.find(key);
    if (it == animations_.end() || it->second.empty()) return nullptr;
    return it->second.front().running.get();
}

void CocosPlayerAnimController::startRunning() {
    play(kRunKey);
    if (cocos2d::Node* parent = node_->getParent()) node_->runAction(createRunStartDust(parent, node_));
    running_ = true;
}

void CocosPlayerAnimController::startIdle() {
    play(kIdleKey);
    idle_ = true;
}

void CocosPlayerAnimController::stopRunning() {
    stop(kRunKey);
    if (cocos2d::Node* parent = node_->getParent()) node_->runAction(createRunStopDust(parent, node_));
    running_ = false;
}

void CocosPlayerAnimController::stopIdle() {
    stop(kIdleKey);
    idle_ = false;
}

void CocosPlayerAnimController::removeSubstitute() {
    if (!substitute_) return;
    substitute_->removeFromParentAndCleanup(true);
    substitute_ = nullptr;
}

void CocosPlayerAnimController::playStateAnimation(i32, i32 newState) {
    const i32 key = keyOf(newState);
    if (key == 0) return;
    if (substitute_) {
        reset();
        removeSubstitute();
    }
    play(key);
    inStateAnimation_ = true;
}

void CocosPlayerAnimController::changeEffect(i32 ended, i32 started) {
    if (started == 0) {
        effectEnded(ended);
        return;
    }
    const i32 key = keyOf(started);
    if (key == 0) return;
    play(key);
    ++effectCount_;
}

void CocosPlayerAnimController::reset() {
    if (isRunning()) stopRunning();
    if (!isIdle()) startIdle();
    if (isInStateAnimation()) endStateAnimation(0);
}

void CocosPlayerAnimController::setZOrder(i32 z) {
    node_->setLocalZOrder(z);
}

void CocosPlayerAnimController::effectEnded(i32 effect) {
    if (effect == kSquashEffect && substitute_) play(kReturnKey);
}

cocos2d::ActionInterval* CocosPlayerAnimController::makeAnimate(const std::vector<std::string>& frameNames,
                                                                float delay) const {
    cocos2d::Vector<cocos2d::SpriteFrame*> frames;
    for (const std::string& name : frameNames) frames.pushBack(frameCache_->getSpriteFrameByName(name));
    return cocos2d::Animate::create(cocos2d::Animation::createWithSpriteFrames(frames, delay, 1));
}
