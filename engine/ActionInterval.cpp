#include "engine/ActionInterval.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "engine/Animation.h"
#include "engine/Node.h"
#include "engine/ProgressTimer.h"
#include "engine/Sprite.h"
#include "engine/SpriteFrame.h"

namespace cocos2d {

// ---------------------------------------------------------------- ActionInterval

bool ActionInterval::initWithDuration(float duration) {
    duration_ = std::max(duration, 0.0f);
    elapsed_ = 0.0f;
    firstTick_ = true;
    return true;
}

void ActionInterval::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    elapsed_ = 0.0f;
    firstTick_ = true;
}

void ActionInterval::step(float dt) {
    if (firstTick_) {
        firstTick_ = false;
        elapsed_ = 0.0f;
    } else {
        elapsed_ += dt;
    }
    const float t = duration_ > FLT_EPSILON ? std::clamp(elapsed_ / duration_, 0.0f, 1.0f) : 1.0f;
    if (duration_ <= FLT_EPSILON) elapsed_ = std::max(elapsed_, duration_);
    update(t);
}

// ---------------------------------------------------------------- Sequence

namespace {

// The create pattern for the two-action composites: construct, init with the
// pair, autorelease; null when init refuses.
template <class Pair>
Pair* makePair(FiniteTimeAction* one, FiniteTimeAction* two) {
    auto* pair = new Pair();
    if (pair->initWithTwoActions(one, two)) {
        pair->autorelease();
        return pair;
    }
    delete pair;
    return nullptr;
}

// Folds the actions up to the first null into nested pairs, ((a, b), c), ...;
// a single action is paired with an empty delay.
template <class Pair>
Pair* foldPairs(const std::vector<FiniteTimeAction*>& actions) {
    std::vector<FiniteTimeAction*> list;
    for (FiniteTimeAction* a : actions) {
        if (a == nullptr) break;
        list.push_back(a);
    }
    if (list.empty()) return nullptr;
    if (list.size() == 1) return Pair::createWithTwoActions(list[0], nullptr);
    FiniteTimeAction* prev = list[0];
    for (std::size_t i = 1; i + 1 < list.size(); ++i) prev = Pair::createWithTwoActions(prev, list[i]);
    return Pair::createWithTwoActions(prev, list.back());
}

}  // namespace

Sequence* Sequence::createWithTwoActions(FiniteTimeAction* one, FiniteTimeAction* two) {
    return makePair<Sequence>(one, two);
}

Sequence* Sequence::create(const std::vector<FiniteTimeAction*>& actions) {
    return foldPairs<Sequence>(actions);
}

Sequence* Sequence::create(const Vector<FiniteTimeAction*>& actions) {
    return create(actions.asStdVector());
}

bool Sequence::initWithTwoActions(FiniteTimeAction* one, FiniteTimeAction* two) {
    if (one == nullptr) return false;
    if (two == nullptr) two = DelayTime::create(0.0f);
    ActionInterval::initWithDuration(one->getDuration() + two->getDuration());
    one->retain();
    two->retain();
    actions_[0] = one;
    actions_[1] = two;
    return true;
}

Sequence::~Sequence() {
    CC_SAFE_RELEASE(actions_[0]);
    CC_SAFE_RELEASE(actions_[1]);
}

Sequence* Sequence::clone() const {
    return createWithTwoActions(actions_[0]->clone(), actions_[1]->clone());
}

Sequence* Sequence::reverse() const {
    return createWithTwoActions(actions_[1]->reverse(), actions_[0]->reverse());
}

void Sequence::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    split_ = duration_ > FLT_EPSILON ? actions_[0]->getDuration() / duration_ : 0.0f;
    last_ = -1;
}

void Sequence::stop() {
    if (last_ != -1 && actions_[last_] != nullptr) actions_[last_]->stop();
    ActionInterval::stop();
}

