#include <gtest/gtest.h>

#include <algorithm>

#include "TriggerTestSupport.h"
#include "grid/CellGrid.h"
#include "map/import/GameMap.h"
#include "world/triggers/EventTriggerSet.h"
#include "world/triggers/InputResult.h"
#include "world/units/SecondaryUnitIndex.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using namespace test;
using GeometryLib::Point;

constexpr float kTick = 0.03f;

// A small world built by hand: a 10 x 10 room of 32-unit cells, one player,
// the trigger set and a fake action factory whose commands act on the test
// objects.
struct SmallWorld : testing::Test {
    SmallWorld() {
        grid.setProperties(MapProperties{320, 320, 32});
        grid.resize();
        units.addClient(1);
        factory.hooks[0] = [this](const ActionData& a) { traps.at(numberOf(a))->enable(); };
        factory.hooks[1] = [this](const ActionData& a) { traps.at(numberOf(a))->disable(); };
        factory.hooks[19] = [this](const ActionData& a) { registry.enableEvent(numberOf(a)); };
        factory.hooks[20] = [this](const ActionData& a) { registry.disableEvent(numberOf(a)); };
        factory.hooks[16] = [this](const ActionData& a) {
            const auto& timed = dynamic_cast<const TimerActionData&>(a);
            set.timerTrigger().scheduleAction(set.timerTrigger().clock() + timed.delay, *timed.action);
        };
    }

    const MapEventData& add(std::unique_ptr<MapEventData> event) {
        events.push_back(std::move(event));
        return *events.back();
    }
    void load() {
        registry.registerImportedEvents();
        set.arm();
    }
    // One server tick: the commands queued by the last tick run first, then
    // the updatables in their order.
    void tick() {
        runImmediate(commands);
        for (Convinience::Updatable* u : set.updatables()) u->update(kTick);
    }
    void standOn(Point cell) {
        units.getUnit(1).body().position = {cell.x * 32.0f + 16, cell.y * 32.0f + 16};
    }
    int ran(const std::string& tagText) const {
        return static_cast<int>(std::count(log.begin(), log.end(), "ran " + tagText));
    }

    CellGrid grid;
    SteerableUnitManager units;
    SecondaryUnitIndex secondaryUnits{grid};
    MapEventList events;
    MapEventRegistry registry{events};
    CommandLog log;
    FakeActionFactory factory{log};
    Corvel::ClientCommandState commands;
    EventTriggerSet set{commands, factory, registry, units, secondaryUnits, events, grid};
    std::map<u32, InteractiveMapElement*> traps;
};

TEST_F(SmallWorld, ArmingFilesEventsByKindAndListsOnlyNonEmptyTriggers) {
    add(makeEvent(1, plainTrigger(1, 1)));
    add(makeEvent(2, positionTrigger(1, Point(1, 1))));
    add(makeEvent(3, numberTrigger(10, 1, 4)));
    add(makeEvent(4, timerTrigger(1, 1.0f)));
    add(makeEvent(5, areaTrigger(1, {Point(2, 2), Point(3, 3)})));
    add(makeEvent(6, plainTrigger(3, 1)));  // kinds 0, 2, 3, 4: never filed
    add(makeEvent(7, plainTrigger(0, 1)));
    add(makeEvent(3, numberTrigger(10, 1, 9)));  // duplicate ID: not filed
    add(makeEvent(8, numberTrigger(12, 1, 2)));
    add(makeEvent(9, numberTrigger(9, 1, 2)));
    load();

    EXPECT_EQ(set.timerTrigger().scheduledEventCount(), 2u);
    EXPECT_EQ(set.positionEventTrigger().cells().size(), 3u);
    EXPECT_NE(set.bindableTrigger().numberedEvents(10, 4), nullptr);
    EXPECT_EQ(set.bindableTrigger().numberedEvents(10, 9), nullptr);
    EXPECT_EQ(set.bindableTrigger().effectEvents(EffectKind::kill), nullptr);
    EXPECT_NE(set.bindableTrigger().effectEvents(EffectKind::checkpoint), nullptr);
    EXPECT_NE(set.bindableTrigger().inputEvents(InputResultKind::dialogClosed), nullptr);

    // Only the position-event trigger holds cells.
    ASSERT_EQ(set.triggerGroup().triggers().size(), 1u);
    EXPECT_EQ(set.triggerGroup().triggers()[0], &set.positionEventTrigger());
    const std::vector<Convinience::Updatable*> expected{&set.triggerGroup(), &set.timerTrigger()};
    EXPECT_EQ(set.updatables(), expected);

    set.arm();  // a second arming files nothing twice
    EXPECT_EQ(set.updatables().size(), 2u);
    EXPECT_EQ(set.positionEventTrigger().cells().size(), 3u);
}

