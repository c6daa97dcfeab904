#include <gtest/gtest.h>

#include "engine/RefPtr.h"
#include "map/records/CoinElement.h"
#include "map/records/DoorElement.h"
#include "map/records/ElevatorPadElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/SwitchElement.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scene/SteerableXDManager.h"
#include "support/ElementSceneFixture.h"
#include "visuals/elements/BigWindow.h"
#include "visuals/elements/CoinVisual.h"
#include "visuals/elements/DoorVisual.h"
#include "visuals/elements/ElevatorPadVisual.h"
#include "visuals/elements/LeverVisual.h"
#include "visuals/elements/MusicalNoteVisual.h"
#include "world/elements/Collectable.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/Lever.h"
#include "world/elements/MusicalNote.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using cocos2d::Vec2;
using GeometryLib::Point;

// Element pictures driven through their mediators on the headless engine.
class ElementVisuals : public zarn_test::ElementSceneFixture {};

TEST_F(ElementVisuals, DoorClosingFromHalfOpenSlidesBackFromWhereItIs) {
    Zarn::DoorElement record;
    record.elementId = 36;
    record.position = Point(100, 100);
    auto* node = cocos2d::Sprite::createWithSpriteFrameName("door_top.png");
    world->addChild(node);
    DoorVisualMediator door(node, defaultElementAnimations(), &record);
    door.preparePositions();
    node->setPosition(door.closedPosition());
    EXPECT_EQ(door.closedPosition(), Vec2(100.0f + 6.4f, 100.0f + 6.4f));
    EXPECT_EQ(door.openPosition(), door.closedPosition() + Vec2(0.0f, 12.8f));

    // An action's first frame starts it: 9 frames of 1/32 s are 0.25 s of it.
    door.onStateChanged(1, 0);
    steps(9, 0.03125f);
    EXPECT_NEAR(node->getPositionY(), door.closedPosition().y + 6.4f, 0.01f) << "half way up";
    EXPECT_EQ(audio.count("sound/door/open.mp3"), 1u);
    EXPECT_EQ(countVisible("Dust_Directional_Small_1.png") + countVisible("Dust_Directional_Small_2.png") +
                  countVisible("Dust_Directional_Small_3.png") +
                  countVisible("Dust_Directional_Small_4.png") +
                  countVisible("Dust_Directional_Small_5.png") +
                  countVisible("Dust_Directional_Small_6.png") + countVisible("Dust_Directional_Small_7.png"),
              2u)
        << "two clouds at the door's foot as it starts to move";

    door.onStateChanged(0, 1);
    steps(9, 0.03125f);
    EXPECT_NEAR(node->getPositionY(), door.closedPosition().y + 3.2f, 0.01f)
        << "a full 0.5 s back from there";
    steps(8, 0.03125f);
    EXPECT_NEAR(node->getPositionY(), door.closedPosition().y, 0.01f);
    EXPECT_EQ(node->getOpacity(), 255);

    door.onStateChanged(1, 0);
    steps(4, 0.03125f);
    const float stopped = node->getPositionY();
    door.onStateChanged(0, 2);
    steps(8, 0.03125f);
    EXPECT_EQ(node->getPositionY(), stopped) << "another state stops it where it stands";
    EXPECT_EQ(audio.count("sound/door/open.mp3"), 2u);
    EXPECT_EQ(audio.count("sound/door/close.mp3"), 1u);
}

TEST_F(ElementVisuals, AutomaticDoorsOfEachVariant) {
    auto* one = AutomaticDoorP1P2::create(1);
    auto* other = AutomaticDoorP1P2::create(7);
    auto* second = AutomaticDoorP1P2::create(2);
    world->addChild(one);
    world->addChild(other);
    world->addChild(second);
    frame(0.0f);
    EXPECT_EQ(frameOf(one->leftHalf()), "door_big_left.png");
    EXPECT_EQ(frameOf(other->rightHalf()), "door_big_right.png");
    EXPECT_EQ(frameOf(second->leftHalf()), "p2_door_left.png");
    // Halves of 32 overlap by 13 and open by their widths.
    EXPECT_EQ(one->leftClosed(), Vec2(7.0f, 16.0f));
    EXPECT_EQ(one->rightClosed(), Vec2(26.0f, 16.0f));
    EXPECT_EQ(one->leftOpen(), Vec2(-25.0f, 16.0f));

    AutomaticDoorVisualMediator mediator(one, MapElementAnimations{}, one);
    mediator.onStateChanged(1, 0);
    steps(3, 0.05f);
    mediator.onStateChanged(0, 0);
    steps(10, 0.05f);
    EXPECT_EQ(one->leftHalf()->getPosition(), one->leftOpen()) << "opening twice never overshoots";
    mediator.onStateChanged(0, 5);
    steps(10, 0.05f);
    EXPECT_EQ(one->leftHalf()->getPosition(), one->leftOpen());

    auto* third = AutomaticDoorP3::create();
    world->addChild(third);
    third->openDoor();
    steps(5, 0.05f);
    EXPECT_EQ(third->rightHalf()->getPosition(), third->rightOpen());
    EXPECT_EQ(third->leftHalf()->getPosition(), Vec2(16.0f, 16.0f)) << "the left half never moves";
}

