#include <gtest/gtest.h>

#include <map>
#include <set>

#include "map/records/GroupedTrapElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/TrapElement.h"
#include "world/elements/LevelUpMode.h"
#include "world/steering/WorldRandom.h"
#include "world/traps/IntervalTrap.h"
#include "world/traps/TrapDirectory.h"
#include "world/traps/TrapGroup.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

class TableLookup : public TrapDirectory {
public:
    Trap* findTrap(u32 number) override {
        auto it = traps.find(number);
        return it == traps.end() ? nullptr : it->second;
    }
    InteractiveMapElement* findTrapGroup(u32 number) override {
        auto it = groups.find(number);
        return it == groups.end() ? nullptr : it->second;
    }
    std::map<u32, Trap*> traps;
    std::map<u32, InteractiveMapElement*> groups;
};

// Stages 5 (an interval trap) and 6 (a group of one), shown one after another; start point
// (200, 300); goal cells (9, 9) and (9, 8); startTime 2.0, pauseTime 1.0.
class LevelUpModeTest : public testing::Test {
protected:
    LevelUpModeTest()
        : five(trapRecord, makeNullEffect()),
          member(trapRecord, makeNullEffect()),
          six(groupRecord, std::vector<Trap*>{&member}) {
        record.modeValueA = 2.0f;
        record.modeValueB = 1.0f;
        record.anchor = Point(200, 300);
        record.areaCells.insert(Point(9, 9));
        record.areaCells.insert(Point(9, 8));
        record.memberNumbers = {5, 6};
        lookup.traps[5] = &five;
        lookup.groups[6] = &six;
        five.hide();
        six.hide();
        units.addClient(1);
        units.addClient(2);
        units.getUnit(1).body().velocity = FPoint(3, 4);
    }
    void run(LevelUpMode& mode, float seconds, float dt = 0.25f) {
        for (float t = 0; t + dt / 2 < seconds; t += dt) mode.update(dt);
    }
    bool everyoneAtTheStart() const {
        bool all = true;
        units.forEachUnit([&](u32, SteerableUnit& u) { all = all && u.body().position == FPoint(200, 300); });
        return all;
    }

    IntervalTrapElement trapRecord;
    GroupedTrapElement groupRecord;
    LevelUpModeElement record;
    IntervalTrap five;
    IntervalTrap member;
    TrapGroup six;
    TableLookup lookup;
    SteerableUnitManager units;
};

TEST_F(LevelUpModeTest, RunsItsStagesInOrderAndFinishes) {
    LevelUpMode mode(lookup, units, record);
    EXPECT_EQ(mode.value(), LevelUpValue::notStarted);
    EXPECT_FALSE(mode.reactsOnEnterOnly());
    mode.update(0.03f);
    EXPECT_EQ(mode.value(), LevelUpValue::waiting);
    run(mode, 1.75f);
    EXPECT_EQ(mode.value(), LevelUpValue::waiting);
    EXPECT_FALSE(everyoneAtTheStart());
    run(mode, 0.25f);
    EXPECT_EQ(mode.value(), LevelUpValue::running);
    EXPECT_EQ(mode.current, &five);
    EXPECT_EQ(five.state.hidden, 0);
    EXPECT_TRUE(five.isEnabled());
    EXPECT_TRUE(everyoneAtTheStart());
    EXPECT_EQ(units.getUnit(1).body().velocity, FPoint(3, 4)) << "velocity is left";

    EXPECT_TRUE(mode.touches(Point(9, 9), nullptr));
    EXPECT_EQ(mode.value(), LevelUpValue::pause);
    EXPECT_EQ(five.state.hidden, 1);
    EXPECT_FALSE(five.isEnabled());
    EXPECT_EQ(mode.stagesWon, 1u);

    units.getUnit(2).body().position = FPoint(0, 0);
    run(mode, 0.75f);
    EXPECT_EQ(mode.value(), LevelUpValue::pause);
    run(mode, 0.25f);
    EXPECT_EQ(mode.value(), LevelUpValue::running);
    EXPECT_EQ(mode.current, &six) << "found among the groups";
    EXPECT_EQ(six.state.hidden, 0);
    EXPECT_EQ(member.state.hidden, 0);
    EXPECT_TRUE(member.isEnabled());
    EXPECT_TRUE(everyoneAtTheStart());

    EXPECT_TRUE(mode.touches(Point(9, 8), &units.getUnit(2)));
    EXPECT_EQ(mode.value(), LevelUpValue::finished);
    EXPECT_EQ(six.state.hidden, 1);
    EXPECT_FALSE(member.isEnabled());
    run(mode, 5.0f);
    EXPECT_EQ(mode.value(), LevelUpValue::finished);
}

