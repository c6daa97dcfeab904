#include "visuals/traps/BossArm.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "presentation/effects/DustPuffs.h"
#include "visuals/traps/VisualActions.h"

using namespace cocos2d;

namespace {

constexpr float kFrame = 1.0f / 24.0f;

FiniteTimeAction* armSound(const char* name) {
    return effectSoundAction(std::string("sound/boss/arm/") + name + ".mp3");
}

}  // namespace

bool armFacesRight(u32 trapType) {
    return trapType == 51 || trapType == 136;
}

u32 armSlamHoldFrames(float d) {
    return wholeCount(clampDuration(d) / kFrame + 1.0f);
}

Vec2 armStep(const Vec2& p, const Vec2& target, float speed, float dt, float parentScale) {
    const Vec2 d = target - p;
    if (!(d.length() >= 5.0f) || parentScale == 0.0f) return p;
    return p + d.getNormalized() * (speed * dt / parentScale);
}

BossArm* BossArm::create() {
    return createWithInit<BossArm>();
}

bool BossArm::init() {
    if (!initWithSpriteFrameName("Arm_Spawn_1.png")) return false;
    scheduleUpdate();
    return true;
}

void BossArm::update(float dt) {
    if (!tracking) return;
    const float parentScale = getParent() != nullptr ? getParent()->getScale() : 1.0f;
    setPosition(armStep(getPosition(), followTarget + Vec2(0.0f, 130.0f), speed, dt, parentScale));
}

void BossArm::placeAt(const Vec2& p) {
    home_ = Vec3(p.x + 24.0f, p.y + getContentSize().height * 0.5f - 81.0f, getPositionZ());
    setPosition3D(home_);
}

void BossArm::faceLeft() {
    setFlippedX(false);
    setSpriteFrame("Arm_Spawn_1.png");
}

void BossArm::faceRight() {
    setFlippedX(true);
    setSpriteFrame("Arm_Spawn_1.png");
}

void BossArm::showIdleFrame() {
    setSpriteFrame("Arm_Idle_1.png");
}

Action* BossArm::idleLoop() {
    Action* loop =
        RepeatForever::create(createAnimateFromFrameNames(numberedFrames("Arm_Idle_", 1, 23), kFrame));
    loop->setTag(kArmIdleTag);
    return loop;
}

FiniteTimeAction* BossArm::spawn(float d) {
    return Sequence::create(createAnimateFromFrameNames(numberedFrames("Arm_Spawn_", 1, 11), kFrame),
                            DelayTime::create(clampDuration(d)), armSound("transform_up"),
                            createAnimateFromFrameNames({"Arm_Idle_1.png"}, kFrame));
}

FiniteTimeAction* BossArm::retreat() {
    std::vector<std::string> sinking{"Arm_Idle_1.png"};
    for (const std::string& name : numberedFrames("Arm_Spawn_", 11, 1)) sinking.push_back(name);
    return Sequence::create(EaseOut::create(MoveTo::create(0.3f, home_), 3.0f), DelayTime::create(0.3f),
                            armSound("transform_down"), createAnimateFromFrameNames(sinking, kFrame));
}

void BossArm::puffDust() {
    Node* parent = getParent();
    if (parent == nullptr) return;
    const float rise = 100.0f - getContentSize().height * 0.5f;
    Sprite* first = Sprite::create();
    parent->addChild(first, -10);
    first->setPosition(getPosition() + Vec2(-80.0f, rise));
    first->runAction(createDirectionalDustLarge());
    Sprite* second = Sprite::create();
    second->setFlippedX(true);
    parent->addChild(second, -1);
    second->setPosition(getPosition() + Vec2(120.0f, rise));
    second->runAction(createDirectionalDustLarge());
}

FiniteTimeAction* BossArm::slam(float d) {
    const Vec3 above(followTarget.x, followTarget.y + 130.0f, getPositionZ());
    return Sequence::create(
        MoveTo::create(0.1f, above), armSound("arm_raise"),
        createAnimateFromFrameNames(numberedFrames("Arm_Slam_", 1, 5), kFrame),
        Repeat::create(createAnimateFromFrameNames({"Arm_Slam_5.png"}, kFrame), armSlamHoldFrames(d)),
        Spawn::create(armSound("slam"),
                      createAnimateFromFrameNames(numberedFrames("Arm_Slam_", 6, 9), kFrame),
                      guardedCall([this] { puffDust(); }), guardedCall(shakeScreenVertically)));
}

