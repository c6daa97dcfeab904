#include <gtest/gtest.h>

#include "support/TrapSceneFixture.h"
#include "visuals/traps/RatTrapVisual.h"

namespace {

using cocos2d::Vec2;
using GeometryLib::FPoint;
using GeometryLib::Point;
using zarn_test::MapBuilder;

FPoint centreOf(Point cell) {
    return FPoint(cell.x * 64.0f + 32.0f, cell.y * 64.0f + 32.0f);
}

class RatTrapVisualTest : public zarn_test::TrapSceneFixture {
protected:
    // A rat trap (47) on (4, 4) and (5, 4): 0.1 s delay, slam 0.1 + 0.3,
    // hold down 0.6, swing back 0.2, rest 1.0.
    void SetUp() override {
        TrapSceneFixture::SetUp();
        MapBuilder b = room();
        auto rat = zarn_test::trapAt<Zarn::RatTrapElement>(47, 1, Point(4, 4), 0.3f, 1.0f);
        rat.coveredCells.insert(Point(5, 4));
        rat.startDelay = 0.1f;
        rat.snapTime = 0.1f;
        rat.releaseTime = 0.6f;
        rat.holdTime = 0.2f;
        rat.slowDuration = 0.5f;
        rat.slowFactor = 0.5f;
        b.trap(rat);
        enableAtStart(b, {1});
        leftFloor = &floorAt(Point(4, 4));
        rightFloor = &floorAt(Point(5, 4));
        load(b);
        visual = childrenOf<RatTrapCocos2D>().front();
        left = static_cast<CocosNode1Mediator*>(visual->getAdapter()->leftFlip())->getNode();
        right = static_cast<CocosNode1Mediator*>(visual->getAdapter()->rightFlip())->getNode();
        unit = &game.units.getUnit(0);
    }
    Zarn::RatTrap& rat() { return static_cast<Zarn::RatTrap&>(trapNumbered(1)); }
    void standOn(Point cell) {
        unit->body().position = centreOf(cell);
        unit->body().velocity = FPoint(0.0f, 0.0f);
    }

    zarn_test::RecordingFloor* leftFloor = nullptr;
    zarn_test::RecordingFloor* rightFloor = nullptr;
    RatTrapCocos2D* visual = nullptr;
    cocos2d::Node* left = nullptr;
    cocos2d::Node* right = nullptr;
    Zarn::SteerableUnit* unit = nullptr;
};

// Set off from its right cell, the trap shows phases 1, 3, 5, 7: the left
// board slams (squeak, hit), stays down, swings back and lands; the right
// board stays at rest; a player on either cell is drawn by the trap's
// modifier meanwhile. Then from the left cell: the right board.
TEST_F(RatTrapVisualTest, EachSideFlipsItsOwnBoardWithItsSoundsAndDrawingOrder) {
    // At rest: one 320 x 350 node on its two cells, both boards at rest.
    EXPECT_EQ(visual->getContentSize(), cocos2d::Size(320.0f, 350.0f));
    EXPECT_EQ(visual->getPosition(), Vec2(4 * 64 + 64, 4 * 64 + 70));
    EXPECT_EQ(visual->getLocalZOrder(), roomZOrder->highRowBase(4));
    EXPECT_EQ(frameOf(left), "Slap_Trap_Left_0.png");
    EXPECT_EQ(frameOf(right), "Slap_Trap_Right_0.png");
    EXPECT_EQ(left->getLocalZOrder(), 0);
    const int flipZ = roomZOrder->highRowTop(4);

    standOn(Point(5, 4));
    ASSERT_TRUE(runUntil([&] { return rat().state.value == Zarn::ERatTrapState(1); }, 1.0f));
    standOn(Point(1, 1));
    tick();
    EXPECT_EQ(left->getLocalZOrder(), flipZ);
    EXPECT_EQ(right->getLocalZOrder(), 0);
    EXPECT_EQ(roomZOrder->playerZOrder(centreOf(Point(4, 4))), flipZ - 100 + 3);
    EXPECT_EQ(roomZOrder->playerZOrder(centreOf(Point(5, 4))), flipZ - 100 + 1);

    // The slam's frames over 0.6 s; the hit at 0.4 s.
    std::set<std::string> slam;
    for (int i = 0; i < 20; ++i) {
        tick();
        slam.insert(frameOf(left));
        EXPECT_EQ(frameOf(right), "Slap_Trap_Right_0.png");
    }
    EXPECT_EQ(slam.count("Slap_Trap_Left_5.png"), 1u);
    EXPECT_EQ(audio.count("sound/rattrap/squeak.mp3"), 1u);
    EXPECT_EQ(audio.count("sound/rattrap/board_hit.mp3"), 1u);
    EXPECT_EQ(frameOf(left), "Slap_Trap_Left_5.png") << "the board stays down";

    // Back at rest: the board has swung back and landed; both at z 0.
    ASSERT_TRUE(runUntil([&] { return rat().state.value == Zarn::ERatTrapState(0); }, 2.0f));
    run(0.3f);
    EXPECT_EQ(frameOf(left), "Slap_Trap_Left_0.png");
    EXPECT_EQ(audio.count("sound/rattrap/board_down.mp3"), 1u);
    EXPECT_EQ(left->getLocalZOrder(), 0);
    const FPoint away = centreOf(Point(4, 4));
    EXPECT_EQ(roomZOrder->playerZOrder(away), Zarn::ZOrderCalculator(64, 10).playerZOrder(away));

    // From the left cell: the right board.
    ASSERT_TRUE(runUntil([&] { return !rat().triggered; }, 2.0f));
    standOn(Point(4, 4));
    ASSERT_TRUE(runUntil([&] { return rat().state.value == Zarn::ERatTrapState(2); }, 1.0f));
    standOn(Point(1, 1));
    run(0.3f);
    EXPECT_EQ(right->getLocalZOrder(), flipZ);
    EXPECT_NE(frameOf(right), "Slap_Trap_Right_0.png");
    EXPECT_EQ(frameOf(left), "Slap_Trap_Left_0.png");
}

// Hiding the trap shows the floor of both its cells; removing its visual
// takes its modifier off the calculator.
TEST_F(RatTrapVisualTest, HidingShowsBothFloorsAndTheModifierLeavesWithTheVisual) {
    EXPECT_EQ(leftFloor->calls, std::vector<std::string>{"visibility 1"});
    rat().hide();
    run(0.4f);
    EXPECT_EQ(leftFloor->calls.back(), "showHide 1 0");
    EXPECT_EQ(rightFloor->calls.back(), "showHide 1 0");
    EXPECT_FALSE(shows(left)) << "the node fades out with its boards";
    EXPECT_EQ(audio.count("sound/element/hide1.mp3"), 1u);

    rat().state.value = Zarn::ERatTrapState(1);
    const FPoint on = centreOf(Point(4, 4));
    EXPECT_NE(roomZOrder->playerZOrder(on), Zarn::ZOrderCalculator(64, 10).playerZOrder(on));
    world->removeAllChildren();
    // The positional engine lets go of the node in its next update.
    tick();
    EXPECT_EQ(roomZOrder->playerZOrder(on), Zarn::ZOrderCalculator(64, 10).playerZOrder(on));
}

}  // namespace
