#include <gtest/gtest.h>

#include "BuildTestSupport.h"
#include "WorldFixtures.h"
#include "foundation/Error.h"
#include "map/records/BossElement.h"
#include "map/records/DoorElement.h"
#include "map/records/GroupedNumberedElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScheduledTrapElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"
#include "world/effects/Kill.h"
#include "world/elements/Door.h"
#include "world/elements/LevelUpMode.h"
#include "world/elements/Lever.h"
#include "world/elements/MusicalNote.h"
#include "world/elements/ScriptedSteerableIME.h"
#include "world/elements/SteerableIME.h"
#include "world/steering/Seek.h"
#include "world/traps/Boss.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/IntervalTrap.h"
#include "world/traps/RatTrap.h"
#include "world/traps/ScheduledTrap.h"
#include "world/traps/SpawningTrap.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;
using namespace zarn_test;

FPoint centreOf(Point cell) {
    return FPoint(cell.x * 32.0f + 16.0f, cell.y * 32.0f + 16.0f);
}

TEST(GrandMapImporterTest, TheSpawnCellIsTheHeaderPointDividedByTheCellSize) {
    EXPECT_EQ(GrandMapImporter::spawnCellOf(Point(100, 40), 32), Point(3, 1));
    EXPECT_EQ(GrandMapImporter::spawnCellOf(Point(-40, 40), 32), Point(-1, 1)) << "signed division";
    TestWorld w;
    MapBuilder b("room", Point(100, 40));
    b.grid(32, {"....", "...."});
    w.load(b.bytes());
    EXPECT_EQ(w.spawnPoints.defaultSpawnCell(), Point(3, 1));
}

TEST(GrandMapImporterTest, IntervalAndScheduledTrapsWithTheirGroups) {
    auto grouped1 = trapAt(43, 1, Point(1, 1));
    grouped1.linkNumber = 10;
    auto grouped2 = trapAt<ScheduledTrapElement>(121, 2, Point(2, 1));
    grouped2.linkNumber = 10;
    grouped2.entries = {ScheduledTrapEntry(0.0f, 1, 1.0f), ScheduledTrapEntry(1.0f, 3, 1.0f)};
    auto line = trapAt<LineIntervalTrapElement>(131, 3, Point(6, 6));
    line.length = 2;
    auto alone = trapAt(43, 4, Point(8, 1));
    alone.flag = 1;
    GroupedTrapElement group;
    group.elementId = 52;
    group.trapNumber = 10;
    group.sequential = 1;
    group.stepDelay = 0.25f;
    group.memberNumbers = {1, 2};
    SequentialGroupedIntervalTrapElement sequence;
    sequence.elementId = 53;
    sequence.trapNumber = 11;
    sequence.memberNumbers = {4, 1};

    TestWorld w;
    w.load(openRoom()
               .trap(grouped1)
               .trap(grouped2)
               .trap(line)
               .trap(alone)
               .trapGroup(group)
               .trapGroup(sequence)
               .bytes());

    ASSERT_EQ(w.traps.size(), 4u);
    EXPECT_NE(dynamic_cast<IntervalTrap*>(w.store.findTrap(1)), nullptr);
    EXPECT_NE(dynamic_cast<ScheduledTrap*>(w.store.findTrap(2)), nullptr);
    EXPECT_EQ(w.store.findTrap(3)->trapRecord->coveredCells.size(), 4u);
    EXPECT_EQ(w.store.findTrap(4)->getState().hidden, 1);
    EXPECT_EQ(w.store.traps().size(), 4u);
    EXPECT_EQ(w.store.updatedTraps(), (std::vector<Trap*>{w.store.findTrap(3), w.store.findTrap(4)}));
    EXPECT_EQ(w.store.groupNumbers(), std::set<u32>{10});

    ASSERT_EQ(w.groups.size(), 2u);
    auto* trapGroup = dynamic_cast<TrapGroup*>(w.store.findTrapGroup(10));
    ASSERT_NE(trapGroup, nullptr);
    EXPECT_EQ(trapGroup->members, (std::vector<Trap*>{w.store.findTrap(1), w.store.findTrap(2)}));
    EXPECT_EQ(trapGroup->sequential, 1);
    EXPECT_EQ(trapGroup->stepper.interval, 0.25f);
    auto* sequential = dynamic_cast<SequentialIntervalTrapGroup*>(w.store.findTrapGroup(11));
    ASSERT_NE(sequential, nullptr);
    EXPECT_EQ(sequential->members.size(), 2u);

    // Every trap is on the trigger with its cells; nothing else is.
    EXPECT_EQ(w.triggers.positionElementTrigger().cells().size(), 1u + 1u + 4u + 1u);
    EXPECT_TRUE(w.elements.empty());
    EXPECT_EQ(w.triggers.updatables().size(), 2u) << "armed";
}

