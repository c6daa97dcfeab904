#include "app/story/ZUISinglePlayerScene.h"

#include "app/menus/BackButtons.h"

ZUISinglePlayerScene* ZUISinglePlayerScene::create() {
    return cocos2d::createWithInit<ZUISinglePlayerScene>();
}

bool ZUISinglePlayerScene::init() {
    if (!Scene::init()) return false;
    addBackToMenuButton(this);
    return true;
}