TEST_F(SmallWorld, ElementsFiledBeforeArmingJoinTheGroupInOrder) {
    MapElement record;
    TestElement element(record);
    set.positionElementTrigger().addElement(element, {Point(1, 1)});
    add(makeEvent(1, positionTrigger(1, Point(1, 1))));
    load();
    const std::vector<PositionTrigger*> expected{&set.positionEventTrigger(), &set.positionElementTrigger()};
    EXPECT_EQ(set.triggerGroup().triggers(), expected);
}

TEST_F(SmallWorld, AMapWithoutPlacesHasAnIdleGroup) {
    add(makeEvent(1, timerTrigger(1, 1.0f)));
    load();
    EXPECT_TRUE(set.triggerGroup().triggers().empty());
    MapElement record;
    TestElement late(record);
    set.positionElementTrigger().addElement(late, {Point(1, 1)});  // after arming: never consulted
    standOn(Point(1, 1));
    tick();
    EXPECT_EQ(late.scripted().applied, 0);
}

TEST_F(SmallWorld, UnknownTriggerKindFailsTheLoad) {
    add(makeEvent(1, plainTrigger(21, 1)));
    registry.registerImportedEvents();
    try {
        set.arm();
        FAIL() << "armed";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "no such event trigger");
    }
}

TEST_F(SmallWorld, LeverEnablesATrapWhoseKillAndEnablingFireTheirEvents) {
    // Lever at (2, 2), starting off: switching it on enables trap 7 (and
    // switching it off disables it). Trap 7 at (5, 5) starts disabled.
    SwitchElement leverRecord;
    leverRecord.startOff = 1;
    leverRecord.firstActions.push_back(numberAction(1, 7));
    leverRecord.secondActions.push_back(numberAction(0, 7));
    TestLever lever(leverRecord);
    lever.scripted().onApply = [&](SteerableUnit*) {
        // The lever runs the list of the way it is switched.
        const ActionList& list =
            lever.state.value == EOnOffState::off ? leverRecord.secondActions : leverRecord.firstActions;
        for (auto& a : list) factory.makeCommand(*a)->execute();
    };
    TrapElement trapRecord;
    trapRecord.trapNumber = 7;
    TestTrap trap(trapRecord);
    trap.enabled = 0;
    traps[7] = &trap;
    set.positionElementTrigger().addElement(lever, {Point(2, 2)});
    set.positionElementTrigger().addElement(trap, {Point(5, 5)});
    add(makeEvent(1, numberTrigger(6, 1, 7), actions(numberAction(10, 3))));  // trap 7 enabled: open door 3
    add(makeEvent(2, numberTrigger(17, 2, 7), actions(numberAction(4, 9))));  // killed by trap 7: dialog 9
    load();

    standOn(Point(5, 5));
    tick();
    EXPECT_EQ(trap.scripted().applied, 0);  // disabled: not touching

    standOn(Point(2, 2));
    for (int i = 0; i < 3; ++i) tick();  // standing on the lever switches it once
    EXPECT_EQ(lever.scripted().applied, 1);
    EXPECT_TRUE(trap.isEnabled());
    EXPECT_EQ(ran("10:3"), 1);

    standOn(Point(5, 5));
    for (int i = 0; i < 3; ++i) tick();
    EXPECT_EQ(trap.scripted().applied, 3);
    EXPECT_EQ(ran("4:9"), 2);  // the kill event has two firings
    EXPECT_FALSE(registry.isPresent(2));

    // Back on the lever: switched off, the trap is disabled; door 3 does not open again.
    standOn(Point(2, 2));
    tick();
    tick();
    EXPECT_FALSE(trap.isEnabled());
    EXPECT_EQ(ran("10:3"), 1);
}

