#include <gtest/gtest.h>

#include "BuildTestSupport.h"
#include "WorldFixtures.h"
#include "foundation/Error.h"
#include "map/records/DoorElement.h"
#include "map/records/GroupedNumberedElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;
using namespace zarn_test;

// A room with something of every registration kind: traps (one delayed, so
// the factory's delayed-trap cells hold it), a trap group, a lever, a door (a
// blockable), a wandering prop and a scripted figure filed on cells, and a
// start event. `breakAt` appends the record that makes the load fail.
MapBuilder fullRoom() {
    MapBuilder b("room", Point(100, 40));
    b.grid(32, {"..........", "..........", "..........", ".........."});
    b.trap(trapAt(43, 1, Point(1, 1)));
    b.trap(trapAt<DelayedTrapElement>(46, 2, Point(2, 1)));
    b.trap(trapAt<DelayedTrapElement>(128, 3, Point(3, 1)));
    GroupedTrapElement group;
    group.elementId = 52;
    group.trapNumber = 10;
    group.memberNumbers = {1, 2};
    b.trapGroup(group);
    SwitchElement lever;
    lever.elementId = 35;
    lever.number = 5;
    lever.position = Point(150, 40);
    lever.secondActions.push_back(numberAction(10, 6));
    b.element(lever);
    DoorElement door;
    door.elementId = 36;
    door.number = 6;
    door.position = Point(200, 64);
    door.width = 32;
    door.height = 32;
    b.element(door);
    ScriptedSteerableElement prop;
    prop.elementId = 300;
    prop.number = 7;
    prop.position = Point(250, 80);
    prop.radius = 8;
    b.element(prop);
    ScriptedSteerableElement figure;
    figure.elementId = 301;
    figure.number = 8;
    figure.position = Point(280, 80);
    auto cells = std::make_unique<PositionsActionData<Point>>();
    cells->actionId = 35;
    cells->positions = {Point(6, 2), Point(7, 2)};
    figure.actions.push_back(std::move(cells));
    b.element(figure);
    std::vector<std::unique_ptr<ActionData>> enable;
    enable.push_back(numberAction(0, 1));
    b.event(eventOf(1, 1, 0, actionList(std::move(enable))));
    return b;
}

void expectNothingBuilt(TestWorld& w) {
    EXPECT_TRUE(w.traps.empty());
    EXPECT_TRUE(w.groups.empty());
    EXPECT_TRUE(w.elements.empty());
    EXPECT_TRUE(w.secondaryUnits.empty());
    EXPECT_EQ(w.numbered.size(), 0u);
    EXPECT_TRUE(w.updater.elements.empty());
    EXPECT_TRUE(w.store.traps().empty());
    EXPECT_TRUE(w.store.updatedTraps().empty());
    EXPECT_EQ(w.store.findTrap(1), nullptr);
    EXPECT_EQ(w.store.findTrapGroup(10), nullptr);
    EXPECT_TRUE(w.triggers.positionElementTrigger().isEmpty());
    EXPECT_TRUE(w.triggers.movingElementTrigger().isEmpty());
    EXPECT_TRUE(w.secondaryIndex.entries().empty());
    EXPECT_EQ(w.simulator.secondaryUnitCount(), 0u);
    EXPECT_TRUE(w.trapFactory.delayedTrapCells().empty());
    EXPECT_EQ(w.map.blockables.blockerAt(FPoint(210, 70)), nullptr) << "the door left the blockables";
    EXPECT_FALSE(w.registry.isPresent(1));
    EXPECT_TRUE(w.triggers.updatables().empty()) << "not armed";
    EXPECT_EQ(w.spawnPoints.defaultSpawnCell(), Point(0, 0));
}