TEST_F(LevelUpModeTest, GoalTouchesCountOnlyWhileAStageRuns) {
    LevelUpMode mode(lookup, units, record);
    EXPECT_FALSE(mode.touches(Point(9, 9), nullptr)) << "not started";
    mode.update(0.03f);
    EXPECT_FALSE(mode.touches(Point(9, 9), nullptr)) << "waiting";
    run(mode, 2.0f);
    EXPECT_FALSE(mode.touches(Point(8, 9), nullptr)) << "not a goal cell";
    EXPECT_TRUE(mode.touches(Point(9, 9), nullptr));
    EXPECT_FALSE(mode.touches(Point(9, 9), nullptr)) << "pause";
    EXPECT_EQ(mode.stagesWon, 1u);
    mode.disable();
    run(mode, 2.0f);
    EXPECT_EQ(mode.value(), LevelUpValue::pause) << "a disabled mode stands still";
}

TEST_F(LevelUpModeTest, ALoopingSeriesGoesOnInListOrder) {
    record.modeFlagB = 1;
    LevelUpMode mode(lookup, units, record);
    mode.update(0.03f);
    run(mode, 2.0f);
    std::vector<InteractiveMapElement*> shown;
    for (int stage = 0; stage < 5; ++stage) {
        ASSERT_EQ(mode.value(), LevelUpValue::running);
        shown.push_back(mode.current);
        mode.touches(Point(9, 9), nullptr);
        run(mode, 1.0f);
    }
    EXPECT_EQ(shown, (std::vector<InteractiveMapElement*>{&five, &six, &five, &six, &five}));
}

TEST_F(LevelUpModeTest, RandomOrderDrawsFromTheSeededWorldEngine) {
    record.modeFlagA = 1;
    record.modeFlagB = 1;
    auto series = [&] {
        seedWorldRandomEngine(1234);
        LevelUpMode mode(lookup, units, record);
        mode.update(0.03f);
        run(mode, 2.0f);
        std::vector<u32> indexes;
        for (int stage = 0; stage < 40; ++stage) {
            indexes.push_back(mode.index);
            mode.touches(Point(9, 9), nullptr);
            run(mode, 1.0f);
        }
        return indexes;
    };
    const auto first = series();
    EXPECT_EQ(first, series()) << "same seed, same series";
    EXPECT_EQ(first[0], 0u) << "the first stage is the first element";
    const std::set<u32> seen(first.begin(), first.end());
    EXPECT_EQ(seen, (std::set<u32>{0, 1}));
}

TEST_F(LevelUpModeTest, ResetStartsANewSeriesAndLeavesTheLastElement) {
    LevelUpMode mode(lookup, units, record);
    mode.update(0.03f);
    run(mode, 2.0f);
    mode.touches(Point(9, 9), nullptr);
    run(mode, 1.0f);
    ASSERT_EQ(mode.current, &six);
    mode.reset();
    EXPECT_EQ(mode.value(), LevelUpValue::notStarted);
    EXPECT_EQ(mode.stagesWon, 0u);
    EXPECT_EQ(mode.index, 0u);
    EXPECT_EQ(mode.current, &six);
    EXPECT_EQ(six.state.hidden, 0);
    mode.update(0.03f);
    run(mode, 2.0f);
    EXPECT_EQ(mode.current, &five);
}

TEST_F(LevelUpModeTest, AStageWhoseNumberNamesNoElementStillMovesThePlayersAndCanBeWon) {
    record.memberNumbers = {77, 5};
    LevelUpMode mode(lookup, units, record);
    mode.update(0.03f);
    run(mode, 2.0f);
    EXPECT_EQ(mode.value(), LevelUpValue::running);
    EXPECT_EQ(mode.current, nullptr);
    EXPECT_TRUE(everyoneAtTheStart());
    EXPECT_TRUE(mode.touches(Point(9, 9), nullptr));
    run(mode, 1.0f);
    EXPECT_EQ(mode.current, &five);
}

}  // namespace
}  // namespace Zarn
