#pragma once

// PresentationFixture with a world node under the scene, the positional audio
// engine listening at the world's origin, a seeded visual random engine and a
// z-order calculator for a 10 x 8 room of 32-unit cells. Header-only.

#include "PresentationFixture.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/effects/VisualRandom.h"
#include "simulation/scene/ZOrderCalculator.h"

namespace zarn_test {

class PlayerFixture : public PresentationFixture {
protected:
    void SetUp() override {
        PresentationFixture::SetUp();
        seedVisualRandomEngine(5489);
        world = cocos2d::Node::create();
        scene->addChild(world);
        auto engine = std::make_unique<PositionAudioEngineImpl>(cocos2d::Vec2(0.0f, 0.0f), 750.0f);
        engine->setWorldNode(world);
        PositionAudioEngine::setInstance(std::move(engine));
    }
    void TearDown() override {
        PositionAudioEngine::destroyInstance();
        PresentationFixture::TearDown();
    }
    // One frame: the engine's, then the positional audio's update.
    void step(float dt) {
        frame(dt);
        PositionAudioEngine::instance().update(dt);
    }
    void steps(int count, float dt) {
        for (int i = 0; i < count; ++i) step(dt);
    }

    cocos2d::Node* world = nullptr;
    Zarn::ZOrderCalculator zOrder{32, 8};
};

}  // namespace zarn_test
