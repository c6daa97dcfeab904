#include <gtest/gtest.h>

#include <ostream>

#include "TrapTestSupport.h"
#include "world/traps/IntervalTrap.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

using GeometryLib::Point;
using test::Tick;

using S = EIntervalTrapState;

struct IntervalCase {
    const char* name;
    float startDelay, activeTime, restTime;
    u8 startsActive;
    std::vector<Tick> ticks;
};

// Failure messages name the case instead of dumping its bytes.
void PrintTo(const IntervalCase& c, std::ostream* os) {
    *os << c.name;
}

class IntervalTrapTimeline : public testing::TestWithParam<IntervalCase> {};

TEST_P(IntervalTrapTimeline, StatesFollowTheTable) {
    const IntervalCase& c = GetParam();
    auto record = test::intervalRecord<IntervalTrapElement>(43, c.startDelay, c.activeTime, c.restTime,
                                                            Point(2, 2), c.startsActive);
    IntervalTrap trap(record, nullptr);
    trap.enable();
    test::expectTimeline<BaseIntervalTrap>(trap, c.ticks, test::intervalValue);
}

INSTANTIATE_TEST_SUITE_P(
    Cycles, IntervalTrapTimeline,
    testing::Values(
        // Arming for half the rest time, active, disarming for the other half, repeated.
        IntervalCase{"DelayThenCycle",
                     0.5f,
                     0.5f,
                     1.0f,
                     0,
                     {{0.25f, 3},
                      {0.25f, 0},
                      {0.25f, 0},
                      {0.25f, 1},
                      {0.25f, 1},
                      {0.25f, 2},
                      {0.25f, 2},
                      {0.25f, 0},
                      {0.25f, 0},
                      {0.25f, 1}}},
        // A start delay of 0 counts the whole first dt toward the cycle.
        IntervalCase{"NoDelay", 0.0f, 0.5f, 1.0f, 0, {{0.5f, 1}, {0.5f, 2}, {0.5f, 0}}},
        // A dt past the delay carries only the overshoot into the cycle.
        IntervalCase{"OvershootCarries", 0.5f, 0.5f, 1.0f, 0, {{0.75f, 0}, {0.25f, 1}}},
        // The overshoot is the delay time modulo the delay.
        IntervalCase{"OvershootModuloDelay", 0.5f, 0.5f, 1.0f, 0, {{1.25f, 0}, {0.25f, 1}}},
        // A dt longer than a period wraps the cycle back into [0, period).
        IntervalCase{"WrapsLongStep", 0.0f, 0.5f, 1.0f, 0, {{2.0f, 1}, {0.25f, 1}, {0.25f, 2}, {3.0f, 2}}},
        // A cycle of length 0 leaves the trap in its state.
        IntervalCase{"ZeroCycleIdle", 0.0f, 0.0f, 0.0f, 0, {{0.25f, 3}, {0.25f, 3}, {1.0f, 3}}},
        IntervalCase{"ZeroCycleActive", 0.25f, 0.0f, 0.0f, 1, {{0.25f, 1}, {0.25f, 1}, {1.0f, 1}}}),
    [](const testing::TestParamInfo<IntervalCase>& info) { return info.param.name; });

TEST(IntervalTrapTest, ZeroCycleKeepsTheTimerFinite) {
    auto record = test::intervalRecord<IntervalTrapElement>(43, 0.0f, 0.0f, 0.0f);
    IntervalTrap trap(record, nullptr);
    trap.enable();
    for (int i = 0; i < 8; ++i) trap.update(0.5f);
    EXPECT_FALSE(std::isnan(trap.cycleTime));
    EXPECT_EQ(trap.state.value, S::idle);
}

TEST(IntervalTrapTest, TouchesFollowEnabledStateOrStartFlag) {
    auto idle = test::intervalRecord<IntervalTrapElement>(43, 0.0f, 0.5f, 1.0f, Point(2, 2), 0);
    auto active = test::intervalRecord<IntervalTrapElement>(43, 0.0f, 0.5f, 1.0f, Point(2, 2), 1);
    IntervalTrap harmless(idle, nullptr);
    IntervalTrap lethal(active, nullptr);
    // Disabled: the start flag decides, on any cell.
    EXPECT_FALSE(harmless.touches(Point(2, 2), nullptr));
    EXPECT_TRUE(lethal.touches(Point(7, 9), nullptr));
    EXPECT_EQ(lethal.state.value, S::active);
    // Enabled: lethal exactly while active.
    harmless.enable();
    harmless.update(0.25f);
    EXPECT_FALSE(harmless.touches(Point(2, 2), nullptr));
    harmless.update(0.25f);
    EXPECT_EQ(harmless.state.value, S::active);
    EXPECT_TRUE(harmless.touches(Point(2, 2), nullptr));
}

