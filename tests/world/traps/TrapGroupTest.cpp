#include <gtest/gtest.h>

#include "TrapTestSupport.h"
#include "world/traps/TrapGroup.h"

namespace Zarn {
namespace {

using GeometryLib::Point;

class TrapGroupTest : public testing::Test {
protected:
    TrapGroupTest() {
        for (i16 i = 0; i < 3; ++i) {
            // Period 1 s: arming [0, 0.25), active [0.25, 0.75), disarming [0.75, 1).
            records.push_back(test::intervalRecord<IntervalTrapElement>(43, 0.0f, 0.5f, 0.5f, Point(i, 0)));
        }
        for (auto& r : records) traps.push_back(std::make_unique<IntervalTrap>(r, nullptr));
        sequenceRecord.elementId = 53;
        sequenceRecord.trapNumber = 31;
        groupRecord.elementId = 52;
        groupRecord.trapNumber = 30;
    }
    std::vector<IntervalTrap*> members() {
        std::vector<IntervalTrap*> m;
        for (auto& t : traps) m.push_back(t.get());
        return m;
    }
    // The enabled member's index (-1 for none) and the three state values.
    std::vector<int> snapshot() {
        int enabled = -1;
        std::vector<int> row;
        for (std::size_t i = 0; i < traps.size(); ++i) {
            if (traps[i]->isEnabled()) enabled = enabled == -1 ? static_cast<int>(i) : 9;
            row.push_back(static_cast<int>(traps[i]->state.value));
        }
        row.insert(row.begin(), enabled);
        return row;
    }
    std::vector<IntervalTrapElement> records;
    std::vector<std::unique_ptr<IntervalTrap>> traps;
    SequentialGroupedIntervalTrapElement sequenceRecord;
    GroupedTrapElement groupRecord;
};

TEST_F(TrapGroupTest, SequentialGroupRunsOneMemberCycleAfterAnother) {
    SequentialIntervalTrapGroup group(sequenceRecord, members());
    EXPECT_EQ(group.getGroupNumber(), 31u);
    group.update(0.25f);
    EXPECT_EQ(snapshot(), (std::vector<int>{-1, 3, 3, 3})) << "a disabled group does nothing";
    group.enable();
    // enable switched every member on; the sequence leaves only the current one on.
    const std::vector<std::vector<int>> rows = {
        {9, 1, 3, 3},  // 0.25: members 1 and 2 were enabled by the group but not ticked
        {9, 1, 3, 3},  // 0.5
        {9, 2, 3, 3},  // 0.75
        {9, 3, 0, 3},  // 1.0: member 0 disabled and reset; member 1 starts
        {9, 3, 1, 3},  // 1.25
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        group.update(0.25f);
        EXPECT_EQ(snapshot(), rows[i]) << "row " << i;
    }
    EXPECT_FALSE(traps[0]->isEnabled());
    EXPECT_EQ(group.currentIndex, 1u);
    for (int i = 0; i < 3; ++i) group.update(0.25f);
    EXPECT_EQ(group.currentIndex, 2u);
    EXPECT_FALSE(traps[1]->isEnabled());
    EXPECT_EQ(traps[2]->state.value, EIntervalTrapState::arming);
    for (int i = 0; i < 4; ++i) group.update(0.25f);
    EXPECT_EQ(group.currentIndex, 0u) << "after the last member the first starts again at 3 s";
    EXPECT_EQ(traps[0]->state.value, EIntervalTrapState::arming);
    EXPECT_FALSE(traps[2]->isEnabled());
}

TEST_F(TrapGroupTest, TheRestOfATickThatEndsACycleGoesToTheNextMember) {
    SequentialIntervalTrapGroup group(sequenceRecord, members());
    group.enabled = 1;
    group.update(0.75f);
    EXPECT_EQ(snapshot(), (std::vector<int>{0, 2, 3, 3}));
    group.update(0.75f);
    EXPECT_EQ(snapshot(), (std::vector<int>{1, 3, 1, 3}));
    EXPECT_EQ(traps[1]->cycleTime, 0.5f);
}

TEST_F(TrapGroupTest, SequenceDelayComesFirst) {
    sequenceRecord.sequenceDelay = 0.5f;
    SequentialIntervalTrapGroup group(sequenceRecord, members());
    group.enabled = 1;
    group.update(0.25f);
    EXPECT_EQ(snapshot(), (std::vector<int>{-1, 3, 3, 3}));
    group.update(0.25f);
    EXPECT_EQ(snapshot(), (std::vector<int>{0, 0, 3, 3}));
    group.update(0.25f);
    EXPECT_EQ(snapshot(), (std::vector<int>{0, 1, 3, 3}));
}

TEST_F(TrapGroupTest, EmptySequentialGroupDoesNothing) {
    SequentialIntervalTrapGroup group(sequenceRecord, {});
    group.enable();
    group.update(1.0f);
    EXPECT_EQ(group.currentIndex, 0u);
}

TEST_F(TrapGroupTest, TrapGroupTicksItsMembersOnlyWhileEnabled) {
    std::vector<Trap*> m(traps.size());
    for (std::size_t i = 0; i < traps.size(); ++i) m[i] = traps[i].get();
    TrapGroup group(groupRecord, m);
    EXPECT_EQ(group.getGroupNumber(), 30u);
    for (auto& t : traps) t->enable();
    group.update(0.25f);
    EXPECT_EQ(snapshot(), (std::vector<int>{9, 3, 3, 3}));
    group.enable();
    group.update(0.25f);
    EXPECT_EQ(snapshot(), (std::vector<int>{9, 1, 1, 1}));
    group.disable();
    EXPECT_EQ(snapshot(), (std::vector<int>{-1, 3, 3, 3}));
}

TEST_F(TrapGroupTest, IntervalTrapGroupLeavesTickingToItsMembers) {
    IntervalTrapGroup group(groupRecord, members());
    EXPECT_EQ(group.getGroupNumber(), 30u);
    group.enable();
    group.update(0.25f);
    EXPECT_EQ(snapshot(), (std::vector<int>{9, 3, 3, 3}));
}

TEST_F(TrapGroupTest, StepDelayOfTheRecordSpacesSequentialHiding) {
    groupRecord.stepDelay = 0.25f;
    std::vector<Trap*> m(traps.size());
    for (std::size_t i = 0; i < traps.size(); ++i) m[i] = traps[i].get();
    TrapGroup group(groupRecord, m);
    group.setSequential();
    group.hide();
    auto hidden = [&] {
        std::vector<int> h;
        for (auto& t : traps) h.push_back(t->state.hidden);
        return h;
    };
    EXPECT_EQ(hidden(), (std::vector<int>{1, 0, 0}));
    group.update(0.125f);
    EXPECT_EQ(hidden(), (std::vector<int>{1, 0, 0}));
    group.update(0.125f);
    EXPECT_EQ(hidden(), (std::vector<int>{1, 1, 0}));
    group.update(0.25f);
    EXPECT_EQ(hidden(), (std::vector<int>{1, 1, 1}));
}

TEST_F(TrapGroupTest, UpdaterTicksEveryElementInOrder) {
    InteractiveElementUpdater updater;
    for (auto& t : traps) {
        t->enable();
        updater.add(t.get());
    }
    updater.update(0.25f);
    EXPECT_EQ(snapshot(), (std::vector<int>{9, 1, 1, 1}));
    EXPECT_EQ(updater.elements.size(), 3u);
}

}  // namespace
}  // namespace Zarn