TEST_F(ElementVisuals, LeverAndCoinReactOnlyToTheirStates) {
    auto* lever = cocos2d::Sprite::createWithSpriteFrameName("lever_0001.png");
    world->addChild(lever);
    LeverVisualMediator levers(lever);
    levers.onStateChanged(1, 0);
    steps(8, 0.03f);
    EXPECT_EQ(frameOf(lever), "lever_0006.png");
    levers.onStateChanged(0, 2);
    steps(8, 0.03f);
    EXPECT_EQ(frameOf(lever), "lever_0006.png");
    levers.onStateChanged(0, 0);
    steps(2, 0.03f);
    EXPECT_EQ(audio.count("sound/lever/on1.mp3"), 2u) << "each change to 0 flips again";

    auto* coin = cocos2d::Sprite::createWithSpriteFrameName("coin_0001.png");
    // Kept past its removal, so that the test can look at it.
    const cocos2d::RefPtr<cocos2d::Sprite> keep(coin);
    world->addChild(coin);
    coin->setContentSize(cocos2d::Size::ZERO);
    coin->setPosition(200.0f, 200.0f);
    CoinVisualMediator coins(coin, defaultElementAnimations());
    coins.onStateChanged(3, 0);
    coins.onStateChanged(0, 0);
    coins.onStateChanged(0, 1);
    coins.onStateChanged(1, 2);
    EXPECT_EQ(coin->getChildrenCount(), 2u) << "two reports of lying, two shadows";
    steps(17, 0.03125f);
    EXPECT_NEAR(coin->getPositionY(), 210.0f, 0.01f) << "each bob lifts it 5";
    coins.onStateChanged(0, 3);
    steps(5, 0.025f);
    EXPECT_NEAR(coin->getPositionY(), 308.0f, 0.5f) << "a jump of 100 in 0.1 s, while both bobs sink 1";
    EXPECT_EQ(coin->getChildrenCount(), 1u) << "the last shadow went";
    steps(18, 0.025f);
    EXPECT_EQ(coin->getParent(), nullptr) << "gone about 0.5 s after the report";
}

// A player visual manager without visuals: the pad's rider is a client it
// does not know.
class NoPlayers : public Zarn::SteerableXDManager {
public:
    NoPlayers(Zarn::SteerableUnitManager& units, Zarn::PlayerInfoManager& infos, Zarn::ZOrderCalculator& z)
        : SteerableXDManager(units, infos, z) {}

protected:
    Zarn::VisualSteerablePair createSteerable3D(const Zarn::PlayerInfo&,
                                                const Zarn::Player3DAssets&) override {
        return {};
    }
    Zarn::VisualSteerablePair createSteerable2D(const Zarn::PlayerInfo&,
                                                const Zarn::Player2DAssets&) override {
        return {};
    }
    void removeSteerable(u32) override {}
    void onSteerableAdded(u32) override {}
};

TEST_F(ElementVisuals, ElevatorPadCarrierArrivesAndLeavesWithoutAKnownRider) {
    Zarn::ElevatorPadElement record;
    record.elementId = 60;
    record.cell = Point(3, 2);
    Zarn::ElevatorPad pad(record, nullptr);
    Zarn::SteerableUnitManager units;
    Zarn::PlayerInfoManager infos;
    NoPlayers players(units, infos, zOrder);
    Zarn::TileVisualGroups tiles;
    ElevatorPadCocos2D* node = ElevatorPadCocos2D::create(&pad, &tiles, &zOrder, &players);
    ASSERT_NE(node, nullptr);
    world->addChild(node);
    node->setScale(0.4f);
    node->setPosition(200.0f, 100.0f);
    ElevatorPadVisualMediator* mediator = node->getVisualMediator();

    mediator->onStateChanged(1, 0);
    EXPECT_EQ(mediator->getCarrier(), nullptr) << "no carrier to send away";
    mediator->onStateChanged(0, 1);
    cocos2d::Sprite* carrier = mediator->getCarrier();
    ASSERT_NE(carrier, nullptr);
    const float h = ElevatorPadVisualMediator::liftHeight();
    // The pad is one tile (64 at 0.4), the carrier's art 32: lower edges H apart.
    EXPECT_NEAR(carrier->getPositionY(), 100.0f + h + 6.4f - 32.0f, 0.01f);
    frame(0.0f);
    EXPECT_EQ(audio.count("sound/elevator_panel/button_press.mp3"), 1u);
    steps(10, 0.1f);
    EXPECT_NEAR(carrier->getPositionY(), 100.0f + 6.4f - 32.0f, 0.01f) << "landed on the pad after 1 s";
    EXPECT_EQ(countVisible("Elevator_Arrow_1.png") + countVisible("Elevator_Arrow_2.png"), 0u);
    steps(5, 0.1f);
    EXPECT_EQ(audio.count("sound/elevator_panel/transit_chime.mp3"), 1u);
    EXPECT_EQ(countVisible("Elevator_Arrow_1.png") + countVisible("Elevator_Arrow_2.png"), 1u);

    pad.state.payload = 42;
    mediator->onStateChanged(1, 0);
    EXPECT_EQ(mediator->getCarrier(), carrier) << "an unknown rider: the departure is skipped";
    steps(12, 0.1f);
    EXPECT_EQ(carrier->getParent(), world);
}

