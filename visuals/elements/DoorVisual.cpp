#include "visuals/elements/DoorVisual.h"

#include "engine/ActionInstant.h"
#include "map/records/DoorElement.h"
#include "presentation/effects/DustPuffs.h"

using cocos2d::Vec2;

DoorVisualMediator::DoorVisualMediator(cocos2d::Node* node, MapElementAnimations animations,
                                       const Zarn::DoorElement* record)
    : ElementVisualMediator(node, std::move(animations)), record_(record) {}

void DoorVisualMediator::preparePositions() {
    const cocos2d::Size& size = node_->getContentSize();
    const float w = size.width * 0.4f;
    const float h = size.height * 0.4f;
    const GeometryLib::FPoint corner(record_->position);
    closed_ = Vec2(corner.x + w * 0.5f, corner.y + h * 0.5f);
    open_ = closed_ + Vec2(0.0f, h);
}

void DoorVisualMediator::onStateChanged(u32, u32 newState) {
    using namespace cocos2d;
    node_->stopAllActions();
    if (newState != 0 && newState != 1) return;
    const Vec2 here = node_->getPosition();
    auto* dust = CallFunc::create([this] { makeDustPuff(); });
    if (newState == 0) {
        playPositional(node_, "sound/door/open.mp3", 1.0f);
        node_->runAction(Spawn::create(dust,
                                       MoveBy::create(0.5f, Vec3(open_.x - here.x, open_.y - here.y, 0.0f)),
                                       FadeTo::create(0.5f, 30)));
    } else {
        playPositional(node_, "sound/door/close.mp3", 1.0f);
        node_->runAction(Spawn::create(
            Sequence::create(MoveBy::create(0.5f, Vec3(closed_.x - here.x, closed_.y - here.y, 0.0f)), dust),
            FadeTo::create(0.5f, 255)));
    }
}

void DoorVisualMediator::makeDustPuff() {
    using namespace cocos2d;
    Node* parent = node_->getParent();
    if (parent == nullptr) return;
    Sprite* a = Sprite::create();
    Sprite* b = Sprite::create();
    for (Sprite* puff : {a, b}) {
        puff->setScale(node_->getScaleX(), node_->getScaleY());
        puff->setOpacity(230);
        puff->setLocalZOrder(node_->getLocalZOrder() + 100);
        parent->addChild(puff);
    }
    b->setFlippedX(true);
    const float hw = node_->getContentSize().width * node_->getScaleX() * 0.5f;
    const float hh = node_->getContentSize().height * node_->getScaleY() * 0.5f;
    a->setPosition(closed_.x - 1.5f * hw, closed_.y - hh + 10.0f);
    b->setPosition(closed_.x + 1.5f * hw, closed_.y - hh + 10.0f);
    parent->runAction(Spawn::create(TargetedAction::create(a, createDirectionalDustSmall()),
                                    TargetedAction::create(b, createDirectionalDustSmall())));
}

// Automatic doors.

bool AutomaticDoorInterface::makeHalves(const std::string& leftFrame, const std::string& rightFrame) {
    left_ = Sprite::createWithSpriteFrameName(leftFrame);
    right_ = Sprite::createWithSpriteFrameName(rightFrame);
    if (left_ == nullptr || right_ == nullptr) return false;
    addChild(left_);
    addChild(right_);
    setContentSize(cocos2d::Size(left_->getContentSize().width + right_->getContentSize().width,
                                 left_->getContentSize().height));
    return true;
}

AutomaticDoorP1P2* AutomaticDoorP1P2::create(u32 variant) {
    return cocos2d::createWithMethod<AutomaticDoorP1P2>(&AutomaticDoorP1P2::initWithVariant, variant);
}

bool AutomaticDoorP1P2::initWithVariant(u32 variant) {
    using namespace cocos2d;
    if (!Sprite::init()) return false;
    variant_ = variant;
    const bool second = variant == 2;
    if (!makeHalves(second ? "p2_door_left.png" : "door_big_left.png",
                    second ? "p2_door_right.png" : "door_big_right.png"))
        return false;
    const Size l = left_->getContentSize();
    const Size r = right_->getContentSize();
    leftClosed_ = Vec2(l.width / 2.0f - 9.0f, l.height / 2.0f);
    rightClosed_ = Vec2(l.width - 22.0f + r.width / 2.0f, r.height / 2.0f);
    left_->setPosition(leftClosed_);
    right_->setPosition(rightClosed_);
    leftOpen_ = leftClosed_ - Vec2(l.width, 0.0f);
    rightOpen_ = rightClosed_ + Vec2(r.width, 0.0f);
    leftOpening_ = MoveTo::create(0.2f, leftOpen_);
    rightOpening_ = MoveTo::create(0.2f, rightOpen_);
    leftClosing_ = MoveTo::create(0.2f, leftClosed_);
    rightClosing_ = MoveTo::create(0.2f, rightClosed_);
    return true;
}

