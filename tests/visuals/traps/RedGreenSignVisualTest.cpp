#include <gtest/gtest.h>

#include "support/TrapSceneFixture.h"
#include "visuals/traps/RedGreenSign.h"

namespace {

using GeometryLib::Point;
using zarn_test::MapBuilder;

class RedGreenSignVisualTest : public zarn_test::TrapSceneFixture {
protected:
    float barFraction() const {
        const cocos2d::DrawCommand* c = drawn(sign->getSign()->getProgressBar()->getTimer()->getSprite());
        if (c == nullptr) c = drawn(sign->getSign()->getProgressBar()->getTimer());
        return c == nullptr ? -1.0f : c->visibleFraction.size.width;
    }
    bool handShows() const { return shows(sign->getSign()->getHand()); }
    bool manShows() const { return shows(sign->getSign()->getMan()); }

    RedGreenSignCocos2D* sign = nullptr;
};

// A red-green sign (56) over an interval trap with rest 2.0 and active 1.0:
// the man shows and the bar empties through the rest, the hand comes in its
// last 0.1 s and stays while the trap is armed, as the bar fills; the man
// comes back in the armed phase's last 0.1 s.
TEST_F(RedGreenSignVisualTest, TheFiguresAndTheBarFollowTheTrapsPhases) {
    MapBuilder b = room();
    b.trap(zarn_test::trapAt(56, 1, Point(6, 6), 1.0f, 2.0f));
    enableAtStart(b, {1});
    zarn_test::RecordingFloor& floor = floorAt(Point(6, 6));
    load(b);
    sign = childrenOf<RedGreenSignCocos2D>().front();
    Zarn::Trap& trap = trapNumbered(1);
    EXPECT_TRUE(floor.calls.empty()) << "the floor under the sign stays";
    EXPECT_EQ(sign->getLocalZOrder(), roomZOrder->highRowMiddle(6) + 200);
    EXPECT_EQ(frameOf(sign->getSign()), "red_green_base.png");
    EXPECT_FALSE(handShows());
    EXPECT_FALSE(manShows());
    EXPECT_FLOAT_EQ(barFraction(), 1.0f);

    // First rest half (state 0, 1.0 s after the waiting state): the man at
    // once, the bar emptying, the hand in the last 0.1 s.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 0; }, 1.0f));
    run(0.5f);
    EXPECT_TRUE(manShows());
    EXPECT_FALSE(handShows());
    EXPECT_NEAR(barFraction(), 0.5f, 0.1f);
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 1; }, 1.0f));
    tick();
    EXPECT_TRUE(handShows());
    EXPECT_FALSE(manShows());
    EXPECT_NEAR(barFraction(), 0.0f, 0.05f);

    // Armed: the hand stays, the bar fills; the man in the last 0.1 s.
    run(0.5f);
    EXPECT_TRUE(handShows());
    EXPECT_NEAR(barFraction(), 0.5f, 0.1f);
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 2; }, 1.0f));
    tick();
    EXPECT_TRUE(manShows());
    EXPECT_FALSE(handShows());
    EXPECT_NEAR(barFraction(), 1.0f, 0.05f);

    // Rest (state 2, then 0 again): the bar empties over the whole rest; the
    // hand comes only in its last 0.1 s.
    run(0.5f);
    EXPECT_NEAR(barFraction(), 0.75f, 0.05f);
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 0; }, 1.0f));
    run(0.5f);
    EXPECT_TRUE(manShows());
    EXPECT_NEAR(barFraction(), 0.25f, 0.05f);
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 1; }, 1.0f));
    tick();
    EXPECT_TRUE(handShows());

    // Stopped (3): the man at once, the bar freezes.
    run(0.3f);
    trap.disable();
    tick();
    const float frozen = barFraction();
    run(0.3f);
    EXPECT_TRUE(manShows());
    EXPECT_FALSE(handShows());
    EXPECT_FLOAT_EQ(barFraction(), frozen);
}

}  // namespace
