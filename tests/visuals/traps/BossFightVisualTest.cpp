#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "engine/Scene.h"
#include "map/records/BossElement.h"
#include "map/records/GroupedTrapElement.h"
#include "support/TrapSceneFixture.h"
#include "visuals/traps/BossArm.h"
#include "visuals/traps/BossVisual.h"
#include "visuals/traps/CannonBeam.h"
#include "world/traps/Boss.h"
#include "world/traps/SpawningTrap.h"

namespace {

using cocos2d::Vec2;
using GeometryLib::FPoint;
using GeometryLib::Point;
using zarn_test::MapBuilder;
using zarn_test::trapAt;

template <class R>
void coverBlock(R& r, i16 x0, i16 y0, i16 x1, i16 y1) {
    for (i16 x = x0; x <= x1; ++x)
        for (i16 y = y0; y <= y1; ++y) r.coveredCells.insert(Point(x, y));
}

// The boss's arena, cells (0, 0) to (9, 9) of 64 units, as a map: the boss
// (20) on (3, 8) over the whole arena, its bomb dropper (10) and small
// spawner (11) on x 2..4, y 2..3, its large spawner (12) on x 5..7, y 5..7,
// a cannon (30) on (8, 9) in its cannon group (13), and its arms, 132 (14)
// standing on (4, 2) and 136 (15) on (9, 2), reaching over the small
// spawner's cells. The spawners draw from counting seeds.
class BossFightVisualTest : public zarn_test::TrapSceneFixture {
protected:
    void SetUp() override {
        TrapSceneFixture::SetUp();
        MapBuilder b = room();
        Zarn::BossElement boss;
        boss.elementId = 133;
        boss.trapNumber = 20;
        boss.position = Point(3, 8);
        coverBlock(boss, 0, 0, 9, 9);
        boss.bossCellA = Point(0, 9);
        boss.bossCellB = Point(1, 9);
        boss.phaseCount = 4;
        boss.startHealth = 3;
        boss.idleTime = 1.0f;
        boss.bombTime = 2.0f;
        boss.spawnerTime = 2.5f;
        boss.cannonTime = 1.0f;
        boss.largeSpawnerTime = 1.0f;
        boss.armTime = 6.0f;
        boss.bombTrapNumber = 10;
        boss.smallSpawnerNumber = 11;
        boss.largeSpawnerNumber = 12;
        boss.cannonGroupNumber = 13;
        boss.arm0Number = 14;
        boss.arm1Number = 15;

        auto bomb = trapAt(129, 10, Point(2, 2), 0.25f, 0.25f);
        bomb.startDelay = 0.5f;
        coverBlock(bomb, 2, 2, 4, 3);
        auto small = trapAt<Zarn::TrapSpawningTrapElement>(130, 11, Point(2, 2), 6.0f, 0.5f);
        coverBlock(small, 2, 2, 4, 3);
        small.startDelay = 0.5f;
        small.spawnInterval = 1;
        small.spawnDelayed = 1;
        small.minCount = 6;
        small.maxCount = 6;
        auto large = trapAt<Zarn::TrapSpawningTrapElement>(130, 12, Point(5, 5), 0.5f, 0.25f);
        coverBlock(large, 5, 5, 7, 7);
        large.startDelay = 0.25f;
        large.spawnRadial = 1;
        large.minCount = 4;
        large.maxCount = 4;
        auto cannon = trapAt<Zarn::LineIntervalTrapElement>(131, 30, Point(8, 9), 0.5f, 0.5f);
        cannon.length = 2;
        cannon.linkNumber = 13;
        Zarn::GroupedTrapElement cannons;
        cannons.elementId = 52;
        cannons.trapNumber = 13;
        cannons.memberNumbers = {30};
        b.trap(bomb).trap(small).trap(large).trap(cannon);
        const Point armAt[2] = {Point(4, 2), Point(9, 2)};
        for (int i = 0; i < 2; ++i) {
            auto arm = trapAt<Zarn::DelayedTrapElement>(i == 0 ? 132 : 136, 14 + i, armAt[i], 0.5f, 1.0f);
            arm.startDelay = 0.25f;
            arm.warnTime = 0.5f;
            coverBlock(arm, 2, 2, 4, 3);
            coverBlock(arm, armAt[i].x, 2, armAt[i].x, 4);
            b.trap(arm);
        }
        b.trap(boss).trapGroup(cannons);
        enableAtStart(b, {20});
        load(b);

        boss_ = &static_cast<Zarn::Boss&>(trapNumbered(20));
        small_ = &static_cast<Zarn::TrapSpawningTrap&>(trapNumbered(11));
        large_ = &static_cast<Zarn::TrapSpawningTrap&>(trapNumbered(12));
        for (Zarn::TrapSpawningTrap* spawner : {small_, large_}) {
            auto next = std::make_shared<u32>(0);
            spawner->seedSource = [next] { return ++*next; };
        }
        visual = childrenOf<BossCocos2D>().front();
        unit = &game.units.getUnit(0);
    }

