#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ElementTestSupport.h"
#include "foundation/Error.h"
#include "foundation/Logger.h"
#include "map/records/SwitchElement.h"
#include "support/TestEnvironment.h"
#include "world/elements/Lever.h"
#include "world/elements/LeverEffect.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::Point;
using Ran = std::vector<std::string>;

// Counts the lines of the test log that hold the text.
std::size_t logLinesWith(const std::string& text) {
    Convinience::Logger::flush();
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(zarn_test::tempDir())) {
        if (entry.path().extension() != ".log") continue;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) count += line.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

class LeverTest : public testing::Test {
protected:
    LeverTest() {
        zarn_test::openRoom(grid, 10, 10, 32);
        record.position = Point(100, 70);  // cell (3, 2)
        record.number = 4;
        units.addClient(1);
        unit = &units.getUnit(1);
    }

    // A lever with its effect, wired as the builder wires them.
    std::unique_ptr<Lever> makeLever() {
        auto effect = std::make_unique<LeverEffect>(zarn_test::recordingActions(ran, {"off 1", "off 2"}),
                                                    zarn_test::recordingActions(ran, {"on 1"}));
        LeverEffect* raw = effect.get();
        auto lever = std::make_unique<Lever>(record, std::move(effect), grid);
        raw->lever = lever.get();
        return lever;
    }
    LeverEffectResult& asLever(std::unique_ptr<EffectResult>& r) {
        return dynamic_cast<LeverEffectResult&>(*r);
    }

    CellGrid grid;
    SwitchElement record;
    SteerableUnitManager units;
    SteerableUnit* unit;
    Ran ran;
};

TEST_F(LeverTest, TouchesOnlyItsOwnCellWhileEnabled) {
    auto lever = makeLever();
    EXPECT_EQ(lever->cell, Point(3, 2));
    EXPECT_TRUE(lever->reactsOnEnterOnly());
    EXPECT_TRUE(lever->touches(Point(3, 2), nullptr));
    EXPECT_FALSE(lever->touches(Point(2, 3), unit));
    lever->disable();
    EXPECT_FALSE(lever->touches(Point(3, 2), unit));
    EXPECT_TRUE(lever->isOn()) << "disable does not reset";
}

TEST_F(LeverTest, EachTouchFlipsAndRunsTheListOfTheNewSide) {
    auto lever = makeLever();
    auto first = lever->effect->apply(unit);
    EXPECT_EQ(first->applied, 1);
    EXPECT_EQ(first->kind, EffectKind::lever);
    EXPECT_EQ(first->ids, std::vector<u32>{1});
    EXPECT_EQ(asLever(first).lever, lever.get());
    EXPECT_FALSE(lever->isOn());
    EXPECT_EQ(ran, (Ran{"off 1", "off 2"}));

    auto second = lever->effect->apply(nullptr);
    EXPECT_EQ(second->applied, 1);
    EXPECT_EQ(second->ids, std::vector<u32>{0});
    EXPECT_TRUE(lever->isOn());
    EXPECT_EQ(ran, (Ran{"off 1", "off 2", "on 1"}));
}

TEST_F(LeverTest, StartOffLeverTurnsOnFirstAndResetLeavesItOn) {
    record.startOff = 1;
    auto lever = makeLever();
    EXPECT_FALSE(lever->isOn());
    lever->effect->apply(unit);
    EXPECT_TRUE(lever->isOn());
    EXPECT_EQ(ran, (Ran{"on 1"}));
    lever->reset();
    EXPECT_TRUE(lever->isOn());
}

TEST_F(LeverTest, DeadOrCarriedUnitsAndAnUnwiredEffectFlipNothing) {
    auto lever = makeLever();
    for (u32 word : {5u, 17u, 22u}) {
        unit->state = word;
        auto r = lever->effect->apply(unit);
        EXPECT_EQ(r->applied, 0) << word;
        EXPECT_EQ(r->kind, EffectKind::lever);
        EXPECT_TRUE(lever->isOn());
    }
    LeverEffect unwired(zarn_test::recordingActions(ran, {"x"}), {});
    unit->state = 0;
    EXPECT_EQ(unwired.apply(unit)->applied, 0);
    EXPECT_TRUE(ran.empty());
}

class MultiLeverTest : public LeverTest {
protected:
    MultiLeverTest() {
        multiRecord.position = Point(100, 70);
        multiRecord.number = 7;
        multiRecord.leverNumbers = {1, 2};
        selectiveRecord.position = Point(200, 70);
        selectiveRecord.number = 8;
        selectiveRecord.leverNumbers = {1, 2, 3};
        selectiveRecord.selectedNumbers = {1, 2};
    }
    MultiLever& makeMulti() {
        multi = std::make_unique<MultiLever>(
            multiRecord,
            std::make_unique<MultiLeverEffect>(zarn_test::recordingActions(ran, {"off"}),
                                               zarn_test::recordingActions(ran, {"on"}), table, 7),
            grid);
        table.add(7, multi.get());
        return *multi;
    }

    MultiSwitchElement multiRecord;
    SelectiveMultiSwitchElement selectiveRecord;
    NumberedElementGroup table;
    std::unique_ptr<MultiLever> multi;
};

