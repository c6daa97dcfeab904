#include "engine/Animation3D.h"

#include <algorithm>
#include <cmath>

#include "engine/EngineLog.h"
#include "engine/FileUtils.h"

namespace cocos2d {

Animation3D* Animation3D::create(const std::string& filename, const std::string& animationName) {
    if (!FileUtils::getInstance()->isFileExist(filename)) logMissingAssetOnce("3D animation", filename);
    auto* a = new Animation3D();
    a->file_ = filename;
    a->name_ = animationName;
    a->autorelease();
    return a;
}

Animate3D* Animate3D::create(Animation3D* animation) {
    if (animation == nullptr) return nullptr;
    return create(animation, 0.0f, animation->getDuration());
}

Animate3D* Animate3D::create(Animation3D* animation, float fromTime, float duration) {
    return createWithMethod<Animate3D>(&Animate3D::initWithAnimation, animation, fromTime, duration);
}

Animate3D::~Animate3D() {
    CC_SAFE_RELEASE(animation_);
}

bool Animate3D::initWithAnimation(Animation3D* animation, float fromTime, float duration) {
    if (animation == nullptr) return false;
    const float full = animation->getDuration();
    fromTime = std::clamp(fromTime, 0.0f, full);
    duration = std::clamp(duration, 0.0f, full - fromTime);
    ActionInterval::initWithDuration(duration);
    animation->retain();
    animation_ = animation;
    start_ = full > 0.0f ? fromTime / full : 0.0f;
    last_ = full > 0.0f ? duration / full : 0.0f;
    return true;
}

void Animate3D::setSpeed(float speed) {
    if (speed == 0.0f) return;
    // The clip plays in duration / |speed|; a negative speed plays it backwards.
    const float base = duration_ * std::fabs(speed_);
    playReverse_ = speed < 0.0f;
    speed_ = std::fabs(speed);
    duration_ = base / speed_;
}

Animate3D* Animate3D::clone() const {
    Animate3D* copy =
        create(animation_, start_ * animation_->getDuration(), last_ * animation_->getDuration());
    copy->speed_ = speed_;
    copy->duration_ = duration_;
    copy->playReverse_ = playReverse_;
    copy->quality_ = quality_;
    copy->weight_ = weight_;
    return copy;
}

Animate3D* Animate3D::reverse() const {
    Animate3D* copy = clone();
    copy->playReverse_ = !playReverse_;
    return copy;
}

void Animate3D::update(float t) {
    const float along = playReverse_ ? 1.0f - t : t;
    clipTime_ = (start_ + along * last_) * animation_->getDuration();
}

}  // namespace cocos2d