    // Where the unit goes: it sets off an armed spawner, then stands on a
    // spawned bombable trap (while the boss bombs) or delayed trap (while its
    // arms fight); else it waits in the arena on (6, 9).
    Point policy() const {
        if (small_->isEnabled() && small_->armed) return Point(3, 3);
        if (boss_->phase == 1 && !small_->bombableByCell.empty())
            return small_->bombableByCell.begin()->first;
        if (boss_->phase == 4 && !small_->delayedByCell.empty()) return small_->delayedByCell.begin()->first;
        if (large_->isEnabled() && large_->armed) return Point(6, 6);
        return Point(6, 9);
    }
    void place() {
        const Point at = policy();
        unit->body().position = FPoint(at.x * 64.0f + 32.0f, at.y * 64.0f + 32.0f);
        unit->body().velocity = FPoint(0.0f, 0.0f);
    }
    bool drawnFrame(const cocos2d::Node* node, const char* name) const { return frameOf(node) == name; }

    Zarn::Boss* boss_ = nullptr;
    Zarn::TrapSpawningTrap* small_ = nullptr;
    Zarn::TrapSpawningTrap* large_ = nullptr;
    BossCocos2D* visual = nullptr;
    Zarn::SteerableUnit* unit = nullptr;
};

// The whole fight through every visible state to the boss's defeat, shown by
// the boss's node, its arms and its cannon: every state leaves its mark in the
// draw list, the health bar steps down with each hit, and once the boss is
// gone nothing of it stays drawn.
TEST_F(BossFightVisualTest, TheBossFightsThroughEveryPhaseToItsDefeat) {
    BossEye* left = visual->getLeftEye();
    BossEye* right = visual->getRightEye();
    BossEyeBrow* brow = visual->getBrow();
    EXPECT_EQ(visual->getHealthBar(), nullptr) << "no bar before the fight";
    EXPECT_FALSE(shows(left->getBulb()));
    EXPECT_FALSE(shows(brow->getBrow()));
    EXPECT_EQ(left->getPosition(), Vec2(80.0f, 0.0f));
    EXPECT_EQ(right->getPosition(), Vec2(560.0f, 0.0f));
    std::vector<FollowHitTrapCocos2D*> arms = childrenOf<FollowHitTrapCocos2D>();
    ASSERT_EQ(arms.size(), 2u);
    EXPECT_FALSE(arms[0]->getArm()->isFlippedX()) << "132 is the left arm";
    EXPECT_TRUE(arms[1]->getArm()->isFlippedX()) << "136 is the right arm, mirrored";

    std::set<u8> states;
    std::vector<std::size_t> healthCells;
    bool raised = false, tracked = false, browIn = false, loweredForCannon = false, beamFired = false;
    bool armsRose = false, armFollowed = false, armRetreated = false, shookDown = false, shookAcross = false;
    tick();
    ASSERT_TRUE(boss_->isEnabled()) << "the start event enables the boss";
    int ticks = 0;
    Vec2 armStart = arms[0]->getArm()->getPosition();
    while (boss_->isEnabled() && ticks < 3000) {
        place();
        tick();
        ++ticks;
        const u8 now = boss_->state.state;
        states.insert(now);
        if (BossHealth* bar = visual->getHealthBar()) {
            if (healthCells.empty() || healthCells.back() != bar->cellCount())
                healthCells.push_back(bar->cellCount());
        }
        raised = raised || (left->getPositionY() == 160.0f && right->getPositionY() == 160.0f &&
                            shows(left->getBulb()));
        browIn = browIn || (shows(brow->getBrow()) && brow->getBrow()->getPosition() == brow->getBrowRest());
        tracked = tracked || (left->tracking && left->getShutter()->getPosition().length() > 39.0f);
        loweredForCannon = loweredForCannon || (now == 7 && left->getPositionY() == 0.0f);
        beamFired = beamFired || countVisible("Laser_Middle_000") > 0;
        FollowHitTrapCocos2D* arm = arms[0];
        armsRose = armsRose || drawnFrame(arm->getArm(), "Arm_Idle_5.png");
        armFollowed = armFollowed ||
                      (arm->getArm()->tracking && arm->getArm()->getPosition().distance(armStart) > 20.0f);
        armRetreated = armRetreated || (seen.count("Arm_Slam_9.png") &&
                                        arm->getArm()->getPosition3D() == arm->getArm()->getHome() &&
                                        drawnFrame(arm->getArm(), "Arm_Spawn_1.png"));
        shookDown = shookDown || scene->getPositionY() != 0.0f;
        shookAcross = shookAcross || scene->getPositionX() != 0.0f;
    }
    ASSERT_FALSE(boss_->isEnabled()) << "the boss is beaten";
    EXPECT_EQ(boss_->state.health, 0);

    // Every visible state the world shows came up, and left its mark.
    EXPECT_EQ(states, (std::set<u8>{0, 1, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(raised) << "the eyes rise out of the floor";
    EXPECT_TRUE(browIn) << "the clamps bring the brow in";
    EXPECT_GT(seen.count("clamp_arm.png"), 0u);
    EXPECT_TRUE(tracked) << "the pupils follow the player";
    EXPECT_GT(seen.count("boss_brow_angy.png"), 0u) << "4 and 5, 8: the angry shake";
    EXPECT_GT(seen.count("Eye_Cannon_Shutter_4.png"), 0u) << "the shutters open and close";
    EXPECT_GT(seen.count("boss_brow_damaged.png"), 0u) << "6: a bomb hit";
    EXPECT_GT(seen.count("Explosion_Eye_4.png"), 0u) << "6: the eyes explode";
    EXPECT_TRUE(loweredForCannon) << "7: the eyes go down while the cannon fires";
    EXPECT_TRUE(beamFired);
    EXPECT_GT(seen.count("Eye_Angry_2.png"), 0u) << "9: the angry eyes";
    EXPECT_GT(seen.count("Eye_Crack_1.png"), 0u) << "10: an arm hit cracks the eyes";
    EXPECT_GT(seen.count("Vortex_Small_1.png"), 0u) << "8: the large spawner's vortices";
    EXPECT_TRUE(armsRose);
    EXPECT_TRUE(armFollowed) << "the arm glides after the player";
    EXPECT_GT(seen.count("Arm_Slam_9.png"), 0u) << "the arms strike";
    EXPECT_TRUE(armRetreated) << "and sink back home";
    EXPECT_TRUE(shookDown) << "a slam shakes the screen";
    EXPECT_TRUE(shookAcross) << "a hit shakes it across";
    EXPECT_EQ(healthCells, (std::vector<std::size_t>{1, 2, 3, 2, 1, 0}));
    EXPECT_EQ(audio.count("sound/music/boss4.mp3"), 1u);

    // Defeated: the brow leaves, the eyes sink; the music stops.
    run(2.5f);
    EXPECT_FALSE(shows(brow->getBrow()));
    EXPECT_FALSE(shows(brow->getLeftClamp()));
    EXPECT_EQ(left->getPosition(), Vec2(80.0f, 0.0f));
    EXPECT_EQ(right->getPosition(), Vec2(560.0f, 0.0f));
    const auto music = audio.playsOf("sound/music/boss4.mp3");
    EXPECT_EQ(audio.playing.count(music.front().id), 0u);
    EXPECT_EQ(visual->getHealthBar()->cellCount(), 0u);

    // Gone: nothing of the boss is drawn any more, its bar included.
    world->removeAllChildren();
    run(0.5f);
    std::size_t bossParts = 0;
    for (const cocos2d::DrawCommand& c : list().commands) {
        const std::string f = c.frameName.str();
        for (const char* prefix :
             {"Eye_", "inner eye", "boss_brow", "clamp_", "Arm_", "p3_floor", "Explosion_Eye"})
            bossParts += f.rfind(prefix, 0) == 0;
        bossParts += c.kind == cocos2d::DrawKind::Shapes;
    }
    EXPECT_EQ(bossParts, 0u);
    EXPECT_EQ(scene->getChildrenCount(), 1u) << "only the world node is left on the scene";
}

class BossBrowVisualTest : public zarn_test::TrapSceneFixture {};

// The brow's moves are relative and add up while they overlap: a lift or an
// angry shake that starts while the clamps still bring the brow in (a boss
// whose first wait is short) leaves it where it belongs all the same.
TEST_F(BossBrowVisualTest, OverlappingMovesLeaveTheBrowAtItsRest) {
    struct Row {
        const char* what;
        float after;
        std::function<cocos2d::FiniteTimeAction*(BossEyeBrow*)> make;
    };
    const Row rows[] = {
        {"a lift", 0.2f, [](BossEyeBrow* b) { return b->lift(); }},
        {"an angry shake", 0.5f, [](BossEyeBrow* b) { return b->angryShake(0.5f); }},
        {"a hit", 0.9f, [](BossEyeBrow* b) { return b->damaged(); }},
    };
    for (const Row& r : rows) {
        BossEyeBrow* brow = BossEyeBrow::create();
        ASSERT_NE(brow, nullptr);
        world->addChild(brow);
        brow->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(0.6f), brow->enter(1.0f)));
        steps(static_cast<int>(r.after / kTick), kTick);
        brow->runAction(r.make(brow));
        steps(100, kTick);
        EXPECT_LT(brow->getBrow()->getPosition().distance(brow->getBrowRest()), 0.5f) << r.what;
        EXPECT_TRUE(shows(brow->getBrow())) << r.what;
        world->removeChild(brow);
    }
}

}  // namespace