TEST_F(MultiLeverTest, FlipsOnEveryTouchAndRunsActionsOnlyWhileTheSwitchesAreOn) {
    MultiLever& lever = makeMulti();
    lever.turnOnSwitch(1);
    // Switches {1: on, 2: off}: flips, runs nothing.
    for (bool expectOn : {false, true, false}) {
        auto r = lever.effect->apply(unit);
        EXPECT_EQ(r->applied, 0);
        EXPECT_EQ(r->kind, EffectKind::lever);
        EXPECT_EQ(lever.isOn(), expectOn);
    }
    EXPECT_TRUE(ran.empty());

    lever.turnOnSwitch(2);
    ASSERT_FALSE(lever.isOn());
    auto r = lever.effect->apply(unit);  // asked while still off: all on
    EXPECT_EQ(r->applied, 1);
    EXPECT_EQ(dynamic_cast<LeverEffectResult&>(*r).lever, &lever);
    EXPECT_TRUE(lever.isOn());
    EXPECT_EQ(ran, (Ran{"on"}));

    r = lever.effect->apply(unit);  // turned off first, then asked: all on
    EXPECT_EQ(r->applied, 1);
    EXPECT_EQ(ran, (Ran{"on", "off"}));
}

TEST_F(MultiLeverTest, EveryUnitFlipsAMultiLeverEvenADeadOne) {
    MultiLever& lever = makeMulti();
    unit->state = 5;
    lever.effect->apply(unit);
    EXPECT_FALSE(lever.isOn());
}

TEST_F(MultiLeverTest, AllSwitchesOnNeedsTheLeverOff) {
    MultiLever& lever = makeMulti();
    lever.turnOnSwitch(1);
    lever.turnOnSwitch(2);
    EXPECT_FALSE(lever.areAllSwitchesOn());
    lever.state.value = EOnOffState::off;
    EXPECT_TRUE(lever.areAllSwitchesOn());
    lever.turnOffSwitch(2);
    EXPECT_FALSE(lever.areAllSwitchesOn());
    lever.reset();
    EXPECT_TRUE(lever.isSwitchOn(1)) << "reset leaves the switches";

    multiRecord.leverNumbers.clear();
    MultiLever empty(multiRecord, makeNullEffect(), grid);
    EXPECT_FALSE(empty.areAllSwitchesOn());
    empty.state.value = EOnOffState::off;
    EXPECT_TRUE(empty.areAllSwitchesOn());
}

TEST_F(MultiLeverTest, AnUnknownSwitchNumberIsLoggedOnceAndIgnored) {
    MultiLever& lever = makeMulti();
    const std::size_t before = logLinesWith("no such lever number!");
    lever.turnOnSwitch(9);
    EXPECT_EQ(logLinesWith("no such lever number!"), before + 1);
    EXPECT_EQ(logLinesWith("[WARN]: no such lever number!"), before + 1);
    EXPECT_EQ(lever.switches.size(), 2u);
    EXPECT_FALSE(lever.isSwitchOn(9));
}

TEST_F(MultiLeverTest, TheEffectThrowsWhenItsNumberNamesNoMultiLever) {
    auto plain = makeLever();
    table.add(4, plain.get());
    MultiLeverEffect missing({}, {}, table, 99);
    MultiLeverEffect wrongType({}, {}, table, 4);
    try {
        missing.apply(unit);
        FAIL();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "No such element number");
    }
    try {
        wrongType.apply(unit);
        FAIL();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "numbered element is of wrong type");
    }
}

TEST_F(MultiLeverTest, SelectiveLeverWantsExactlyTheSelectedSwitches) {
    SelectiveMultiLever lever(selectiveRecord, makeNullEffect(), grid);
    EXPECT_FALSE(lever.areAllSwitchesOn());
    lever.turnOnSwitch(1);
    lever.turnOnSwitch(2);
    EXPECT_TRUE(lever.areAllSwitchesOn()) << "its own value is not looked at";
    lever.turnOnSwitch(3);
    EXPECT_FALSE(lever.areAllSwitchesOn());
    lever.turnOnSwitch(3);
    lever.turnOffSwitch(3);
    EXPECT_TRUE(lever.areAllSwitchesOn());
    lever.turnOnSwitch(9);  // unknown: logged, not wrong
    EXPECT_TRUE(lever.wrong.empty());
    EXPECT_TRUE(lever.areAllSwitchesOn());
}

TEST_F(MultiLeverTest, SelectiveLeverWithNothingSelectedAndNothingWrongIsOn) {
    selectiveRecord.selectedNumbers.clear();
    SelectiveMultiLever lever(selectiveRecord, makeNullEffect(), grid);
    EXPECT_TRUE(lever.areAllSwitchesOn());
    lever.turnOnSwitch(2);
    EXPECT_FALSE(lever.areAllSwitchesOn());
}

TEST_F(MultiLeverTest, SelectiveLeverRunsItsActionsThroughTheMultiLeverEffect) {
    auto lever = std::make_unique<SelectiveMultiLever>(
        selectiveRecord,
        std::make_unique<MultiLeverEffect>(zarn_test::recordingActions(ran, {"off"}),
                                           zarn_test::recordingActions(ran, {"on"}), table, 8),
        grid);
    table.add(8, lever.get());
    lever->turnOnSwitch(1);
    lever->turnOnSwitch(2);
    lever->effect->apply(unit);  // on -> off: asked after the flip
    EXPECT_EQ(ran, (Ran{"off"}));
    lever->turnOnSwitch(3);
    lever->effect->apply(unit);
    EXPECT_EQ(ran, (Ran{"off"}));
}

}  // namespace
}  // namespace Zarn
