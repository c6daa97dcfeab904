#include <gtest/gtest.h>

#include "support/TrapSceneFixture.h"
#include "visuals/traps/CannonBeam.h"

namespace {

using cocos2d::Vec2;
using GeometryLib::Point;
using zarn_test::MapBuilder;

// A cannon (131) on (2, 8) whose beam covers 4 tiles down to (2, 5): rest
// 2.0 s (1.0 s before and after each shot), shots of 1.0 s.
class CannonVisualTest : public zarn_test::TrapSceneFixture {
protected:
    void SetUp() override {
        TrapSceneFixture::SetUp();
        MapBuilder b = room();
        auto cannon = zarn_test::trapAt<Zarn::LineIntervalTrapElement>(131, 1, Point(2, 8), 1.0f, 2.0f);
        cannon.length = 4;
        b.trap(cannon);
        enableAtStart(b, {1});
        load(b);
        visual = childrenOf<CannonBeamCocos2D>().front();
        beam = visual->getBeam();
        eye = visual->getEye();
    }
    // The beam sprites drawn with some width this frame.
    std::size_t beamsShowing() const {
        std::size_t n = 0;
        for (const cocos2d::DrawCommand& c : list().commands)
            n += c.frameName.str().rfind("Laser_Middle_000", 0) == 0 && c.opacity > 0 &&
                 std::abs(c.transform.m[0]) > 0.01f;
        return n;
    }

    CannonBeamCocos2D* visual = nullptr;
    CannonBeam* beam = nullptr;
    BossEye* eye = nullptr;
};

TEST_F(CannonVisualTest, TheEyeRisesAsTheMuzzleTheBeamFiresDownItsTilesAndTheEyeSinks) {
    Zarn::Trap& trap = trapNumbered(1);
    EXPECT_EQ(visual->getLocalZOrder(), roomZOrder->rowBase(8) - 1);
    EXPECT_EQ(beam->getMiddles().size(), 2u);
    ASSERT_NE(beam->getEnd(), nullptr);
    EXPECT_FALSE(beam->isVisible());
    EXPECT_FALSE(eye->getBulb()->isVisible());
    EXPECT_FALSE(eye->getLowerFloor()->isVisible());
    EXPECT_EQ(eye->getPosition(), Vec2(80.0f, 0.0f));

    // Warning: the eye rises to the tile's centre and becomes the muzzle
    // (its transform ends just after the warning).
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 1; }, 1.5f));
    EXPECT_EQ(eye->getPosition(), Vec2(80.0f, 80.0f));
    EXPECT_TRUE(shows(eye->getBulb()));
    run(0.2f);
    EXPECT_EQ(frameOf(eye->getShutter()), "blank.png");
    EXPECT_NEAR(eye->getStencil()->getScale(), 1.6f, 1e-4f);
    EXPECT_GT(audio.count("sound/boss/eye/cannon_transform.mp3"), 0u);

    // Armed: the beam has moved up beside the cannon and fires down its
    // four tiles (top, two middles, end) with the blast and the splash.
    EXPECT_EQ(beam->getParent(), world);
    EXPECT_FLOAT_EQ(beam->getScale(), 0.4f);
    EXPECT_EQ(beam->getLocalZOrder(), 1000000);
    EXPECT_EQ(beam->getPosition(), Vec2(2 * 64 + 32, 8 * 64 + 32));
    EXPECT_EQ(beamsShowing(), 4u);
    const std::vector<cocos2d::Node*> chunks{beam->getTop(), beam->getMiddles()[0], beam->getMiddles()[1],
                                             beam->getEnd()};
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const Vec2 at = chunks[i]->convertToWorldSpace(
            Vec2(chunks[i]->getContentSize().width / 2.0f, chunks[i]->getContentSize().height / 2.0f));
        EXPECT_NEAR(at.x, 2 * 64 + 32, 0.5f) << "chunk " << i;
        EXPECT_NEAR(at.y, (8 - static_cast<int>(i)) * 64 + 32, 0.5f) << "chunk " << i;
    }
    EXPECT_EQ(countVisible("Laser_Splash_000"), 1u);
    EXPECT_EQ(audio.count("sound/boss/cannon/blast.mp3"), 1u);

    // After the shot (0.9 of the armed time): shut across, splash blank.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 2; }, 1.0f));
    run(0.06f);
    EXPECT_EQ(beamsShowing(), 0u);
    EXPECT_EQ(frameOf(beam->getEnd()->getSplash()), "blank.png");

    // Resting: the eye sinks back under its hatch.
    float lowest = eye->getPositionY();
    while (valueOf(trap) == 2) {
        tick();
        lowest = std::min(lowest, eye->getPositionY());
    }
    EXPECT_LT(lowest, 5.0f);

    // The next shot reuses the beam where it is.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 1; }, 2.0f));
    run(0.2f);
    EXPECT_EQ(beam->getParent(), world);
    EXPECT_EQ(beamsShowing(), 4u);
    EXPECT_EQ(audio.count("sound/boss/cannon/blast.mp3"), 2u);

    // Stopped: the eye sinks and hides; removing the cannon takes its beam
    // off the room.
    trap.disable();
    run(1.2f);
    EXPECT_FALSE(eye->getBulb()->isVisible());
    EXPECT_FALSE(eye->getClip()->isVisible());
    world->removeChild(visual);
    tick();
    EXPECT_EQ(beamsShowing(), 0u);
    EXPECT_EQ(countVisible("Laser_"), 0u);
}

}  // namespace
