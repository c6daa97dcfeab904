#include <gtest/gtest.h>

#include <functional>

#include "BuildTestSupport.h"
#include "WorldFixtures.h"
#include "foundation/Error.h"
#include "level/ElementRegistrations.h"
#include "level/MapElementBuilder.h"
#include "level/ScriptedActionBuilder.h"
#include "level/TrapGroupBuilder.h"
#include "map/records/CoinElement.h"
#include "map/records/ConveyorElement.h"
#include "map/records/DoorElement.h"
#include "map/records/ElevatorPadElement.h"
#include "map/records/GroupedNumberedElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"
#include "world/effects/Kill.h"
#include "world/elements/Checkpoint.h"
#include "world/elements/Collectable.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/Floor.h"
#include "world/elements/Lever.h"
#include "world/elements/LeverEffect.h"
#include "world/elements/ScriptedSteerableIME.h"
#include "world/traps/IntervalTrap.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;
using namespace zarn_test;

void expectThrows(const std::function<void()>& f, const char* message) {
    try {
        f();
        ADD_FAILURE() << "no throw, expected " << message;
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), message);
    }
}

// ---------------------------------------------------------------- trap groups

struct TrapGroupBuilderTest : testing::Test {
    TrapGroupBuilderTest() {
        w.map.grid.setProperties(MapProperties{320, 320, 32});
        w.map.grid.resize();
        for (TrapElement* r : {static_cast<TrapElement*>(&spike), static_cast<TrapElement*>(&bomb)}) {
            w.store.addTrap(w.trapFactory.loadTrap(*r));
        }
    }
    TestWorld w;
    TrapGroupBuilder builder{w.store, w.groups};
    IntervalTrapElement spike = trapAt(43, 1, Point(1, 1));
    DelayedTrapElement bomb = trapAt<DelayedTrapElement>(128, 2, Point(2, 1));
};

TEST_F(TrapGroupBuilderTest, GroupsOfAnyTrapOrOfIntervalTrapsOnly) {
    GroupedTrapElement any;
    any.elementId = 52;
    any.memberNumbers = {2, 1};
    auto group = builder.buildGroup(&any);
    EXPECT_EQ(dynamic_cast<TrapGroup&>(*group).members.size(), 2u) << "a bomb may join a plain group";

    SequentialGroupedIntervalTrapElement sequence;
    sequence.elementId = 53;
    sequence.sequential = 1;
    sequence.memberNumbers = {1};
    auto sequential = builder.buildGroup(&sequence);
    EXPECT_EQ(dynamic_cast<SequentialIntervalTrapGroup&>(*sequential).sequential, 1);
}

TEST_F(TrapGroupBuilderTest, BadGroupRecordsThrowTheirTexts) {
    GroupedTrapElement wrongId;
    wrongId.elementId = 54;
    expectThrows([&] { builder.buildGroup(&wrongId); }, "Invalid group trap id");
    expectThrows([&] { builder.buildGroup(nullptr); }, "Not group element");
    GroupedTrapElement plain53;
    plain53.elementId = 53;
    expectThrows([&] { builder.buildGroup(&plain53); }, "Not group element");
    SequentialGroupedIntervalTrapElement withBomb;
    withBomb.elementId = 53;
    withBomb.memberNumbers = {1, 2};
    expectThrows([&] { builder.buildGroup(&withBomb); }, "Not interval trap");
    GroupedTrapElement missing;
    missing.elementId = 52;
    missing.memberNumbers = {1, 3};
    expectThrows([&] { builder.buildGroup(&missing); }, "Not trap");
    EXPECT_TRUE(w.groups.empty());
}

// ---------------------------------------------------------------- scripted actions

struct ScriptedActionBuilderTest : testing::Test {
    ScriptedActionBuilderTest() : unit(kFirstSecondaryUnitHandle), figure(record, unit) {
        w.map.grid.setProperties(MapProperties{320, 320, 32});
        w.map.grid.resize();
    }
    TestWorld w;
    ElementRegistrations registrations{w.triggers.positionElementTrigger()};
    ScriptedActionBuilder builder{w.map.grid, w.units, w.dialogs, registrations};
    ScriptedSteerableElement record;
    SecondarySteerableUnit unit;
    ScriptedSteerableIME figure;
};

