#include "presentation/mediators/CocosNodeMediator.h"

#include <cmath>

#include "engine/Director.h"
#include "engine/Sprite.h"
#include "engine/Sprite3D.h"
#include "foundation/Error.h"

using cocos2d::Node;
using cocos2d::Vec2;
using GeometryLib::FPoint;

CocosNodeBase::~CocosNodeBase() = default;

CocosNodeBase& CocosNodeBase::engineSide(Zarn::NodeMediator* mediator) {
    auto* base = dynamic_cast<CocosNodeBase*>(mediator);
    if (base == nullptr) throw Convinience::Error("Cannot add child of wrong derivied mediator!");
    return *base;
}

void CocosNodeBase::addChildLifting(Zarn::NodeMediator* child) {
    CocosNodeBase& c = engineSide(child);
    Node* n = c.node_;
    node_->addChild(n);
    for (const cocos2d::RefPtr<Node>& lifted : c.liftList) {
        const Vec2 here = node_->convertToNodeSpace(n->convertToWorldSpace(lifted->getPosition()));
        lifted->removeFromParentAndCleanup(false);
        node_->addChild(lifted.get());
        lifted->setScale(lifted->getScale() * n->getScale());
        lifted->setPosition(here);
    }
    c.liftedList.insert(c.liftedList.end(), c.liftList.begin(), c.liftList.end());
    c.liftList.clear();
}

void CocosNodeBase::removeChildWithLifted(Zarn::NodeMediator* child) {
    CocosNodeBase& c = engineSide(child);
    for (const cocos2d::RefPtr<Node>& lifted : c.liftedList) lifted->removeFromParentAndCleanup(true);
    c.liftedList.clear();
    node_->removeChild(c.node_, true);
}

void CocosNodeBase::removeChildOnly(Zarn::NodeMediator* child) {
    node_->removeChild(engineSide(child).node_, true);
}

template <class I>
FPoint CocosNodeOps<I>::getVisibleSize() {
    const cocos2d::Size s = cocos2d::Director::getInstance()->getVisibleSize();
    return {s.width, s.height};
}

template <class I>
FPoint CocosNodeOps<I>::getVisibleOrigin() {
    const Vec2 o = cocos2d::Director::getInstance()->getVisibleOrigin();
    return {o.x, o.y};
}

template <class I>
void CocosNodeOps<I>::setContentSize(float width, float height) {
    node_->setContentSize(cocos2d::Size(width, height));
}

template <class I>
void CocosNodeOps<I>::setAnchorPoint(float x, float y) {
    node_->setAnchorPoint(Vec2(x, y));
}

template <class I>
void CocosNodeOps<I>::setPosition(float x, float y) {
    node_->setPosition(x, y);
}

template <class I>
void CocosNodeOps<I>::setZOrder(int z) {
    node_->setLocalZOrder(z);
}

template <class I>
void CocosNodeOps<I>::setGlobalZOrder(int z) {
    node_->setGlobalZOrder(static_cast<float>(z));
}

template <class I>
void CocosNodeOps<I>::setRotation(float degrees) {
    node_->setRotation(degrees);
}

template <class I>
void CocosNodeOps<I>::setOpacity(u8 opacity) {
    node_->setOpacity(opacity);
}

template <class I>
void CocosNodeOps<I>::setScale(float scale) {
    node_->setScale(scale);
}

template <class I>
void CocosNodeOps<I>::setVisible(bool visible) {
    node_->setVisible(visible);
}

template <class I>
void CocosNodeOps<I>::setFlippedX(bool flipped) {
    const float a = std::abs(node_->getScaleX());
    node_->setScaleX(flipped ? -a : a);
}

template <class I>
void CocosNodeOps<I>::setFlippedY(bool flipped) {
    const float a = std::abs(node_->getScaleY());
    node_->setScaleY(flipped ? -a : a);
}

template <class I>
FPoint CocosNodeOps<I>::getPosition() {
    const Vec2& p = node_->getPosition();
    return {p.x, p.y};
}

template <class I>
FPoint CocosNodeOps<I>::getContentSize() {
    const cocos2d::Size& s = node_->getContentSize();
    return {s.width, s.height};
}

template <class I>
FPoint CocosNodeOps<I>::convertToNodeSpace(const FPoint& worldPoint) {
    const Vec2 p = node_->convertToNodeSpace(Vec2(worldPoint.x, worldPoint.y));
    return {p.x, p.y};
}

template <class I>
float CocosNodeOps<I>::getScale() {
    return node_->getScale();
}

template <class I>
GeometryLib::FRect CocosNodeOps<I>::getRect() {
    const cocos2d::Rect box = node_->getBoundingBox();
    return GeometryLib::FRect(box.size.width, box.size.height, FPoint(box.origin.x, box.origin.y));
}

template <class I>
void CocosNodeOps<I>::scheduleUpdate() {
    node_->scheduleUpdate();
}

template class CocosNodeOps<Zarn::NodeMediator>;
template class CocosNodeOps<Zarn::VariadicNodeMediator<Zarn::SpriteNodeMediator, Zarn::VisualNodeMediator>>;
template class CocosNodeOps<Zarn::VariadicNodeMediator<Zarn::Sprite3DNodeMediator, Zarn::VisualNodeMediator>>;

CocosNode1Mediator::CocosNode1Mediator(cocos2d::Sprite* sprite, Zarn::VisualNodeMediator* delegate)
    : CocosNodeOps(sprite), sprite_(sprite), delegate_(delegate) {}

void CocosNode1Mediator::setFlippedX(bool flipped) {
    sprite_->setFlippedX(flipped);
    if (cocos2d::SpriteFrame* frame = sprite_->getSpriteFrame()) sprite_->setSpriteFrame(frame);
}

void CocosNode1Mediator::setFlippedY(bool flipped) {
    sprite_->setFlippedY(flipped);
}

Cocos3DNode1Mediator::Cocos3DNode1Mediator(cocos2d::Sprite3D* model, Zarn::VisualNodeMediator* delegate)
    : CocosNodeOps(model), delegate_(delegate) {}

void Cocos3DNode1Mediator::setZOrder(int z) {
    node_->setPositionZ(static_cast<float>(z));
}

void Cocos3DNode1Mediator::setGlobalZOrder(int z) {
    node_->setPositionZ(static_cast<float>(z));
}

void Cocos3DNode1Mediator::setRotation(float degrees) {
    const cocos2d::Vec3 r = node_->getRotation3D();
    node_->setRotation3D(cocos2d::Vec3(r.x, degrees, 0.0f));
}

void Cocos3DNode1Mediator::addChild(Zarn::NodeMediator* child) {
    node_->addChild(engineSide(child).getNode());
}
