#pragma once

#include <string>

#include "engine/Ref.h"
#include "engine/Vector.h"

namespace cocos2d {

class SpriteFrame;

// One frame of an animation: the sprite frame and how many delay units it is
// shown.
class AnimationFrame : public Ref {
public:
    static AnimationFrame* create(SpriteFrame* frame, float delayUnits);
    ~AnimationFrame() override;
    SpriteFrame* getSpriteFrame() const { return frame_; }
    void setSpriteFrame(SpriteFrame* frame);
    float getDelayUnits() const { return delayUnits_; }
    void setDelayUnits(float units) { delayUnits_ = units; }
    AnimationFrame* clone() const;

private:
    SpriteFrame* frame_ = nullptr;  // retained
    float delayUnits_ = 1.0f;
};

// A list of frames with a delay per unit (seconds) and a loop count. One
// pass lasts total delay units x delay per unit.
class Animation : public Ref {
public:
    static Animation* create();
    // Each frame one unit long.
    static Animation* createWithSpriteFrames(const Vector<SpriteFrame*>& frames, float delay = 0.0f,
                                             unsigned int loops = 1);
    static Animation* create(const Vector<AnimationFrame*>& frames, float delayPerUnit,
                             unsigned int loops = 1);

    void addSpriteFrame(SpriteFrame* frame);
    void addSpriteFrameWithFile(const std::string& filename);
    const Vector<AnimationFrame*>& getFrames() const { return frames_; }
    void setFrames(const Vector<AnimationFrame*>& frames);
    float getDelayPerUnit() const { return delayPerUnit_; }
    void setDelayPerUnit(float delay) { delayPerUnit_ = delay; }
    float getTotalDelayUnits() const { return totalDelayUnits_; }
    // One pass, seconds.
    float getDuration() const { return totalDelayUnits_ * delayPerUnit_; }
    unsigned int getLoops() const { return loops_; }
    void setLoops(unsigned int loops) { loops_ = loops; }
    bool getRestoreOriginalFrame() const { return restoreOriginalFrame_; }
    void setRestoreOriginalFrame(bool restore) { restoreOriginalFrame_ = restore; }
    Animation* clone() const;

private:
    Vector<AnimationFrame*> frames_;
    float delayPerUnit_ = 0.0f;
    float totalDelayUnits_ = 0.0f;
    unsigned int loops_ = 1;
    bool restoreOriginalFrame_ = false;
};

}  // namespace cocos2d