void Sequence::update(float t) {
    int found = 0;
    float localT = 0.0f;
    if (t < split_) {
        found = 0;
        localT = split_ != 0.0f ? t / split_ : 1.0f;
    } else {
        found = 1;
        localT = split_ == 1.0f ? 1.0f : (t - split_) / (1.0f - split_);
    }
    if (found == 1) {
        if (last_ == -1) {
            // The first action was jumped over: run it whole.
            actions_[0]->startWithTarget(target_);
            actions_[0]->update(1.0f);
            actions_[0]->stop();
        } else if (last_ == 0) {
            actions_[0]->update(1.0f);
            actions_[0]->stop();
        }
    } else if (last_ == 1) {
        // Going backwards (a reversed time line).
        actions_[1]->update(0.0f);
        actions_[1]->stop();
    }
    if (found == last_ && actions_[found]->isDone()) return;
    if (found != last_) actions_[found]->startWithTarget(target_);
    last_ = found;
    actions_[found]->update(localT);
}

// ---------------------------------------------------------------- Spawn

Spawn* Spawn::createWithTwoActions(FiniteTimeAction* one, FiniteTimeAction* two) {
    return makePair<Spawn>(one, two);
}

Spawn* Spawn::create(const std::vector<FiniteTimeAction*>& actions) {
    return foldPairs<Spawn>(actions);
}

Spawn* Spawn::create(const Vector<FiniteTimeAction*>& actions) {
    return create(actions.asStdVector());
}

bool Spawn::initWithTwoActions(FiniteTimeAction* one, FiniteTimeAction* two) {
    if (one == nullptr) return false;
    if (two == nullptr) two = DelayTime::create(0.0f);
    const float d1 = one->getDuration();
    const float d2 = two->getDuration();
    ActionInterval::initWithDuration(std::max(d1, d2));
    one_ = one;
    two_ = two;
    if (d1 > d2) {
        two_ = Sequence::createWithTwoActions(two, DelayTime::create(d1 - d2));
    } else if (d1 < d2) {
        one_ = Sequence::createWithTwoActions(one, DelayTime::create(d2 - d1));
    }
    one_->retain();
    two_->retain();
    return true;
}

Spawn::~Spawn() {
    CC_SAFE_RELEASE(one_);
    CC_SAFE_RELEASE(two_);
}

Spawn* Spawn::clone() const {
    return createWithTwoActions(one_->clone(), two_->clone());
}

Spawn* Spawn::reverse() const {
    return createWithTwoActions(one_->reverse(), two_->reverse());
}

void Spawn::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    one_->startWithTarget(target);
    two_->startWithTarget(target);
}

void Spawn::stop() {
    one_->stop();
    two_->stop();
    ActionInterval::stop();
}

void Spawn::update(float t) {
    one_->update(t);
    two_->update(t);
}

// ---------------------------------------------------------------- Repeat

Repeat* Repeat::create(FiniteTimeAction* action, unsigned int times) {
    return createWithMethod<Repeat>(&Repeat::initWithAction, action, times);
}

bool Repeat::initWithAction(FiniteTimeAction* action, unsigned int times) {
    if (action == nullptr) return false;
    ActionInterval::initWithDuration(action->getDuration() * static_cast<float>(times));
    times_ = times;
    action->retain();
    inner_ = action;
    return true;
}

Repeat::~Repeat() {
    CC_SAFE_RELEASE(inner_);
}

Repeat* Repeat::clone() const {
    return create(inner_->clone(), times_);
}

Repeat* Repeat::reverse() const {
    return create(inner_->reverse(), times_);
}

void Repeat::startWithTarget(Node* target) {
    total_ = 0;
    ActionInterval::startWithTarget(target);
    inner_->startWithTarget(target);
}

void Repeat::stop() {
    inner_->stop();
    ActionInterval::stop();
}