TEST(LoadFailureTest, AThrowAnywhereInTheBuildTakesBackEverythingTheLoadAdded) {
    struct Case {
        const char* name;
        std::function<void(MapBuilder&)> breakIt;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"group names no trap",
         [](MapBuilder& b) {
             GroupedTrapElement g;
             g.elementId = 52;
             g.trapNumber = 11;
             g.memberNumbers = {1, 99};
             b.trapGroup(g);
         },
         "Not trap"},
        {"sequence names a bomb",
         [](MapBuilder& b) {
             SequentialGroupedIntervalTrapElement g;
             g.elementId = 53;
             g.trapNumber = 11;
             g.memberNumbers = {1, 3};
             b.trapGroup(g);
         },
         "Not interval trap"},
        {"element group names no element",
         [](MapBuilder& b) {
             GroupedNumberedElement g;
             g.elementId = 141;
             g.number = 20;
             g.memberNumbers = {5, 42};
             b.element(g);
         },
         "No such element number"},
        {"figure with an unknown scripted action after a filing one",
         [](MapBuilder& b) {
             ScriptedSteerableElement figure;
             figure.elementId = 302;
             figure.number = 9;
             figure.position = Point(40, 100);
             auto cells = std::make_unique<PositionsActionData<Point>>();
             cells->actionId = 35;
             cells->positions = {Point(0, 3)};
             figure.actions.push_back(std::move(cells));
             figure.actions.push_back(std::make_unique<ActionData>(37));
             b.element(figure);
         },
         "no such action"},
        // A door's rectangle is as untrusted as the rest of the file: one far
        // wider than the room used to make the blockable manager index
        // millions of cells.
        {"door wider than the room",
         [](MapBuilder& b) {
             DoorElement door;
             door.elementId = 37;
             door.number = 12;
             door.width = 0x7FFFFFFF;
             door.height = 32;
             b.element(door);
         },
         "bad map"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapBuilder b = fullRoom();
        c.breakIt(b);
        TestWorld w;
        try {
            w.load(b.bytes());
            ADD_FAILURE() << "no throw";
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        expectNothingBuilt(w);
        EXPECT_EQ(w.map.trapRecords.size(), 3u) << "the records read stay in the map";

        // The world can still be stepped: nothing points at destroyed elements.
        SteerableUnit& rat = w.addPlayer(1, FPoint(48, 48));
        for (const Point& cell : {Point(1, 1), Point(2, 1), Point(4, 1), Point(6, 2), Point(7, 2)}) {
            rat.body().position = FPoint(cell.x * 32.0f + 16, cell.y * 32.0f + 16);
            w.step();
        }
        w.triggers.arm();
        for (const Point& cell : {Point(1, 1), Point(2, 1), Point(6, 2)}) {
            rat.body().position = FPoint(cell.x * 32.0f + 16, cell.y * 32.0f + 16);
            w.step();
        }
        EXPECT_EQ(rat.state, 0u);
    }
}

TEST(LoadFailureTest, TheSameRoomLoadsWhole) {
    TestWorld w;
    w.load(fullRoom().bytes());
    EXPECT_EQ(w.traps.size(), 3u);
    EXPECT_EQ(w.groups.size(), 1u);
    EXPECT_EQ(w.elements.size(), 4u);
    EXPECT_EQ(w.secondaryUnits.size(), 2u);
    EXPECT_EQ(w.trapFactory.delayedTrapCells().size(), 1u);
    EXPECT_NE(w.map.blockables.blockerAt(FPoint(210, 70)), nullptr);
    EXPECT_TRUE(w.registry.isPresent(1));
    EXPECT_EQ(w.triggers.updatables().size(), 2u);
    EXPECT_EQ(w.spawnPoints.defaultSpawnCell(), Point(3, 1));
}

TEST(LoadFailureTest, ASectionThatFailsToReadBuildsNothing) {
    std::vector<u8> bytes = fullRoom().bytes();
    bytes.resize(bytes.size() - 5);
    TestWorld w;
    EXPECT_THROW(w.load(bytes), Convinience::Error);
    expectNothingBuilt(w);
}

}  // namespace
}  // namespace Zarn