void AutomaticDoorP1P2::openDoor() {
    left_->runAction(leftOpening_->clone());
    right_->runAction(rightOpening_->clone());
}

void AutomaticDoorP1P2::closeDoor() {
    left_->runAction(leftClosing_->clone());
    right_->runAction(rightClosing_->clone());
}

void AutomaticDoorP1P2::stopDoor() {
    left_->stopAllActions();
    right_->stopAllActions();
}

AutomaticDoorP3* AutomaticDoorP3::create() {
    return cocos2d::createWithMethod<AutomaticDoorP3>(&AutomaticDoorP3::init);
}

bool AutomaticDoorP3::init() {
    using namespace cocos2d;
    if (!Sprite::init() || !makeHalves("p3_door_left.png", "p3_door_right.png")) return false;
    const Size l = left_->getContentSize();
    const Size r = right_->getContentSize();
    left_->setPosition(l.width / 2.0f, l.height / 2.0f);
    rightClosed_ = Vec2(l.width - 12.0f + r.width / 2.0f, r.height / 2.0f);
    right_->setPosition(rightClosed_);
    rightOpen_ = rightClosed_ + Vec2(r.width, 0.0f);
    rightOpening_ = MoveTo::create(0.2f, rightOpen_);
    rightClosing_ = MoveTo::create(0.2f, rightClosed_);
    return true;
}

void AutomaticDoorP3::openDoor() {
    right_->runAction(rightOpening_->clone());
}

void AutomaticDoorP3::closeDoor() {
    right_->runAction(rightClosing_->clone());
}

void AutomaticDoorP3::stopDoor() {
    right_->stopAllActions();
}

AutomaticDoorVisualMediator::AutomaticDoorVisualMediator(cocos2d::Node* node, MapElementAnimations animations,
                                                         AutomaticDoorInterface* door)
    : ElementVisualMediator(node, std::move(animations)), door_(door) {}

void AutomaticDoorVisualMediator::onStateChanged(u32, u32 newState) {
    if (newState != 0 && newState != 1) return;
    door_->stopDoor();
    if (newState == 0) {
        door_->openDoor();
    } else {
        door_->closeDoor();
    }
}

AutomaticDoorCocos2D* AutomaticDoorCocos2D::create(Zarn::AutomaticDoor* door, u32 variant,
                                                   MapElementAnimations animations) {
    return cocos2d::createWithMethod<AutomaticDoorCocos2D>(&AutomaticDoorCocos2D::initWithDoor, door, variant,
                                                           std::move(animations));
}

AutomaticDoorCocos2D::~AutomaticDoorCocos2D() {
    visual_.reset();
    nodeMediator_.reset();
    adapter_.reset();
}

bool AutomaticDoorCocos2D::initWithDoor(Zarn::AutomaticDoor* door, u32 variant,
                                        MapElementAnimations animations) {
    if (!Sprite::init()) return false;
    element_ = door;
    variant_ = variant;
    if (variant == 3 || variant == 4) {
        doorSprite_ = AutomaticDoorP3::create();
    } else {
        doorSprite_ = AutomaticDoorP1P2::create(variant);
    }
    if (doorSprite_ == nullptr) return false;
    addChild(doorSprite_);
    const cocos2d::Size size = doorSprite_->getContentSize();
    doorSprite_->setPosition(size.width / 2.0f, size.height / 2.0f);
    setContentSize(size);
    visual_ = std::make_unique<AutomaticDoorVisualMediator>(this, std::move(animations), doorSprite_);
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ =
        std::make_unique<Zarn::SimpleElement2D<Zarn::Door, Zarn::DoorIMEState>>(door, nodeMediator_.get());
    adapter_->setupVisual();
    return true;
}

void AutomaticDoorCocos2D::update(float) {
    runGuarded([this] { adapter_->syncVisual(); });
}
