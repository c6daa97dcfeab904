#include "engine/Scene.h"

#include "engine/Director.h"

namespace cocos2d {

Scene::Scene() {
    ignoreAnchorPointForPosition_ = true;
    setAnchorPoint(Vec2::ANCHOR_MIDDLE);
}

Scene* Scene::create() {
    return createWithInit<Scene>();
}

bool Scene::init() {
    setContentSize(Director::getInstance()->getWinSize());
    return true;
}

}  // namespace cocos2d
