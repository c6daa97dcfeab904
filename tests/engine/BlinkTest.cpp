#include <gtest/gtest.h>

#include <vector>

#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

using Blinking = zarn_test::EngineFixture;

TEST_F(Blinking, OneBlinkHidesTheFirstHalfAndShowsTheSecond) {
    struct Case {
        int blinks;
        // Visible after frames at t = 0, 0.1, ..., 0.9 of a 1 s blink.
        std::vector<bool> visible;
    };
    const std::vector<Case> cases = {
        {1, {false, false, false, false, false, false, true, true, true, true}},
        {2, {false, false, false, true, true, false, false, false, true, true}},
    };
    for (const Case& c : cases) {
        Node* node = Node::create();
        scene->addChild(node);
        node->runAction(Blink::create(1.0f, c.blinks));
        std::vector<bool> seen;
        for (int i = 0; i < 10; ++i) {
            frame(i == 0 ? 0.0f : 0.1f);
            seen.push_back(node->isVisible());
        }
        EXPECT_EQ(seen, c.visible) << c.blinks << " blinks";
        node->removeFromParent();
    }
}

TEST_F(Blinking, FinishingRestoresTheVisibilityItStartedWith) {
    for (bool startVisible : {true, false}) {
        Node* node = Node::create();
        node->setVisible(startVisible);
        scene->addChild(node);
        node->runAction(Blink::create(1.0f, 1));
        frame(0.0f);
        frame(0.7f);
        EXPECT_TRUE(node->isVisible());
        frame(0.4f);
        EXPECT_EQ(node->getNumberOfRunningActions(), 0u);
        EXPECT_EQ(node->isVisible(), startVisible);
        node->removeFromParent();
    }
}

TEST_F(Blinking, ForeverBlinksOnceASecondWithoutDrift) {
    Node* node = Node::create();
    scene->addChild(node);
    node->setVisible(false);
    node->runAction(RepeatForever::create(Blink::create(1.0f, 1)));
    frame(0.0f);
    int shownFrames = 0;
    int switches = 0;
    bool last = node->isVisible();
    for (int i = 0; i < 600; ++i) {  // 10 s at 60 frames a second
        frame(1.0f / 60.0f);
        if (node->isVisible()) ++shownFrames;
        if (node->isVisible() != last) ++switches;
        last = node->isVisible();
    }
    EXPECT_NEAR(shownFrames, 300, 12);
    EXPECT_NEAR(switches, 20, 1);
}

TEST(BlinkCreate, RefusesNoBlinks) {
    EXPECT_EQ(Blink::create(1.0f, 0), nullptr);
    Blink* b = Blink::create(2.0f, 3);
    ASSERT_NE(b, nullptr);
    EXPECT_FLOAT_EQ(b->clone()->getDuration(), 2.0f);
}

}  // namespace