TEST_F(ElementVisuals, BigWindowOfTheFourthVariantShowsOnlyItsFrame) {
    BigWindow* window = BigWindow::create(4);
    ASSERT_NE(window, nullptr);
    world->addChild(window);
    frame(0.0f);
    EXPECT_TRUE(shows(window->getWindowFrame()));
    EXPECT_EQ(frameOf(window->getWindowFrame()), "p4_big_window.png");
    BigWindow* first = BigWindow::create(1);
    world->addChild(first);
    frame(0.0f);
    auto opening = [](BigWindow* w) {
        std::size_t triangles = 0;
        for (const cocos2d::DrawCommand& c : list().stencils)
            if (c.node == w->getMask()->getStencil() && c.shapes) triangles += c.shapes->triangles.size();
        return triangles;
    };
    EXPECT_GT(opening(first), 0u);
    EXPECT_EQ(opening(window), 0u) << "an empty opening: no scenery shows";

    auto* followed = cocos2d::Node::create();
    world->addChild(followed);
    window->followedNode = followed;
    followed->setPosition(500.0f, 0.0f);
    frame(0.0f);
    const Vec2 back = window->getBackLayer()->getPosition();
    followed->setPosition(500.0f, 300.0f);
    frame(0.0f);
    EXPECT_EQ(window->getBackLayer()->getPosition(), back) << "only the horizontal place counts";
    followed->setPosition(600.0f, 300.0f);
    frame(0.0f);
    EXPECT_NEAR(window->getBackLayer()->getPositionX() - back.x, 1.0f, 0.01f) << "a hundredth of the move";
}

