#include "visuals/elements/PartVisual.h"

#include "engine/ActionInterval.h"
#include "visuals/traps/VisualActions.h"

WalkLook nextWalkLook(const WalkLook& now, const cocos2d::Vec2& velocity) {
    WalkLook next = now;
    if (velocity.x >= 0.1f && !now.flipped) {
        next.flipped = true;
    } else if (velocity.x < -0.1f && now.flipped) {
        next.flipped = false;
    }
    const float speed = velocity.length();
    if (speed > 0.1f) next.walking = true;
    if (speed < 0.1f) next.walking = false;
    return next;
}

PARTCocos2D* PARTCocos2D::create(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder) {
    return cocos2d::createWithMethod<PARTCocos2D>(&PARTCocos2D::initWithUnit, unit, zOrder);
}

PARTCocos2D::~PARTCocos2D() {
    nodeMediator_.reset();
}

bool PARTCocos2D::initWithUnit(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder) {
    if (!initWithSpriteFrameName("part_anim_1.png")) return false;
    sync_ = SteerableUnitSync(unit, zOrder);
    walkAnimation_ = createAnimateFromFrameNames(numberedFrames("part_anim_", 1, 8), 1.0f / 24.0f);
    setAnchorPoint(cocos2d::Vec2(0.5f, 0.25f));
    scheduleUpdate();
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, &Zarn::NullVisualNodeMediator::instance());
    return true;
}

void PARTCocos2D::update(float) {
    if (!sync_.hasUnit()) return;
    sync_.update();
    const GeometryLib::FPoint& v = sync_.getSecondPoint();
    const WalkLook next = nextWalkLook({isFlippedX(), walking_}, cocos2d::Vec2(v.x, v.y));
    if (next.flipped != isFlippedX()) setFlippedX(next.flipped);
    if (next.walking && !walking_) runAction(cocos2d::RepeatForever::create(walkAnimation_->clone()));
    if (!next.walking && walking_) stopAllActions();
    walking_ = next.walking;
    const GeometryLib::FPoint& p = sync_.getPosition();
    setPosition(p.x, p.y);
    setLocalZOrder(sync_.getZOrder());
}
