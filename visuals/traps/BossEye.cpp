#include "visuals/traps/BossEye.h"

#include <cmath>

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Animation.h"
#include "engine/SpriteFrameCache.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "visuals/traps/VisualActions.h"

using namespace cocos2d;

namespace {

constexpr float kPupilReach = 40.0f;
const char* const kShutter1 = "Eye_Cannon_Shutter_1.png";

FiniteTimeAction* sound(const char* name) {
    return effectSoundAction(std::string("sound/boss/eye/") + name + ".mp3");
}

}  // namespace

PupilPose pupilPose(const Vec2& restWorld, const Vec2& target) {
    const Vec2 d = target - restWorld;
    const float distance = d.length();
    if (!(distance >= kPupilReach)) return {};
    const Vec2 p = d * (kPupilReach / distance);
    return {p, std::atan2(p.y, p.x) * 57.29578f};
}

u32 jitterCount(float seconds) {
    return wholeCount(clampDuration(seconds) / 0.1f + 1.0f);
}

BossEye* BossEye::create() {
    return createWithInit<BossEye>();
}

bool BossEye::init() {
    if (!Sprite::init()) return false;
    frameCache_ = SpriteFrameCache::getInstance();
    lowerFloor_ = Sprite::createWithSpriteFrameName("p3_floor_0.png");
    upperFloor_ = Sprite::createWithSpriteFrameName("p3_floor_0.png");
    bulb_ = Sprite::createWithSpriteFrameName("Eye_Bulb_1.png");
    innerEye_ = Sprite::createWithSpriteFrameName("inner eye whole.png");
    pupilGlow_ = Sprite::createWithSpriteFrameName("Eye_Pupil_Glow.png");
    pupilGlow_->setColor(Color3B(177, 212, 220));
    shutter_ = Sprite::createWithSpriteFrameName(kShutter1);
    shutter_->setColor(Color3B::BLACK);

    stencil_ = DrawNode::create(2.0f);
    stencil_->drawSolidCircle(Vec2(0.0f, 0.0f), 29.0f, 0.0f, 50, 1.0f, 1.0f, Color4F::BLACK);
    clip_ = ClippingNode::create(stencil_);

    lowerFloor_->setPosition(Vec2(0.0f, -0.5f * lowerFloor_->getContentSize().height));
    addChild(lowerFloor_);
    addChild(bulb_);
    clip_->setContentSize(innerEye_->getContentSize());
    addChild(clip_);
    for (Sprite* part : {innerEye_, pupilGlow_, shutter_}) clip_->addChild(part);
    upperFloor_->setPosition(Vec2(0.0f, 0.5f * upperFloor_->getContentSize().height));
    addChild(upperFloor_);

    clip_->setVisible(false);
    bulb_->setVisible(false);
    return true;
}

void BossEye::update(float) {
    if (!tracking) return;
    const PupilPose pose = pupilPose(convertToWorldSpace(Vec2(0.0f, 0.0f)), target);
    shutter_->setPosition(pose.position);
    stencil_->setPosition(pose.position);
    pupilGlow_->setPosition(pose.position);
    shutter_->setRotation(pose.rotation);
}

void BossEye::setRestPosition(const Vec2& rest, float raiseHeight) {
    rest_ = rest;
    raised_ = rest + Vec2(0.0f, raiseHeight);
    setPosition(rest_);
}

void BossEye::showNormalLook() {
    stencil_->setScale(1.0f);
    stencil_->setPosition(Vec2(0.0f, 0.0f));
    shutter_->setSpriteFrame(kShutter1);
    shutter_->setPosition(Vec2(0.0f, 0.0f));
    shutter_->setColor(Color3B::BLACK);
    pupilGlow_->setOpacity(255);
    pupilGlow_->setPosition(Vec2(0.0f, 0.0f));
}

void BossEye::showCannonLook() {
    showNormalLook();
    stencil_->setScale(1.6f);
    pupilGlow_->setOpacity(0);
}

void BossEye::blankShutter() {
    shutter_->setSpriteFrame("blank.png");
}

FiniteTimeAction* BossEye::frames(const std::vector<std::string>& names, float delay) {
    return createAnimateFromFrameNames(names, delay);
}

FiniteTimeAction* BossEye::showEye() {
    return Spawn::create(TargetedAction::create(clip_, Show::create()),
                         TargetedAction::create(bulb_, Show::create()));
}

FiniteTimeAction* BossEye::openHatch(float t) {
    const float h = upperFloor_->getContentSize().height;
    if (lowerFloor_->isVisible()) {
        return TargetedAction::create(upperFloor_,
                                      Sequence::create(Spawn::create(MoveTo::create(t, Vec2(0.0f, -0.5f * h)),
                                                                     ScaleTo::create(t, 0.7f)),
                                                       Hide::create()));
    }
    return TargetedAction::create(upperFloor_, MoveTo::create(t, Vec2(0.0f, 0.5f * h + 30.0f)));
}