TEST(GrandMapImporterTest, RatTrap) {
    auto rat = trapAt<RatTrapElement>(49, 7, Point(3, 3));
    rat.coveredCells = PointSet{Point(3, 3), Point(4, 3)};
    rat.snapTime = 0.1f;
    TestWorld w;
    w.load(openRoom().trap(rat).bytes());
    ASSERT_EQ(w.traps.size(), 1u);
    auto* trap = dynamic_cast<RatTrap*>(w.store.findTrap(7));
    ASSERT_NE(trap, nullptr);
    EXPECT_EQ(filingsOf(w.triggers, trap, {Point(3, 3), Point(4, 3)}), 2u);
    EXPECT_EQ(w.store.updatedTraps().size(), 1u);
}

// The boss with the traps it commands, enabled by a start event: it finds
// them all by number in the store once the world is built.
TEST(GrandMapImporterTest, SpawnersAndTheBossFindEachOtherThroughTheStore) {
    MapBuilder b = openRoom();
    addBossFight(b, Point(5, 5), Point(8, 6));
    b.event(eventOf(1, 1, 0, actionList([] {
                        std::vector<std::unique_ptr<ActionData>> v;
                        v.push_back(numberAction(0, 27));
                        return v;
                    }())));

    TestWorld w;
    w.load(b.bytes());
    ASSERT_EQ(w.traps.size(), 7u);
    ASSERT_EQ(w.groups.size(), 1u);
    EXPECT_EQ(w.store.updatedTraps().size(), 6u) << "the cannon belongs to its group";
    auto* theBoss = dynamic_cast<Boss*>(w.store.findTrap(27));
    ASSERT_NE(theBoss, nullptr);
    EXPECT_FALSE(theBoss->isEnabled());

    w.addPlayer(1, centreOf(Point(5, 5)));
    w.run(0.1f);
    EXPECT_TRUE(theBoss->isEnabled()) << "the start event enabled it";
    EXPECT_EQ(static_cast<Trap*>(theBoss->smallSpawner), w.store.findTrap(21));
    EXPECT_EQ(static_cast<Trap*>(theBoss->arm1), w.store.findTrap(24));
    EXPECT_EQ(static_cast<InteractiveMapElement*>(theBoss->cannonGroup), w.store.findTrapGroup(26));
    w.run(5.0f);  // it fights on without harm to the world's tables
    EXPECT_EQ(w.traps.size(), 7u);
}

// A lever flips a door open through the action factory's command; the
// door-opened event tied to that action disables the trap a start event
// enabled.
TEST(GrandMapImporterTest, ALeverOpensADoorAndItsEventDisablesATrap) {
    SwitchElement lever;
    lever.elementId = 35;
    lever.number = 5;
    lever.position = Point(2 * 32 + 10, 1 * 32 + 10);
    lever.startOff = 1;
    lever.secondActions.push_back(numberAction(10, 6));
    lever.firstActions.push_back(numberAction(11, 6));
    DoorElement door;
    door.elementId = 36;
    door.number = 6;
    door.position = Point(5 * 32, 3 * 32);
    door.width = 32;
    door.height = 64;
    auto trap = trapAt(43, 7, Point(8, 6), 5.0f, 0.0f);
    MapBuilder b = openRoom();
    b.trap(trap).element(lever).element(door);
    std::vector<std::unique_ptr<ActionData>> enable;
    enable.push_back(numberAction(0, 7));
    b.event(eventOf(1, 1, 0, actionList(std::move(enable))));
    std::vector<std::unique_ptr<ActionData>> disable;
    disable.push_back(numberAction(1, 7));
    b.event(eventOf(2, 10, 6, actionList(std::move(disable))));

    TestWorld w;
    w.load(b.bytes());
    ASSERT_EQ(w.elements.size(), 2u);
    EXPECT_EQ(w.numbered.size(), 2u);
    auto& theLever = w.numbered.getTyped<Lever>(5);
    auto& theDoor = w.numbered.getTyped<Door>(6);
    EXPECT_EQ(filingsOf(w.triggers, &theLever, {Point(2, 1)}), 1u);
    EXPECT_EQ(w.map.blockables.blockerAt(FPoint(5 * 32 + 5, 3 * 32 + 5)), &theDoor) << "a closed door blocks";
    EXPECT_TRUE(w.registry.isPresent(1));
    EXPECT_TRUE(w.registry.isPresent(2));
    EXPECT_EQ(w.actions.log, (std::vector<std::string>{"made 11:6", "made 10:6"}))
        << "off list, then on list";

    SteerableUnit& rat = w.addPlayer(1, centreOf(Point(0, 1)));
    w.run(0.1f);
    EXPECT_TRUE(w.store.findTrap(7)->isEnabled()) << "start event";
    EXPECT_FALSE(theDoor.isOpen());
    rat.motion.addSteering(std::make_unique<Seek>(&rat, centreOf(Point(2, 1))));
    w.run(2.0f);
    EXPECT_TRUE(theLever.isOn());
    EXPECT_TRUE(theDoor.isOpen());
    EXPECT_EQ(w.map.blockables.blockerAt(FPoint(5 * 32 + 5, 3 * 32 + 5)), nullptr)
        << "an open door lets through";
    EXPECT_FALSE(w.store.findTrap(7)->isEnabled()) << "the door-opened event ran";
}

