#include "app/menus/ZUIBetaEndScene.h"

#include "app/menus/BackButtons.h"

ZUIBetaEndScene* ZUIBetaEndScene::create() {
    return cocos2d::createWithInit<ZUIBetaEndScene>();
}

bool ZUIBetaEndScene::init() {
    if (!Scene::init()) return false;
    addBackToMenuButton(this);
    return true;
}