void Repeat::update(float t) {
    if (times_ == 0) return;
    // Position on the inner action's own time line: round `total_`, at the
    // fraction `rounds - total_`.
    const float rounds = t * static_cast<float>(times_);
    while (total_ < times_ && (rounds >= static_cast<float>(total_ + 1) || t >= 1.0f)) {
        inner_->update(1.0f);
        inner_->stop();
        ++total_;
        if (total_ < times_) inner_->startWithTarget(target_);
    }
    if (total_ < times_) inner_->update(std::clamp(rounds - static_cast<float>(total_), 0.0f, 1.0f));
}

// ---------------------------------------------------------------- DelayTime

DelayTime* DelayTime::create(float duration) {
    auto* d = new DelayTime();
    d->initWithDuration(duration);
    d->autorelease();
    return d;
}

DelayTime* DelayTime::clone() const {
    return create(duration_);
}

DelayTime* DelayTime::reverse() const {
    return create(duration_);
}

// ---------------------------------------------------------------- MoveBy / MoveTo

MoveBy* MoveBy::create(float duration, const Vec2& delta) {
    return createWithMethod<MoveBy>(
        static_cast<bool (MoveBy::*)(float, const Vec2&)>(&MoveBy::initWithDuration), duration, delta);
}

MoveBy* MoveBy::create(float duration, const Vec3& delta) {
    return createWithMethod<MoveBy>(
        static_cast<bool (MoveBy::*)(float, const Vec3&)>(&MoveBy::initWithDuration), duration, delta);
}

bool MoveBy::initWithDuration(float duration, const Vec2& delta) {
    ActionInterval::initWithDuration(duration);
    delta_ = delta;
    is3D_ = false;
    deltaZ_ = 0.0f;
    return true;
}

bool MoveBy::initWithDuration(float duration, const Vec3& delta) {
    ActionInterval::initWithDuration(duration);
    delta_ = Vec2(delta.x, delta.y);
    is3D_ = true;
    deltaZ_ = delta.z;
    return true;
}

MoveBy* MoveBy::clone() const {
    return is3D_ ? create(duration_, Vec3(delta_.x, delta_.y, deltaZ_)) : create(duration_, delta_);
}

MoveBy* MoveBy::reverse() const {
    return is3D_ ? create(duration_, Vec3(-delta_.x, -delta_.y, -deltaZ_)) : create(duration_, -delta_);
}

void MoveBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    previous_ = start_ = target->getPosition();
    previousZ_ = startZ_ = target->getPositionZ();
}

void MoveBy::update(float t) {
    if (target_ == nullptr) return;
    // Moves made by others since the last frame shift our start point.
    const Vec2 current = target_->getPosition();
    start_ += current - previous_;
    const Vec2 next = start_ + delta_ * t;
    if (is3D_) {
        startZ_ += target_->getPositionZ() - previousZ_;
        previousZ_ = startZ_ + deltaZ_ * t;
        target_->setPositionZ(previousZ_);
    }
    target_->setPosition(next);
    previous_ = next;
}

MoveTo* MoveTo::create(float duration, const Vec2& position) {
    return createWithMethod<MoveTo>(
        static_cast<bool (MoveTo::*)(float, const Vec2&)>(&MoveTo::initWithDuration), duration, position);
}

MoveTo* MoveTo::create(float duration, const Vec3& position) {
    return createWithMethod<MoveTo>(
        static_cast<bool (MoveTo::*)(float, const Vec3&)>(&MoveTo::initWithDuration), duration, position);
}

bool MoveTo::initWithDuration(float duration, const Vec2& position) {
    ActionInterval::initWithDuration(duration);
    end_ = position;
    is3D_ = false;
    return true;
}

bool MoveTo::initWithDuration(float duration, const Vec3& position) {
    ActionInterval::initWithDuration(duration);
    end_ = Vec2(position.x, position.y);
    endZ_ = position.z;
    is3D_ = true;
    return true;
}

