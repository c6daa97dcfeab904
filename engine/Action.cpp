#include "engine/Action.h"

#include <cmath>

#include "engine/ActionInterval.h"
#include "engine/Node.h"

namespace cocos2d {

void Action::startWithTarget(Node* target) {
    originalTarget_ = target_ = target;
}

void Action::stop() {
    target_ = nullptr;
}

RepeatForever* RepeatForever::create(ActionInterval* action) {
    return createWithMethod<RepeatForever>(&RepeatForever::initWithAction, action);
}

bool RepeatForever::initWithAction(ActionInterval* action) {
    if (action == nullptr) return false;
    action->retain();
    inner_ = action;
    return true;
}

RepeatForever::~RepeatForever() {
    CC_SAFE_RELEASE(inner_);
}

RepeatForever* RepeatForever::clone() const {
    return create(inner_->clone());
}

RepeatForever* RepeatForever::reverse() const {
    return create(inner_->reverse());
}

void RepeatForever::startWithTarget(Node* target) {
    Action::startWithTarget(target);
    inner_->startWithTarget(target);
}

void RepeatForever::step(float dt) {
    inner_->step(dt);
    // Carry the overshoot into the next round so that the rhythm does not
    // drift.
    if (inner_->isDone() && inner_->getDuration() > 0.0f) {
        float diff = inner_->getElapsed() - inner_->getDuration();
        if (diff > inner_->getDuration()) diff = std::fmod(diff, inner_->getDuration());
        inner_->startWithTarget(target_);
        inner_->step(0.0f);
        inner_->step(diff);
    } else if (inner_->isDone()) {
        inner_->startWithTarget(target_);
    }
}

Speed* Speed::create(ActionInterval* action, float speed) {
    return createWithMethod<Speed>(&Speed::initWithAction, action, speed);
}

bool Speed::initWithAction(ActionInterval* action, float speed) {
    if (action == nullptr) return false;
    action->retain();
    inner_ = action;
    speed_ = speed;
    return true;
}

Speed::~Speed() {
    CC_SAFE_RELEASE(inner_);
}

Speed* Speed::clone() const {
    return create(inner_->clone(), speed_);
}

Speed* Speed::reverse() const {
    return create(inner_->reverse(), speed_);
}

void Speed::startWithTarget(Node* target) {
    Action::startWithTarget(target);
    inner_->startWithTarget(target);
}

void Speed::stop() {
    inner_->stop();
    Action::stop();
}

void Speed::step(float dt) {
    inner_->step(dt * speed_);
}

bool Speed::isDone() const {
    return inner_->isDone();
}

}  // namespace cocos2d
