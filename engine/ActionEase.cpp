#include "engine/ActionEase.h"

#include <cmath>

namespace cocos2d {

namespace tweenfunc {

constexpr float kPi = 3.14159265358979f;

float easeIn(float t, float rate) {
    return std::pow(t, rate);
}
float easeOut(float t, float rate) {
    return std::pow(t, 1.0f / rate);
}
float easeInOut(float t, float rate) {
    t *= 2.0f;
    if (t < 1.0f) return 0.5f * std::pow(t, rate);
    return 1.0f - 0.5f * std::pow(2.0f - t, rate);
}

float bounceTime(float t) {
    if (t < 1.0f / 2.75f) return 7.5625f * t * t;
    if (t < 2.0f / 2.75f) {
        t -= 1.5f / 2.75f;
        return 7.5625f * t * t + 0.75f;
    }
    if (t < 2.5f / 2.75f) {
        t -= 2.25f / 2.75f;
        return 7.5625f * t * t + 0.9375f;
    }
    t -= 2.625f / 2.75f;
    return 7.5625f * t * t + 0.984375f;
}

float bounceEaseIn(float t) {
    return 1.0f - bounceTime(1.0f - t);
}
float bounceEaseOut(float t) {
    return bounceTime(t);
}
float bounceEaseInOut(float t) {
    if (t < 0.5f) return (1.0f - bounceTime(1.0f - t * 2.0f)) * 0.5f;
    return bounceTime(t * 2.0f - 1.0f) * 0.5f + 0.5f;
}

float backEaseIn(float t) {
    const float overshoot = 1.70158f;
    return t * t * ((overshoot + 1.0f) * t - overshoot);
}
float backEaseOut(float t) {
    const float overshoot = 1.70158f;
    t -= 1.0f;
    return t * t * ((overshoot + 1.0f) * t + overshoot) + 1.0f;
}
float backEaseInOut(float t) {
    const float overshoot = 1.70158f * 1.525f;
    t *= 2.0f;
    if (t < 1.0f) return (t * t * ((overshoot + 1.0f) * t - overshoot)) / 2.0f;
    t -= 2.0f;
    return (t * t * ((overshoot + 1.0f) * t + overshoot)) / 2.0f + 1.0f;
}

float sineEaseIn(float t) {
    return -1.0f * std::cos(t * kPi / 2.0f) + 1.0f;
}
float sineEaseOut(float t) {
    return std::sin(t * kPi / 2.0f);
}
float sineEaseInOut(float t) {
    return -0.5f * (std::cos(kPi * t) - 1.0f);
}

float expoEaseIn(float t) {
    return t == 0.0f ? 0.0f : std::pow(2.0f, 10.0f * (t - 1.0f)) - 0.001f;
}
float expoEaseOut(float t) {
    return t == 1.0f ? 1.0f : -std::pow(2.0f, -10.0f * t) + 1.0f;
}
float expoEaseInOut(float t) {
    if (t == 0.0f || t == 1.0f) return t;
    if (t < 0.5f) return 0.5f * std::pow(2.0f, 10.0f * (t * 2.0f - 1.0f));
    return 0.5f * (-std::pow(2.0f, -10.0f * (t * 2.0f - 1.0f)) + 2.0f);
}

}  // namespace tweenfunc

ActionEase::~ActionEase() {
    CC_SAFE_RELEASE(inner_);
}

bool ActionEase::initWithAction(ActionInterval* action) {
    if (action == nullptr) return false;
    ActionInterval::initWithDuration(action->getDuration());
    action->retain();
    inner_ = action;
    return true;
}

void ActionEase::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    inner_->startWithTarget(target);
}

void ActionEase::stop() {
    inner_->stop();
    ActionInterval::stop();
}

void ActionEase::update(float t) {
    inner_->update(ease(t));
}

bool EaseRateAction::initWithAction(ActionInterval* action, float rate) {
    if (!ActionEase::initWithAction(action)) return false;
    rate_ = rate;
    return true;
}

namespace {
template <typename T>
T* makeRate(ActionInterval* action, float rate) {
    auto* e = new T();
    if (e->initWithAction(action, rate)) {
        e->autorelease();
        return e;
    }
    delete e;
    return nullptr;
}
template <typename T>
T* makePlain(ActionInterval* action) {
    auto* e = new T();
    if (e->initWithAction(action)) {
        e->autorelease();
        return e;
    }
    delete e;
    return nullptr;
}
}  // namespace

EaseIn* EaseIn::create(ActionInterval* action, float rate) {
    return makeRate<EaseIn>(action, rate);
}
EaseIn* EaseIn::clone() const {
    return create(inner_->clone(), rate_);
}
// The way back runs the reversed action on the mirrored curve: t^(1/r)
// starts fast where t^r ended fast.
ActionEase* EaseIn::reverse() const {
    return EaseIn::create(inner_->reverse(), 1.0f / rate_);
}
float EaseIn::ease(float t) const {
    return tweenfunc::easeIn(t, rate_);
}

EaseOut* EaseOut::create(ActionInterval* action, float rate) {
    return makeRate<EaseOut>(action, rate);
}
EaseOut* EaseOut::clone() const {
    return create(inner_->clone(), rate_);
}
ActionEase* EaseOut::reverse() const {
    return EaseOut::create(inner_->reverse(), 1.0f / rate_);
}
float EaseOut::ease(float t) const {
    return tweenfunc::easeOut(t, rate_);
}

EaseInOut* EaseInOut::create(ActionInterval* action, float rate) {
    return makeRate<EaseInOut>(action, rate);
}
EaseInOut* EaseInOut::clone() const {
    return create(inner_->clone(), rate_);
}
ActionEase* EaseInOut::reverse() const {
    return EaseInOut::create(inner_->reverse(), rate_);
}
float EaseInOut::ease(float t) const {
    return tweenfunc::easeInOut(t, rate_);
}

#define ZARN_ENGINE_PLAIN_EASE_IMPL(Name, Reverse, Fn) \
    Name* Name::create(ActionInterval* action) {       \
        return makePlain<Name>(action);                \
    }                                                  \
    Name* Name::clone() const {                        \
        return create(inner_->clone());                \
    }                                                  \
    ActionEase* Name::reverse() const {                \
        return Reverse::create(inner_->reverse());     \
    }                                                  \
    float Name::ease(float t) const {                  \
        return tweenfunc::Fn(t);                       \
    }

ZARN_ENGINE_PLAIN_EASE_IMPL(EaseBounceIn, EaseBounceOut, bounceEaseIn)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseBounceOut, EaseBounceIn, bounceEaseOut)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseBounceInOut, EaseBounceInOut, bounceEaseInOut)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseBackIn, EaseBackOut, backEaseIn)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseBackOut, EaseBackIn, backEaseOut)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseBackInOut, EaseBackInOut, backEaseInOut)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseSineIn, EaseSineOut, sineEaseIn)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseSineOut, EaseSineIn, sineEaseOut)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseSineInOut, EaseSineInOut, sineEaseInOut)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseExponentialIn, EaseExponentialOut, expoEaseIn)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseExponentialOut, EaseExponentialIn, expoEaseOut)
ZARN_ENGINE_PLAIN_EASE_IMPL(EaseExponentialInOut, EaseExponentialInOut, expoEaseInOut)

#undef ZARN_ENGINE_PLAIN_EASE_IMPL

}  // namespace cocos2d
