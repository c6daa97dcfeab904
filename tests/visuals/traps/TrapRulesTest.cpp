#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "visuals/traps/BombVisual.h"
#include "visuals/traps/BossArm.h"
#include "visuals/traps/BossBrow.h"
#include "visuals/traps/BossEye.h"
#include "visuals/traps/BossVisual.h"
#include "visuals/traps/CannonBeam.h"
#include "visuals/traps/FourPanelTrapDoor.h"
#include "visuals/traps/IntervalTrapVisualMediator.h"
#include "visuals/traps/RatTrapVisual.h"
#include "visuals/traps/RedGreenSign.h"
#include "visuals/traps/TrapAnimations.h"
#include "visuals/traps/VisualActions.h"

namespace {

using cocos2d::Vec2;
const float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(TrapTimings, TrapDoorsSwingWithinHalfTheRestTime) {
    struct Row {
        float rest, active, swing, wait;
        bool closeSound;
    };
    const Row rows[] = {
        {0.0f, 1.0f, 0.1f, 0.0f, true},    {0.2f, 0.5f, 0.05f, 0.05f, false}, {2.0f, 0.51f, 0.1f, 0.9f, true},
        {-1.0f, -1.0f, 0.1f, 0.0f, false}, {kNaN, kNaN, 0.1f, 0.0f, false},
    };
    for (const Row& r : rows) {
        const TrapDoorTimings t = trapDoorTimings(r.rest, r.active);
        EXPECT_FLOAT_EQ(t.swing, r.swing) << r.rest;
        EXPECT_FLOAT_EQ(t.wait, r.wait) << r.rest;
        EXPECT_EQ(t.closeSoundInState2, r.closeSound) << r.active;
    }
}

TEST(TrapTimings, SpikesRiseHoldAndSinkWithinTheArmedTime) {
    struct Row {
        float active, move, hold;
        bool fallSound;
    };
    const Row rows[] = {{0.4f, 0.1f, 0.2f, false},   {2.0f, 0.3f, 1.4f, true},  {0.5f, 0.1f, 0.3f, true},
                        {0.49f, 0.1f, 0.29f, false}, {0.1f, 0.1f, 0.0f, false}, {-3.0f, 0.1f, 0.0f, false}};
    for (const Row& r : rows) {
        const SpikeTimings t = spikeTimings(r.active);
        EXPECT_FLOAT_EQ(t.move, r.move) << r.active;
        EXPECT_NEAR(t.hold, r.hold, 1e-6f) << r.active;
        EXPECT_EQ(t.fallSound, r.fallSound) << r.active;
    }
    EXPECT_FLOAT_EQ(slapTimings(1.0f).swing, 0.3f);
    EXPECT_FLOAT_EQ(slapTimings(1.0f).hold, 0.4f);
    EXPECT_FLOAT_EQ(signSwitchTimings(2.0f).switchTime, 0.125f);
    EXPECT_FLOAT_EQ(signSwitchTimings(2.0f).wait, 0.875f);
}

TEST(TrapTimings, DurationsFromMapDataAreNeverNegativeAndCountsNeverWrap) {
    EXPECT_EQ(clampDuration(-0.5f), 0.0f);
    EXPECT_EQ(clampDuration(kNaN), 0.0f);
    EXPECT_EQ(clampDuration(1.5f), 1.5f);
    EXPECT_EQ(wholeCount(-4.0f), 0u);
    EXPECT_EQ(wholeCount(kNaN), 0u);
    EXPECT_EQ(wholeCount(3.99f), 3u);
    EXPECT_EQ(wholeCount(1e30f), kMaxCount);
    EXPECT_EQ(numberedFrames("Arm_Spawn_", 3, 1),
              (std::vector<std::string>{"Arm_Spawn_3.png", "Arm_Spawn_2.png", "Arm_Spawn_1.png"}));
    EXPECT_EQ(numberedFrames("Laser_Middle_", 1, 1, ".png", 4),
              std::vector<std::string>{"Laser_Middle_0001.png"});
}

TEST(StateTables, IntervalTrapsPlayTheActionOfTheirNewState) {
    using R = IntervalReaction;
    struct Row {
        u8 from, to;
        bool state0Opens;
        R reaction;
    };
    const Row rows[] = {
        {1, 0, true, R::state0},         {3, 1, true, R::state0}, {3, 1, false, R::state1},
        {0, 1, true, R::state1},         {3, 2, true, R::none},   {1, 2, true, R::state2},
        {1, 3, true, R::stopThenState3}, {0, 4, true, R::none},   {2, 9, false, R::none},
    };
    for (const Row& r : rows)
        EXPECT_EQ(intervalReaction(r.from, r.to, r.state0Opens), r.reaction)
            << int(r.from) << "->" << int(r.to);
}

TEST(StateTables, FourPanelDoorsByVariant) {
    using D = DoorReaction;
    struct Row {
        u8 from, to;
        D interval, scheduled;
    };
    const Row rows[] = {
        {3, 0, D::open, D::open},       {1, 0, D::none, D::open},   {2, 1, D::open, D::none},
        {0, 1, D::none, D::none},       {1, 2, D::close, D::close}, {0, 3, D::stopThenClose, D::close},
        {1, 4, D::explode, D::explode}, {0, 5, D::none, D::none},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(fourPanelReaction(false, r.from, r.to), r.interval) << int(r.from) << "->" << int(r.to);
        EXPECT_EQ(fourPanelReaction(true, r.from, r.to), r.scheduled) << int(r.from) << "->" << int(r.to);
    }
    EXPECT_EQ(panelOpenSteps(6), panelOpenSteps(3));
    EXPECT_EQ(panelOpenSteps(5), panelOpenSteps(4));
    EXPECT_FALSE(panelOpenSteps(7).has_value()) << "every panel to the centre";
    EXPECT_EQ((*panelOpenSteps(4))[1], (std::array<int, 2>{1, 1}));
    EXPECT_FLOAT_EQ(panelTimings(0.1f).move, 0.1f);
    EXPECT_FLOAT_EQ(panelTimings(0.1f).wait, 0.0f);
    EXPECT_FLOAT_EQ(panelTimings(1.0f).move, 0.15f);
    EXPECT_FLOAT_EQ(panelTimings(1.0f).wait, 0.85f);
}

TEST(StateTables, TheSignSwitchesLateInEachPhase) {
    struct Row {
        u8 from, to;
        bool act, switches, toGo;
        float wait, switchTime, barTime, barPercent;
    };
    // Start delay 0.5, active 1.0, rest 2.0.
    const Row rows[] = {
        {3, 0, true, true, false, 1.4f, 0.1f, 1.5f, 0.0f},
        {2, 0, false, false, false, 0, 0, 0, 0},
        {0, 1, true, true, true, 0.9f, 0.1f, 0.95f, 100.0f},
        {1, 2, true, true, false, 1.9f, 0.1f, 2.0f, 0.0f},
        {1, 3, true, false, false, 0, 0, 0, 0},
        {1, 4, false, false, false, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        const SignStep s = signStep(r.from, r.to, 0.5f, 1.0f, 2.0f);
        EXPECT_EQ(s.act, r.act) << int(r.to);
        EXPECT_EQ(s.switches, r.switches) << int(r.to);
        if (!s.switches) continue;
        EXPECT_EQ(s.toGo, r.toGo) << int(r.to);
        EXPECT_FLOAT_EQ(s.wait, r.wait) << int(r.to);
        EXPECT_FLOAT_EQ(s.switchTime, r.switchTime) << int(r.to);
        EXPECT_FLOAT_EQ(s.barTime, r.barTime) << int(r.to);
        EXPECT_FLOAT_EQ(s.barPercent, r.barPercent) << int(r.to);
    }
    EXPECT_TRUE(signStep(1, 3, 0, 1, 2).stopFirst);
    EXPECT_TRUE(signStep(1, 3, 0, 1, 2).goFirst);
    // A 0.05 s active phase: no wait, no switch time, no bar time.
    const SignStep brief = signStep(0, 1, 0.0f, 0.05f, 1.0f);
    EXPECT_FLOAT_EQ(brief.wait, 0.0f);
    EXPECT_FLOAT_EQ(brief.switchTime, 0.0f);
    EXPECT_FLOAT_EQ(brief.barTime, 0.0f);
}

TEST(RatFlips, TimesComeFromTheRecordsOwnFieldsInOrder) {
    Zarn::RatTrapElement r;
    r.snapTime = 0.1f;
    r.activeTime = 0.3f;
    r.holdTime = 0.2f;
    r.releaseTime = 0.5f;
    RatFlipTimings t = ratFlipTimings(r);
    EXPECT_FLOAT_EQ(t.slam, 0.4f);
    EXPECT_FLOAT_EQ(t.back, 0.2f);
    EXPECT_FLOAT_EQ(t.hold, 0.5f);
    EXPECT_TRUE(t.landingSound);
    r.releaseTime = 0.49f;
    EXPECT_FALSE(ratFlipTimings(r).landingSound);
    EXPECT_EQ(leftFlipFrames().slam.size(), 6u);
    EXPECT_EQ(rightFlipFrames().back,
              (std::vector<std::string>{"Slap_Trap_Right_6.png", "Slap_Trap_Right_7.png",
                                        "Slap_Trap_Right_0.png"}));
}

TEST(CannonShots, CountsAreSinglePrecisionAndWhole) {
    struct Row {
        float t;
        u32 beam, pulses;
        float step;
        u32 cycles, splash;
    };
    const Row rows[] = {
        {1.0f, 6, 10, 0.03125f, 3, 8},  {1.8f, 10, 17, 0.028125f, 4, 14}, {0.4f, 2, 4, 0.05f, 1, 3},
        {0.41f, 2, 4, 0.025625f, 2, 3}, {0.09f, 0, 0, 0.01125f, 1, 0},    {-1.0f, 0, 0, 0.0f, 1, 0},
    };
    for (const Row& r : rows) {
        const ShotCounts c = shotCounts(r.t);
        EXPECT_EQ(c.beamLoops, r.beam) << r.t;
        EXPECT_EQ(c.pulses, r.pulses) << r.t;
        EXPECT_FLOAT_EQ(c.colourStep, r.step) << r.t;
        EXPECT_EQ(c.colourCycles, r.cycles) << r.t;
        EXPECT_EQ(c.splashLoops, r.splash) << r.t;
    }
    for (u32 length : {0u, 1u, 2u}) EXPECT_FALSE(beamLayout(length).end) << length;
    EXPECT_EQ(beamLayout(3).middles, 1u);
    EXPECT_TRUE(beamLayout(3).end);
    EXPECT_EQ(beamLayout(7).middles, 5u);
}

TEST(BossRules, HealthStepsPupilArmAndBrowNumbers) {
    EXPECT_EQ(healthStep(0, 5).add, true);
    EXPECT_EQ(healthStep(0, 5).remove, 0u);
    EXPECT_EQ(healthStep(3, 0).remove, 3u);
    EXPECT_EQ(healthStep(2, 2).add, false);
    EXPECT_EQ(healthStep(2, 2).remove, 0u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(healthCellPosition(i), Vec2(0.0f, -40.0f * i));

    EXPECT_FLOAT_EQ(browLegTime(0.3f), 0.6f);
    EXPECT_FLOAT_EQ(browLegTime(1.0f), 0.6f);
    EXPECT_FLOAT_EQ(browLegTime(2.1f), 1.0f);
    EXPECT_EQ(browShakeCount(0.5f), 6u);
    EXPECT_EQ(browShakeCount(1.0f), 11u);
    EXPECT_EQ(jitterCount(0.5f), 6u);
    EXPECT_EQ(jitterCount(1.0f), 11u);

    const PupilPose near = pupilPose(Vec2(100, 100), Vec2(130, 100));
    EXPECT_EQ(near.position, Vec2(0, 0));
    EXPECT_EQ(near.rotation, 0.0f);
    const PupilPose far = pupilPose(Vec2(100, 100), Vec2(100, 200));
    EXPECT_NEAR(far.position.x, 0.0f, 1e-4f);
    EXPECT_NEAR(far.position.y, 40.0f, 1e-4f);
    EXPECT_NEAR(far.rotation, 90.0f, 1e-3f);
    EXPECT_NEAR(pupilPose(Vec2(0, 0), Vec2(40, 0)).position.x, 40.0f, 1e-4f) << "40 and more: at the rim";

    EXPECT_EQ(armSlamHoldFrames(0.0f), 1u);
    EXPECT_EQ(armSlamHoldFrames(0.5f), 13u);
    EXPECT_EQ(armSlamHoldFrames(-0.2f), 1u);
    EXPECT_EQ(armStep(Vec2(0, 0), Vec2(4, 0), 180.0f, 0.1f, 0.4f), Vec2(0, 0)) << "within 5 it stays";
    EXPECT_NEAR(armStep(Vec2(0, 0), Vec2(100, 0), 180.0f, 0.1f, 0.4f).x, 45.0f, 1e-3f);

    EXPECT_EQ(bombFrameCycles(1.0f), 4u);
    EXPECT_EQ(bombFrameCycles(-1.0f), 0u);
    EXPECT_FLOAT_EQ(bombExplosionFrame(1.2f), 0.13f);
    EXPECT_EQ(bossMusicFile(1), "sound/music/boss1.mp3");
    EXPECT_EQ(bossMusicFile(4), "sound/music/boss4.mp3");
    EXPECT_EQ(bossMusicFile(0), "");
    EXPECT_EQ(bossMusicFile(5), "");
}

TEST(TrapFirstFrames, NineTypesHaveAFirstFrame) {
    const auto& table = trapFirstFrameNames();
    EXPECT_EQ(table.size(), 9u);
    EXPECT_EQ(table.at(143), "CTrap_Door_1.png");
    EXPECT_EQ(table.at(128), "Bomb_Marker.png");
    EXPECT_EQ(table.count(47), 0u);
    EXPECT_EQ(table.count(48), 0u);
}

}  // namespace
