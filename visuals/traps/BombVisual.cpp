#include "visuals/traps/BombVisual.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "visuals/traps/VisualActions.h"

using namespace cocos2d;

u32 bombFrameCycles(float fallTime) {
    return wholeCount(clampDuration(fallTime) / (3.0f / 12.0f));
}

float bombExplosionFrame(float activeTime) {
    return clampDuration(activeTime) * 1.3f / 12.0f;
}

CocosBomb* CocosBomb::create(const Zarn::IntervalTrapElement* record) {
    return createWithMethod<CocosBomb>(&CocosBomb::initWithRecord, record);
}

bool CocosBomb::initWithRecord(const Zarn::IntervalTrapElement* record) {
    if (!Sprite::init()) return false;
    record_ = record;
    setContentSize(Size(160.0f, 160.0f));
    bomb_ = Sprite::createWithSpriteFrameName("Bomb_1.png");
    bomb_->setPosition(Vec2(80.0f, 110.0f));
    addChild(bomb_, 2);
    bomb_->setOpacity(0);
    marker_ = Sprite::createWithSpriteFrameName("Bomb_Marker.png");
    marker_->setPosition(Vec2(80.0f, 80.0f));
    addChild(marker_, 1);
    return true;
}

FiniteTimeAction* CocosBomb::fall() {
    const float t = clampDuration(record_->startDelay);
    auto* drop =
        Sequence::create(Show::create(), MoveBy::create(0.0f, Vec2(0.0f, 640.0f)), FadeTo::create(0.0f, 255),
                         EaseIn::create(MoveBy::create(t, Vec2(0.0f, -640.0f)), 3.0f), guardedCall([this] {
                             if (squashOnLanding) runAction(squash());
                         }));
    auto* spin = Repeat::create(createAnimateFromFrameNames(numberedFrames("Bomb_", 1, 3), 1.0f / 12.0f),
                                bombFrameCycles(t));
    auto* pulse = Sequence::create(ScaleTo::create(t / 5.0f, 0.8f), ScaleTo::create(t / 5.0f, 1.2f));
    return Spawn::create(
        TargetedAction::create(bomb_,
                               Spawn::create(effectSoundAction("sound/boss/bomb/fall.mp3"), spin, drop)),
        TargetedAction::create(marker_, Sequence::create(Repeat::create(pulse, 2), Hide::create())));
}

FiniteTimeAction* CocosBomb::explode() {
    const float w = getContentSize().width;
    std::vector<std::string> burst = numberedFrames("Explosion_Bomb_", 1, 11);
    burst.push_back("blank.png");
    return TargetedAction::create(
        bomb_,
        Sequence::create(MoveTo::create(0.0f, Vec3(w * 0.5f, w * 0.5f + 100.0f, bomb_->getPositionZ())),
                         effectSoundAction("sound/boss/bomb/explosion.mp3"),
                         createAnimateFromFrameNames(burst, bombExplosionFrame(record_->activeTime))));
}

FiniteTimeAction* CocosBomb::squash() {
    return TargetedAction::create(
        bomb_, Spawn::create(MoveBy::create(0.3f, Vec2(0.0f, -32.0f)), ScaleTo::create(0.3f, 0.0f)));
}

void Bomb2DVisualMediator::onStateChanged(u32, u32 newState) {
    switch (newState) {
        case 0:
            lastFall_ = bomb_->fall();
            bomb_->runAction(lastFall_->clone());
            return;
        case 1:
            bomb_->stopAllActions();
            bomb_->runAction(bomb_->explode());
            return;
        case 5:
            bomb_->squashOnLanding = 1;
            return;
        default:
            return;
    }
}

CocosBomb2D* CocosBomb2D::create(Zarn::Bomb* trap, const Zarn::ZOrderCalculator* zOrder,
                                 Zarn::TileVisualGroups* tileVisuals) {
    return createWithMethod<CocosBomb2D>(&CocosBomb2D::initWithTrap, trap, zOrder, tileVisuals);
}

CocosBomb2D::~CocosBomb2D() {
    nodeMediator_.reset();
    adapter_.reset();
    visual_.reset();
}

bool CocosBomb2D::initWithTrap(Zarn::Bomb* trap, const Zarn::ZOrderCalculator* zOrder,
                               Zarn::TileVisualGroups* tileVisuals) {
    if (!Sprite::init()) return false;
    bomb_ = CocosBomb::create(&trap->intervalRecord());
    if (bomb_ == nullptr) return false;
    addChild(bomb_);
    setContentSize(bomb_->getContentSize());
    bomb_->setPosition(Vec2(80.0f, 80.0f));
    bomb_->setLocalZOrder(1000000);
    visual_ = std::make_unique<Bomb2DVisualMediator>(bomb_);
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<Zarn::IntervalTrap2D>(trap, nodeMediator_.get(), tileVisuals, zOrder);
    adapter_->coversTiles = false;
    adapter_->setupVisual();
    adapter_->layered = false;
    nodeMediator_->setZOrder(adapter_->raisedZOrder());
    setLocalZOrder(zOrder->highRowTop(trap->intervalRecord().position.y));
    return true;
}

void CocosBomb2D::update(float) {
    runGuarded([this] { adapter_->syncVisual(); });
}
