#include "EngineFixture.h"

namespace zarn_test {

int CountedNode::alive = 0;

void EngineFixture::SetUp() {
    cocos2d::Director::getInstance()->reset();
    scene = cocos2d::Scene::create();
    cocos2d::Director::getInstance()->runWithScene(scene);
    frame(0.0f);
}

void EngineFixture::TearDown() {
    cocos2d::Director::getInstance()->reset();
    drain();
}

}  // namespace zarn_test
