#include <gtest/gtest.h>

#include <ostream>

#include "TrapTestSupport.h"
#include "world/traps/ScheduledTrap.h"

namespace Zarn {
namespace {

using GeometryLib::Point;
using test::Tick;

int scheduledValue(ScheduledTrap& trap) {
    return static_cast<int>(trap.state.value);
}

ScheduledTrapElement scheduleRecord(std::vector<ScheduledTrapEntry> entries, float warningLead, u8 loop = 0,
                                    float startDelay = 0.0f, u8 startsActive = 0) {
    ScheduledTrapElement r;
    r.elementId = 121;
    r.position = Point(3, 3);
    r.coveredCells.insert(Point(3, 3));
    r.coveredCells.insert(Point(4, 3));
    r.startsActive = startsActive;
    r.entries = std::move(entries);
    r.warningLead = warningLead;
    r.loop = loop;
    r.startDelay = startDelay;
    return r;
}

struct ScheduleCase {
    const char* name;
    std::vector<ScheduledTrapEntry> entries;
    float warningLead;
    u8 loop;
    float startDelay;
    std::vector<Tick> ticks;
};

// Failure messages name the case instead of dumping its bytes.
void PrintTo(const ScheduleCase& c, std::ostream* os) {
    *os << c.name;
}

class ScheduledTrapTimeline : public testing::TestWithParam<ScheduleCase> {};

TEST_P(ScheduledTrapTimeline, StatesFollowTheTable) {
    const ScheduleCase& c = GetParam();
    ScheduledTrapElement record = scheduleRecord(c.entries, c.warningLead, c.loop, c.startDelay);
    ScheduledTrap trap(record, nullptr);
    trap.enable();
    test::expectTimeline<ScheduledTrap>(trap, c.ticks, scheduledValue);
}

INSTANTIATE_TEST_SUITE_P(
    Timetables, ScheduledTrapTimeline,
    testing::Values(
        // Lethal from the start for its duration, then harmless for good.
        ScheduleCase{"SingleOnEntry",
                     {{0.0f, 1, 1.0f}},
                     0.25f,
                     0,
                     0.0f,
                     {{0.25f, 1}, {0.25f, 1}, {0.25f, 1}, {0.25f, 2}, {0.25f, 2}, {5.0f, 2}}},
        // Of two entries with equal times only the first listed counts.
        ScheduleCase{"EqualTimesFirstWins",
                     {{0.0f, 1, 1.0f}, {0.0f, 0, 1.0f}},
                     0.25f,
                     0,
                     0.0f,
                     {{0.5f, 1}, {0.5f, 2}, {0.5f, 2}}},
        // The start delay passes in the rest state; then the timetable starts at 0.
        ScheduleCase{"StartDelay", {{0.0f, 1, 1.0f}}, 0.25f, 0, 0.5f, {{0.25f, 3}, {0.25f, 1}, {1.0f, 2}}},
        // The next entry takes over at its time; the first never reaches its end.
        ScheduleCase{"NextEntryTakesOver",
                     {{0.0f, 1, 2.0f}, {1.0f, 0, 1.0f}},
                     0.25f,
                     0,
                     0.0f,
                     {{0.25f, 1},
                      {0.25f, 1},
                      {0.25f, 1},
                      {0.25f, 2},
                      {0.25f, 2},
                      {0.25f, 2},
                      {0.25f, 0},
                      {0.25f, 1},
                      {0.25f, 1}}},
        // Off-then-on followed within its duration by an on entry: warning
        // warningLead before the on entry, lethal when it begins.
        ScheduleCase{
            "OffThenOnIntoOn",
            {{0.0f, 0, 2.0f}, {1.0f, 1, 1.0f}},
            0.25f,
            0,
            0.0f,
            {{0.25f, 2}, {0.25f, 2}, {0.25f, 0}, {0.25f, 1}, {0.25f, 1}, {0.25f, 1}, {0.25f, 1}, {0.25f, 2}}},
        // Before a lethal first entry the warning shows warningLead ahead of it.
        ScheduleCase{
            "WarningBeforeFirstEntry",
            {{1.0f, 1, 1.0f}},
            0.5f,
            0,
            0.0f,
            {{0.25f, 3}, {0.25f, 0}, {0.25f, 0}, {0.25f, 1}, {0.25f, 1}, {0.25f, 1}, {0.25f, 1}, {0.25f, 2}}},
        // Toggles flip once when they begin: 3 -> 1 -> 2 -> 0, then the last
        // one's end switches 0 -> 1.
        ScheduleCase{"Toggles",
                     {{0.0f, 2, 1.0f}, {1.0f, 2, 1.0f}, {2.0f, 2, 1.0f}},
                     0.25f,
                     0,
                     0.0f,
                     {{0.5f, 1}, {0.5f, 2}, {0.5f, 2}, {0.5f, 0}, {0.5f, 0}, {0.5f, 1}}},
        // A loop of one entry keeps looping.
        ScheduleCase{"LoopOfOneEntry",
                     {{0.0f, 1, 1.0f}},
                     0.25f,
                     1,
                     0.0f,
                     {{0.25f, 1},
                      {0.25f, 1},
                      {0.25f, 1},
                      {0.25f, 2},
                      {0.25f, 1},
                      {0.25f, 1},
                      {0.25f, 1},
                      {0.25f, 2},
                      {0.25f, 1}}},
        // A loop ending in a hold, with a lethal first entry that begins
        // before warningLead: the warning shows warningLead before the hold
        // ends, then the timetable wraps without the start delay.
        ScheduleCase{"LoopWarnsAtTheEndOfTheHold",
                     {{0.25f, 1, 0.5f}, {0.75f, 3, 1.0f}},
                     0.5f,
                     1,
                     0.0f,
                     {{0.25f, 1},
                      {0.25f, 1},
                      {0.25f, 2},
                      {0.25f, 2},
                      {0.25f, 0},
                      {0.25f, 0},
                      {0.25f, 0},
                      {0.25f, 1},
                      {0.25f, 1},
                      {0.25f, 2}}}),
    [](const testing::TestParamInfo<ScheduleCase>& info) { return info.param.name; });

TEST(ScheduledTrapTest, TouchesOnlyItsAnchorWhileLethal) {
    ScheduledTrapElement record = scheduleRecord({{0.0f, 1, 1.0f}}, 0.25f);
    ScheduledTrap trap(record, nullptr);
    trap.enable();
    EXPECT_FALSE(trap.touches(Point(3, 3), nullptr)) << "idle before the first update";
    trap.update(0.25f);
    EXPECT_TRUE(trap.touches(Point(3, 3), nullptr));
    EXPECT_FALSE(trap.touches(Point(4, 3), nullptr));
}

TEST(ScheduledTrapTest, DisabledTrapFollowsItsStartFlagOnEveryCell) {
    ScheduledTrapElement active = scheduleRecord({{0.0f, 0, 1.0f}}, 0.25f, 0, 0.0f, 1);
    ScheduledTrapElement idle = scheduleRecord({{0.0f, 0, 1.0f}}, 0.25f, 0, 0.0f, 0);
    ScheduledTrap lethal(active, nullptr);
    ScheduledTrap harmless(idle, nullptr);
    EXPECT_EQ(lethal.state.value, EIntervalTrapState::active);
    EXPECT_TRUE(lethal.touches(Point(4, 3), nullptr));
    EXPECT_TRUE(lethal.touches(Point(9, 9), nullptr));
    EXPECT_FALSE(harmless.touches(Point(3, 3), nullptr));
}

TEST(ScheduledTrapTest, EmptyTimetableIsInert) {
    ScheduledTrapElement record = scheduleRecord({}, 0.25f);
    ScheduledTrap trap(record, nullptr);
    trap.enable();
    trap.update(1.0f);
    EXPECT_EQ(trap.state.value, EIntervalTrapState::idle);
    EXPECT_EQ(trap.clock, 0.0f);
}

TEST(ScheduledTrapTest, DisableStartsOverWithTheStartDelay) {
    ScheduledTrapElement record = scheduleRecord({{0.0f, 1, 1.0f}}, 0.25f, 0, 0.5f);
    ScheduledTrap trap(record, nullptr);
    trap.enable();
    trap.update(1.0f);
    trap.update(1.0f);
    ASSERT_EQ(trap.state.value, EIntervalTrapState::disarming);
    trap.disable();
    EXPECT_EQ(trap.state.value, EIntervalTrapState::idle);
    EXPECT_EQ(trap.current, nullptr);
    trap.enable();
    test::expectTimeline<ScheduledTrap>(trap, {{0.25f, 3}, {0.25f, 1}}, scheduledValue);
}

}  // namespace
}  // namespace Zarn