TEST_F(ScriptedActionBuilderTest, AWaitThenAPathMove) {
    ActionList list;
    auto wait = std::make_unique<FloatActionData>();
    wait->actionId = 36;
    wait->floatValue = 1.5f;
    list.push_back(std::move(wait));
    auto route = std::make_unique<PositionsActionData<FPoint>>();
    route->actionId = 33;
    route->positions = {FPoint(10, 20), FPoint(30, 40)};
    list.push_back(std::move(route));
    auto actions = builder.buildActions(list, figure);
    ASSERT_EQ(actions.size(), 2u);
    auto* waitAction = dynamic_cast<ScriptedWaitAction*>(actions[0].get());
    ASSERT_NE(waitAction, nullptr);
    waitAction->execute();
    waitAction->update(1.4f);
    EXPECT_EQ(waitAction->status(), ScriptedActionStatus::running);
    waitAction->update(0.1f);
    EXPECT_EQ(waitAction->status(), ScriptedActionStatus::finished) << "1.5 s";
    auto* move = dynamic_cast<ScriptedPathedMoveAction*>(actions[1].get());
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->route(), (std::vector<FPoint>{FPoint(10, 20), FPoint(30, 40)}));
}

TEST_F(ScriptedActionBuilderTest, OtherKindsAndWrongRecordClasses) {
    auto number = [](u32 id) { return std::make_unique<NumberActionData>(id, 0x1234); };
    EXPECT_NE(dynamic_cast<ScriptedDialogAction*>(builder.buildAction(number(4).get(), figure).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<ScriptedWaitForContact*>(builder.buildAction(number(34).get(), figure).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<ScriptedSetSecondarySteerableGenericStateAction*>(
                  builder.buildAction(number(38).get(), figure).get()),
              nullptr);
    EXPECT_EQ(registrations.size(), 0u);

    auto cells = std::make_unique<PositionsActionData<Point>>();
    cells->actionId = 35;
    cells->positions = {Point(3, 3), Point(4, 3), Point(3, 3)};
    EXPECT_NE(dynamic_cast<ScriptedWaitForArrival*>(builder.buildAction(cells.get(), figure).get()), nullptr);
    EXPECT_EQ(filingsOf(w.triggers, &figure, {Point(3, 3), Point(4, 3)}), 2u);

    expectThrows([&] { builder.buildAction(std::make_unique<ActionData>(37).get(), figure); },
                 "no such action");
    expectThrows([&] { builder.buildAction(std::make_unique<ActionData>(4).get(), figure); },
                 "not action data");
    expectThrows([&] { builder.buildAction(number(33).get(), figure); }, "not action data");
    expectThrows([&] { builder.buildAction(number(35).get(), figure); }, "not action data");
    expectThrows([&] { builder.buildAction(number(36).get(), figure); }, "not wait action data");
    auto floatAction = std::make_unique<FloatActionData>();
    floatAction->actionId = 38;
    expectThrows([&] { builder.buildAction(floatAction.get(), figure); }, "not number action data");
}

// ---------------------------------------------------------------- elements

struct MapElementBuilderTest : testing::Test {
    MapElementBuilderTest() { cellSize(32); }
    void cellSize(u32 size) {
        w.map.grid.setProperties(MapProperties{size * 10, size * 10, size});
        w.map.grid.resize();
    }
    template <class R>
    R& add(R record) {
        auto owned = std::make_unique<R>(std::move(record));
        R& r = *owned;
        w.map.mapElements.push_back(std::move(owned));
        return r;
    }
    void build() { builder.buildElements(); }

    TestWorld w;
    WorldParts parts = w.parts();
    ElementRegistrations registrations{w.triggers.positionElementTrigger()};
    ScriptedActionBuilder scripts{w.map.grid, w.units, w.dialogs, registrations};
    MapElementBuilder builder{parts, registrations, scripts};
};

template <class R>
R elementOf(u32 id) {
    R r;
    r.elementId = id;
    return r;
}

TEST_F(MapElementBuilderTest, UnlistedIdsBuildNothing) {
    add(elementOf<WholeTileMapElement>(39));
    add(elementOf<FreeMapElement>(303));
    add(elementOf<FreeMapElement>(172));
    build();
    EXPECT_TRUE(w.elements.empty());
    EXPECT_TRUE(w.triggers.positionElementTrigger().isEmpty());
}

TEST_F(MapElementBuilderTest, FloorsPushSlideOrKillOnTheirCell) {
    auto tile = [](u32 id, Point cell) {
        WholeTileMapElement r = elementOf<WholeTileMapElement>(id);
        r.cell = cell;
        return r;
    };
    add(tile(33, Point(1, 1)));
    add(tile(30, Point(2, 1)));
    add(tile(54, Point(3, 1)));
    TileNumberedMapElement hidden = elementOf<TileNumberedMapElement>(138);
    hidden.cell = Point(4, 1);
    hidden.number = 8;
    add(hidden);
    ConveyorElement belt = elementOf<ConveyorElement>(140);
    belt.cell = Point(5, 1);
    belt.direction = 2;
    belt.speed = 70.0f;
    belt.number = 9;
    add(belt);
    build();
    ASSERT_EQ(w.elements.size(), 5u);
    auto& down = dynamic_cast<Floor&>(*w.elements[0]);
    EXPECT_EQ(dynamic_cast<ConveyerEffect&>(*down.effect).push, FPoint(0, -150));
    EXPECT_TRUE(down.isEnabled());
    EXPECT_NE(dynamic_cast<ZeroFriction*>(w.elements[1]->effect.get()), nullptr);
    EXPECT_EQ(dynamic_cast<Kill&>(*w.elements[2]->effect).deathState, 5u);
    auto& deadly = w.numbered.getTyped<Floor>(8);
    EXPECT_FALSE(deadly.isEnabled()) << "138 stays disabled";
    EXPECT_EQ(dynamic_cast<Kill&>(*deadly.effect).deathState, 22u);
    EXPECT_EQ(dynamic_cast<ConveyerEffect&>(*w.numbered.get(9).effect).push, FPoint(-70, 0));
    EXPECT_EQ(filingsOf(w.triggers, w.elements[0].get(), {Point(1, 1)}), 1u);
    EXPECT_EQ(w.numbered.size(), 2u);
}

TEST_F(MapElementBuilderTest, ConveyorDirectionCodes) {
    const std::vector<std::pair<u8, FPoint>> cases = {
        {0, FPoint(0, 5)}, {1, FPoint(0, -5)}, {2, FPoint(-5, 0)}, {3, FPoint(5, 0)}, {4, FPoint(0, 0)}};
    u32 n = 1;
    for (const auto& [code, push] : cases) {
        ConveyorElement belt = elementOf<ConveyorElement>(140);
        belt.direction = code;
        belt.speed = 5.0f;
        belt.number = n++;
        add(belt);
    }
    build();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(dynamic_cast<ConveyerEffect&>(*w.elements[i]->effect).push, cases[i].second)
            << int(cases[i].first);
    }
}

TEST_F(MapElementBuilderTest, CoinsAreFiledOnTheCellsOfA30UnitBox) {
    cellSize(160);
    CoinElement near = elementOf<CoinElement>(348);
    near.position = Point(100, 100);
    near.number = 1;
    near.value = 5;
    CoinElement corner = near;
    corner.position = Point(150, 150);
    corner.number = 2;
    add(near);
    add(corner);
    build();
    InteractiveMapElement* first = w.elements[0].get();
    InteractiveMapElement* second = w.elements[1].get();
    EXPECT_EQ(filingsOf(w.triggers, first, {Point(0, 0), Point(0, 1), Point(1, 0), Point(1, 1)}), 1u);
    EXPECT_EQ(filingsOf(w.triggers, second, {Point(0, 0), Point(0, 1), Point(1, 0), Point(1, 1)}), 4u);
    EXPECT_EQ(dynamic_cast<MoneyEffect&>(*first->effect).amount, 5u);
    EXPECT_EQ(dynamic_cast<MoneyEffect&>(*first->effect).tally, &w.money);
}

TEST_F(MapElementBuilderTest, LeversCheckpointsPadsAndDoorsAreWiredToTheirEffects) {
    SwitchElement lever = elementOf<SwitchElement>(35);
    lever.number = 1;
    lever.position = Point(70, 40);
    lever.firstActions.push_back(numberAction(11, 3));
    lever.secondActions.push_back(numberAction(10, 3));
    lever.secondActions.push_back(numberAction(0, 4));
    add(lever);
    TileNumberedMapElement checkpoint = elementOf<TileNumberedMapElement>(440);
    checkpoint.number = 2;
    checkpoint.cell = Point(6, 6);
    add(checkpoint);
    ElevatorPadElement pad = elementOf<ElevatorPadElement>(60);
    pad.number = 5;
    pad.cell = Point(7, 7);
    add(pad);
    DoorElement door = elementOf<DoorElement>(37);
    door.number = 3;
    door.position = Point(128, 128);
    door.width = 32;
    door.height = 32;
    add(door);
    build();

    auto& theLever = w.numbered.getTyped<Lever>(1);
    auto& leverEffect = dynamic_cast<LeverEffect&>(*theLever.effect);
    EXPECT_EQ(leverEffect.lever, &theLever);
    EXPECT_EQ(leverEffect.offActions.size(), 1u);
    EXPECT_EQ(leverEffect.onActions.size(), 2u);
    EXPECT_EQ(filingsOf(w.triggers, &theLever, {Point(2, 1)}), 1u) << "the cell of its position";
    auto& theCheckpoint = w.numbered.getTyped<Checkpoint>(2);
    EXPECT_EQ(dynamic_cast<CheckpointEffect&>(*theCheckpoint.effect).checkpoint, &theCheckpoint);
    auto& thePad = w.numbered.getTyped<ElevatorPad>(5);
    EXPECT_EQ(dynamic_cast<ElevatorPadEffect&>(*thePad.effect).padState, &thePad.state);
    EXPECT_EQ(w.updater.elements, std::vector<UpdatableInteractiveMapElement*>{&thePad});
    auto& theDoor = w.numbered.getTyped<Door>(3);
    EXPECT_EQ(w.map.blockables.blockerAt(FPoint(130, 130)), &theDoor);
    EXPECT_EQ(filingsOf(w.triggers, &theDoor, {Point(4, 4)}), 0u) << "doors take no contacts";
}

TEST_F(MapElementBuilderTest, EveryRowChecksItsRecordClass) {
    struct Case {
        std::function<std::unique_ptr<MapElement>()> record;
        const char* message;
    };
    auto plain = [](u32 id) {
        return [id] { return std::make_unique<MapElement>(elementOf<MapElement>(id)); };
    };
    auto free = [](u32 id) {
        return [id] {
            return std::unique_ptr<MapElement>(
                std::make_unique<FreeNumberedMapElement>(elementOf<FreeNumberedMapElement>(id)));
        };
    };
    auto tile = [](u32 id) {
        return [id] {
            return std::unique_ptr<MapElement>(
                std::make_unique<WholeTileMapElement>(elementOf<WholeTileMapElement>(id)));
        };
    };
    auto numberedTile = [](u32 id) {
        return [id] {
            return std::unique_ptr<MapElement>(
                std::make_unique<TileNumberedMapElement>(elementOf<TileNumberedMapElement>(id)));
        };
    };
    const std::vector<Case> cases = {
        {plain(30), "not whole tile element"},
        {free(34), "not whole tile element"},
        {plain(137), "not whole tile element"},
        {tile(138), MapElementBuilder::wrongRecordClass},
        {numberedTile(140), "not a conveyor element"},
        {tile(42), "not numbered tile element"},
        {free(35), "not switch element"},
        {[] {
             return std::unique_ptr<MapElement>(
                 std::make_unique<SwitchElement>(elementOf<SwitchElement>(59)));
         },
         "not switch element"},
        {[] {
             return std::unique_ptr<MapElement>(
                 std::make_unique<MultiSwitchElement>(elementOf<MultiSwitchElement>(135)));
         },
         "not switch element"},
        {free(36), MapElementBuilder::wrongRecordClass},
        {numberedTile(60), "not elevatorPad element"},
        {free(349), "not coin element"},
        {[] {
             return std::unique_ptr<MapElement>(std::make_unique<DoorElement>(elementOf<DoorElement>(164)));
         },
         "not automatic door eleemnt"},
        {free(300), "not circle element"},
        {[] {
             return std::unique_ptr<MapElement>(std::make_unique<CoinElement>(elementOf<CoinElement>(301)));
         },
         "not circle element"},
        {numberedTile(384), "not note element"},
        {[] {
             return std::unique_ptr<MapElement>(
                 std::make_unique<MusicalNoteElement>(elementOf<MusicalNoteElement>(379)));
         },
         "not note controller element"},
        {plain(443), "not level up mode element"},
        {plain(141), "not a grouped ime"},
    };
    for (const Case& c : cases) {
        TestWorld fresh;
        fresh.map.mapElements.push_back(c.record());
        SCOPED_TRACE(fresh.map.mapElements[0]->elementId);
        WorldParts p = fresh.parts();
        ElementRegistrations r{fresh.triggers.positionElementTrigger()};
        ScriptedActionBuilder s{fresh.map.grid, fresh.units, fresh.dialogs, r};
        MapElementBuilder b{p, r, s};
        expectThrows([&] { b.buildElements(); }, c.message);
    }
}

TEST_F(MapElementBuilderTest, GroupsTakeNumberedMembersAfterThePass) {
    GroupedNumberedElement group = elementOf<GroupedNumberedElement>(142);
    group.number = 9;
    group.groupFlag = 1;
    group.groupTime = 0.4f;
    group.memberNumbers = {2, 1};
    add(group);  // before its members: groups are built after the pass
    for (u32 n : {1u, 2u}) {
        TileNumberedMapElement checkpoint = elementOf<TileNumberedMapElement>(42);
        checkpoint.number = n;
        add(checkpoint);
    }
    build();
    auto& built = w.numbered.getTyped<NumberedInteractiveElementGroup>(9);
    EXPECT_EQ(built.members, (std::vector<InteractiveMapElement*>{w.numbered.find(2), w.numbered.find(1)}));
    EXPECT_EQ(built.sequential, 1);
    EXPECT_EQ(built.stepper.interval, 0.4f);
    EXPECT_EQ(w.updater.elements.back(), &built);

    TestWorld other;
    GroupedNumberedElement missing = elementOf<GroupedNumberedElement>(141);
    missing.memberNumbers = {77};
    other.map.mapElements.push_back(std::make_unique<GroupedNumberedElement>(missing));
    WorldParts p = other.parts();
    ElementRegistrations r{other.triggers.positionElementTrigger()};
    ScriptedActionBuilder s{other.map.grid, other.units, other.dialogs, r};
    MapElementBuilder b{p, r, s};
    expectThrows([&] { b.buildElements(); }, "No such element number");
}

}  // namespace
}  // namespace Zarn

namespace Zarn {
namespace {

// Each door's rectangle is indexed cell by cell; the doors of a map together
// may reach at most the solid decorations' budget of cells.
TEST(MapElementBuilderDoorsTest, DoorsPastTheCellBudgetRefuseTheMap) {
    auto roomOfDoors = [](u32 doors) {
        zarn_test::TestWorld w;
        w.map.grid.setProperties(MapProperties{320, 128, 32});  // 40 cells: budget 16 x 41
        w.map.grid.resize();
        for (u32 n = 0; n < doors; ++n) {
            auto door = std::make_unique<DoorElement>();
            door->elementId = 36;
            door->number = n;
            door->width = 320;
            door->height = 128;  // 12 x 6 = 72 cells each
            w.map.mapElements.push_back(std::move(door));
        }
        WorldParts p = w.parts();
        ElementRegistrations r{w.triggers.positionElementTrigger()};
        ScriptedActionBuilder s{w.map.grid, w.units, w.dialogs, r};
        MapElementBuilder b{p, r, s};
        b.buildElements();
        return w.elements.size();
    };
    EXPECT_EQ(roomOfDoors(9), 9u);
    expectThrows([&] { roomOfDoors(10); }, "bad map");
}

}  // namespace
}  // namespace Zarn
