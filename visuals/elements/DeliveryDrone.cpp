#include "visuals/elements/DeliveryDrone.h"

#include <algorithm>
#include <cmath>

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "visuals/elements/ArmSolver.h"
#include "visuals/elements/PartVisual.h"
#include "world/units/SecondarySteerableUnit.h"

using cocos2d::Vec2;

namespace {

// The x scale of the node's node-to-world transform (its length: mirroring
// does not change it).
float worldScaleX(const cocos2d::Node* node) {
    const cocos2d::Mat4 m = node->getNodeToWorldTransform();
    return std::sqrt(m.m[0] * m.m[0] + m.m[1] * m.m[1]);
}

Vec2 worldPointOf(const cocos2d::Node* node) {
    const cocos2d::Node* parent = node->getParent();
    return parent != nullptr ? parent->convertToWorldSpace(node->getPosition()) : node->getPosition();
}

// Moves the node under the new parent (kept alive across the move).
void reparent(cocos2d::Node* node, cocos2d::Node* newParent) {
    node->retain();
    node->removeFromParentAndCleanup(false);
    newParent->addChild(node);
    node->release();
}

cocos2d::RefPtr<cocos2d::Action> bob(float t) {
    using namespace cocos2d;
    return RepeatForever::create(
        Sequence::create(MoveBy::create(t, Vec2(0.0f, 3.0f)), MoveBy::create(t, Vec2(0.0f, -3.0f))));
}

}  // namespace

DroneArmPose solveDroneArm(const Vec2& delta, float upperLength, float forearmLength, float armX,
                           float currentUpper, float currentForearm) {
    DroneArmPose pose;
    const TwoBoneAngles angles = solveTwoBoneArm(delta, upperLength, forearmLength);
    pose.shoulderX = armX;
    if (angles.outOfReach) {
        const float over =
            (delta.length() - upperLength - forearmLength) * std::cos(std::atan2(delta.y, delta.x));
        const float x = armX + over;
        pose.shoulderX = delta.x > 0.0f ? std::min(x, 90.0f) : std::max(x, 40.0f);
    }
    if (angles.solved) {
        pose.upperRotation = angles.upper;
        pose.forearmRotation = angles.lower;
    } else {
        pose.upperRotation = currentUpper;
        pose.forearmRotation = currentForearm;
    }
    return pose;
}

// The arm.

DeliveryDroneArm* DeliveryDroneArm::create() {
    return cocos2d::createWithMethod<DeliveryDroneArm>(&DeliveryDroneArm::init);
}

bool DeliveryDroneArm::init() {
    using namespace cocos2d;
    if (!Node::init()) return false;
    scheduleUpdate();
    shoulderInner_ = Sprite::createWithSpriteFrameName("delivery_drone_shoulder_inner.png");
    shoulderOuter_ = Sprite::createWithSpriteFrameName("delivery_drone_shoulder_outer.png");
    addChild(shoulderInner_, 0);
    shoulderInner_->addChild(shoulderOuter_);
    shoulderOuter_->setPosition(shoulderInner_->getContentSize().width / 2.0f,
                                shoulderInner_->getContentSize().height / 2.0f);
    upperArm_ = Sprite::createWithSpriteFrameName("delivery_drone_backarm.png");
    upperArm_->setAnchorPoint(Vec2(0.93f, 0.5f));
    addChild(upperArm_, 1);
    upperArm_->setPosition(Vec2::ZERO);
    forearm_ = Sprite::createWithSpriteFrameName("delivery_drone_forearm.png");
    forearm_->setAnchorPoint(Vec2(0.93f, 0.5f));
    upperArm_->addChild(forearm_);
    forearm_->setPosition(0.0f, 10.0f);
    upperArmLength_ = upperArm_->getContentSize().width - 10.0f;
    forearmLength_ = forearm_->getContentSize().width - 30.0f;
    shoulderOuter_->setVisible(true);
    return true;
}

void DeliveryDroneArm::update(float) {
    if (heldItem_ != nullptr) heldItem_->setRotation(-(upperArm_->getRotation() + forearm_->getRotation()));
}

DroneArmPose DeliveryDroneArm::solveArm(const Vec2& worldTarget) const {
    const Vec2 delta = convertToNodeSpace(worldTarget) - upperArm_->getPosition();
    return solveDroneArm(delta, upperArmLength_, forearmLength_, getPositionX(), upperArm_->getRotation(),
                         forearm_->getRotation());
}

cocos2d::FiniteTimeAction* DeliveryDroneArm::bend(const DroneArmPose& pose, cocos2d::FiniteTimeAction* move) {
    using namespace cocos2d;
    return Spawn::create(TargetedAction::create(forearm_, RotateTo::create(0.2f, pose.forearmRotation)),
                         TargetedAction::create(upperArm_, RotateTo::create(0.2f, pose.upperRotation)),
                         TargetedAction::create(this, move));
}

cocos2d::FiniteTimeAction* DeliveryDroneArm::reachTo(const Vec2& worldPoint) {
    const DroneArmPose pose = solveArm(worldPoint);
    return bend(pose, cocos2d::MoveTo::create(0.2f, Vec2(pose.shoulderX, getPositionY())));
}

