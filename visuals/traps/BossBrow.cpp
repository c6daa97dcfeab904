#include "visuals/traps/BossBrow.h"

#include <algorithm>

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "visuals/traps/VisualActions.h"

using namespace cocos2d;

BossBrowClamp* BossBrowClamp::create() {
    return createWithInit<BossBrowClamp>();
}

bool BossBrowClamp::init() {
    // A bare node: the clamp shows only its parts.
    if (!Node::init()) return false;
    setAnchorPoint(Vec2(0.0f, 0.0f));
    top_ = Sprite::createWithSpriteFrameName("clamp_top.png");
    bottom_ = Sprite::createWithSpriteFrameName("clamp_bottom.png");
    arm_ = Sprite::createWithSpriteFrameName("clamp_arm.png");
    top_->setAnchorPoint(Vec2(0.5f, 0.0f));
    bottom_->setAnchorPoint(Vec2(0.5f, 0.0f));
    addChild(bottom_);
    addChild(arm_);
    addChild(top_);
    const Size arm = arm_->getContentSize();
    setContentSize(arm);
    arm_->setPosition(Vec2(arm.width / 2.0f, arm.height / 2.0f));
    const Vec2 hinge(arm.width - 13.0f, 15.0f);
    bottom_->setPosition(hinge);
    top_->setPosition(hinge);
    setClosed();
    return true;
}

FiniteTimeAction* BossBrowClamp::close() {
    return Spawn::create(TargetedAction::create(bottom_, RotateTo::create(0.1f, 180.0f)),
                         TargetedAction::create(top_, RotateTo::create(0.1f, 90.0f)));
}

FiniteTimeAction* BossBrowClamp::open() {
    return Spawn::create(TargetedAction::create(bottom_, RotateTo::create(0.1f, 150.0f)),
                         TargetedAction::create(top_, RotateTo::create(0.1f, 115.0f)));
}

void BossBrowClamp::setClosed() {
    bottom_->setRotation(180.0f);
    top_->setRotation(90.0f);
}

void BossBrowClamp::setOpen() {
    bottom_->setRotation(150.0f);
    top_->setRotation(115.0f);
}

float browLegTime(float d) {
    return std::max(0.6f, (clampDuration(d) - 0.1f) * 0.5f);
}

u32 browShakeCount(float d) {
    return wholeCount(clampDuration(d) / 0.1f + 1.0f);
}

BossEyeBrow* BossEyeBrow::create() {
    return createWithInit<BossEyeBrow>();
}

bool BossEyeBrow::init() {
    if (!Sprite::init()) return false;
    brow_ = Sprite::createWithSpriteFrameName("boss_brow_normal.png");
    left_ = BossBrowClamp::create();
    right_ = BossBrowClamp::create();
    right_->setScaleX(-1.0f);
    const Size brow = brow_->getContentSize();
    setContentSize(brow);
    browRest_ = Vec2(brow.width / 2.0f, brow.height / 2.0f);
    browHidden_ = browRest_ + Vec2(0.0f, kRiseDistance);
    brow_->setPosition(browRest_);
    addChild(brow_);
    const float h = left_->getContentSize().height;
    leftRest_ = Vec2(50.0f, h * 0.5f - 30.0f);
    rightRest_ = Vec2(brow.width - 50.0f, h * 0.5f - 30.0f);
    leftHidden_ = leftRest_ + Vec2(0.0f, kRiseDistance);
    rightHidden_ = rightRest_ + Vec2(0.0f, kRiseDistance);
    left_->setVisible(false);
    right_->setVisible(false);
    addChild(right_.get());
    addChild(left_.get());
    return true;
}

void BossEyeBrow::setNormalFace() {
    brow_->setSpriteFrame("boss_brow_normal.png");
}

void BossEyeBrow::setAngryFace() {
    brow_->setSpriteFrame("boss_brow_angy.png");
}

void BossEyeBrow::setDamagedFace() {
    brow_->setSpriteFrame("boss_brow_damaged.png");
}

FiniteTimeAction* BossEyeBrow::clampTrip(BossBrowClamp* clamp, const Vec2& rest, const Vec2& hidden,
                                         float leg, bool closing) {
    return TargetedAction::create(
        clamp, Sequence::create(EaseOut::create(MoveTo::create(leg, rest), 3.0f),
                                closing ? clamp->close() : clamp->open(),
                                EaseIn::create(MoveTo::create(leg, hidden), 3.0f), Hide::create()));
}

