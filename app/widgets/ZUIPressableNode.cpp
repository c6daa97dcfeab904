#include "app/widgets/ZUIPressableNode.h"

#include "engine/Director.h"
#include "engine/Event.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"

using namespace cocos2d;

unsigned pressFrame() {
    return Director::getInstance()->getTotalFrames();
}

void ZUIPressableNode::listenToPointer(const PressRules& rules, bool cancelEndsPress) {
    state.rules = rules;
    mouseListener = EventListenerMouse::create();
    mouseListener->onMouseMove = [this](EventMouse* event) {
        const PressEvent e = state.mouseMoved(hitTest(event->getLocationInView()));
        if (e != PressEvent::None) onPressEvent(e);
    };
    touchListener = EventListenerTouchOneByOne::create();
    touchListener->setSwallowTouches(true);
    touchListener->onTouchBegan = [this](Touch* touch, Event*) {
        PressEvent e = PressEvent::None;
        const bool claimed = state.touchBegan(hitTest(touch->getLocation()), pressFrame(), e);
        if (e != PressEvent::None) onPressEvent(e);
        return claimed;
    };
    touchListener->onTouchEnded = [this](Touch* touch, Event*) {
        if (!state.pressed) return;
        onPressEvent(state.touchEnded(hitTest(touch->getLocation()), pressFrame()));
    };
    if (cancelEndsPress) touchListener->onTouchCancelled = touchListener->onTouchEnded;
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(mouseListener, this);
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(touchListener, this);
}

bool ZUIPressableNode::hitTest(const Vec2& worldPoint) const {
    const Vec2 local = getParent() != nullptr ? getParent()->convertToNodeSpace(worldPoint) : worldPoint;
    return getBoundingBox().containsPoint(local);
}