MoveTo* MoveTo::clone() const {
    return is3D_ ? create(duration_, Vec3(end_.x, end_.y, endZ_)) : create(duration_, end_);
}

// A move to a point has no reverse; the engine answers with a copy.
MoveTo* MoveTo::reverse() const {
    return clone();
}

void MoveTo::startWithTarget(Node* target) {
    MoveBy::startWithTarget(target);
    delta_ = end_ - target->getPosition();
    if (is3D_) deltaZ_ = endZ_ - target->getPositionZ();
}

// ---------------------------------------------------------------- RotateTo / RotateBy

RotateTo* RotateTo::create(float duration, float degrees) {
    return createWithMethod<RotateTo>(&RotateTo::initWithDuration, duration, degrees);
}

bool RotateTo::initWithDuration(float duration, float degrees) {
    ActionInterval::initWithDuration(duration);
    to_ = degrees;
    return true;
}

RotateTo* RotateTo::clone() const {
    return create(duration_, to_);
}

RotateTo* RotateTo::reverse() const {
    return clone();
}

void RotateTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    start_ = target->getRotation();
    start_ = start_ > 0.0f ? std::fmod(start_, 360.0f) : std::fmod(start_, -360.0f);
    diff_ = to_ - start_;
    if (diff_ > 180.0f) diff_ -= 360.0f;
    if (diff_ < -180.0f) diff_ += 360.0f;
}

void RotateTo::update(float t) {
    if (target_ != nullptr) target_->setRotation(start_ + diff_ * t);
}

RotateBy* RotateBy::create(float duration, float degrees) {
    return createWithMethod<RotateBy>(
        static_cast<bool (RotateBy::*)(float, float)>(&RotateBy::initWithDuration), duration, degrees);
}

RotateBy* RotateBy::create(float duration, const Vec3& degrees) {
    return createWithMethod<RotateBy>(
        static_cast<bool (RotateBy::*)(float, const Vec3&)>(&RotateBy::initWithDuration), duration, degrees);
}

bool RotateBy::initWithDuration(float duration, float degrees) {
    ActionInterval::initWithDuration(duration);
    angle_ = degrees;
    is3D_ = false;
    return true;
}

bool RotateBy::initWithDuration(float duration, const Vec3& degrees) {
    ActionInterval::initWithDuration(duration);
    angle3D_ = degrees;
    is3D_ = true;
    return true;
}

RotateBy* RotateBy::clone() const {
    return is3D_ ? create(duration_, angle3D_) : create(duration_, angle_);
}

RotateBy* RotateBy::reverse() const {
    return is3D_ ? create(duration_, angle3D_ * -1.0f) : create(duration_, -angle_);
}

void RotateBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    start_ = target->getRotation();
    start3D_ = target->getRotation3D();
}

void RotateBy::update(float t) {
    if (target_ == nullptr) return;
    if (is3D_) {
        target_->setRotation3D(start3D_ + angle3D_ * t);
    } else {
        target_->setRotation(start_ + angle_ * t);
    }
}

// ---------------------------------------------------------------- ScaleTo / ScaleBy

ScaleTo* ScaleTo::create(float duration, float scale) {
    return createWithMethod<ScaleTo>(&ScaleTo::initWithDuration, duration, scale, scale);
}

ScaleTo* ScaleTo::create(float duration, float scaleX, float scaleY) {
    return createWithMethod<ScaleTo>(&ScaleTo::initWithDuration, duration, scaleX, scaleY);
}

bool ScaleTo::initWithDuration(float duration, float scaleX, float scaleY) {
    ActionInterval::initWithDuration(duration);
    endX_ = scaleX;
    endY_ = scaleY;
    return true;
}

ScaleTo* ScaleTo::clone() const {
    return create(duration_, endX_, endY_);
}

ScaleTo* ScaleTo::reverse() const {
    return clone();
}

void ScaleTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    startX_ = target->getScaleX();
    startY_ = target->getScaleY();
    deltaX_ = endX_ - startX_;
    deltaY_ = endY_ - startY_;
}

void ScaleTo::update(float t) {
    if (target_ != nullptr) target_->setScale(startX_ + deltaX_ * t, startY_ + deltaY_ * t);
}

ScaleBy* ScaleBy::create(float duration, float scale) {
    return create(duration, scale, scale);
}

ScaleBy* ScaleBy::create(float duration, float scaleX, float scaleY) {
    auto* s = new ScaleBy();
    s->initWithDuration(duration, scaleX, scaleY);
    s->autorelease();
    return s;
}

ScaleBy* ScaleBy::clone() const {
    return create(duration_, endX_, endY_);
}

ScaleBy* ScaleBy::reverse() const {
    return create(duration_, 1.0f / endX_, 1.0f / endY_);
}

void ScaleBy::startWithTarget(Node* target) {
    ScaleTo::startWithTarget(target);
    deltaX_ = startX_ * endX_ - startX_;
    deltaY_ = startY_ * endY_ - startY_;
}

// ---------------------------------------------------------------- fades and tints

FadeTo* FadeTo::create(float duration, uint8_t opacity) {
    return createWithMethod<FadeTo>(&FadeTo::initWithDuration, duration, opacity);
}

bool FadeTo::initWithDuration(float duration, uint8_t opacity) {
    ActionInterval::initWithDuration(duration);
    to_ = opacity;
    return true;
}

FadeTo* FadeTo::clone() const {
    return create(duration_, to_);
}

FadeTo* FadeTo::reverse() const {
    return clone();
}

void FadeTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    from_ = target->getOpacity();
}

void FadeTo::update(float t) {
    if (target_ == nullptr) return;
    const float value = static_cast<float>(from_) + (static_cast<float>(to_) - static_cast<float>(from_)) * t;
    target_->setOpacity(static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f)));
}

FadeIn* FadeIn::create(float duration) {
    auto* f = new FadeIn();
    f->initWithDuration(duration, 255);
    f->autorelease();
    return f;
}

FadeIn* FadeIn::clone() const {
    return create(duration_);
}

FadeTo* FadeIn::reverse() const {
    return FadeOut::create(duration_);
}

FadeOut* FadeOut::create(float duration) {
    auto* f = new FadeOut();
    f->initWithDuration(duration, 0);
    f->autorelease();
    return f;
}

FadeOut* FadeOut::clone() const {
    return create(duration_);
}

FadeTo* FadeOut::reverse() const {
    return FadeIn::create(duration_);
}

TintTo* TintTo::create(float duration, uint8_t red, uint8_t green, uint8_t blue) {
    return create(duration, Color3B(red, green, blue));
}

TintTo* TintTo::create(float duration, const Color3B& color) {
    return createWithMethod<TintTo>(&TintTo::initWithDuration, duration, color);
}

bool TintTo::initWithDuration(float duration, const Color3B& color) {
    ActionInterval::initWithDuration(duration);
    to_ = color;
    return true;
}

TintTo* TintTo::clone() const {
    return create(duration_, to_);
}

TintTo* TintTo::reverse() const {
    return clone();
}

void TintTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    from_ = target->getColor();
}

void TintTo::update(float t) {
    if (target_ == nullptr) return;
    auto mix = [t](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>(std::clamp(a + (static_cast<float>(b) - a) * t, 0.0f, 255.0f));
    };
    target_->setColor(Color3B(mix(from_.r, to_.r), mix(from_.g, to_.g), mix(from_.b, to_.b)));
}

TintBy* TintBy::create(float duration, int16_t deltaRed, int16_t deltaGreen, int16_t deltaBlue) {
    auto* a = new TintBy();
    a->ActionInterval::initWithDuration(duration);
    a->deltaR_ = deltaRed;
    a->deltaG_ = deltaGreen;
    a->deltaB_ = deltaBlue;
    a->autorelease();
    return a;
}

