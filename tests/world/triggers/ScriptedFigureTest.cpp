#include <gtest/gtest.h>

#include <cmath>

#include "TriggerTestSupport.h"
#include "world/elements/ScriptedSteerableIME.h"
#include "grid/CellGrid.h"
#include "world/steering/SteerableProximity.h"
#include "world/steering/SteerableSimulator.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/EventTriggerSet.h"
#include "world/triggers/ScriptedAction.h"
#include "world/units/SecondaryUnitIndex.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using namespace test;
using GeometryLib::FPoint;
using GeometryLib::Point;

constexpr float kTick = 0.03f;
constexpr u32 kFigureNumber = 1;

// A 12 x 6 room of 32-unit cells with one player and one scripted figure
// (radius 10, starting at (48, 48)), wired as the map builder wires them: the
// figure is a moving element of the trigger set and the cells it waits for
// are filed for it in the position-element trigger.
struct FigureWorld : testing::Test {
    FigureWorld() {
        grid.setProperties(MapProperties{384, 192, 32});
        grid.resize();
        units.addClient(1);
        units.getUnit(1).body().position = {16, 176};
        prop.cellSize = 32;
        prop.radius = 10;
        prop.unit.body().position = {48, 48};
        index.add(kFigureNumber, &prop);
        simulator.timeStep = kTick;
        simulator.addUnit(1, &units.getUnit(1));
        simulator.addSecondaryUnit(&prop.unit);
        dialogs[4] = DialogEntry("Hello", "Rat", 4, Point(0, 0));
    }

    void arm() {
        set.movingElementTrigger().addElement(kFigureNumber, figure);
        registry.registerImportedEvents();
        set.arm();
    }
    // One server step: commands, the simulator, the elements, the updatables.
    void tick() {
        runImmediate(commands);
        simulator.step();
        index.refresh();
        figure.update(kTick);
        for (Convinience::Updatable* u : set.updatables()) u->update(kTick);
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) tick();
    }
    SteerableUnit& player() { return units.getUnit(1); }

    CellGrid grid;
    SteerableUnitManager units;
    SecondaryUnitIndex index{grid};
    SteerableSimulator simulator;
    SecondarySteerableUnit prop{kFirstSecondaryUnitHandle};
    MapElement figureRecord;
    ScriptedSteerableIME figure{figureRecord, prop};
    DialogTable dialogs;
    DialogPlayer dialogPlayer{dialogs, 1};
    MapEventList events;
    MapEventRegistry registry{events};
    CommandLog log;
    FakeActionFactory factory{log};
    Corvel::ClientCommandState commands;
    EventTriggerSet set{commands, factory, registry, units, index, events, grid};
};

TEST_F(FigureWorld, FigureWalksWaitsTalksAndWaitsForContact) {
    std::vector<std::unique_ptr<ScriptedAction>> script;
    script.push_back(
        std::make_unique<ScriptedPathedMoveAction>(prop.unit, std::vector<FPoint>{{112, 48}, {176, 48}}));
    script.push_back(std::make_unique<ScriptedWaitForArrival>(figure, std::vector<Point>{Point(8, 1)}, grid));
    set.positionElementTrigger().addElement(figure, {Point(8, 1)});
    script.push_back(std::make_unique<ScriptedDialogAction>(dialogPlayer, 4));
    script.push_back(std::make_unique<ScriptedWaitAction>(0.3f));
    script.push_back(std::make_unique<ScriptedSetSecondarySteerableGenericStateAction>(figure, 3));
    script.push_back(std::make_unique<ScriptedWaitForContact>(
        figure, grid, std::make_unique<SteerableProximityImpl>(units, grid), units));
    figure.runner.setActions(std::move(script));
    arm();

    // The walk: the figure arrives at (176, 48) and the script moves on to waiting.
    int t = 0;
    while (figure.runner.currentIndex() == 0 && t < 300) {
        tick();
        ++t;
    }
    ASSERT_EQ(figure.runner.currentIndex(), 1u);
    EXPECT_NEAR(prop.position().x, 176.0f, 2.0f);
    EXPECT_NEAR(prop.position().y, 48.0f, 2.0f);

    // Nobody on (8, 1): the figure waits; the state mirrors the body.
    ticks(30);
    EXPECT_EQ(figure.runner.currentIndex(), 1u);
    EXPECT_NEAR(figure.state.position.x, prop.position().x, 0.01f);

    // The player steps on (8, 1): that tick's contacts finish the wait, the
    // dialog starts two figure updates later.
    player().body().position = {272, 48};
    tick();
    EXPECT_EQ(figure.runner.actions()[1]->status(), ScriptedActionStatus::finished);
    EXPECT_FALSE(dialogPlayer.isPlaying());
    ticks(2);
    EXPECT_TRUE(dialogPlayer.isPlaying());
    EXPECT_EQ(dialogPlayer.getCurrent(), 4u);

    // The dialog holds the script until it is stopped; then the wait and the state.
    ticks(20);
    EXPECT_EQ(figure.runner.currentIndex(), 2u);
    dialogPlayer.stop();
    ticks(20);
    EXPECT_EQ(figure.state.value, 3);
    EXPECT_EQ(figure.runner.currentIndex(), 5u);

    // Waiting for contact: a player beside the figure but out of reach keeps it
    // waiting; within radius + 4 it finishes and the script ends.
    player().body().position = {prop.position().x + 15.0f, prop.position().y};
    ticks(5);
    EXPECT_TRUE(figure.runner.isRunning());
    player().body().position = {prop.position().x + 13.0f, prop.position().y};
    ticks(3);
    EXPECT_FALSE(figure.runner.isRunning());
}