cocos2d::FiniteTimeAction* DeliveryDroneArm::restPose() {
    const DroneArmPose pose = solveArm(convertToWorldSpace(Vec2(40.0f, 30.0f)));
    return bend(pose, cocos2d::MoveTo::create(0.2f, Vec2(90.0f, getPositionY())));
}

cocos2d::FiniteTimeAction* DeliveryDroneArm::grab(cocos2d::Node* item) {
    using namespace cocos2d;
    const DroneArmPose pose = solveArm(worldPointOf(item));
    cocos2d::RefPtr<Node> kept(item);
    return bend(pose, Sequence::create(MoveTo::create(0.2f, Vec2(pose.shoulderX, getPositionY())),
                                       CallFunc::create([this, kept] { attach(kept.get()); })));
}

cocos2d::FiniteTimeAction* DeliveryDroneArm::putDown(const Vec2& worldPoint, cocos2d::Node* newParent) {
    using namespace cocos2d;
    if (heldItem_ == nullptr) return DelayTime::create(0.0f);
    const DroneArmPose pose = solveArm(worldPoint);
    cocos2d::RefPtr<Node> into(newParent);
    return bend(pose, Sequence::create(MoveTo::create(0.2f, Vec2(pose.shoulderX, getPositionY())),
                                       CallFunc::create([this, into] { release(into.get()); })));
}

void DeliveryDroneArm::attach(cocos2d::Node* item) {
    if (item->getParent() == nullptr) return;
    const Vec2 p = forearm_->convertToNodeSpace(worldPointOf(item));
    heldWorldScale_ = worldScaleX(item);
    reparent(item, forearm_);
    item->setScale(heldWorldScale_ != 0.0f ? worldScaleX(this) / heldWorldScale_ : 1.0f);
    heldItem_ = item;
    item->setPosition(p);
}

void DeliveryDroneArm::release(cocos2d::Node* newParent) {
    cocos2d::Node* item = heldItem_;
    if (item == nullptr) return;
    const Vec2 p = newParent->convertToNodeSpace(worldPointOf(item));
    reparent(item, newParent);
    item->setPosition(p);
    item->setRotation(0.0f);
    const float parentScale = worldScaleX(newParent);
    item->setScale(parentScale != 0.0f ? heldWorldScale_ / parentScale : 1.0f);
    if (zOrderCalculator != nullptr) item->setLocalZOrder(zOrderCalculator->highYTop(p.y) + 255);
    heldItem_ = nullptr;
}

// The robot.

DeliveryDrone* DeliveryDrone::create() {
    return cocos2d::createWithMethod<DeliveryDrone>(&DeliveryDrone::init);
}

bool DeliveryDrone::init() {
    using namespace cocos2d;
    if (!Sprite::init()) return false;
    body_ = Sprite::createWithSpriteFrameName("delivery_drone_body.png");
    head_ = Sprite::createWithSpriteFrameName("delivery_drone_head.png");
    wheels_ = Sprite::createWithSpriteFrameName("delivery_drone_wheels_1.png");
    setContentSize(Size(130.0f, 150.0f));
    addChild(body_);
    addChild(head_);
    addChild(wheels_);
    wheelsRest_ = Vec2(65.0f, wheels_->getContentSize().height / 2.0f);
    bodyRest_ = Vec2(65.0f, 55.0f);
    headRest_ = Vec2(65.0f, bodyRest_.y + body_->getContentSize().height / 2.0f);
    wheels_->setPosition(wheelsRest_);
    body_->setPosition(bodyRest_);
    head_->setPosition(headRest_);
    arm1_ = DeliveryDroneArm::create();
    arm2_ = DeliveryDroneArm::create();
    if (arm1_ == nullptr || arm2_ == nullptr) return false;
    addChild(arm1_);
    addChild(arm2_);
    arm1Rest_ = Vec2(90.0f, 147.0f);
    arm2Rest_ = Vec2(90.0f, 62.0f);
    arm1_->setPosition(arm1Rest_);
    arm2_->setPosition(arm2Rest_);
    wheelRoll_ = RepeatForever::create(
        createAnimateFromFrameNames(numberedFrames("delivery_drone_wheels_", 1, 3), 1.0f / 12.0f));
    wheelsBob_ = bob(0.05f);
    bodyBob_ = bob(0.09f);
    headBob_ = bob(0.125f);
    return true;
}

void DeliveryDrone::startMoving() {
    wheels_->runAction(wheelRoll_->clone());
    wheels_->runAction(wheelsBob_->clone());
    body_->runAction(bodyBob_->clone());
    for (cocos2d::Node* part : {static_cast<cocos2d::Node*>(head_), static_cast<cocos2d::Node*>(arm1_),
                                static_cast<cocos2d::Node*>(arm2_)})
        part->runAction(headBob_->clone());
}

