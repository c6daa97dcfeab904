#pragma once

#include <string>

#include "engine/ActionInterval.h"
#include "engine/Ref.h"

namespace cocos2d {

// A clip of a model's animation: which file and clip, and how long it lasts.
// Clip lengths are not read from the model files: every clip lasts
// kDefaultDuration.
class Animation3D : public Ref {
public:
    static constexpr float kDefaultDuration = 1.0f;
    // Never null; a missing file is logged once and gives a clip all the same.
    static Animation3D* create(const std::string& filename, const std::string& animationName = "");
    const std::string& getFileName() const { return file_; }
    const std::string& getAnimationName() const { return name_; }
    float getDuration() const { return duration_; }

private:
    std::string file_;
    std::string name_;
    float duration_ = kDefaultDuration;
};

enum class Animate3DQuality { QUALITY_NONE = 0, QUALITY_LOW, QUALITY_HIGH };

// Plays a clip (or a stretch of one) on a Sprite3D over its duration, at a
// speed. Nothing moves without 3D drawing; the current clip time is kept for
// whoever asks.
class Animate3D : public ActionInterval {
public:
    static Animate3D* create(Animation3D* animation);
    static Animate3D* create(Animation3D* animation, float fromTime, float duration);
    ~Animate3D() override;
    bool initWithAnimation(Animation3D* animation, float fromTime, float duration);

    void setSpeed(float speed);
    float getSpeed() const { return speed_; }
    void setQuality(Animate3DQuality quality) { quality_ = quality; }
    void setQuality(int quality) { quality_ = static_cast<Animate3DQuality>(quality); }
    Animate3DQuality getQuality() const { return quality_; }
    void setWeight(float weight) { weight_ = weight; }
    float getWeight() const { return weight_; }
    Animation3D* getAnimation() const { return animation_; }
    // Seconds into the clip at the last update.
    float getClipTime() const { return clipTime_; }

    Animate3D* clone() const override;
    Animate3D* reverse() const override;
    void update(float t) override;

private:
    Animation3D* animation_ = nullptr;  // retained
    float start_ = 0.0f;
    float last_ = 1.0f;  // the played stretch as fractions of the clip
    float speed_ = 1.0f;
    float weight_ = 1.0f;
    float clipTime_ = 0.0f;
    bool playReverse_ = false;
    Animate3DQuality quality_ = Animate3DQuality::QUALITY_LOW;
};

}  // namespace cocos2d
