#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "visuals/elements/ArmSolver.h"
#include "visuals/elements/BigWindow.h"
#include "visuals/elements/CatAndRoomba.h"
#include "visuals/elements/CheckpointVisual.h"
#include "visuals/elements/ConveyorMachine.h"
#include "visuals/elements/DeliveryDrone.h"
#include "visuals/elements/DynamicConveyor.h"
#include "visuals/elements/MapElementCocos2DFactory.h"
#include "visuals/elements/MusicalNoteVisual.h"
#include "visuals/elements/PartVisual.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Vec2;

TEST(MusicalNoteRules, PitchesNameAChromaticScaleOverTwoOctaves) {
    const std::map<u8, std::string> cases = {
        {0, "sound/musicalnote/c0.mp3"},  {1, "sound/musicalnote/cs0.mp3"}, {6, "sound/musicalnote/fs0.mp3"},
        {11, "sound/musicalnote/b0.mp3"}, {12, "sound/musicalnote/c1.mp3"}, {22, "sound/musicalnote/as1.mp3"},
        {23, "sound/musicalnote/b1.mp3"}, {24, "sound/musicalnote/c2.mp3"},
    };
    for (const auto& [pitch, file] : cases) EXPECT_EQ(musicalNoteSoundFile(pitch), file) << int(pitch);
    for (u8 pitch : {u8{25}, u8{255}}) {
        try {
            musicalNoteSoundFile(pitch);
            ADD_FAILURE() << int(pitch);
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), "no such audio file for musical note");
        }
    }
}

TEST(MusicalNoteRules, ColourTableAndReactions) {
    struct Look {
        u8 key;
        Color3B tile;
        Color3B accent;
    };
    const Look looks[] = {
        {2, Color3B(176, 120, 209), Color3B(99, 51, 175)},
        {3, Color3B(176, 120, 209), Color3B(255, 85, 153)},
        {8, Color3B(249, 218, 255), Color3B(255, 255, 255)},
        {6, Color3B(147, 0, 42), Color3B(28, 16, 43)},
        {4, Color3B(125, 82, 163), Color3B(205, 158, 239)},
    };
    for (const Look& l : looks) {
        const MusicalNoteColours& c = musicalNoteColours(l.key);
        EXPECT_EQ(c.outline(), Color3B(51, 21, 73));
        EXPECT_EQ(c.whiteTile(), l.tile);
        for (int i = 2; i < 13; ++i) EXPECT_EQ(c.colours[i], l.accent) << int(l.key) << " " << i;
    }
    for (const Color3B& colour : musicalNoteColours(5).colours) EXPECT_EQ(colour, Color3B::BLACK);

    using R = NoteReaction;
    const R expected[] = {R::idle,   R::lightUp, R::idle,     R::lit,  R::played,   R::played,
                          R::failed, R::none,    R::stepDone, R::none, R::songDone, R::none};
    for (u8 state = 0; state < 12; ++state) EXPECT_EQ(noteReaction(state), expected[state]) << int(state);
}

TEST(CheckpointRules, PalettesDifferOnlyInTheBackgroundAndVariantsStayInside) {
    const auto& palettes = checkpointPalettes();
    ASSERT_EQ(palettes.size(), 3u);
    EXPECT_EQ(palettes[0].background, cocos2d::Color4B(245, 240, 223, 255));
    EXPECT_EQ(palettes[1].background, cocos2d::Color4B(192, 197, 158, 255));
    EXPECT_EQ(palettes[2].background, cocos2d::Color4B(147, 205, 191, 255));
    for (const CheckpointPalette& p : palettes) {
        EXPECT_EQ(p.light, Color3B(255, 222, 23));
        EXPECT_EQ(p.outlineLit, Color3B::WHITE);
        EXPECT_EQ(p.triangleDark, Color3B(244, 177, 69));
    }
    EXPECT_EQ(checkpointPaletteIndex(1), 0u);
    EXPECT_EQ(checkpointPaletteIndex(3), 2u);
    EXPECT_EQ(checkpointPaletteIndex(4), 2u) << "type 442 asks past the palettes";
    EXPECT_EQ(checkpointPaletteIndex(0), 0u);
}