FiniteTimeAction* BossEye::closeHatch(float t) {
    const float h = upperFloor_->getContentSize().height;
    if (lowerFloor_->isVisible()) {
        return TargetedAction::create(
            upperFloor_,
            Sequence::create(Show::create(), Spawn::create(MoveTo::create(t, Vec2(0.0f, 0.5f * h)),
                                                           ScaleTo::create(t, 1.0f))));
    }
    return TargetedAction::create(upperFloor_, MoveTo::create(t, Vec2(0.0f, 0.5f * h)));
}

FiniteTimeAction* BossEye::raise(float t) {
    return Sequence::create(
        showEye(), openHatch(0.15f), guardedCall([this] {
            showNormalLook();
            blankShutter();
        }),
        sound("raise"),
        EaseBackInOut::create(MoveTo::create(std::max(clampDuration(t) - 0.15f, 0.0f), raised_)),
        shutterOpenClose());
}

FiniteTimeAction* BossEye::lower(float t) {
    const float duration = clampDuration(t);
    Vector<FiniteTimeAction*> parts;
    parts.pushBack(guardedCall([this] { showNormalLook(); }));
    if (duration >= 0.5f) parts.pushBack(sound("lower"));
    parts.pushBack(EaseBackInOut::create(MoveTo::create(std::max(duration - 0.15f, 0.0f), rest_)));
    parts.pushBack(closeHatch(0.15f));
    return Spawn::create(parts);
}

FiniteTimeAction* BossEye::emerge(float t) {
    const float duration = clampDuration(t);
    Vector<FiniteTimeAction*> parts;
    parts.pushBack(showEye());
    parts.pushBack(openHatch(0.15f));
    if (duration >= 0.5f) parts.pushBack(sound("raise"));
    parts.pushBack(EaseBackInOut::create(MoveTo::create(duration, raised_)));
    return Spawn::create(parts);
}

FiniteTimeAction* BossEye::shutterOpenClose() {
    return TargetedAction::create(
        shutter_, Sequence::create(sound("shutter_open"),
                                   frames({"blank.png", "Eye_Cannon_Shutter_4.png",
                                           "Eye_Cannon_Shutter_3.png", "Eye_Cannon_Shutter_2.png"},
                                          1.0f / 24.0f),
                                   DelayTime::create(0.5f), sound("shutter_close"),
                                   frames({"Eye_Cannon_Shutter_3.png", "Eye_Cannon_Shutter_2.png", kShutter1},
                                          1.0f / 12.0f)));
}

FiniteTimeAction* BossEye::blink(float hold) {
    return TargetedAction::create(
        shutter_, Sequence::create(sound("shutter_close"), frames({"Eye_Cannon_Shutter_2.png"}, 1.0f / 24.0f),
                                   DelayTime::create(clampDuration(hold)), sound("shutter_close"),
                                   frames({kShutter1}, 1.0f / 24.0f)));
}

namespace {

constexpr float kTransform = 6.0f / 18.0f + 0.1f;

}  // namespace

FiniteTimeAction* BossEye::toCannon() {
    return Sequence::create(
        guardedCall([this] { showNormalLook(); }),
        Spawn::create(
            TargetedAction::create(pupilGlow_, EaseIn::create(FadeOut::create(kTransform), 3.0f)),
            TargetedAction::create(stencil_, EaseIn::create(ScaleTo::create(kTransform, 1.6f), 3.0f)),
            sound("cannon_transform"),
            TargetedAction::create(
                shutter_, frames({kShutter1, "Eye_Cannon_Shutter_2.png", "Eye_Cannon_Shutter_3.png",
                                  "Eye_Cannon_Shutter_4.png", "Eye_Cannon_Shutter_5.png", "blank.png"},
                                 1.0f / 18.0f))));
}

FiniteTimeAction* BossEye::fromCannon() {
    return Sequence::create(
        guardedCall([this] { showCannonLook(); }),
        Spawn::create(
            TargetedAction::create(pupilGlow_, EaseOut::create(FadeIn::create(kTransform), 3.0f)),
            TargetedAction::create(stencil_, EaseOut::create(ScaleTo::create(kTransform, 1.0f), 3.0f)),
            sound("cannon_transform"),
            TargetedAction::create(
                shutter_, frames({"blank.png", "Eye_Cannon_Shutter_5.png", "Eye_Cannon_Shutter_4.png",
                                  "Eye_Cannon_Shutter_3.png", "Eye_Cannon_Shutter_2.png", kShutter1},
                                 1.0f / 18.0f))));
}

FiniteTimeAction* BossEye::raiseAsCannon(float t) {
    const float duration = clampDuration(t);
    if (duration < 0.3f) return Spawn::create(emerge(duration), toCannon());
    return Sequence::create(showEye(), emerge(duration - 0.3f), toCannon());
}

