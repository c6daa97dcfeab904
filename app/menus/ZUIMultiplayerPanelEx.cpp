#include "app/menus/ZUIMultiplayerPanelEx.h"

#include "app/menus/BackButtons.h"
#include "app/start/Settings.h"

ZUIMultiplayerPanelEx* ZUIMultiplayerPanelEx::create() {
    return cocos2d::createWithInit<ZUIMultiplayerPanelEx>();
}

ZUIMultiplayerPanelEx::~ZUIMultiplayerPanelEx() {
    saveSettings();
}

bool ZUIMultiplayerPanelEx::init() {
    if (!Node::init()) return false;
    backButton = addTopRightBackIcon(this);
    return true;
}
