#include "presentation/effects/ClickCursor.h"

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"

ClickCursor* ClickCursor::create() {
    return cocos2d::createWithInit<ClickCursor>();
}

bool ClickCursor::init() {
    if (!Node::init()) return false;
    runAction(
        cocos2d::Sequence::create(cocos2d::DelayTime::create(0.2f), cocos2d::RemoveSelf::create(), nullptr));
    return true;
}
