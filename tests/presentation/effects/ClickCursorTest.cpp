#include <gtest/gtest.h>

#include "../support/PresentationFixture.h"
#include "presentation/effects/ClickCursor.h"

using namespace cocos2d;

namespace {

class ClickCursorTest : public zarn_test::PresentationFixture {
protected:
    void TearDown() override {
        ClickCursor::releaseActions();
        PresentationFixture::TearDown();
    }
    // A cursor at a point of the scene as the in-game scene adds it.
    ClickCursor* touchAt(const Vec2& point) {
        ClickCursor* cursor = ClickCursor::create();
        cursor->setScale(0.4f);
        cursor->setPosition(point);
        scene->addChild(cursor, 1500000);
        return cursor;
    }
    const DrawCommand* drawn(const char* frame, std::size_t index = 0) const {
        const auto found = Director::getInstance()->getDrawList().findByFrame(frame);
        return index < found.size() ? found[index] : nullptr;
    }
    // The world position of a drawn sprite's centre.
    static Vec2 centre(const DrawCommand* c) {
        return c->transform.transformPoint(Vec2(c->quad.getMidX(), c->quad.getMidY()));
    }
};

// The arrow drops 60 (cursor units, 24 on screen at scale 0.4) onto the
// point in 0.1 s, then rises and fades while the ring opens; at 0.2 s the
// cursor is gone.
TEST_F(ClickCursorTest, TheArrowDropsOntoThePointWhileTheRingOpensAndFadesThenTheCursorGoes) {
    ClickCursor* cursor = touchAt(Vec2(300, 200));
    frame(0.0f);
    const float arrowHalf = cursor->getArrow()->getContentSize().height / 2.0f * 0.4f;
    ASSERT_NE(drawn(ClickCursor::kArrowFrame), nullptr);
    ASSERT_NE(drawn(ClickCursor::kRingFrame), nullptr);
    EXPECT_NEAR(centre(drawn(ClickCursor::kArrowFrame)).y, 200.0f + arrowHalf + 24.0f, 0.01f);
    EXPECT_NEAR(drawn(ClickCursor::kRingFrame)->transform.m[0], 0.0f, 1e-6f) << "the ring starts closed";
    EXPECT_LT(drawn(ClickCursor::kRingFrame)->order, drawn(ClickCursor::kArrowFrame)->order)
        << "the arrow draws above the ring";

    frame(0.1f);
    EXPECT_NEAR(centre(drawn(ClickCursor::kArrowFrame)).y, 200.0f + arrowHalf, 0.01f) << "on the point";
    EXPECT_EQ(drawn(ClickCursor::kArrowFrame)->opacity, 255);

    frame(0.05f);
    EXPECT_GT(centre(drawn(ClickCursor::kArrowFrame)).y, 200.0f + arrowHalf) << "flying back up";
    EXPECT_LT(drawn(ClickCursor::kArrowFrame)->opacity, 255) << "and fading";
    EXPECT_GT(drawn(ClickCursor::kRingFrame)->transform.m[0], 0.0f) << "the ring opens";
    EXPECT_LT(drawn(ClickCursor::kRingFrame)->opacity, 255) << "and fades after 0.04 s";

    frame(0.06f);
    frame(0.0f);
    EXPECT_EQ(drawn(ClickCursor::kArrowFrame), nullptr);
    EXPECT_EQ(drawn(ClickCursor::kRingFrame), nullptr);
    EXPECT_EQ(scene->getChildrenCount(), 0u) << "the cursor removed itself";
}

TEST_F(ClickCursorTest, TwoTouchesWithinTheLifetimeShowTwoIndependentCursors) {
    touchAt(Vec2(100, 100));
    frame(0.0f);
    frame(0.1f);
    touchAt(Vec2(400, 300));
    frame(0.0f);
    ASSERT_NE(drawn(ClickCursor::kArrowFrame, 1), nullptr);
    EXPECT_EQ(drawn(ClickCursor::kArrowFrame, 0)->opacity, 255);
    EXPECT_NEAR(drawn(ClickCursor::kRingFrame, 1)->transform.m[0], 0.0f, 1e-6f) << "the second starts afresh";
    frame(0.11f);
    frame(0.0f);
    EXPECT_EQ(scene->getChildrenCount(), 1u) << "the first is gone, the second plays on";
    frame(0.11f);
    frame(0.0f);
    EXPECT_EQ(scene->getChildrenCount(), 0u);
}

// Cursors share the prototypes built by the first; once the scene released
// them, the next cursor builds new ones.
TEST_F(ClickCursorTest, ThePrototypesAreBuiltOnceAndAgainAfterTheSceneReleasedThem) {
    EXPECT_EQ(ClickCursor::arrowAction(), nullptr);
    touchAt(Vec2(100, 100));
    FiniteTimeAction* first = ClickCursor::arrowAction();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(ClickCursor::ringAction(), nullptr);
    ASSERT_NE(ClickCursor::removalAction(), nullptr);
    EXPECT_FLOAT_EQ(first->getDuration(), 0.2f);
    EXPECT_FLOAT_EQ(ClickCursor::ringAction()->getDuration(), 0.2f);
    EXPECT_FLOAT_EQ(ClickCursor::removalAction()->getDuration(), ClickCursor::kLifetime);
    touchAt(Vec2(200, 100));
    EXPECT_EQ(ClickCursor::arrowAction(), first);

    ClickCursor::releaseActions();
    EXPECT_EQ(ClickCursor::arrowAction(), nullptr);
    EXPECT_EQ(ClickCursor::ringAction(), nullptr);
    EXPECT_EQ(ClickCursor::removalAction(), nullptr);
    touchAt(Vec2(300, 100));
    EXPECT_NE(ClickCursor::arrowAction(), nullptr);
    frames(3, 0.1f);
    EXPECT_EQ(scene->getChildrenCount(), 0u) << "cursors made before the release still end";
}

}  // namespace
