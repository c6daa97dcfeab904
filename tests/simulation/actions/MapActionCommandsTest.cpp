#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "grid/CellGrid.h"
#include "map/records/ActionData.h"
#include "map/records/DoorElement.h"
#include "map/records/SwitchElement.h"
#include "map/records/TrapElement.h"
#include "simulation/actions/ActionFactoryImpl.h"
#include "simulation/actions/MapActionCommands.h"
#include "world/elements/Door.h"
#include "world/elements/Lever.h"
#include "world/elements/LeverEffect.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SpawnPoints.h"
#include "world/traps/TrapDirectory.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/units/SteerableUnitManager.h"

using namespace Zarn;
using GeometryLib::Point;

namespace {

using Ran = std::vector<std::string>;

class RecordingCommand : public Convinience::Command {
public:
    RecordingCommand(Ran& ran, std::string name) : ran_(&ran), name_(std::move(name)) {}
    void execute() override { ran_->push_back(name_); }

private:
    Ran* ran_;
    std::string name_;
};

ActionCommands recording(Ran& ran, const std::string& name) {
    ActionCommands list;
    list.push_back(std::make_unique<RecordingCommand>(ran, name));
    return list;
}

class FakeTrap : public Trap {
public:
    explicit FakeTrap(const TrapElement& record) : Trap(record, nullptr) {}
    void enable() override { enabled = true; }
    void disable() override { enabled = false; }
    bool isEnabled() const override { return enabled; }
    bool touches(const Point&, SteerableUnit*) override { return false; }
    void reset() override {}
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState&) override {}
    void update(float) override {}
    bool enabled = false;
    OnOffIMEState state;
};

class Traps : public TrapDirectory {
public:
    Trap* findTrap(u32 number) override {
        auto it = traps.find(number);
        return it == traps.end() ? nullptr : it->second.get();
    }
    InteractiveMapElement* findTrapGroup(u32) override { return nullptr; }
    FakeTrap& add(u32 number) {
        auto& trap = traps[number];
        trap = std::make_unique<FakeTrap>(record);
        return *trap;
    }
    TrapElement record;
    std::map<u32, std::unique_ptr<FakeTrap>> traps;
};

NumberActionData number(u32 id, u32 n) {
    return NumberActionData(id, n);
}

NumbersActionData numbers(u32 id, std::vector<u32> list) {
    NumbersActionData data;
    data.actionId = id;
    data.numbers = std::move(list);
    return data;
}

class MapActionTest : public ::testing::Test {
protected:
    MapActionTest() {
        grid.setProperties(MapProperties{640, 640, 64});
        grid.resize();
        dialogTable[3] = DialogEntry("hello", "PART", 3, Point(0, 0));
        doorRecord.number = 10;
        door = std::make_unique<Door>(doorRecord, grid, nullptr);
        elements.add(10, door.get());
        leverRecord.number = 11;
        auto effect = std::make_unique<LeverEffect>(recording(ran, "first"), recording(ran, "second"));
        auto* effectPtr = effect.get();
        lever = std::make_unique<Lever>(leverRecord, std::move(effect), grid);
        effectPtr->lever = lever.get();
        elements.add(11, lever.get());
    }

    std::unique_ptr<Convinience::Command> make(const ActionData& data) { return factory.makeCommand(data); }

    CellGrid grid;
    Traps traps;
    MapEventList events;
    MapEventRegistry registry{events};
    SteerableUnitManager units;
    DialogTable dialogTable;
    DialogPlayer dialogs{dialogTable, 1};
    NumberedElementGroup elements;
    SpawnPoints spawnPoints;
    ActionFactoryImpl factory{registry, traps, units, dialogs, elements, spawnPoints};
    DoorElement doorRecord;
    std::unique_ptr<Door> door;
    SwitchElement leverRecord;
    std::unique_ptr<Lever> lever;
    Ran ran;
};

