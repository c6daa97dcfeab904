#pragma once

#include <gtest/gtest.h>

#include "engine/cocos2d.h"

namespace zarn_test {

// A running scene on a freshly reset director; frames are stepped by hand.
class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        cocos2d::Director::getInstance()->reset();
        scene = cocos2d::Scene::create();
        cocos2d::Director::getInstance()->runWithScene(scene);
        frame(0.0f);
    }
    void TearDown() override {
        cocos2d::Director::getInstance()->reset();
        drain();
    }
    // One frame of `dt` seconds.
    void frame(float dt = 0.0f) { cocos2d::Director::getInstance()->mainLoop(dt); }
    void frames(int count, float dt) {
        for (int i = 0; i < count; ++i) frame(dt);
    }
    // Empties the autorelease pool (what the end of a frame does).
    static void drain() { cocos2d::PoolManager::getInstance()->getCurrentPool()->clear(); }

    cocos2d::Scene* scene = nullptr;  // held by the director
};

// Counts live instances to prove that nodes are freed.
class CountedNode : public cocos2d::Node {
public:
    static inline int alive = 0;
    static CountedNode* create() { return cocos2d::createWithInit<CountedNode>(); }
    CountedNode() { ++alive; }
    ~CountedNode() override { --alive; }
};

}  // namespace zarn_test