TintBy* TintBy::clone() const {
    return create(duration_, deltaR_, deltaG_, deltaB_);
}

TintBy* TintBy::reverse() const {
    return create(duration_, static_cast<int16_t>(-deltaR_), static_cast<int16_t>(-deltaG_),
                  static_cast<int16_t>(-deltaB_));
}

void TintBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    const Color3B c = target->getColor();
    fromR_ = c.r;
    fromG_ = c.g;
    fromB_ = c.b;
}

void TintBy::update(float t) {
    if (target_ == nullptr) return;
    auto mix = [t](int16_t from, int16_t delta) {
        return static_cast<uint8_t>(std::clamp(from + delta * t, 0.0f, 255.0f));
    };
    target_->setColor(Color3B(mix(fromR_, deltaR_), mix(fromG_, deltaG_), mix(fromB_, deltaB_)));
}

// ---------------------------------------------------------------- progress

ProgressTo* ProgressTo::create(float duration, float percent) {
    auto* a = new ProgressTo();
    a->ActionInterval::initWithDuration(duration);
    a->to_ = percent;
    a->autorelease();
    return a;
}

ProgressTo* ProgressTo::clone() const {
    return create(duration_, to_);
}

ProgressTo* ProgressTo::reverse() const {
    return clone();
}

void ProgressTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    auto* timer = dynamic_cast<ProgressTimer*>(target);
    from_ = timer != nullptr ? timer->getPercentage() : 0.0f;
}

void ProgressTo::update(float t) {
    if (auto* timer = dynamic_cast<ProgressTimer*>(target_)) timer->setPercentage(from_ + (to_ - from_) * t);
}

ProgressFromTo* ProgressFromTo::create(float duration, float fromPercent, float toPercent) {
    auto* a = new ProgressFromTo();
    a->ActionInterval::initWithDuration(duration);
    a->from_ = fromPercent;
    a->to_ = toPercent;
    a->autorelease();
    return a;
}

ProgressFromTo* ProgressFromTo::clone() const {
    return create(duration_, from_, to_);
}

ProgressFromTo* ProgressFromTo::reverse() const {
    return create(duration_, to_, from_);
}

void ProgressFromTo::update(float t) {
    if (auto* timer = dynamic_cast<ProgressTimer*>(target_)) timer->setPercentage(from_ + (to_ - from_) * t);
}

// ---------------------------------------------------------------- TargetedAction

TargetedAction* TargetedAction::create(Node* target, FiniteTimeAction* action) {
    return createWithMethod<TargetedAction>(&TargetedAction::initWithTarget, target, action);
}

bool TargetedAction::initWithTarget(Node* target, FiniteTimeAction* action) {
    if (target == nullptr || action == nullptr) return false;
    ActionInterval::initWithDuration(action->getDuration());
    target->retain();
    action->retain();
    forcedTarget_ = target;
    action_ = action;
    return true;
}

TargetedAction::~TargetedAction() {
    CC_SAFE_RELEASE(forcedTarget_);
    CC_SAFE_RELEASE(action_);
}

TargetedAction* TargetedAction::clone() const {
    return create(forcedTarget_, action_->clone());
}

TargetedAction* TargetedAction::reverse() const {
    return create(forcedTarget_, action_->reverse());
}

void TargetedAction::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    action_->startWithTarget(forcedTarget_);
}

void TargetedAction::stop() {
    action_->stop();
    ActionInterval::stop();
}

void TargetedAction::update(float t) {
    action_->update(t);
}

// ---------------------------------------------------------------- Animate

Animate* Animate::create(Animation* animation) {
    return createWithMethod<Animate>(&Animate::initWithAnimation, animation);
}