// A unit walking into an active spike dies (death state 5) and, 2 s later,
// stands alive at the centre of the map's spawn cell.
TEST(GrandMapImporterTest, AUnitWalkingIntoASpikeDiesAndRespawnsAtTheSpawnPoint) {
    auto spike = trapAt(43, 1, Point(5, 1), 10.0f, 0.0f);
    MapBuilder b = openRoom();
    b.trap(spike);
    std::vector<std::unique_ptr<ActionData>> enable;
    enable.push_back(numberAction(0, 1));
    b.event(eventOf(1, 1, 0, actionList(std::move(enable))));
    TestWorld w;
    w.load(b.bytes());
    SteerableUnit& rat = w.addPlayer(1, centreOf(Point(3, 1)));
    rat.motion.addSteering(std::make_unique<Seek>(&rat, centreOf(Point(9, 1))));

    bool died = false;
    for (int tick = 0; tick < 100 && !died; ++tick) {
        w.step();
        died = rat.state == 5;
    }
    ASSERT_TRUE(died);
    EXPECT_EQ(w.map.grid.toCell(Point(rat.body().position)), Point(5, 1));
    w.run(2.1f);
    EXPECT_EQ(rat.state, 0u);
    EXPECT_NEAR(rat.body().position.x, 48.0f, 0.5f);
    EXPECT_NEAR(rat.body().position.y, 48.0f, 0.5f);
}

TEST(GrandMapImporterTest, MusicalNotesAndTheirController) {
    MusicalNoteElement c;
    c.elementId = 383;
    c.number = 31;
    c.cell = Point(1, 1);
    MusicalNoteElement d = c;
    d.number = 32;
    d.cell = Point(2, 1);
    MusicalNoteControllerElement controller;
    controller.elementId = 379;
    controller.number = 30;
    controller.cell = Point(0, 1);
    controller.controllerTime = 0.5f;
    controller.noteSequences = {{31, 32}};
    controller.firstActions.push_back(numberAction(10, 99));
    TestWorld w;
    w.load(openRoom().element(c).element(d).element(controller).bytes());

    ASSERT_EQ(w.elements.size(), 3u);
    EXPECT_EQ(w.updater.elements.size(), 3u);
    auto& note = w.numbered.getTyped<MusicalNote>(31);
    EXPECT_EQ(note.litTime, 1.0f);
    EXPECT_EQ(note.doneTime, 1.0f);
    EXPECT_EQ(note.failTime, 1.0f);
    EXPECT_EQ(note.flashTime, 0.1f);
    auto& theController = w.numbered.getTyped<MusicalNoteController>(30);
    EXPECT_EQ(theController.pauseTime, 1.0f);
    EXPECT_EQ(theController.doneDelay, 1.0f);
    EXPECT_EQ(theController.allNotes, &w.allNotes);
    EXPECT_EQ(theController.actions, &w.actions);
    EXPECT_EQ(filingsOf(w.triggers, &note, {Point(1, 1)}), 1u);

    w.addPlayer(1, centreOf(Point(0, 1)));
    w.run(3.0f);  // the melody plays back without harm
    EXPECT_EQ(w.elements.size(), 3u);
}

TEST(GrandMapImporterTest, LevelUpModeIsFiledOnItsGoalCells) {
    LevelUpModeElement mode;
    mode.elementId = 443;
    mode.modeNumber = 40;
    mode.areaCells = PointSet{Point(8, 6), Point(9, 6)};
    mode.memberNumbers = {1, 10};
    mode.anchor = Point(48, 48);
    auto spike = trapAt(43, 1, Point(5, 1));
    spike.flag = 1;
    TestWorld w;
    w.load(openRoom().trap(spike).element(mode).bytes());
    ASSERT_EQ(w.elements.size(), 1u);
    auto& theMode = w.numbered.getTyped<LevelUpMode>(40);
    EXPECT_EQ(theMode.store, &w.store);
    EXPECT_EQ(w.updater.elements.size(), 1u);
    EXPECT_EQ(filingsOf(w.triggers, &theMode, {Point(8, 6), Point(9, 6)}), 2u);
    w.addPlayer(1, centreOf(Point(1, 1)));
    w.run(2.0f);
}