FiniteTimeAction* BossEyeBrow::enter(float d) {
    const float t = browLegTime(d);
    auto* reset = guardedCall([this] {
        for (BossBrowClamp* clamp : {left_.get(), right_.get()}) {
            clamp->setVisible(true);
            clamp->setOpen();
        }
        brow_->setPosition(browHidden_);
        brow_->setVisible(true);
        left_->setPosition(leftHidden_);
        right_->setPosition(rightHidden_);
    });
    return Sequence::create(
        reset, Spawn::create(TargetedAction::create(
                                 brow_, Sequence::create(Show::create(),
                                                         EaseOut::create(MoveTo::create(t, browRest_), 3.0f),
                                                         Place::create(browRest_))),
                             clampTrip(left_.get(), leftRest_, leftHidden_, t, true),
                             clampTrip(right_.get(), rightRest_, rightHidden_, t, true)));
}

FiniteTimeAction* BossEyeBrow::leave(float d) {
    const float t = browLegTime(d);
    auto* reset = guardedCall([this] {
        for (BossBrowClamp* clamp : {left_.get(), right_.get()}) {
            clamp->setVisible(true);
            clamp->setClosed();
        }
        brow_->setPosition(browRest_);
        brow_->setVisible(true);
        left_->setPosition(leftHidden_);
        right_->setPosition(rightHidden_);
    });
    return Sequence::create(
        reset, Spawn::create(TargetedAction::create(
                                 brow_, Sequence::create(DelayTime::create(t + 0.1f),
                                                         EaseIn::create(MoveTo::create(t, browHidden_), 3.0f),
                                                         Hide::create())),
                             clampTrip(left_.get(), leftRest_, leftHidden_, t, false),
                             clampTrip(right_.get(), rightRest_, rightHidden_, t, false)));
}

FiniteTimeAction* BossEyeBrow::lift() {
    return TargetedAction::create(
        brow_, Sequence::create(MoveTo::create(0.4f, browRest_ + Vec2(0.0f, 40.0f)), DelayTime::create(0.4f),
                                MoveTo::create(0.1f, browRest_), Place::create(browRest_)));
}

FiniteTimeAction* BossEyeBrow::angryShake(float d) {
    setAngryFace();
    auto* shake = Sequence::create(MoveTo::create(0.05f, browRest_ + Vec2(10.0f, 0.0f)),
                                   MoveTo::create(0.05f, browRest_));
    return TargetedAction::create(
        brow_, Sequence::create(Repeat::create(shake, browShakeCount(d)), Place::create(browRest_),
                                guardedCall([this] { setNormalFace(); })));
}

FiniteTimeAction* BossEyeBrow::damaged() {
    setDamagedFace();
    auto* bounce =
        Sequence::create(EaseOut::create(MoveTo::create(0.25f, browRest_ + Vec2(0.0f, 256.0f)), 3.0f),
                         EaseBounceOut::create(MoveTo::create(0.45f, browRest_)), Place::create(browRest_),
                         guardedCall([this] { setNormalFace(); }));
    auto* wobble = Sequence::create(RotateTo::create(0.1f, 25.0f), RotateTo::create(0.1f, -25.0f),
                                    RotateTo::create(0.1f, 25.0f), RotateTo::create(0.1f, 0.0f));
    return TargetedAction::create(brow_, Spawn::create(bounce, wobble));
}

HealthStep healthStep(std::size_t shown, std::size_t wanted) {
    if (wanted < shown) return {shown - wanted, false};
    return {0, wanted > shown};
}

Vec2 healthCellPosition(std::size_t index) {
    return Vec2(0.0f, -40.0f * static_cast<float>(index));
}

BossHealth* BossHealth::create() {
    return createWithInit<BossHealth>();
}

bool BossHealth::init() {
    if (!Node::init()) return false;
    appear_ = Sequence::create(ScaleTo::create(0.1f, 1.2f), ScaleTo::create(0.1f, 1.0f));
    remove_ =
        Sequence::create(ScaleTo::create(0.1f, 1.2f), ScaleTo::create(0.1f, 0.0f), RemoveSelf::create(true));
    return true;
}

void BossHealth::show(std::size_t n) {
    const HealthStep step = healthStep(cells_.size(), n);
    for (std::size_t i = 0; i < step.remove; ++i) {
        DrawNode* cell = cells_.back();
        cells_.pop_back();
        cell->runAction(remove_->clone());
    }
    if (!step.add) return;
    auto* cell = DrawNode::create(2.0f);
    cell->drawSolidRect(Vec2(-30.0f, -10.0f), Vec2(30.0f, 10.0f), Color4F::RED);
    cell->setLineWidth(3.0f);
    cell->drawRect(Vec2(-30.0f, -10.0f), Vec2(30.0f, 10.0f), Color4F::WHITE);
    cell->setContentSize(Size(60.0f, 20.0f));
    cell->setPosition(healthCellPosition(cells_.size()));
    addChild(cell);
    cell->runAction(appear_->clone());
    cells_.push_back(cell);
}