TEST(ConveyorRules, ScrollStepsWrapOncePast160) {
    struct Case {
        float offset, speed, dt, expected;
    };
    const Case cases[] = {
        {0.0f, 150.0f, 0.1f, 37.5f},       {150.0f, 150.0f, 0.1f, 27.5f}, {122.5f, 150.0f, 0.1f, 160.0f},
        {0.0f, 150.0f, 1.0f, 215.0f},      {10.0f, 0.0f, 0.1f, 10.0f},    {0.0f, -150.0f, 0.1f, -37.5f},
        {-150.0f, -150.0f, 1.0f, -525.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(conveyorScrollStep(c.offset, c.speed, c.dt), c.expected)
            << c.offset << " " << c.speed;
    float offset = 0.0f;
    for (int i = 0; i < 5; ++i) offset = conveyorScrollStep(offset, 150.0f, 0.1f);
    EXPECT_FLOAT_EQ(offset, 27.5f);

    // The machine's belts: 250 units a second, either way, repeating every 160.
    EXPECT_FLOAT_EQ(machineBeltScrollStep(150.0f, 100.0f, 0.1f, true), 15.0f);
    EXPECT_FLOAT_EQ(machineBeltScrollStep(-150.0f, 100.0f, 0.1f, false), -15.0f);
    EXPECT_FLOAT_EQ(machineBeltScrollStep(160.0f, 0.0f, 0.1f, true), 160.0f);
}

TEST(ArmRules, TwoBoneSolutionsReachTheirTargets) {
    const float l1 = 100.0f, l2 = 80.0f;
    // Rotation 0 points a segment along -x; the engine turns clockwise.
    auto tipOf = [&](const TwoBoneAngles& a) {
        const float u = -a.upper * 3.14159265f / 180.0f;
        const float f = -(a.upper + a.lower) * 3.14159265f / 180.0f;
        return Vec2(-l1 * std::cos(u) - l2 * std::cos(f), -l1 * std::sin(u) - l2 * std::sin(f));
    };
    for (const Vec2& target :
         {Vec2(120.0f, 40.0f), Vec2(-90.0f, 60.0f), Vec2(30.0f, -100.0f), Vec2(-150.0f, 0.0f)}) {
        const TwoBoneAngles a = solveTwoBoneArm(target, l1, l2);
        ASSERT_TRUE(a.solved);
        EXPECT_FALSE(a.outOfReach);
        const Vec2 tip = tipOf(a);
        EXPECT_NEAR(tip.x, target.x, 0.05f) << target.x << "," << target.y;
        EXPECT_NEAR(tip.y, target.y, 0.05f) << target.x << "," << target.y;
    }
    const TwoBoneAngles straight = solveTwoBoneArm(Vec2(180.0f, 0.0f), l1, l2);
    EXPECT_TRUE(straight.outOfReach) << "the full length counts as out of reach";
    EXPECT_FLOAT_EQ(straight.lower, 0.0f);
    EXPECT_FLOAT_EQ(straight.upper, 180.0f);
    EXPECT_FLOAT_EQ(solveTwoBoneArm(Vec2(0.0f, 500.0f), l1, l2).upper, 90.0f);
    EXPECT_FALSE(solveTwoBoneArm(Vec2(0.0f, 0.0f), l1, l2).solved) << "a target at the shoulder";
    EXPECT_FALSE(solveTwoBoneArm(Vec2(10.0f, 0.0f), l1, l2).solved) << "closer than the difference";
}

TEST(ArmRules, DroneShoulderSlidesTowardsFarTargetsWithinItsTrack) {
    const DroneArmPose right = solveDroneArm(Vec2(500.0f, 0.0f), 100.0f, 80.0f, 70.0f, 1.0f, 2.0f);
    EXPECT_FLOAT_EQ(right.shoulderX, 90.0f);
    EXPECT_FLOAT_EQ(right.forearmRotation, 0.0f);
    const DroneArmPose left = solveDroneArm(Vec2(-500.0f, 0.0f), 100.0f, 80.0f, 70.0f, 1.0f, 2.0f);
    EXPECT_FLOAT_EQ(left.shoulderX, 40.0f);
    const DroneArmPose up = solveDroneArm(Vec2(0.0f, 500.0f), 100.0f, 80.0f, 70.0f, 1.0f, 2.0f);
    EXPECT_NEAR(up.shoulderX, 70.0f, 0.01f) << "straight above: no horizontal shortfall";
    const DroneArmPose near = solveDroneArm(Vec2(5.0f, 185.0f), 100.0f, 80.0f, 80.0f, 1.0f, 2.0f);
    EXPECT_LE(near.shoulderX, 90.0f);
    const DroneArmPose within = solveDroneArm(Vec2(100.0f, 50.0f), 100.0f, 80.0f, 70.0f, 1.0f, 2.0f);
    EXPECT_FLOAT_EQ(within.shoulderX, 70.0f);
    const DroneArmPose none = solveDroneArm(Vec2(0.0f, 0.0f), 100.0f, 80.0f, 70.0f, 11.0f, 22.0f);
    EXPECT_FLOAT_EQ(none.upperRotation, 11.0f);
    EXPECT_FLOAT_EQ(none.forearmRotation, 22.0f);
}

TEST(MachineRules, ComponentKinds) {
    struct Case {
        u8 kind;
        MachineComponentKind::Type type;
        const char* frame;
        float rotation;
        bool reversed, flipped;
    };
    using T = MachineComponentKind::Type;
    const Case cases[] = {
        {0, T::belt, "conveyor_middle.png", 0.0f, false, false},
        {1, T::belt, "conveyor_middle.png", 0.0f, true, false},
        {2, T::belt, "conveyor_middle.png", -90.0f, false, false},
        {3, T::belt, "conveyor_middle.png", 90.0f, false, false},
        {5, T::belt, "conveyor_horizontal_end.png", 0.0f, false, true},
        {6, T::belt, "conveyor_horizontal_end.png", 0.0f, true, false},
        {7, T::belt, "conveyor_horizontal_end.png", 0.0f, true, true},
        {9, T::belt, "conveyor_vertical_end.png", 90.0f, false, false},
        {10, T::belt, "conveyor_vertical_end.png", -90.0f, true, false},
        {12, T::dispenser, "", 0.0f, false, false},
        {13, T::arm, "arm_tip_claw.png", 0.0f, false, false},
        {15, T::arm, "arm_tip_weld.png", 0.0f, false, false},
    };
    for (const Case& c : cases) {
        const MachineComponentKind k = machineComponentKind(c.kind);
        EXPECT_EQ(k.type, c.type) << int(c.kind);
        EXPECT_EQ(k.frame, c.frame) << int(c.kind);
        EXPECT_FLOAT_EQ(k.rotation, c.rotation) << int(c.kind);
        EXPECT_EQ(k.reversed, c.reversed) << int(c.kind);
        EXPECT_EQ(k.flipped, c.flipped) << int(c.kind);
    }
    EXPECT_EQ(machineComponentKind(4).stencilUpperRight, Vec2(-3.0f, -4.0f));
    EXPECT_EQ(machineComponentKind(8).stencilLowerLeft, Vec2(0.0f, 4.0f));
    EXPECT_THROW(machineComponentKind(16), Convinience::Error);
    EXPECT_EQ(factoryMachineLayout().size(), 17u);
    EXPECT_EQ(conveyorItemFrameNames().size(), 23u);
}

TEST(MachineRules, PartsRideFallAndEnterTheMachine) {
    using M = MachineItemStep::Move;
    struct Case {
        float speed, travelled, x;
        bool inDispenser;
        M move;
        bool leaves;
    };
    const Case cases[] = {
        {100.0f, 0.0f, 300.0f, true, M::carry, false},
        {100.0f, 120.0f, 300.0f, true, M::enterMachine, false},
        {100.0f, 120.0f, 300.0f, false, M::carry, false},
        {100.0f, 900.0f, 900.0f, false, M::carry, true},
        {100.0f, 1100.0f, 900.0f, false, M::fall, true},
        {-100.0f, 0.0f, 79.0f, false, M::fall, true},
        {-100.0f, 0.0f, 81.0f, false, M::carry, false},
        {0.0f, 0.0f, 10.0f, true, M::carry, false},
    };
    for (const Case& c : cases) {
        const MachineItemStep s = machineItemStep(c.speed, c.travelled, 0.1f, c.x, c.inDispenser);
        EXPECT_EQ(s.move, c.move) << c.speed << " " << c.travelled << " " << c.x;
        EXPECT_EQ(s.leavesReach, c.leaves) << c.speed << " " << c.travelled << " " << c.x;
        EXPECT_FLOAT_EQ(s.travelled, c.travelled + c.speed * 0.25f);
    }
    EXPECT_FLOAT_EQ(machineItemStep(100.0f, 0.0f, 0.1f, 300.0f, false).dx, 25.0f);
}

TEST(MachineRules, ArmPhasesRestReachHoldAndWork) {
    using A = MachineArmAct;
    MachineArmState claw{13, 0.0f, 0};
    bool inReach = false;
    auto step = [&](MachineArmState& arm, float dt) {
        return stepMachineArm(arm, dt, [&] { return inReach; });
    };
    EXPECT_EQ(step(claw, 1.0f), A::none);
    EXPECT_EQ(step(claw, 0.6f), A::none) << "ready, but no part in reach: it tries again";
    EXPECT_EQ(claw.phase, 0u);
    inReach = true;
    EXPECT_EQ(step(claw, 0.01f), A::grab);
    EXPECT_EQ(claw.phase, 1u);
    EXPECT_EQ(step(claw, 0.59f), A::none);
    EXPECT_EQ(step(claw, 0.02f), A::drop);
    EXPECT_EQ(claw.phase, 3u);
    EXPECT_EQ(step(claw, 0.6f), A::rest);
    EXPECT_EQ(claw.phase, 0u);
    EXPECT_FLOAT_EQ(claw.timer, 0.0f);

    MachineArmState torch{14, 1.5f, 0};
    EXPECT_EQ(step(torch, 0.0f), A::turnTowards) << "a torch never takes a part";
    EXPECT_EQ(torch.phase, 3u);
    EXPECT_EQ(step(torch, 0.6f), A::rest);
}

TEST(CatRules, PupilsFollowTargetsFromThreeUnitsAway) {
    EXPECT_FALSE(pupilOffset(Vec2(0.0f, 0.0f), Vec2(2.99f, 0.0f), false, 3.0f));
    const auto at3 = pupilOffset(Vec2(0.0f, 0.0f), Vec2(3.0f, 0.0f), false, 3.0f);
    ASSERT_TRUE(at3);
    EXPECT_FLOAT_EQ(at3->x, 3.0f);
    const auto mirrored = pupilOffset(Vec2(0.0f, 0.0f), Vec2(100.0f, 0.0f), true, 3.0f);
    ASSERT_TRUE(mirrored);
    EXPECT_FLOAT_EQ(mirrored->x, -3.0f) << "the mirroring shows it on the right";
    const auto diagonal = pupilOffset(Vec2(10.0f, 10.0f), Vec2(40.0f, 50.0f), false, 3.0f);
    EXPECT_NEAR(diagonal->x, 1.8f, 1e-4f);
    EXPECT_NEAR(diagonal->y, 2.4f, 1e-4f);
}

TEST(WalkRules, FacingAndWalkingFollowTheVelocity) {
    struct Case {
        WalkLook now;
        Vec2 v;
        WalkLook next;
    };
    const Case cases[] = {
        {{false, false}, Vec2(5.0f, 0.0f), {true, true}},
        {{true, true}, Vec2(0.0f, 0.0f), {true, false}},
        {{true, false}, Vec2(-0.2f, 0.0f), {false, true}},
        {{false, false}, Vec2(0.05f, 0.0f), {false, false}},
        {{true, true}, Vec2(0.0f, 0.1f), {true, true}},
        {{false, false}, Vec2(0.1f, 0.0f), {true, false}},
        {{true, false}, Vec2(-0.1f, 0.0f), {true, false}},
        {{false, true}, Vec2(0.0f, -3.0f), {false, true}},
    };
    for (const Case& c : cases) {
        const WalkLook next = nextWalkLook(c.now, c.v);
        EXPECT_EQ(next.flipped, c.next.flipped) << c.v.x << "," << c.v.y;
        EXPECT_EQ(next.walking, c.next.walking) << c.v.x << "," << c.v.y;
    }
}

TEST(FloorRules, RandomFloorsAreThreeInTenOfTheFirstAndNeverTheMiddleOne) {
    std::mt19937 engine(5489);
    int first = 0;
    const int draws = 10000;
    for (int i = 0; i < draws; ++i) {
        const std::string name = randomFloorTileName(engine);
        ASSERT_TRUE(name == "p2_floor_0.png" || name == "p2_floor_2.png") << name;
        first += name == "p2_floor_0.png";
    }
    EXPECT_NEAR(first / static_cast<double>(draws), 0.3, 0.02);
}

TEST(BigWindowRules, OpeningsAndParallax) {
    const cocos2d::Size frame(1212.0f, 300.0f);
    const BigWindowLook one = bigWindowLook(1, frame);
    EXPECT_EQ(one.frame, "big_window.png");
    ASSERT_EQ(one.opening.size(), 2u);
    EXPECT_EQ(one.opening[0], Vec2(20.0f - 606.0f, 20.0f - 150.0f));
    EXPECT_EQ(one.opening[1], Vec2(606.0f - 40.0f, 150.0f - 40.0f));
    EXPECT_EQ(bigWindowLook(2, frame).opening[0], Vec2(55.0f - 606.0f, 20.0f - 150.0f));
    const BigWindowLook three = bigWindowLook(3, frame);
    ASSERT_EQ(three.opening.size(), 6u);
    EXPECT_EQ(three.opening[2], Vec2(153.0f - 606.0f, 18.0f - 150.0f));
    EXPECT_TRUE(bigWindowLook(4, frame).opening.empty());
    EXPECT_EQ(bigWindowLook(4, frame).frame, "p4_big_window.png");
    EXPECT_EQ(bigWindowLook(9, frame).frame, "big_window.png");

    const BigWindowParallax p = bigWindowParallax(Vec2(500.0f, 0.0f), Vec2(700.0f, 300.0f));
    EXPECT_FLOAT_EQ(p.back.x, -2.0f);
    EXPECT_FLOAT_EQ(p.back.y, -4.0f);
    EXPECT_FLOAT_EQ(p.front.x, 5.0f);
    EXPECT_FLOAT_EQ(p.front.y, -100.0f);
}

}  // namespace