TEST(GrandMapImporterTest, SteeredPropsAndScriptedFigures) {
    ScriptedSteerableElement wanderer;
    wanderer.elementId = 300;
    wanderer.number = 50;
    wanderer.position = Point(100, 100);
    wanderer.radius = 10;
    ScriptedSteerableElement walker;
    walker.elementId = 301;
    walker.number = 51;
    walker.position = Point(48, 176);
    walker.radius = 8;
    walker.scriptFlag = 1;
    auto wait = std::make_unique<FloatActionData>();
    wait->actionId = 36;
    wait->floatValue = 1.5f;
    walker.actions.push_back(std::move(wait));
    auto route = std::make_unique<PositionsActionData<FPoint>>();
    route->actionId = 33;
    route->positions = {FPoint(200, 176), FPoint(48, 176)};
    walker.actions.push_back(std::move(route));
    ScriptedSteerableElement guard;
    guard.elementId = 358;
    guard.number = 52;
    guard.position = Point(250, 200);
    guard.radius = 12;
    auto arrival = std::make_unique<PositionsActionData<Point>>();
    arrival->actionId = 35;
    arrival->positions = {Point(1, 1), Point(1, 1), Point(2, 1)};
    guard.actions.push_back(std::move(arrival));

    TestWorld w;
    w.load(openRoom().element(wanderer).element(walker).element(guard).bytes());
    ASSERT_EQ(w.elements.size(), 3u);
    EXPECT_EQ(w.secondaryUnits.size(), 3u);
    EXPECT_EQ(w.secondaryIndex.entries().size(), 3u);
    EXPECT_EQ(w.simulator.secondaryUnitCount(), 3u);
    EXPECT_EQ(w.updater.elements.size(), 3u);
    EXPECT_FALSE(w.triggers.movingElementTrigger().isEmpty());

    auto& prop = w.numbered.getTyped<SteerableIME>(50);
    EXPECT_EQ(prop.steerable->radius, 10.0f);
    EXPECT_EQ(prop.steerable->unit.body().maxSteeringSpeed, 30.0f);
    EXPECT_EQ(prop.steerable->unit.body().position, FPoint(100, 100));
    EXPECT_EQ(dynamic_cast<const Kill&>(*prop.effect).deathState, 22u);
    auto& figure = w.numbered.getTyped<ScriptedSteerableIME>(51);
    EXPECT_EQ(figure.steerable->unit.body().maxSteeringSpeed, 40.0f);
    EXPECT_EQ(figure.steerable->unit.body().maxSteeringForce, 5.0f);
    ASSERT_EQ(figure.runner.actions().size(), 2u);
    EXPECT_NE(dynamic_cast<const ScriptedWaitAction*>(figure.runner.actions()[0].get()), nullptr);
    const auto* move = dynamic_cast<const ScriptedPathedMoveAction*>(figure.runner.actions()[1].get());
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->route().size(), 2u);
    EXPECT_TRUE(figure.runner.isRunning());
    EXPECT_TRUE(figure.runner.isLooping());
    auto& theGuard = w.numbered.getTyped<ScriptedSteerableIME>(52);
    EXPECT_EQ(theGuard.steerable->unit.body().maxSteeringSpeed, 300.0f);
    EXPECT_EQ(theGuard.steerable->unit.body().maxSteeringForce, 80.0f);
    EXPECT_FALSE(theGuard.runner.isLooping());
    EXPECT_EQ(filingsOf(w.triggers, &theGuard, {Point(1, 1), Point(2, 1)}), 2u) << "each target cell once";

    w.addPlayer(1, centreOf(Point(9, 7)));
    w.run(1.4f);
    EXPECT_EQ(figure.steerable->unit.body().position, FPoint(48, 176)) << "still waiting";
    w.run(2.0f);
    EXPECT_GT(figure.steerable->unit.body().position.x, 60.0f) << "walking its route";
}

}  // namespace
}  // namespace Zarn

namespace Zarn {
namespace {

// A prop's radius comes from the map file; one of billions of units used to
// make the secondary unit index file billions of cells. It is capped at the
// room's larger side.
TEST(GrandMapImporterTest, AHugePropRadiusIsCappedAtTheRoom) {
    ScriptedSteerableElement prop;
    prop.elementId = 300;
    prop.number = 50;
    prop.position = Point(100, 100);
    prop.radius = 0xFFFFFFF0u;
    TestWorld w;
    w.load(zarn_test::openRoom().element(prop).bytes());
    ASSERT_EQ(w.secondaryUnits.size(), 1u);
    EXPECT_EQ(w.secondaryUnits[0]->radius, 320.0f) << "the room is 320 x 256";
    EXPECT_LE(w.secondaryIndex.cellsOf(50).size(), 21u * 21u);
    w.run(0.3f);
}

}  // namespace
}  // namespace Zarn