TEST_F(ElementVisuals, MachineDispensesPartsThatClawsMoveToTheUpperBelt) {
    // Arms long enough to reach the lower belt from their row.
    sizedFrame("arm_backarm.png", 150.0f, 20.0f);
    sizedFrame("arm_forearm.png", 100.0f, 20.0f);
    P3MachineSystem* machine = P3MachineSystem::create(Point(8, 3), 160.0f, factoryMachineLayout());
    ASSERT_NE(machine, nullptr);
    world->addChild(machine);
    machine->start();
    ASSERT_EQ(machine->getArms().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(machine->getArms()[i].state.timer, static_cast<float>(i));
    P3MachineSystem* second = P3MachineSystem::create(Point(8, 3), 160.0f, factoryMachineLayout());
    EXPECT_FLOAT_EQ(second->getArms().front().state.timer, 4.0f) << "the run's arm counter goes on";

    bool dropped = false;
    std::size_t most = 0;
    for (int i = 0; i < 600 && !dropped; ++i) {
        frame(0.03f);
        most = std::max(most, machine->getItems().size());
        for (const auto& [serial, item] : machine->getItems())
            dropped |= item.speed < 0.0f && item.sprite->getParent() == machine;
    }
    EXPECT_TRUE(dropped) << "a claw set a part down on the upper belt, running back";
    EXPECT_GE(most, 3u);
}

// The factory on its own, over elements made from their records: the coins
// and notes whose IDs no table row lists, and the failures of its lookups.
class ElementFactory : public zarn_test::ElementSceneFixture {
protected:
    void SetUp() override {
        ElementSceneFixture::SetUp();
        made.numberedElements = &game.numbered;
        made.zOrderCalculator = &zOrder;
        made.tileVisualGroups = &tiles;
    }

    static Zarn::ElementVisual row(u32 id, const std::string& frame) {
        Zarn::ElementVisual visual;
        visual.elementId = id;
        visual.frameName = frame;
        visual.dynamic = true;
        return visual;
    }
    static void expectThrow(const std::function<void()>& fn, const std::string& text) {
        try {
            fn();
            ADD_FAILURE() << "no throw, expected " << text;
        } catch (const Convinience::Error& e) {
            EXPECT_EQ(std::string(e.what()), text);
        }
    }

    MapElementCocos2DFactory made;
};

TEST_F(ElementFactory, CoinsAndNotesThatNoMapPlacesAreShownLikeTheirKin) {
    Zarn::CoinElement coinRecord;
    coinRecord.elementId = 352;
    coinRecord.number = 7;
    coinRecord.position = Point(200, 200);
    Zarn::Collectable coin(coinRecord, nullptr);
    game.numbered.add(7, &coin);
    auto* coinNode =
        &CocosNodeBase::engineSide(made.createFreeElementVisual(row(352, "coin_0001.png"), coinRecord));
    auto* coinSprite = dynamic_cast<SimpleElementCocos2D<Zarn::Collectable, Zarn::CollectableIMEState>*>(
        coinNode->getNode());
    ASSERT_NE(coinSprite, nullptr) << "the coin visual";
    const cocos2d::RefPtr<cocos2d::Sprite> keep(coinSprite);
    world->addChild(coinSprite);
    EXPECT_EQ(coinSprite->getContentSize(), cocos2d::Size::ZERO);
    steps(3, 0.1f);
    EXPECT_NE(frameOf(coinSprite), "coin_0001.png") << "a lying coin spins";
    coin.state.value = Zarn::ECollectableState::taken;
    steps(20, 0.05f);
    EXPECT_EQ(coinSprite->getParent(), nullptr) << "collected: it flies off and goes";

    // A note of the last family, pitch 25: no sound has that name. Its press
    // still pops a sign; the sound is left out and the frame goes on.
    Zarn::MusicalNoteElement noteRecord;
    noteRecord.elementId = 385;
    noteRecord.cell = Point(3, 3);
    noteRecord.number = 8;
    noteRecord.note = 25;
    Zarn::MusicalNote note(noteRecord, nullptr);
    game.numbered.add(8, &note);
    auto& noteNode =
        CocosNodeBase::engineSide(made.createTileElementVisual(row(385, "musical_note_2.png"), noteRecord));
    auto* tile = dynamic_cast<SimpleTiledIMECocos2D<Zarn::MusicalNoteIMEState>*>(noteNode.getNode());
    ASSERT_NE(tile, nullptr) << "the note tile";
    world->addChild(tile);
    MusicalNoteCocos2D* visual = nullptr;
    for (cocos2d::Node* child : tile->getChildren())
        if (auto* n = dynamic_cast<MusicalNoteCocos2D*>(child)) visual = n;
    ASSERT_NE(visual, nullptr);
    for (cocos2d::Sprite* corner : visual->getCorners()) EXPECT_FALSE(corner->isVisible());
    const std::size_t children = visual->getChildrenCount();
    const std::size_t sounds = audio.plays.size();
    note.state.value = static_cast<Zarn::EMusicalNoteState>(Zarn::NoteValue::flashing);
    EXPECT_NO_THROW(steps(2, 0.03f));
    EXPECT_EQ(visual->getChildrenCount(), children + 1) << "a note sign pops out";
    EXPECT_EQ(audio.plays.size(), sounds) << "no pitch sound";
}

TEST_F(ElementFactory, RefusesNumbersWithoutElementsAndElementsOrRecordsOfAnotherClass) {
    Zarn::SwitchElement leverRecord;
    leverRecord.elementId = 35;
    leverRecord.number = 3;
    Zarn::Lever lever(leverRecord, nullptr, game.map.grid);
    game.numbered.add(3, &lever);
    Zarn::DoorElement doorRecord;
    doorRecord.elementId = 36;
    doorRecord.number = 3;
    Zarn::FreeMapElement plainRecord;
    plainRecord.elementId = 35;
    Zarn::DoorElement nowhere = doorRecord;
    nowhere.number = 99;

    expectThrow([&] { made.createFreeElementVisual(row(36, "door_top.png"), nowhere); },
                "No such element number");
    expectThrow([&] { made.createFreeElementVisual(row(36, "door_top.png"), doorRecord); },
                "numbered element is of wrong type");
    expectThrow([&] { made.createFreeElementVisual(row(35, "lever_0001.png"), plainRecord); },
                "map element record of wrong class");
    made.numberedElements = nullptr;
    expectThrow([&] { made.createFreeElementVisual(row(35, "lever_0001.png"), leverRecord); },
                "No such element number");
    EXPECT_EQ(world->getChildrenCount(), 0u);
}

}  // namespace