TEST(IntervalTrapTest, DisableAndEnableRestartFromTheStartDelay) {
    auto record = test::intervalRecord<IntervalTrapElement>(43, 0.5f, 0.5f, 1.0f);
    IntervalTrap trap(record, nullptr);
    trap.enable();
    for (int i = 0; i < 4; ++i) trap.update(0.25f);
    ASSERT_EQ(trap.state.value, S::active);
    trap.disable();
    EXPECT_EQ(trap.state.value, S::idle);
    EXPECT_EQ(trap.cycleTime, 0.0f);
    EXPECT_EQ(trap.delayTime, 0.0f);
    trap.update(1.0f);
    EXPECT_EQ(trap.state.value, S::idle) << "a disabled trap does not advance";
    trap.enable();
    test::expectTimeline<BaseIntervalTrap>(trap, {{0.25f, 3}, {0.25f, 0}, {0.5f, 1}}, test::intervalValue);
}

TEST(BombTest, FallsExplodesRestsAndIsDone) {
    auto record = test::intervalRecord<IntervalTrapElement>(128, 1.0f, 0.5f, 0.5f);
    Bomb bomb(record, nullptr);
    bomb.enable();
    test::expectTimeline<BaseIntervalTrap>(bomb,
                                           {{0.25f, 0},
                                            {0.25f, 0},
                                            {0.25f, 0},
                                            {0.25f, 1},
                                            {0.25f, 1},
                                            {0.25f, 2},
                                            {0.25f, 2},
                                            {0.25f, 3},
                                            {5.0f, 3}},
                                           test::intervalValue);
    EXPECT_EQ(bomb.finished, 1);
    bomb.reset();
    bomb.update(1.0f);
    EXPECT_EQ(bomb.state.value, S::idle) << "reset does not revive a finished bomb";
}

TEST(BombTest, LethalOnlyWhileEnabledAndExploding) {
    auto record = test::intervalRecord<IntervalTrapElement>(128, 0.5f, 0.5f, 0.5f);
    Bomb bomb(record, nullptr);
    bomb.enable();
    bomb.update(0.25f);
    EXPECT_FALSE(bomb.touches(Point(2, 2), nullptr));
    bomb.update(0.25f);
    EXPECT_TRUE(bomb.touches(Point(2, 2), nullptr));
    bomb.enabled = 0;
    EXPECT_FALSE(bomb.touches(Point(2, 2), nullptr));
}

class BombLandingTest : public testing::Test {
protected:
    BombLandingTest()
        : bombRecord(test::intervalRecord<IntervalTrapElement>(128, 1.0f, 0.5f, 0.5f, Point(4, 4))),
          targetRecord(test::intervalRecord<IntervalTrapElement>(134, 0.0f, 1.0f, 0.0f, Point(4, 4))),
          bomb(bombRecord, nullptr),
          target(targetRecord, nullptr) {
        table[Point(4, 4)] = &target;
        bomb.targets = &table;
        bomb.onIntercept = [this] { ++intercepts; };
        bomb.enable();
        target.enable();
    }
    IntervalTrapElement bombRecord;
    IntervalTrapElement targetRecord;
    Bomb bomb;
    BombableIntervalTrap target;
    BombableTrapTable table;
    int intercepts = 0;
};

TEST_F(BombLandingTest, LandsOnAnActiveBombableTrapInTheLastMomentOfItsFall) {
    target.update(0.25f);
    ASSERT_EQ(target.state.value, S::active);
    // 0.0625 s before landing is too early; 0.03125 s before lands.
    test::expectTimeline<BaseIntervalTrap>(bomb, {{0.5f, 0}, {0.4375f, 0}, {0.03125f, 5}, {1.0f, 5}},
                                           test::intervalValue);
    EXPECT_EQ(intercepts, 1);
    EXPECT_EQ(bomb.intercepted, 1);
    EXPECT_FALSE(bomb.touches(Point(4, 4), nullptr));
    EXPECT_EQ(target.bombed, 1);
    // The destroyed trap: active for 0.5 s, then destroyed, lethal throughout.
    test::expectTimeline<BaseIntervalTrap>(target, {{0.25f, 1}, {0.25f, 4}, {1.0f, 4}}, test::intervalValue);
    EXPECT_TRUE(target.touches(Point(4, 4), nullptr));
}

TEST_F(BombLandingTest, ExplodesNormallyOverATrapThatIsNotActive) {
    auto idleRecord = test::intervalRecord<IntervalTrapElement>(134, 0.0f, 0.5f, 1.0f, Point(4, 4));
    BombableIntervalTrap arming(idleRecord, nullptr);
    arming.enable();
    arming.update(0.25f);
    ASSERT_EQ(arming.state.value, S::arming);
    table[Point(4, 4)] = &arming;
    test::expectTimeline<BaseIntervalTrap>(bomb, {{0.5f, 0}, {0.46875f, 0}, {0.03125f, 1}},
                                           test::intervalValue);
    EXPECT_EQ(intercepts, 0);
    EXPECT_EQ(arming.bombed, 0);
}