bool Animate::initWithAnimation(Animation* animation) {
    if (animation == nullptr) return false;
    const float singleDuration = animation->getDuration();
    ActionInterval::initWithDuration(singleDuration * static_cast<float>(animation->getLoops()));
    animation->retain();
    animation_ = animation;
    splitTimes_.clear();
    const float totalUnits = animation->getTotalDelayUnits();
    const float unit = totalUnits > 0.0f ? singleDuration / totalUnits : 0.0f;
    float accumulated = 0.0f;
    for (AnimationFrame* frame : animation->getFrames()) {
        splitTimes_.push_back(singleDuration > 0.0f ? accumulated * unit / singleDuration : 0.0f);
        accumulated += frame->getDelayUnits();
    }
    return true;
}

Animate::~Animate() {
    CC_SAFE_RELEASE(animation_);
    CC_SAFE_RELEASE(originalFrame_);
}

Animate* Animate::clone() const {
    return create(animation_->clone());
}

Animate* Animate::reverse() const {
    Vector<AnimationFrame*> frames;
    const auto& source = animation_->getFrames();
    for (auto it = source.rbegin(); it != source.rend(); ++it) frames.pushBack((*it)->clone());
    Animation* reversed = Animation::create(frames, animation_->getDelayPerUnit(), animation_->getLoops());
    reversed->setRestoreOriginalFrame(animation_->getRestoreOriginalFrame());
    return create(reversed);
}

void Animate::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    CC_SAFE_RELEASE_NULL(originalFrame_);
    if (animation_->getRestoreOriginalFrame()) {
        if (auto* sprite = dynamic_cast<Sprite*>(target)) {
            originalFrame_ = sprite->getSpriteFrame();
            CC_SAFE_RETAIN(originalFrame_);
        }
    }
    nextFrame_ = 0;
    executedLoops_ = 0;
}

void Animate::stop() {
    if (animation_->getRestoreOriginalFrame() && originalFrame_ != nullptr) {
        if (auto* sprite = dynamic_cast<Sprite*>(target_)) sprite->setSpriteFrame(originalFrame_);
    }
    ActionInterval::stop();
}

void Animate::update(float t) {
    if (t < 1.0f) {
        t *= static_cast<float>(animation_->getLoops());
        const auto loop = static_cast<unsigned int>(t);
        if (loop > executedLoops_) {
            nextFrame_ = 0;
            ++executedLoops_;
        }
        t = std::fmod(t, 1.0f);
    }
    auto* sprite = dynamic_cast<Sprite*>(target_);
    const auto& frames = animation_->getFrames();
    const int count = static_cast<int>(frames.size());
    for (int i = nextFrame_; i < count; ++i) {
        if (splitTimes_[static_cast<std::size_t>(i)] > t) break;
        currentFrameIndex_ = i;
        if (sprite != nullptr) {
            if (SpriteFrame* frame = frames.at(static_cast<std::size_t>(i))->getSpriteFrame())
                sprite->setSpriteFrame(frame);
        }
        nextFrame_ = i + 1;
    }
}

// ---------------------------------------------------------------- Blink

Blink* Blink::create(float duration, int blinks) {
    return createWithMethod<Blink>(&Blink::initWithDuration, duration, blinks);
}

bool Blink::initWithDuration(float duration, int blinks) {
    if (blinks <= 0) return false;
    ActionInterval::initWithDuration(duration);
    times_ = blinks;
    return true;
}

Blink* Blink::clone() const {
    return create(duration_, times_);
}

Blink* Blink::reverse() const {
    return clone();
}

void Blink::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    originalVisible_ = target->isVisible();
}

void Blink::stop() {
    if (target_ != nullptr) target_->setVisible(originalVisible_);
    ActionInterval::stop();
}

void Blink::update(float t) {
    if (target_ == nullptr || isDone()) return;
    const float slice = 1.0f / static_cast<float>(times_);
    target_->setVisible(std::fmod(t, slice) > slice / 2.0f);
}

}  // namespace cocos2d
