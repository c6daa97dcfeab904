#include <gtest/gtest.h>

#include "../../presentation/support/PresentationFixture.h"
#include "engine/Transition.h"
#include "visuals/traps/VisualActions.h"

namespace {

using cocos2d::Vec2;

class VisualActionsTest : public zarn_test::PresentationFixture {};

TEST_F(VisualActionsTest, FrameAnimationsLastTheirFramesTimesTheDelay) {
    EXPECT_FLOAT_EQ(createAnimateFromFrameNames({"a.png", "b.png", "c.png"}, 0.1f)->getDuration(), 0.3f);
    EXPECT_FLOAT_EQ(createAnimateFromFrameNames({}, 0.1f)->getDuration(), 0.0f);
    EXPECT_FLOAT_EQ(createAnimateOver({"a.png", "b.png", "c.png", "d.png"}, 1.0f)->getDuration(), 1.0f);
    EXPECT_FLOAT_EQ(createAnimateOver({"a.png"}, -2.0f)->getDuration(), 0.0f);
}

// Two shakes add up while both run; each returns to where it began.
TEST_F(VisualActionsTest, ShakesAddUpAndEndWhereTheSceneBegan) {
    shakeScreenVertically();
    frame(0.0f);
    frame(0.03f);
    shakeScreenVertically();
    shakeScreenHorizontally();
    float highest = 0.0f;
    for (int i = 0; i < 4; ++i) {
        frame(0.03f);
        highest = std::max(highest, scene->getPositionY());
    }
    EXPECT_NEAR(highest, 40.0f, 0.01f) << "two vertical shakes at their peaks at once";
    for (int i = 0; i < 12; ++i) frame(0.03f);
    EXPECT_NEAR(scene->getPositionX(), 0.0f, 1e-3f);
    EXPECT_NEAR(scene->getPositionY(), 0.0f, 1e-3f);
}

// During a transition the game scene is the one coming in: the shake runs
// there, not on the transition.
TEST_F(VisualActionsTest, DuringATransitionTheShakeRunsOnTheSceneComingIn) {
    cocos2d::Scene* next = cocos2d::Scene::create();
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, next));
    frame(0.03f);
    ASSERT_NE(dynamic_cast<cocos2d::TransitionScene*>(cocos2d::Director::getInstance()->getRunningScene()),
              nullptr);
    EXPECT_EQ(runningGameScene(), next);
    shakeScreenHorizontally();
    EXPECT_EQ(next->getNumberOfRunningActions(), 1u);
    EXPECT_EQ(cocos2d::Director::getInstance()->getRunningScene()->getNumberOfRunningActions(), 0u);
}

}  // namespace