TEST_F(MapActionTest, FactoryRejectsDataOfTheWrongClassWithItsText) {
    const ActionData bare(0);
    const NumberActionData numberData(2, 1);
    struct Case {
        u32 id;
        const ActionData* data;
        const char* message;
    };
    NumberActionData n14(14, 1), n17(17, 1), n16(16, 1), n4(4, 1);
    ActionData bare31(31), bare99(99);
    const std::vector<Case> cases = {
        {0, &bare, "not trap number data"},  {2, &numberData, "not move data"},
        {14, &n14, "not numbers data"},      {17, &n17, "not numbers data"},
        {16, &n16, "not timer action data"}, {4, &n4, nullptr},
        {31, &bare31, "not numbers data"},   {99, &bare99, "invalid commandID"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        if (!c.message) {
            EXPECT_NO_THROW(make(*c.data));
            continue;
        }
        try {
            make(*c.data);
            ADD_FAILURE() << "no throw";
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST_F(MapActionTest, TimerActionNeedsTheTimerTrigger) {
    TimerActionData data;
    data.actionId = 16;
    data.action = std::make_unique<NumberActionData>(0, 1);
    try {
        make(data);
        ADD_FAILURE() << "no throw";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "no timereven trigger, revisit this dependency in the future");
    }
}

TEST_F(MapActionTest, EnableTrapsStopsAtTheFirstMissingTrap) {
    FakeTrap& a = traps.add(1);
    FakeTrap& c = traps.add(3);
    make(numbers(31, {1, 2, 3}))->execute();
    EXPECT_TRUE(a.enabled);
    EXPECT_FALSE(c.enabled);
}

TEST_F(MapActionTest, TrapCommandsChangeTheTrapAndIgnoreMissingOnes) {
    FakeTrap& trap = traps.add(5);
    make(number(0, 5))->execute();
    EXPECT_TRUE(trap.enabled);
    make(number(30, 5))->execute();
    EXPECT_FALSE(trap.enabled);
    make(number(8, 5))->execute();
    EXPECT_EQ(trap.state.hidden, 1);
    make(number(29, 5))->execute();
    EXPECT_EQ(trap.state.hidden, 0);
    for (u32 id : {0u, 1u, 8u, 9u, 29u, 30u}) EXPECT_NO_THROW(make(number(id, 77))->execute());
}

TEST_F(MapActionTest, DoorCommandsOnALeverThrowWrongType) {
    make(number(10, 10))->execute();
    EXPECT_TRUE(door->isOpen());
    make(number(28, 10))->execute();
    EXPECT_FALSE(door->isOpen());
    try {
        make(number(10, 11))->execute();
        ADD_FAILURE() << "no throw";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "numbered element is of wrong type");
    }
    EXPECT_THROW(make(number(24, 99))->execute(), Convinience::Error);
}

TEST_F(MapActionTest, TurnOnSwitchTwiceRunsTheFirstListOnce) {
    lever->state.value = EOnOffState::on;
    auto on = make(number(12, 11));
    on->execute();
    on->execute();
    EXPECT_EQ(ran, (Ran{"first"}));
    EXPECT_EQ(lever->state.value, EOnOffState::off);
    make(number(13, 11))->execute();
    make(number(13, 11))->execute();
    EXPECT_EQ(ran, (Ran{"first", "second"}));
}

TEST_F(MapActionTest, MultiSwitchRunsOnlyWhenActivityChanges) {
    MultiSwitchElement record;
    record.number = 20;
    record.leverNumbers = {1, 2};
    auto multi = std::make_unique<MultiLever>(
        record,
        std::make_unique<MultiLeverEffect>(recording(ran, "first"), recording(ran, "second"), elements, 20),
        grid);
    multi->state.value = EOnOffState::off;
    elements.add(20, multi.get());
    TwoNumbersActionData data;
    data.actionId = 17;
    data.firstNumber = 20;
    data.secondNumber = 1;
    make(data)->execute();  // 1 on, 2 off: not active
    EXPECT_TRUE(ran.empty());
    data.secondNumber = 2;
    make(data)->execute();  // now active
    EXPECT_EQ(ran, (Ran{"first"}));
    make(data)->execute();  // no change
    EXPECT_EQ(ran, (Ran{"first"}));
    data.actionId = 18;
    make(data)->execute();  // stops being active
    EXPECT_EQ(ran, (Ran{"first", "second"}));
}

TEST_F(MapActionTest, UnitCommandsHonourIndexAndState) {
    units.addClient(4);
    units.addClient(9);
    MoveSteerableData move;
    move.actionId = 2;
    move.steerableNumber = 1;
    move.target = Point(300, 200);
    units.getUnit(9).body().velocity = GeometryLib::FPoint{5.0f, 5.0f};
    make(move)->execute();
    EXPECT_FLOAT_EQ(units.getUnit(9).body().position.x, 300.0f);
    EXPECT_FLOAT_EQ(units.getUnit(9).body().position.y, 200.0f);
    EXPECT_FLOAT_EQ(units.getUnit(9).body().velocity.x, 0.0f);

    move.steerableNumber = 2;  // equal to the unit count
    const auto before = units.getUnit(4).body().position;
    make(move)->execute();
    EXPECT_FLOAT_EQ(units.getUnit(4).body().position.x, before.x);

    move.actionId = 23;
    move.steerableNumber = 1;
    make(move)->execute();
    EXPECT_EQ(spawnPoints.spawnCellFor(9), Point(300, 200));

    units.getUnit(4).state = 5;
    make(ActionData(37))->execute();
    EXPECT_EQ(units.getUnit(4).state, 5u);
    units.getUnit(4).state = 0;
    make(ActionData(37))->execute();
    EXPECT_EQ(units.getUnit(4).state, UnitState::carried);
    EXPECT_EQ(units.getUnit(9).state, 0u);
}

TEST(MapActionExitTest, ExitLevelWithoutUnitsDoesNothing) {
    SteerableUnitManager units;
    ExitLevelCommand(units).execute();
    EXPECT_EQ(units.size(), 0u);
}

TEST_F(MapActionTest, WaitedDialogTakesAndGivesBackInputOnlyWhenItPlays) {
    units.addClient(1);
    make(number(6, 42))->execute();  // not in the table
    EXPECT_EQ(units.getUnit(1).inputEnabled, 1);
    make(number(6, 3))->execute();
    EXPECT_EQ(dialogs.getCurrent(), 3u);
    EXPECT_EQ(dialogs.isPlaying(), 1);
    EXPECT_EQ(units.getUnit(1).inputEnabled, 0);
    make(number(7, 3))->execute();
    EXPECT_EQ(dialogs.isPlaying(), 0);
    EXPECT_EQ(units.getUnit(1).inputEnabled, 1);
}

TEST_F(MapActionTest, MakeCommandsKeepsListOrder) {
    FakeTrap& trap = traps.add(1);
    NumberActionData enable(0, 1), disable(1, 1);
    auto commands = factory.makeCommands({&disable, &enable});
    ASSERT_EQ(commands.size(), 2u);
    commands[1]->execute();
    EXPECT_TRUE(trap.enabled);
    commands[0]->execute();
    EXPECT_FALSE(trap.enabled);
}

}  // namespace

namespace {

// The exit a player stepped on takes that player out of the level, whichever
// unit comes first; without an actor (a timer, a lever) the first unit goes.
// The actor is forgotten once its commands are made.
TEST_F(MapActionTest, TheExitTakesThePlayerWhoSteppedOnIt) {
    units.addClient(10);
    units.addClient(11);
    const ActionData exit(37);
    struct Case {
        std::optional<u32> actor;
        u32 expectLeft10;
        u32 expectLeft11;
    };
    const Case cases[] = {
        {11, 0, UnitState::carried},
        {10, UnitState::carried, 0},
        {12, 0, 0},  // a client that has no unit here: nobody leaves
        {std::nullopt, UnitState::carried, 0},
    };
    for (const Case& c : cases) {
        units.getUnit(10).state = 0;
        units.getUnit(11).state = 0;
        auto commands = c.actor ? factory.makeCommandsFor({&exit}, *c.actor) : factory.makeCommands({&exit});
        ASSERT_EQ(commands.size(), 1u);
        commands[0]->execute();
        EXPECT_EQ(units.getUnit(10).state, c.expectLeft10) << (c.actor ? *c.actor : 0);
        EXPECT_EQ(units.getUnit(11).state, c.expectLeft11) << (c.actor ? *c.actor : 0);
    }
    // A dead actor stays dead, and a later plain exit is the first unit's.
    units.getUnit(10).state = 0;
    units.getUnit(11).state = 5;
    factory.makeCommandsFor({&exit}, 11)[0]->execute();
    EXPECT_EQ(units.getUnit(11).state, 5u);
    make(exit)->execute();
    EXPECT_EQ(units.getUnit(10).state, UnitState::carried);
}

}  // namespace
