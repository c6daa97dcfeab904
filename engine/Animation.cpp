#include "engine/Animation.h"

#include "engine/SpriteFrame.h"
#include "engine/Texture2D.h"

namespace cocos2d {

AnimationFrame* AnimationFrame::create(SpriteFrame* frame, float delayUnits) {
    auto* f = new AnimationFrame();
    f->setSpriteFrame(frame);
    f->delayUnits_ = delayUnits;
    f->autorelease();
    return f;
}

AnimationFrame::~AnimationFrame() {
    CC_SAFE_RELEASE(frame_);
}

void AnimationFrame::setSpriteFrame(SpriteFrame* frame) {
    CC_SAFE_RETAIN(frame);
    CC_SAFE_RELEASE(frame_);
    frame_ = frame;
}

AnimationFrame* AnimationFrame::clone() const {
    return create(frame_, delayUnits_);
}

Animation* Animation::create() {
    auto* a = new Animation();
    a->autorelease();
    return a;
}

Animation* Animation::createWithSpriteFrames(const Vector<SpriteFrame*>& frames, float delay,
                                             unsigned int loops) {
    Animation* a = create();
    a->delayPerUnit_ = delay;
    a->loops_ = loops;
    for (SpriteFrame* frame : frames) a->addSpriteFrame(frame);
    return a;
}

Animation* Animation::create(const Vector<AnimationFrame*>& frames, float delayPerUnit, unsigned int loops) {
    Animation* a = create();
    a->delayPerUnit_ = delayPerUnit;
    a->loops_ = loops;
    a->setFrames(frames);
    return a;
}

void Animation::addSpriteFrame(SpriteFrame* frame) {
    frames_.pushBack(AnimationFrame::create(frame, 1.0f));
    totalDelayUnits_ += 1.0f;
}

void Animation::addSpriteFrameWithFile(const std::string& filename) {
    Texture2D* texture = TextureCache::getInstance()->addImage(filename);
    addSpriteFrame(SpriteFrame::createWithTexture(texture, Rect(Vec2::ZERO, texture->getContentSize())));
}

void Animation::setFrames(const Vector<AnimationFrame*>& frames) {
    frames_ = frames;
    totalDelayUnits_ = 0.0f;
    for (AnimationFrame* f : frames_) totalDelayUnits_ += f->getDelayUnits();
}

Animation* Animation::clone() const {
    Animation* a = create();
    a->delayPerUnit_ = delayPerUnit_;
    a->loops_ = loops_;
    a->restoreOriginalFrame_ = restoreOriginalFrame_;
    Vector<AnimationFrame*> frames;
    for (AnimationFrame* f : frames_) frames.pushBack(f->clone());
    a->setFrames(frames);
    return a;
}

}  // namespace cocos2d
