#include <gtest/gtest.h>

#include "support/TrapSceneFixture.h"
#include "visuals/traps/BombVisual.h"
#include "visuals/traps/TrapVisualTemplates.h"
#include "world/traps/SpawningTrap.h"

namespace {

using cocos2d::Vec2;
using GeometryLib::FPoint;
using GeometryLib::Point;
using zarn_test::MapBuilder;

using FollowSpawner = GenericSpawningTrapCocos2D<Zarn::FollowSpawningTrap, Zarn::FollowSpawningTrap2D>;

// A bomb dropper (129) over (5, 5) and (6, 5): a unit that steps on (6, 5)
// has a bomb (128) dropped there after 1.0 s; the bomb falls 1.0 s, explodes
// 0.6 s, rests 0.3 s and is removed.
class BombVisualTest : public zarn_test::TrapSceneFixture {
protected:
    void SetUp() override {
        TrapSceneFixture::SetUp();
        MapBuilder b = room();
        auto dropper = zarn_test::trapAt(129, 1, Point(5, 5), 0.6f, 0.3f);
        dropper.coveredCells.insert(Point(6, 5));
        dropper.startDelay = 1.0f;
        b.trap(dropper);
        b.trap(zarn_test::trapAt(134, 2, Point(6, 5), 100.0f, 0.0f));
        enableAtStart(b, {1, 2});
        load(b);
        dropper_ = &static_cast<Zarn::FollowSpawningTrap&>(trapNumbered(1));
    }
    // Once the start event has run: a unit steps on the target cell and
    // leaves.
    void setOff() {
        tick();
        Zarn::SteerableUnit& unit = game.units.getUnit(0);
        unit.body().position = FPoint(6 * 64 + 32, 5 * 64 + 32);
        tick();
        unit.body().position = FPoint(96.0f, 96.0f);
    }
    CocosBomb2D* bombVisual() {
        const auto bombs = childrenOf<CocosBomb2D>();
        return bombs.empty() ? nullptr : bombs.front();
    }

    Zarn::FollowSpawningTrap* dropper_ = nullptr;
};

TEST_F(BombVisualTest, ABombFallsOntoItsPulsingMarkerExplodesAndIsRemoved) {
    ASSERT_EQ(childrenOf<FollowSpawner>().size(), 1u);
    FollowSpawner* spawner = childrenOf<FollowSpawner>().front();
    EXPECT_FLOAT_EQ(spawner->getScale(), 1.0f) << "the spawning node keeps scale 1";
    EXPECT_EQ(bombVisual(), nullptr);
    // The exploding door under the target is not in play here.
    trapNumbered(2).disable();

    setOff();
    ASSERT_TRUE(runUntil([&] { return bombVisual() != nullptr; }, 1.5f));
    CocosBomb2D* visual = bombVisual();
    CocosBomb* bomb = visual->getBomb();
    EXPECT_EQ(visual->getPosition(), Vec2(6 * 64 + 32, 5 * 64 + 32));
    EXPECT_FLOAT_EQ(visual->getScale(), 0.4f);
    EXPECT_EQ(visual->getLocalZOrder(), roomZOrder->highRowTop(5));
    EXPECT_EQ(spawner->getAdapter()->childCount(), 1u);

    // The fall: the marker pulses and then hides, the bomb comes down from
    // 640 above cycling its frames, with the fall sound.
    tick();
    tick();
    EXPECT_TRUE(shows(bomb->getMarker()));
    EXPECT_EQ(frameOf(bomb->getMarker()), "Bomb_Marker.png");
    EXPECT_GT(bomb->getBomb()->getPositionY(), 600.0f);
    std::set<std::string> frames;
    std::set<float> markerScales;
    float lastY = bomb->getBomb()->getPositionY();
    bool fallsDown = true;
    for (int i = 0; i < 28; ++i) {
        tick();
        frames.insert(frameOf(bomb->getBomb()));
        markerScales.insert(bomb->getMarker()->getScale());
        fallsDown = fallsDown && bomb->getBomb()->getPositionY() <= lastY;
        lastY = bomb->getBomb()->getPositionY();
    }
    EXPECT_TRUE(fallsDown);
    EXPECT_EQ(frames, (std::set<std::string>{"Bomb_1.png", "Bomb_2.png", "Bomb_3.png"}));
    EXPECT_LT(*markerScales.begin(), 0.9f);
    EXPECT_GT(*markerScales.rbegin(), 1.1f);
    EXPECT_FALSE(shows(bomb->getMarker())) << "the marker has hidden after 0.8 of the fall";
    EXPECT_EQ(audio.count("sound/boss/bomb/fall.mp3"), 1u);

    // The explosion: at (80, 180), its frames over 1.3 x 0.6 s, ending blank.
    Zarn::Trap* live = dropper_->spawned.begin()->second.trap;
    ASSERT_TRUE(runUntil([&] { return valueOf(*live) == 1; }, 0.5f));
    run(0.06f);
    EXPECT_EQ(bomb->getBomb()->getPosition(), Vec2(80.0f, 180.0f));
    EXPECT_EQ(frameOf(bomb->getBomb()).rfind("Explosion_Bomb_", 0), 0u) << frameOf(bomb->getBomb());
    EXPECT_EQ(audio.count("sound/boss/bomb/explosion.mp3"), 1u);
    run(0.8f);
    EXPECT_EQ(frameOf(bomb->getBomb()), "blank.png");

    // Removed with its trap.
    ASSERT_TRUE(runUntil([&] { return dropper_->spawned.empty(); }, 1.0f));
    tick();
    EXPECT_EQ(bombVisual(), nullptr);
    EXPECT_EQ(spawner->getAdapter()->childCount(), 0u);
}

// A bomb that lands on an armed exploding door (the boss hands the dropper
// its targets) squashes away instead of exploding; the door bursts.
TEST_F(BombVisualTest, ABombInterceptedByAnArmedDoorSquashesAwayAndTheDoorBursts) {
    Zarn::BombableTrapTable targets;
    targets[Point(6, 5)] = &static_cast<Zarn::BombableIntervalTrap&>(trapNumbered(2));
    dropper_->bombTargets = &targets;

    setOff();
    ASSERT_TRUE(runUntil([&] { return bombVisual() != nullptr; }, 1.5f));
    CocosBomb* bomb = bombVisual()->getBomb();
    Zarn::Trap* live = dropper_->spawned.begin()->second.trap;
    ASSERT_TRUE(runUntil([&] { return valueOf(*live) == 5; }, 1.5f));
    run(0.5f);
    EXPECT_EQ(bomb->squashOnLanding, 1);
    EXPECT_FLOAT_EQ(bomb->getBomb()->getScale(), 0.0f) << "squashed";
    run(0.8f);
    EXPECT_EQ(audio.count("sound/boss/bomb/explosion.mp3"), 1u) << "the door's burst, not the bomb's";
    EXPECT_GT(seen.count("Explosion_Trap_10.png"), 0u);
    for (const std::string& name : seen)
        EXPECT_EQ(name.rfind("Explosion_Bomb_", 0), std::string::npos) << name;
}

}  // namespace
