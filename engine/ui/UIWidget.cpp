#include "engine/ui/UIWidget.h"

#include "engine/Event.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"
#include "engine/Sprite.h"

namespace cocos2d {
namespace ui {

Widget* Widget::create() {
    return createWithInit<Widget>();
}

Widget::Widget() {
    setAnchorPoint(Vec2::ANCHOR_MIDDLE);
}

Widget::~Widget() {
    setTouchEnabled(false);
}

bool Widget::init() {
    if (!Node::init()) return false;
    setCascadeColorEnabled(true);
    setCascadeOpacityEnabled(true);
    return true;
}

void Widget::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) {
        onPressStateChangedToDisabled();
    } else {
        onPressStateChangedToNormal();
    }
}

void Widget::setTouchEnabled(bool enabled) {
    if (enabled == touchEnabled_) return;
    touchEnabled_ = enabled;
    if (enabled) {
        touchListener_ = EventListenerTouchOneByOne::create();
        touchListener_->retain();
        touchListener_->setSwallowTouches(true);
        touchListener_->onTouchBegan = [this](Touch* t, Event* e) { return onTouchBegan(t, e); };
        touchListener_->onTouchMoved = [this](Touch* t, Event* e) { onTouchMoved(t, e); };
        touchListener_->onTouchEnded = [this](Touch* t, Event* e) { onTouchEnded(t, e); };
        touchListener_->onTouchCancelled = [this](Touch* t, Event* e) { onTouchCancelled(t, e); };
        eventDispatcher_->addEventListenerWithSceneGraphPriority(touchListener_, this);
    } else if (touchListener_ != nullptr) {
        eventDispatcher_->removeEventListener(touchListener_);
        touchListener_->release();
        touchListener_ = nullptr;
    }
}

void Widget::setSwallowTouches(bool swallow) {
    if (touchListener_ != nullptr) touchListener_->setSwallowTouches(swallow);
}

bool Widget::isSwallowTouches() const {
    return touchListener_ != nullptr && touchListener_->isSwallowTouches();
}

void Widget::setHighlighted(bool highlighted) {
    if (highlighted == highlighted_) return;
    highlighted_ = highlighted;
    if (!enabled_) {
        onPressStateChangedToDisabled();
    } else if (highlighted) {
        onPressStateChangedToPressed();
    } else {
        onPressStateChangedToNormal();
    }
}

bool Widget::hitTest(const Vec2& worldPoint) const {
    const Vec2 p = convertToNodeSpace(worldPoint);
    return Rect(0, 0, contentSize_.width, contentSize_.height).containsPoint(p);
}

bool Widget::ancestorsVisible() const {
    for (const Node* n = this; n != nullptr; n = n->getParent())
        if (!n->isVisible()) return false;
    return true;
}

bool Widget::onTouchBegan(Touch* touch, Event* event) {
    hitted_ = false;
    touchBeganPosition_ = touch->getLocation();
    if (enabled_ && ancestorsVisible() && hitTest(touchBeganPosition_)) hitted_ = true;
    if (!hitted_) return false;
    setHighlighted(true);
    if (touchCallback_) touchCallback_(this, TouchEventType::BEGAN);
    return true;
}

void Widget::onTouchMoved(Touch* touch, Event* event) {
    touchMovePosition_ = touch->getLocation();
    setHighlighted(hitTest(touchMovePosition_));
    if (touchCallback_) touchCallback_(this, TouchEventType::MOVED);
}

void Widget::onTouchEnded(Touch* touch, Event* event) {
    touchEndPosition_ = touch->getLocation();
    const bool wasHighlighted = highlighted_;
    setHighlighted(false);
    if (wasHighlighted) {
        releaseUpEvent();
    } else {
        cancelUpEvent();
    }
}

void Widget::onTouchCancelled(Touch* touch, Event* event) {
    setHighlighted(false);
    cancelUpEvent();
}

void Widget::releaseUpEvent() {
    // The callbacks may release this widget: keep it alive through them.
    retain();
    if (touchCallback_) touchCallback_(this, TouchEventType::ENDED);
    if (clickCallback_) clickCallback_(this);
    release();
}

void Widget::cancelUpEvent() {
    if (touchCallback_) touchCallback_(this, TouchEventType::CANCELED);
}

Sprite* Widget::makeImage(const std::string& name, TextureResType type) {
    if (name.empty()) return Sprite::create();
    return type == TextureResType::PLIST ? Sprite::createWithSpriteFrameName(name) : Sprite::create(name);
}

}  // namespace ui
}  // namespace cocos2d