FiniteTimeAction* BossEye::lowerFromCannon(float t) {
    const float duration = clampDuration(t);
    return Sequence::create(fromCannon(), lower(duration >= 0.3f ? duration - 0.3f : duration));
}

FiniteTimeAction* BossEye::runOnPupil(FiniteTimeAction* action) {
    return Spawn::create(TargetedAction::create(shutter_, action->clone()),
                         TargetedAction::create(stencil_, action->clone()),
                         TargetedAction::create(pupilGlow_, action->clone()));
}

FiniteTimeAction* BossEye::jitter(float t) {
    auto* shake = Repeat::create(
        Sequence::create(MoveTo::create(0.05f, Vec2(10.0f, 0.0f)), MoveTo::create(0.05f, Vec2(0.0f, 0.0f))),
        jitterCount(t));
    return Spawn::create(runOnPupil(shake), blink(t));
}

FiniteTimeAction* BossEye::shutterCalibration(float t) {
    return Sequence::create(sound("shutter_calibrating"), jitter(t), DelayTime::create(0.5f));
}

FiniteTimeAction* BossEye::lookUp() {
    return Spawn::create(
        runOnPupil(Spawn::create(MoveTo::create(0.1f, Vec2(0.0f, 40.0f)), ScaleTo::create(0.1f, 0.8f))),
        blink(0.4f));
}

FiniteTimeAction* BossEye::shutterRise() {
    return Sequence::create(
        sound("shutter_rise"), lookUp(), DelayTime::create(0.4f),
        runOnPupil(Spawn::create(MoveTo::create(0.1f, Vec2(0.0f, 0.0f)), ScaleTo::create(0.1f, 1.0f))));
}

FiniteTimeAction* BossEye::happy() {
    auto* bob =
        Sequence::create(MoveTo::create(0.05f, raised_ + Vec2(0.0f, 20.0f)), MoveTo::create(0.05f, raised_));
    return Spawn::create(Repeat::create(bob, 6), sound("happy"));
}

FiniteTimeAction* BossEye::angry() {
    Animate* flash = createAnimateFromFrameNames(numberedFrames("Eye_Angry_", 1, 3), 1.0f / 12.0f);
    flash->getAnimation()->setRestoreOriginalFrame(true);
    return Spawn::create(blink(0.4f), TargetedAction::create(bulb_, flash));
}

FiniteTimeAction* BossEye::crack() {
    FiniteTimeAction* c = TargetedAction::create(
        bulb_,
        frames({"Eye_Bulb_Generic.png", "Eye_Crack_2.png", "Eye_Crack_3.png", "Eye_Crack_1.png"}, 0.25f));
    return Sequence::create(Spawn::create(sound("crack"), c), DelayTime::create(1.0f),
                            Spawn::create(sound("crack"), c->clone()));
}

FiniteTimeAction* BossEye::explode() {
    Sprite* left = Sprite::createWithSpriteFrameName("Explosion_Eye_1.png");
    Sprite* right = Sprite::createWithSpriteFrameName("Explosion_Eye_1.png");
    addChild(left);
    addChild(right);
    const float w = lowerFloor_->getContentSize().width / 2.0f + left->getContentSize().width / 2.0f;
    const Vec2 p = lowerFloor_->getPosition();
    left->setPosition(p + Vec2(-w, 50.0f));
    right->setPosition(p + Vec2(w, 50.0f));
    right->setFlippedX(true);
    left->setVisible(false);
    right->setVisible(false);

    Node* holder = getParent() != nullptr ? getParent()->getParent() : nullptr;
    if (holder != nullptr) {
        for (Sprite* burst : {right, left}) {
            const Vec2 there = holder->convertToNodeSpace(convertToWorldSpace(burst->getPosition()));
            burst->retain();
            burst->removeFromParentAndCleanup(false);
            holder->addChild(burst);
            burst->release();
            burst->setScale(0.4f);
            burst->setPosition(there);
            if (zOrder != nullptr) burst->setLocalZOrder(zOrder->highYTop(there.y) + 256);
        }
    }

    Animate* burning = createAnimateFromFrameNames(numberedFrames("Explosion_Eye_", 1, 8), 1.0f / 24.0f);
    auto burstOf = [&](Sprite* burst) {
        return TargetedAction::create(burst, Sequence::create(Show::create(), DelayTime::create(0.1f),
                                                              burning->clone(), RemoveSelf::create(true)));
    };
    const Vec3 p3 = getPosition3D();
    return Spawn::create(
        guardedCall([this] { showNormalLook(); }), sound("fire"), burstOf(left), burstOf(right),
        TargetedAction::create(bulb_, Sequence::create(TintTo::create(0.15f, Color3B(200, 0, 0)),
                                                       TintTo::create(0.15f, Color3B(255, 255, 255)))),
        Sequence::create(EaseOut::create(MoveTo::create(0.15f, p3 + Vec3(0.0f, 160.0f, 0.0f)), 3.0f),
                         EaseBounceOut::create(MoveTo::create(0.3f, p3))));
}
