#include "app/widgets/ScrollViewEx.h"

#include <algorithm>
#include <cmath>

#include "engine/Event.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"

using namespace cocos2d;

float wheelScrollPercent(float innerHeight, float viewHeight, float innerY, float scrollY) {
    const float range = innerHeight - viewHeight;
    if (range <= 0.0f) return -1.0f;
    const float y = std::abs(innerY);
    const float target = std::clamp(y - ScrollViewEx::kWheelStep * scrollY, 0.0f, range);
    return 100.0f - target * 100.0f / range;
}

ScrollViewEx* ScrollViewEx::create() {
    return createWithInit<ScrollViewEx>();
}

bool ScrollViewEx::init() {
    if (!ScrollView::init()) return false;
    auto* wheel = EventListenerMouse::create();
    wheel->onMouseScroll = [this](EventMouse* event) { onWheel(event); };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(wheel, this);
    return true;
}

bool ScrollViewEx::onTouchBegan(Touch* touch, Event* event) {
    setSwallowTouches(false);
    touchStart = touch->getLocation();
    return ScrollView::onTouchBegan(touch, event);
}

void ScrollViewEx::onTouchMoved(Touch* touch, Event* event) {
    if (!moved) {
        if (touchStart.distance(touch->getLocation()) <= kDragThreshold) return;
        moved = true;
    }
    ScrollView::onTouchMoved(touch, event);
}

void ScrollViewEx::onTouchEnded(Touch* touch, Event* event) {
    if (moved) setSwallowTouches(true);
    moved = false;
    ScrollView::onTouchEnded(touch, event);
}

void ScrollViewEx::onWheel(EventMouse* event) {
    const Vec2 point = getParent() != nullptr ? getParent()->convertToNodeSpace(event->getLocationInView())
                                              : event->getLocationInView();
    if (!getBoundingBox().containsPoint(point)) return;
    const float percent = wheelScrollPercent(getInnerContainerSize().height, getContentSize().height,
                                             getInnerContainerPosition().y, event->getScrollY());
    if (percent < 0.0f) return;
    scrollToPercentVertical(percent, kWheelSeconds, true);
}
