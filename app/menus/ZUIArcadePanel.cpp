#include "app/menus/ZUIArcadePanel.h"

#include "app/menus/BackButtons.h"

ZUIArcadePanel* ZUIArcadePanel::create() {
    return cocos2d::createWithInit<ZUIArcadePanel>();
}

bool ZUIArcadePanel::init() {
    if (!Node::init()) return false;
    backButton = addTopRightBackIcon(this);
    return true;
}