TEST_F(SmallWorld, TimersAndTimedActionsRunOncePerCount) {
    add(makeEvent(1, timerTrigger(2, 0.5f), actions(numberAction(24, 50))));
    add(makeEvent(2, plainTrigger(1, 5), actions(numberAction(24, 60))));  // at start, once
    // Entering (8, 8) enables event 4 one second later; event 4 then fires 0.3 s after that.
    auto timed = std::make_unique<TimerActionData>();
    timed->actionId = 16;
    timed->delay = 1.0f;
    timed->action = numberAction(19, 4);
    add(makeEvent(3, positionTrigger(1, Point(8, 8)), actions(std::move(timed))));
    add(makeEvent(4, timerTrigger(1, 0.3f), actions(numberAction(24, 70)), 0));
    load();

    standOn(Point(0, 0));
    for (int i = 0; i < 100; ++i) tick();  // 3 s
    EXPECT_EQ(ran("24:50"), 2);
    EXPECT_EQ(ran("24:60"), 1);
    EXPECT_EQ(ran("24:70"), 0);

    standOn(Point(8, 8));
    int enabledAt = -1, firedAt = -1;
    for (int i = 1; i <= 100; ++i) {
        tick();
        if (enabledAt < 0 && ran("19:4") == 1) enabledAt = i;
        if (firedAt < 0 && ran("24:70") == 1) firedAt = i;
    }
    ASSERT_GT(enabledAt, 0);
    ASSERT_GT(firedAt, 0);
    EXPECT_NEAR(enabledAt * kTick, 1.0f, 3 * kTick);
    EXPECT_NEAR((firedAt - enabledAt) * kTick, 0.3f, 3 * kTick);
    EXPECT_EQ(ran("24:70"), 1);
    EXPECT_EQ(ran("24:50"), 2);
    EXPECT_FALSE(registry.isPresent(4));
}

}  // namespace
}  // namespace Zarn

namespace Zarn {
namespace {

TEST(EventTriggerSetOverGameMapTest, UsesTheMapsEventsAndGrid) {
    using namespace test;
    GameMap map;
    map.grid.setProperties(MapProperties{320, 320, 64});
    map.grid.resize();
    map.mapEvents.push_back(makeEvent(1, positionTrigger(1, Point(2, 1)), actions(numberAction(24, 5))));
    SteerableUnitManager units;
    units.addClient(1);
    units.getUnit(1).body().position = {130, 70};  // cell (2, 1) with 64-unit cells
    SecondaryUnitIndex secondaryUnits(map.grid);
    MapEventRegistry registry(map.mapEvents);
    CommandLog log;
    FakeActionFactory factory(log);
    Corvel::ClientCommandState commands;
    EventTriggerSet set(commands, factory, registry, units, secondaryUnits, map);
    registry.registerImportedEvents();
    set.arm();
    for (Convinience::Updatable* u : set.updatables()) u->update(kTick);
    EXPECT_EQ(log, (CommandLog{"for 1", "made 24:5"})) << "made for the player who arrived";
}

}  // namespace
}  // namespace Zarn

namespace Zarn {
namespace {

TEST(EventTriggerSetLifetimeTest, ARegistryThatOutlivesTheSetTellsItNothing) {
    using namespace test;
    CellGrid grid;
    MapEventList events;
    events.push_back(makeEvent(1, timerTrigger(2, 1.0f), {}, 0));
    MapEventRegistry registry(events);
    registry.registerImportedEvents();
    SteerableUnitManager units;
    SecondaryUnitIndex secondaryUnits(grid);
    CommandLog log;
    FakeActionFactory factory(log);
    Corvel::ClientCommandState commands;
    {
        EventTriggerSet set(commands, factory, registry, units, secondaryUnits, events, grid);
        set.arm();
        registry.enableEvent(1);
        EXPECT_EQ(set.timerTrigger().scheduledEventCount(), 1u);
        registry.disableEvent(1);
    }
    registry.enableEvent(1);  // the set's timer is gone: nobody to tell
    EXPECT_TRUE(registry.isEnabled(1));
}

}  // namespace
}  // namespace Zarn