TEST_F(FigureWorld, DisabledFigureNeitherListensNorRunsItsScript) {
    std::vector<std::unique_ptr<ScriptedAction>> script;
    script.push_back(std::make_unique<ScriptedWaitForArrival>(figure, std::vector<Point>{Point(1, 5)}, grid));
    script.push_back(std::make_unique<ScriptedWaitAction>(0.1f));
    set.positionElementTrigger().addElement(figure, {Point(1, 5)});
    figure.runner.setActions(std::move(script));
    arm();
    ticks(2);
    figure.disable();
    player().body().position = {48, 176};  // on (1, 5)
    ticks(3);
    EXPECT_EQ(figure.runner.actions()[0]->status(), ScriptedActionStatus::running);
    figure.enable();
    player().body().position = {80, 176};
    tick();
    player().body().position = {48, 176};
    ticks(3);
    EXPECT_EQ(figure.runner.currentIndex(), 1u);
}

TEST_F(FigureWorld, LoopedWaitForArrivalIgnoresTouchesWhileIdle) {
    // After a loop the finished wait is idle again but still the listener: a
    // touch then must not finish it before it is started.
    std::vector<std::unique_ptr<ScriptedAction>> script;
    auto* arrival = new ScriptedWaitForArrival(figure, std::vector<Point>{Point(1, 5)}, grid);
    script.emplace_back(arrival);
    figure.runner.setActions(std::move(script));
    figure.runner.setLoop(true);
    figure.runner.update(kTick);  // started
    player().body().position = {48, 176};
    arrival->notify(player());
    EXPECT_EQ(arrival->status(), ScriptedActionStatus::finished);
    figure.runner.update(kTick);  // looped: reset, idle
    EXPECT_EQ(arrival->status(), ScriptedActionStatus::idle);
    arrival->notify(player());
    EXPECT_EQ(arrival->status(), ScriptedActionStatus::idle);
}

TEST_F(FigureWorld, WaitForContactReachesExactlyRadiusPlusFour) {
    auto contact = std::make_unique<ScriptedWaitForContact>(
        figure, grid, std::make_unique<SteerableProximityImpl>(units, grid), units);
    contact->execute();
    EXPECT_EQ(figure.contactListener, contact.get());

    player().body().position = {62.5f, 48};  // 14.5 away
    contact->notify(player());
    contact->update(kTick);
    EXPECT_EQ(contact->status(), ScriptedActionStatus::running);
    player().body().position = {62, 48};  // 14 = radius + 4
    contact->notify(player());
    contact->update(kTick);
    EXPECT_EQ(contact->status(), ScriptedActionStatus::finished);
}

TEST_F(FigureWorld, WaitForContactDoesNotReadAUnitThatLeftTheGame) {
    auto contact = std::make_unique<ScriptedWaitForContact>(
        figure, grid, std::make_unique<SteerableProximityImpl>(units, grid), units);
    contact->execute();
    player().body().position = {50, 48};
    contact->notify(player());
    simulator.removeUnit(1);
    units.removeClient(1);
    contact->update(kTick);  // under the address sanitizer a read would fail here
    EXPECT_EQ(contact->status(), ScriptedActionStatus::running);
}

TEST_F(FigureWorld, SetStateKeepsTheMirroredMotion) {
    ScriptedSetSecondarySteerableGenericStateAction setState(figure, 255);
    prop.unit.body().position = {100, 60};
    figure.update(kTick);
    setState.execute();
    setState.update(kTick);
    EXPECT_EQ(setState.status(), ScriptedActionStatus::finished);
    EXPECT_EQ(figure.state.value, 0xFF);
    EXPECT_EQ(prop.position(), FPoint(100, 60));
}

}  // namespace
}  // namespace Zarn