void DeliveryDrone::stopMoving() {
    for (cocos2d::Node* part : {static_cast<cocos2d::Node*>(wheels_), static_cast<cocos2d::Node*>(head_),
                                static_cast<cocos2d::Node*>(body_), static_cast<cocos2d::Node*>(arm1_),
                                static_cast<cocos2d::Node*>(arm2_)})
        part->stopAllActions();
    wheels_->setPosition(wheelsRest_);
    body_->setPosition(bodyRest_);
    head_->setPosition(headRest_);
    arm1_->setPosition(arm1Rest_);
    arm2_->setPosition(arm2Rest_);
}

bool DeliveryDrone::canReach(const Vec2& worldPoint) const {
    for (const DeliveryDroneArm* arm : {arm1_, arm2_}) {
        const Vec2 q = arm->convertToNodeSpace(worldPoint);
        if (q.distance(Vec2(0.0f, 65.0f)) < arm->upperArmLength() + arm->forearmLength() + 25.0f) return true;
    }
    return false;
}

// The reactions.

DeliveryDroneVisualMediator::DeliveryDroneVisualMediator(cocos2d::Node* node, DeliveryDrone* drone,
                                                         const DeliveryTargets* targets)
    : ElementVisualMediator(node, MapElementAnimations{}), drone_(drone), targets_(targets) {}

void DeliveryDroneVisualMediator::onStateChanged(u32, u32 newState) {
    using namespace cocos2d;
    DeliveryDroneArm* arm1 = drone_->getArm1();
    DeliveryDroneArm* arm2 = drone_->getArm2();
    switch (newState) {
        case 3:
        case 9:
            return;
        case 6:
            if (targets_ == nullptr) return;
            for (Node* target : *targets_) {
                if (target->getParent() == nullptr) continue;
                const Vec2 p = worldPointOf(target);
                if (!drone_->canReach(p)) continue;
                drone_->runAction(Spawn::create(arm1->grab(target), arm2->reachTo(p)));
                return;
            }
            return;
        case 7: {
            const Vec2 p = drone_->convertToWorldSpace(drone_->getHeadRest());
            drone_->runAction(Spawn::create(arm1->putDown(p, drone_->getHead()), arm2->reachTo(p)));
            return;
        }
        case 8: {
            Node* room = node_->getParent();
            if (room == nullptr || drone_->getParent() == nullptr) return;
            const Vec2 offset = drone_->getScaleX() < 0.0f ? Vec2(120.0f, 60.0f) : Vec2(-120.0f, 60.0f);
            const Vec2 p = drone_->getParent()->convertToWorldSpace(drone_->getPosition() + offset);
            drone_->runAction(Spawn::create(arm1->putDown(p, room), arm2->reachTo(p)));
            return;
        }
        default:
            drone_->runAction(Spawn::create(arm2->restPose(), arm1->restPose()));
            return;
    }
}

// The outer node.

DeliveryDroneCocos2D* DeliveryDroneCocos2D::create(Zarn::SteerableIME* unit,
                                                   const Zarn::ZOrderCalculator* zOrder,
                                                   const DeliveryTargets* targets) {
    return cocos2d::createWithMethod<DeliveryDroneCocos2D>(&DeliveryDroneCocos2D::initWithUnit, unit, zOrder,
                                                           targets);
}

DeliveryDroneCocos2D::~DeliveryDroneCocos2D() {
    adapter_.reset();
    nodeMediator_.reset();
    visual_.reset();
}

bool DeliveryDroneCocos2D::initWithUnit(Zarn::SteerableIME* unit, const Zarn::ZOrderCalculator* zOrder,
                                        const DeliveryTargets* targets) {
    if (!Sprite::init()) return false;
    unit_ = unit;
    zOrder_ = zOrder;
    targets_ = targets;
    sync_ = SteerableUnitSync(unit->steerable != nullptr ? &unit->steerable->unit : nullptr, zOrder);
    drone_ = DeliveryDrone::create();
    if (drone_ == nullptr) return false;
    drone_->getArm1()->zOrderCalculator = zOrder;
    drone_->getArm2()->zOrderCalculator = zOrder;
    addChild(drone_);
    const cocos2d::Size size = drone_->getContentSize();
    setContentSize(size);
    drone_->setPosition(size.width / 2.0f, size.height / 2.0f);
    scheduleUpdate();
    visual_ = std::make_unique<DeliveryDroneVisualMediator>(this, drone_, targets);
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<Zarn::SteerableElement2D>(unit, nodeMediator_.get());
    adapter_->setupVisual();
    return true;
}

void DeliveryDroneCocos2D::update(float) {
    runGuarded([this] { adapter_->syncVisual(); });
    if (!sync_.hasUnit()) return;
    sync_.update();
    const GeometryLib::FPoint& v = sync_.getSecondPoint();
    const float scaleX = drone_->getScaleX();
    const WalkLook next = nextWalkLook({scaleX < 0.0f, moving_}, Vec2(v.x, v.y));
    drone_->setScaleX(next.flipped ? -std::fabs(scaleX) : std::fabs(scaleX));
    if (next.walking && !moving_) drone_->startMoving();
    if (!next.walking && moving_) drone_->stopMoving();
    moving_ = next.walking;
    const GeometryLib::FPoint& p = sync_.getPosition();
    setPosition(p.x, p.y);
    setLocalZOrder(sync_.getZOrder() + 255);
}