FiniteTimeAction* BossArm::hit() {
    auto* pulse =
        Repeat::create(Sequence::create(ScaleTo::create(0.05f, 1.1f), ScaleTo::create(0.05f, 1.0f)), 4);
    return Sequence::create(createAnimateFromFrameNames(numberedFrames("Arm_Slam_", 6, 9), kFrame),
                            TintTo::create(0.05f, Color3B::RED),
                            createAnimateFromFrameNames({"Arm_Hit_1.png"}, kFrame),
                            effectSoundAction("sound/boss/eye/hurt_0.mp3"),
                            Spawn::create(guardedCall(shakeScreenHorizontally), pulse,
                                          EaseOut::create(MoveBy::create(0.1f, Vec2(-30.0f, 30.0f)), 3.0f)),
                            TintTo::create(0.05f, Color3B::WHITE));
}

FollowHitTrapVisualMediator::FollowHitTrapVisualMediator(BossArm* arm, const Zarn::DelayedTrapElement* record,
                                                         float savedOrder)
    : arm_(arm), record_(record), savedOrder_(savedOrder) {}

void FollowHitTrapVisualMediator::onStateChanged(u32, u32 newState) {
    BossArm* arm = arm_.get();
    switch (newState) {
        case 0:
            arm->stopAllActions();
            arm->showIdleFrame();
            arm->runAction(Sequence::create(arm->retreat(), guardedCall([arm, order = savedOrder_] {
                                                arm->setLocalZOrder(static_cast<int>(order));
                                            })));
            return;
        case 1:
            arm->runAction(
                Spawn::create(guardedCall([arm] { arm->setLocalZOrder(1500000); }), arm->spawn(0.4f)));
            return;
        case 2:
            arm->tracking = 1;
            arm->runAction(arm->idleLoop());
            return;
        case 3:
            arm->stopAllActionsByTag(kArmIdleTag);
            arm->tracking = 0;
            arm->runAction(arm->slam(clampDuration(record_->warnTime) - 0.6f));
            return;
        case 5:
            arm->stopAllActions();
            arm->runAction(arm->hit());
            return;
        default:
            return;
    }
}

FollowHitTrapCocos2D* FollowHitTrapCocos2D::create(Zarn::FollowHitTrap* trap,
                                                   const Zarn::ZOrderCalculator* zOrder) {
    return createWithMethod<FollowHitTrapCocos2D>(&FollowHitTrapCocos2D::initWithTrap, trap, zOrder);
}

FollowHitTrapCocos2D::~FollowHitTrapCocos2D() {
    visual_.reset();
    nodeMediator_.reset();
    adapter_.reset();
}

bool FollowHitTrapCocos2D::initWithTrap(Zarn::FollowHitTrap* trap, const Zarn::ZOrderCalculator* zOrder) {
    if (!Sprite::init()) return false;
    trap_ = trap;
    zOrder_ = zOrder;
    arm_ = BossArm::create();
    if (arm_ == nullptr) return false;
    arm_->placeAt(Vec2(80.0f, 0.0f));
    arm_->faceLeft();
    addChild(arm_);
    visual_ = std::make_unique<FollowHitTrapVisualMediator>(arm_, trap->armRecord,
                                                            static_cast<float>(getLocalZOrder()));
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<Zarn::FollowHitTrap2D>(trap, nodeMediator_.get());
    adapter_->setupVisual();
    return true;
}

void FollowHitTrapCocos2D::update(float) {
    runGuarded([this] {
        const GeometryLib::Point aim = adapter_->target();
        Vec2 point(static_cast<float>(aim.x), static_cast<float>(aim.y));
        if (getParent() != nullptr) point = getParent()->convertToWorldSpace(point);
        arm_->followTarget = convertToNodeSpace(point) + Vec2(0.0f, 160.0f);
        adapter_->syncVisual();
    });
}