TEST(BombableIntervalTrapTest, DestroyedTrapIgnoresDisableUntilReset) {
    auto record = test::intervalRecord<IntervalTrapElement>(134, 0.0f, 0.5f, 1.0f);
    BombableIntervalTrap trap(record, nullptr);
    trap.enable();
    test::expectTimeline<BaseIntervalTrap>(trap, {{0.25f, 0}, {0.25f, 1}, {0.5f, 2}}, test::intervalValue);
    trap.bombed = 1;
    trap.update(0.5f);
    EXPECT_EQ(trap.state.value, S::destroyed);
    trap.disable();
    EXPECT_TRUE(trap.isEnabled());
    EXPECT_EQ(trap.state.value, S::destroyed);
    EXPECT_TRUE(trap.touches(Point(2, 2), nullptr));
    trap.reset();
    EXPECT_EQ(trap.bombed, 0);
    EXPECT_EQ(trap.bombedTime, 0.0f);
    EXPECT_EQ(trap.state.value, S::idle);
    trap.disable();
    EXPECT_FALSE(trap.isEnabled());
}

class DelayedTrapTest : public testing::Test {
protected:
    DelayedTrapTest() : record(makeRecord()), trap(record, nullptr), unit(1) { trap.enable(); }
    static DelayedTrapElement makeRecord() {
        auto r = test::intervalRecord<DelayedTrapElement>(46, 0.5f, 0.5f, 0.5f, Point(2, 2));
        r.coveredCells.insert(Point(3, 2));
        return r;
    }
    DelayedTrapElement record;
    DelayedTrap trap;
    SteerableUnit unit;
};

TEST_F(DelayedTrapTest, AStepOnTheAnchorRunsOneDelayedCycle) {
    EXPECT_FALSE(trap.touches(Point(2, 2), &unit));
    EXPECT_EQ(trap.triggered, 1);
    // The delay shows as arming, harmless, so the step's warning can be seen.
    test::expectTimeline<BaseIntervalTrap>(trap, {{0.25f, 0}, {0.25f, 1}, {0.25f, 1}, {0.25f, 3}, {0.25f, 3}},
                                           test::intervalValue);
    EXPECT_TRUE(trap.triggered) << "active + rest have not yet passed";
    trap.update(0.25f);
    EXPECT_EQ(trap.triggered, 0);
    // Idle and not triggered: updates change nothing until the next step on it.
    trap.update(1.0f);
    EXPECT_EQ(trap.state.value, S::idle);
    EXPECT_FALSE(trap.touches(Point(2, 2), &unit));
    EXPECT_EQ(trap.triggered, 1);
    EXPECT_EQ(trap.cycleTime, 0.0f);
}

TEST_F(DelayedTrapTest, LethalOnlyOnItsAnchorForLivingUnits) {
    trap.touches(Point(2, 2), &unit);
    trap.update(0.5f);
    ASSERT_EQ(trap.state.value, S::active);
    EXPECT_TRUE(trap.touches(Point(2, 2), &unit));
    EXPECT_FALSE(trap.touches(Point(3, 2), &unit)) << "other covered cells are never lethal";
    EXPECT_FALSE(trap.touches(Point(2, 2), nullptr));
    for (u32 dead : {3u, 5u, 8u, 22u}) {
        unit.state = dead;
        EXPECT_FALSE(trap.touches(Point(2, 2), &unit)) << dead;
    }
    unit.state = UnitState::carried;
    EXPECT_TRUE(trap.touches(Point(2, 2), &unit)) << "a carried unit counts as alive";
}

TEST_F(DelayedTrapTest, IgnoresDeadUnitsOtherCellsAndContactsDuringACycle) {
    unit.state = 5;
    trap.touches(Point(2, 2), &unit);
    unit.state = 0;
    trap.touches(Point(3, 2), &unit);
    EXPECT_EQ(trap.triggered, 0);
    trap.touches(Point(2, 2), &unit);
    trap.update(0.75f);
    ASSERT_EQ(trap.state.value, S::active);
    const float cycle = trap.cycleTime;
    EXPECT_TRUE(trap.touches(Point(2, 2), &unit));
    EXPECT_EQ(trap.cycleTime, cycle) << "a second contact does not restart the cycle";
    trap.disable();
    EXPECT_FALSE(trap.touches(Point(2, 2), &unit));
}

}  // namespace
}  // namespace Zarn
