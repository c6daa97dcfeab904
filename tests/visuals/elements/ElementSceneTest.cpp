#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "map/records/CoinElement.h"
#include "map/records/ConveyorElement.h"
#include "map/records/DoorElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"
#include "support/EveryElementRoom.h"
#include "visuals/elements/BigWindow.h"
#include "visuals/elements/CatAndRoomba.h"
#include "visuals/elements/CheckpointVisual.h"
#include "visuals/elements/CoinVisual.h"
#include "visuals/elements/DoorVisual.h"
#include "visuals/elements/DynamicConveyor.h"
#include "visuals/elements/LeverVisual.h"
#include "visuals/elements/MusicalNoteVisual.h"
#include "visuals/elements/PartVisual.h"
#include "world/elements/Collectable.h"
#include "world/elements/Door.h"
#include "world/elements/Lever.h"
#include "world/elements/MusicalNote.h"

namespace {

using namespace zarn_test::room;
using GeometryLib::FPoint;
using GeometryLib::Point;
using Coin = SimpleElementCocos2D<Zarn::Collectable, Zarn::CollectableIMEState>;
using PlainDoor = SimpleElementCocos2D<Zarn::Door, Zarn::DoorIMEState>;
using NoteTile = SimpleTiledIMECocos2D<Zarn::MusicalNoteIMEState>;
using BeltTile = SimpleTiledIMECocos2D<Zarn::InteractiveMapElementState>;

class ElementScene : public zarn_test::ElementSceneFixture {
protected:
    void SetUp() override {
        ElementSceneFixture::SetUp();
        load(everyElement());
    }
};

TEST_F(ElementScene, EveryElementIsDrawnOnItsPlace) {
    EXPECT_EQ(countVisible("floor_new_0.png"), 1u);
    EXPECT_EQ(countVisible("p2_floor_0.png") + countVisible("p2_floor_2.png"), 1u);
    EXPECT_EQ(countVisible("wall_new_front_0.png"), 1u);
    EXPECT_EQ(countVisible("p1_entrance_floor.png"), 1u);
    EXPECT_EQ(countVisible("door_top.png"), 1u);
    EXPECT_EQ(countVisible("door_side.png"), 1u);
    EXPECT_EQ(countVisible("p2_door_left.png") + countVisible("p2_door_right.png"), 2u);
    EXPECT_EQ(countVisible("door_big_left.png") + countVisible("door_big_right.png"), 2u);
    EXPECT_EQ(countVisible("p3_door_left.png") + countVisible("p3_door_right.png"), 2u);
    EXPECT_EQ(countVisible("lever_0001.png"), 1u);
    EXPECT_EQ(countVisible("checkpoint_base.png"), 1u);
    EXPECT_EQ(countVisible("musical_outline.png"), 3u);
    EXPECT_EQ(countVisible("musical_top_left_corner.png"), 1u) << "only the controller shows its corners";
    EXPECT_EQ(countVisible("big_window.png"), 1u);
    EXPECT_EQ(countVisible("conveyor_item_dispenser.png"), 1u);
    EXPECT_EQ(countVisible("arm_tip_claw.png"), 2u);
    EXPECT_EQ(countVisible("cat_0.png"), 4u) << "two cats and the two riding the roombas";
    EXPECT_EQ(countVisible("roomba.png"), 2u);
    EXPECT_EQ(countVisible("delivery_drone_body.png"), 1u);
    EXPECT_EQ(countVisible("part_anim_1.png"), 1u);
    EXPECT_EQ(countVisible("p2_plant_vase_0.png"), 1u);
    EXPECT_EQ(countVisible("p2_coffee_cup.png"), 1u);
    EXPECT_EQ(countVisible("coin_0001.png"), 1u);

    // The floor of cell (0, 0): a 160-unit frame at 0.4 on the cell, filed
    // as the cell's floor tile; the wall is not.
    const cocos2d::DrawCommand* floor = list().findByFrame("floor_new_0.png").front();
    EXPECT_EQ(floor->node->getPosition(), cocos2d::Vec2(6.4f, 6.4f)) << "placeholder art: 32 units at 0.4";
    EXPECT_EQ(tiles.count(Point(0, 0)), 1u);
    EXPECT_EQ(tiles.count(Point(9, 9)), 0u);
    EXPECT_EQ(speakers.count("PART"), 1u);
    EXPECT_EQ(speakers.count("Cat"), 1u) << "the roomba of type 302";
    EXPECT_EQ(elements->droneDeliveryTargets().size(), 1u);
}

TEST_F(ElementScene, ConveyorScrollsItsArrows) {
    DynamicConveyor* conveyor = nullptr;
    for (BeltTile* belt : childrenOf<BeltTile>())
        for (cocos2d::Node* child : belt->getChildren())
            if (auto* c = dynamic_cast<DynamicConveyor*>(child)) conveyor = c;
    ASSERT_NE(conveyor, nullptr);
    const cocos2d::DrawCommand* arrows = drawn(conveyor->getArrows());
    ASSERT_NE(arrows, nullptr);
    const float before = worldPositionOf(*arrows).x;
    tick();
    const float after = worldPositionOf(*drawn(conveyor->getArrows())).x;
    // 150 units a second in the room: 4.5 in a tick, the strip's offset 11.25 at 0.4.
    EXPECT_NEAR(after - before, 4.5f, 0.01f);
    EXPECT_NEAR(conveyor->getScrollOffset(), 11.25f, 0.01f);
}

TEST_F(ElementScene, LeverFlipsAndOpensAndClosesTheDoor) {
    LeverCocos2D* lever = only<LeverCocos2D>();
    PlainDoor* door = nullptr;
    for (PlainDoor* d : childrenOf<PlainDoor>())
        if (d->getAdapter()->element() == &element<Zarn::Door>(13)) door = d;
    ASSERT_NE(lever, nullptr);
    ASSERT_NE(door, nullptr);
    const cocos2d::Vec2 closed = worldPositionOf(*drawn(door));

    standOn(kLeverCell);
    ASSERT_TRUE(runUntil([&] { return element<Zarn::Door>(13).isOpen(); }, 1.0f));
    run(0.6f);
    EXPECT_EQ(frameOf(lever), "lever_0006.png");
    EXPECT_EQ(audio.count("sound/lever/on1.mp3"), 1u);
    EXPECT_EQ(audio.count("sound/door/open.mp3"), 1u);
    const cocos2d::DrawCommand* open = drawn(door);
    EXPECT_NEAR(worldPositionOf(*open).y - closed.y, 32.0f * 0.4f, 0.5f) << "up by its own height";
    EXPECT_EQ(open->opacity, 30);

    standOn(Point(0, 0));
    run(0.1f);
    standOn(kLeverCell);
    ASSERT_TRUE(runUntil([&] { return !element<Zarn::Door>(13).isOpen(); }, 1.0f));
    run(0.6f);
    EXPECT_EQ(frameOf(lever), "lever_0001.png");
    EXPECT_EQ(audio.count("sound/lever/off1.mp3"), 1u);
    EXPECT_EQ(audio.count("sound/door/close.mp3"), 1u);
    EXPECT_NEAR(worldPositionOf(*drawn(door)).y, closed.y, 0.01f);
    EXPECT_EQ(drawn(door)->opacity, 255);
}

TEST_F(ElementScene, CheckpointLightsWhenReached) {
    CheckpointCocos2D* checkpoint = only<CheckpointCocos2D>();
    ASSERT_NE(checkpoint, nullptr);
    LitCheckpoint* plate = checkpoint->getLight();
    EXPECT_FALSE(shows(plate->getLight()));
    EXPECT_EQ(drawn(plate->getOutline())->color, cocos2d::Color3B(219, 143, 33));

    standOn(kCheckpointCell);
    run(0.2f);
    EXPECT_EQ(element<Zarn::Checkpoint>(11).state.value, Zarn::EOnOffState::off) << "0: reached";
    EXPECT_EQ(audio.count("sound/checkpoint/checkpoint1.mp3"), 1u);
    EXPECT_EQ(drawn(plate->getOutline())->color, cocos2d::Color3B::WHITE);
    ASSERT_TRUE(shows(plate->getLight()));
    EXPECT_EQ(plate->getLight()->getParent(), world) << "the light joins the room";
    const cocos2d::Color3B first = drawn(plate->getLight())->color;
    run(0.5f);
    EXPECT_NE(drawn(plate->getLight())->color, first) << "the light pulses";
}

TEST_F(ElementScene, CoinSpinsUntilCollectedThenFliesOffAndGoes) {
    Coin* coin = only<Coin>();
    ASSERT_NE(coin, nullptr);
    auto* coinVisual = static_cast<CoinVisualMediator*>(coin->getVisualMediator());
    ASSERT_NE(coinVisual->getShadow(), nullptr) << "a lying coin idles from the start";
    std::set<std::string> frames;
    for (int i = 0; i < 20; ++i) {
        tick();
        frames.insert(frameOf(coin));
    }
    EXPECT_GE(frames.size(), 4u) << "it spins";

    standOn(kCoinCell);
    ASSERT_TRUE(runUntil([&] { return element<Zarn::Collectable>(16).isTaken(); }, 1.0f));
    tick();
    EXPECT_EQ(coinVisual->getShadow(), nullptr);
    run(0.7f);
    EXPECT_TRUE(childrenOf<Coin>().empty()) << "the collect action removed the coin";
    EXPECT_EQ(countVisible("coin_0001.png") + countVisible("coin_0002.png") + countVisible("coin_0003.png") +
                  countVisible("coin_0004.png") + countVisible("coin_0005.png"),
              0u);
    run(0.1f);
}

TEST_F(ElementScene, NotesLightPlayTheirPitchAndFlashOnWrongAndRightPresses) {
    std::vector<NoteTile*> notes = childrenOf<NoteTile>();
    ASSERT_EQ(notes.size(), 3u);
    auto noteOf = [](NoteTile* tile) {
        for (cocos2d::Node* child : tile->getChildren())
            if (auto* n = dynamic_cast<MusicalNoteCocos2D*>(child)) return n;
        return static_cast<MusicalNoteCocos2D*>(nullptr);
    };
    MusicalNoteCocos2D* right = noteOf(notes[1]);
    ASSERT_NE(right, nullptr);
    // Pitch 12 (a C): the tile shows the C's hue in every look.
    EXPECT_EQ(drawn(right->getWhiteTile())->color, pitchedNoteColours(2, 12).whiteTile()) << "idle";

    // The controller plays the melody back: each note flashes, pops a note
    // sign and sounds its pitch.
    standOn(kControllerCell);
    ASSERT_TRUE(runUntil([&] { return audio.count("sound/musicalnote/c1.mp3") == 1; }, 3.0f));
    EXPECT_GT(right->getChildrenCount(), 13u) << "a note sign pops out";
    ASSERT_TRUE(runUntil([&] { return audio.count("sound/musicalnote/c2.mp3") == 1; }, 1.0f));
    standOn(Point(5, 2));
    auto& rightNote = element<Zarn::MusicalNote>(21);
    ASSERT_TRUE(runUntil([&] { return rightNote.value() == Zarn::NoteValue::awaiting; }, 3.0f));
    run(0.2f);
    EXPECT_EQ(drawn(right->getLightRing())->color, pitchedNoteColours(3, 12).lightRing()) << "lit, awaiting";
    EXPECT_EQ(right->getChildrenCount(), 13u) << "the signs removed themselves";

    // The second note first: wrong. The error, the lightning, the dark look.
    standOn(kWrongNoteCell);
    ASSERT_TRUE(runUntil([&] { return audio.count("sound/musicalnote/error.mp3") > 0; }, 1.0f));
    standOn(Point(5, 2));
    run(0.05f);
    std::size_t zaps = 0;
    for (int i = 1; i <= 8; ++i) zaps += countVisible("lightning_floor_zap_" + std::to_string(i) + ".png");
    EXPECT_GT(zaps, 0u);
    run(0.5f);
    EXPECT_EQ(drawn(right->getWhiteTile())->color, cocos2d::Color3B(147, 0, 42)) << "failed";

    // Again, in the right order: the correct sound and the white flash.
    ASSERT_TRUE(
        runUntil([&] { return element<Zarn::MusicalNote>(20).value() == Zarn::NoteValue::idle; }, 5.0f));
    run(2.5f);
    standOn(kControllerCell);
    ASSERT_TRUE(runUntil([&] { return rightNote.value() == Zarn::NoteValue::awaiting; }, 5.0f));
    standOn(kRightNoteCell);
    ASSERT_TRUE(runUntil([&] { return rightNote.value() == Zarn::NoteValue::pressed; }, 1.0f));
    standOn(kWrongNoteCell);
    ASSERT_TRUE(runUntil([&] { return audio.count("sound/musicalnote/correct.mp3") > 0; }, 3.0f));
    EXPECT_EQ(audio.count("sound/musicalnote/c1.mp3"), 3u) << "two playbacks and the press";
    u8 greenest = 0;
    for (int i = 0; i < 25; ++i) {
        tick();
        greenest = std::max(greenest, drawn(right->getWhiteTile())->color.g);
    }
    EXPECT_GT(greenest, 210) << "the tile flashes white (249, 218, 255) and back";
    EXPECT_LT(drawn(right->getWhiteTile())->color.g, 180) << "back to the idle look";
}

TEST_F(ElementScene, AutomaticDoorsPartTheirHalves) {
    std::vector<AutomaticDoorCocos2D*> doors = childrenOf<AutomaticDoorCocos2D>();
    ASSERT_EQ(doors.size(), 3u);
    AutomaticDoorP1P2* p1p2 = nullptr;
    std::size_t p3 = 0;
    for (AutomaticDoorCocos2D* d : doors) {
        if (auto* halves = dynamic_cast<AutomaticDoorP1P2*>(d->getDoor());
            halves && d->getPositionX() < 64.0f)
            p1p2 = halves;
        p3 += dynamic_cast<AutomaticDoorP3*>(d->getDoor()) != nullptr;
    }
    ASSERT_NE(p1p2, nullptr);
    EXPECT_EQ(p3, 1u);
    const float left = worldPositionOf(*drawn(p1p2->leftHalf())).x;
    const float right = worldPositionOf(*drawn(p1p2->rightHalf())).x;

    standOn(kSensorP1P2);
    run(0.4f);
    EXPECT_EQ(p1p2->leftHalf()->getPosition(), p1p2->leftOpen());
    EXPECT_LT(worldPositionOf(*drawn(p1p2->leftHalf())).x, left);
    EXPECT_GT(worldPositionOf(*drawn(p1p2->rightHalf())).x, right);

    standOn(Point(5, 2));
    run(0.4f);
    EXPECT_EQ(p1p2->leftHalf()->getPosition(), p1p2->leftClosed());
    EXPECT_NEAR(worldPositionOf(*drawn(p1p2->rightHalf())).x, right, 0.01f);
}

TEST_F(ElementScene, DroneTakesTheCupOntoItsHeadAndSetsItDown) {
    cocos2d::Node* cup = elements->droneDeliveryTargets().front();
    DeliveryDroneCocos2D* droneNode = only<DeliveryDroneCocos2D>();
    ASSERT_NE(droneNode, nullptr);
    DeliveryDrone* drone = droneNode->getDrone();
    ASSERT_EQ(cup->getParent(), world);

    ASSERT_TRUE(runUntil([&] { return cup->getParent() == drone->getArm1()->getForearm(); }, 1.5f))
        << "state 6: arm 1 takes the cup";
    ASSERT_TRUE(runUntil([&] { return cup->getParent() == drone->getHead(); }, 1.5f))
        << "state 7: onto the head";
    ASSERT_TRUE(runUntil([&] { return cup->getParent() == drone->getArm1()->getForearm(); }, 1.5f))
        << "state 6: off the head again";
    ASSERT_TRUE(runUntil([&] { return cup->getParent() == world; }, 1.5f)) << "state 8: set down";
    ASSERT_TRUE(shows(cup));
    // Set down where the arm reaches: 120 left of the drone (it faces left)
    // and 60 up, in the drone's space at 0.4.
    EXPECT_NEAR(cup->getPositionX(), kDrone.x - 48.0f, 1.5f);
    EXPECT_NEAR(cup->getPositionY(), kDrone.y + 24.0f, 1.5f);
    EXPECT_FLOAT_EQ(cup->getScaleX(), 0.4f) << "the cup keeps its size";
    EXPECT_EQ(cup->getLocalZOrder(), roomZOrder->highYTop(cup->getPositionY()) + 255);
}

TEST_F(ElementScene, PropsFollowTheirUnitsAndThePlayer) {
    PARTCocos2D* part = only<PARTCocos2D>();
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->getPosition(), cocos2d::Vec2(200.0f, 520.0f));
    std::vector<RoombaCocos2D*> roombas = childrenOf<RoombaCocos2D>();
    ASSERT_EQ(roombas.size(), 2u);
    run(0.5f);
    const std::set<float> unitsAt{element<Zarn::SteerableIME>(30).steerable->position().x,
                                  element<Zarn::SteerableIME>(31).steerable->position().x};
    EXPECT_EQ((std::set<float>{roombas[0]->getPositionX(), roombas[1]->getPositionX()}), unitsAt);

    BigWindow* window = only<BigWindow>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->followedNode, nullptr) << "no player visuals in this scene";
    EXPECT_EQ(window->getBackLayer()->getPosition(), cocos2d::Vec2::ZERO);
}

}  // namespace
