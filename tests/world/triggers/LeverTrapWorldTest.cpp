#include <gtest/gtest.h>

#include <algorithm>

#include "TriggerTestSupport.h"
#include "world/effects/Kill.h"
#include "world/elements/Lever.h"
#include "world/elements/LeverEffect.h"
#include "world/elements/SpawnPoints.h"
#include "grid/CellGrid.h"
#include "world/steering/SteerableSimulator.h"
#include "world/traps/IntervalTrap.h"
#include "world/triggers/EventTriggerSet.h"
#include "world/triggers/MapEventRunner.h"
#include "world/units/SecondaryUnitIndex.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using namespace test;
using GeometryLib::Point;

constexpr float kTick = 0.03f;

// A room with a real lever on (2, 2) and a real interval trap numbered 7 on
// (5, 5), built as the map builders build them: the lever's actions are
// commands of the action factory, the trap kills with KillThenWait, both are
// filed in the position-element trigger of the trigger set.
struct LeverTrapWorld : testing::Test {
    LeverTrapWorld() {
        grid.setProperties(MapProperties{320, 320, 32});
        grid.resize();
        units.addClient(1);
        simulator.timeStep = kTick;
        simulator.addUnit(1, &units.getUnit(1));
        spawns.setDefaultSpawnCell(Point(0, 0));

        leverRecord.position = Point(80, 80);
        leverRecord.startOff = 1;
        leverRecord.firstActions.push_back(numberAction(1, 7));   // off: disable trap 7
        leverRecord.secondActions.push_back(numberAction(0, 7));  // on: enable trap 7
        auto effect =
            std::make_unique<LeverEffect>(factory.makeCommands(actionPointers(leverRecord.firstActions)),
                                          factory.makeCommands(actionPointers(leverRecord.secondActions)));
        LeverEffect* leverEffect = effect.get();
        lever = std::make_unique<Lever>(leverRecord, std::move(effect), grid);
        leverEffect->lever = lever.get();

        trapRecord.trapNumber = 7;
        trapRecord.coveredCells = PointSet{Point(5, 5)};
        trapRecord.activeTime = 10.0f;
        trapRecord.restTime = 0.06f;
        trap = std::make_unique<IntervalTrap>(
            trapRecord, std::make_unique<KillThenWait>(spawns, grid, 4, 1.0f, trapRecord.coveredCells));
        factory.hooks[0] = [this](const ActionData&) { trap->enable(); };
        factory.hooks[1] = [this](const ActionData&) { trap->disable(); };

        set.positionElementTrigger().addElement(*lever, {lever->cell});
        set.positionElementTrigger().addElement(*trap, {Point(5, 5)});
        // Trap 7 enabled: open door 3. Killed by trap 7: play dialog 9.
        events.push_back(makeEvent(1, numberTrigger(6, 1, 7), actions(numberAction(10, 3))));
        events.push_back(makeEvent(2, numberTrigger(17, 0, 7), actions(numberAction(4, 9))));
        log.clear();  // the lever's commands were made above
        registry.registerImportedEvents();
        set.arm();
    }

    void tick() {
        runImmediate(commands);
        simulator.step();
        trap->update(kTick);
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
    SpawnPoints spawns;
    SteerableSimulator simulator;
    MapEventList events;
    MapEventRegistry registry{events};
    CommandLog log;
    FakeActionFactory factory{log};
    Corvel::ClientCommandState commands;
    EventTriggerSet set{commands, factory, registry, units, secondaryUnits, events, grid};
    SwitchElement leverRecord;
    IntervalTrapElement trapRecord;
    std::unique_ptr<Lever> lever;
    std::unique_ptr<IntervalTrap> trap;
};

TEST_F(LeverTrapWorld, LeverEnablesTheTrapWhoseKillFiresItsEvent) {
    standOn(Point(5, 5));
    for (int i = 0; i < 10; ++i) tick();
    EXPECT_EQ(units.getUnit(1).state, UnitState::alive);  // the trap is off

    standOn(Point(2, 2));
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_TRUE(lever->isOn());
    EXPECT_TRUE(trap->isEnabled());
    EXPECT_EQ(ran("0:7"), 1);   // the lever's own action
    EXPECT_EQ(ran("10:3"), 1);  // the event tied to trap 7 being enabled

    standOn(Point(5, 5));
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_EQ(units.getUnit(1).state, 4u);
    EXPECT_EQ(ran("4:9"), 1);
    EXPECT_FALSE(registry.isPresent(2));

    // Back to the lever (the unit respawned meanwhile): switched off, the trap is disabled.
    for (int i = 0; i < 40; ++i) tick();
    EXPECT_EQ(units.getUnit(1).state, UnitState::alive);
    standOn(Point(2, 2));
    tick();
    EXPECT_FALSE(lever->isOn());
    EXPECT_FALSE(trap->isEnabled());
    EXPECT_EQ(ran("1:7"), 1);
    EXPECT_EQ(ran("10:3"), 1);
}

}  // namespace
}  // namespace Zarn
