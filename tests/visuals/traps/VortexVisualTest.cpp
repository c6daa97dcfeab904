#include <gtest/gtest.h>

#include "support/TrapSceneFixture.h"
#include "visuals/traps/VortexTrapVisual.h"

namespace {

using GeometryLib::Point;
using zarn_test::MapBuilder;
using zarn_test::trapAt;

class VortexVisualTest : public zarn_test::TrapSceneFixture {};

// A vortex (55) through a cycle: its trap door opens in the warning, both
// vortices spin and animate while it is armed (the small one with its looping
// sound), and vanish with the sound stopped while it rests.
TEST_F(VortexVisualTest, BothVorticesSpinWhileArmedAndVanishWithTheirSoundWhileResting) {
    MapBuilder b = room();
    b.trap(trapAt<Zarn::RadialTrapElement>(55, 1, Point(3, 3), 1.0f, 0.6f));
    enableAtStart(b, {1});
    load(b);

    ASSERT_EQ(childrenOf<VortexTrapCocos2D>().size(), 1u);
    VortexTrapCocos2D* vortex = childrenOf<VortexTrapCocos2D>().front();
    VortexTrap2DImpl* adapter = vortex->getVortexAdapter();
    auto* small = static_cast<CocosNode1Mediator*>(adapter->smallVortex())->getNode();
    auto* large = static_cast<CocosNode1Mediator*>(adapter->largeVortex())->getNode();
    cocos2d::Sprite* base = vortex->getVisualMediator()->getBaseSprite();
    Zarn::Trap& trap = trapNumbered(1);

    EXPECT_EQ(frameOf(vortex), "Trap_Door_Base.png");
    EXPECT_EQ(vortex->getLocalZOrder(), roomZOrder->rowBase(3));
    for (cocos2d::Node* part : {small, large}) {
        EXPECT_EQ(part->getParent(), vortex);
        EXPECT_EQ(part->getPosition(), cocos2d::Vec2(80.0f, 80.0f));
        EXPECT_EQ(part->getLocalZOrder(), roomZOrder->highRowMiddle(3));
        EXPECT_FALSE(shows(part)) << "a vortex is invisible until the trap is armed";
    }

    // Warning: the trap door opens onto the hole (its last frame is blank).
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 1; }, 1.0f));
    run(0.06f);
    EXPECT_EQ(frameOf(base), "blank.png");
    EXPECT_EQ(audio.count("sound/trapdoor/open.mp3"), 1u);

    // Armed: both turn (small: a turn in 2 s, large: in 5 s) and cycle
    // their frames at 0.2 s; the small one's sound loops.
    const float smallStart = small->getRotation();
    const float largeStart = large->getRotation();
    std::set<std::string> smallFrames;
    for (int i = 0; i < 20; ++i) {
        tick();
        smallFrames.insert(frameOf(small));
    }
    EXPECT_EQ(drawn(small)->opacity, 150);
    EXPECT_EQ(drawn(large)->opacity, 150);
    EXPECT_EQ(smallFrames,
              (std::set<std::string>{"Vortex_Small_1.png", "Vortex_Small_2.png", "Vortex_Small_3.png"}));
    EXPECT_TRUE(frameOf(large).rfind("Vortex_Large_", 0) == 0) << frameOf(large);
    EXPECT_NEAR(small->getRotation() - smallStart, 360.0f * 0.6f / 2.0f, 10.0f);
    EXPECT_NEAR(large->getRotation() - largeStart, 360.0f * 0.6f / 5.0f, 5.0f);
    const auto loops = audio.playsOf("sound/vortex/vortex2.mp3");
    ASSERT_EQ(loops.size(), 1u) << "only the small vortex has a sound";
    EXPECT_TRUE(loops[0].loop);
    EXPECT_EQ(audio.playing.count(loops[0].id), 1u);

    // Resting: both gone, the sound stopped by its id.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 2; }, 1.0f));
    tick();
    EXPECT_FALSE(shows(small));
    EXPECT_FALSE(shows(large));
    EXPECT_EQ(audio.playing.count(loops[0].id), 0u);
    EXPECT_EQ(std::count(audio.stops.begin(), audio.stops.end(), loops[0].id), 1);
    const float stoppedAt = small->getRotation();
    run(0.1f);
    EXPECT_EQ(small->getRotation(), stoppedAt) << "the turning stopped";

    // Warning again: still hidden; armed again: a fresh loop.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 0; }, 1.0f));
    tick();
    EXPECT_FALSE(shows(small));
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 1; }, 1.0f));
    tick();
    EXPECT_TRUE(shows(small));
    EXPECT_EQ(audio.count("sound/vortex/vortex2.mp3"), 2u);
}

// Removing the vortex while it spins stops its sound.
TEST_F(VortexVisualTest, AVortexRemovedWhileArmedStopsItsSound) {
    MapBuilder b = room();
    b.trap(trapAt<Zarn::RadialTrapElement>(55, 1, Point(3, 3), 5.0f, 0.2f));
    enableAtStart(b, {1});
    load(b);
    Zarn::Trap& trap = trapNumbered(1);
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 1; }, 1.0f));
    tick();
    const auto loops = audio.playsOf("sound/vortex/vortex2.mp3");
    ASSERT_EQ(loops.size(), 1u);
    ASSERT_EQ(audio.playing.count(loops[0].id), 1u);
    world->removeAllChildren();
    // The positional engine lets go of the sprite in its next update.
    tick();
    EXPECT_EQ(audio.playing.count(loops[0].id), 0u);
}

}  // namespace
