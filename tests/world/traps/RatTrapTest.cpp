#include <gtest/gtest.h>

#include <ostream>

#include "TrapTestSupport.h"
#include "world/traps/RatTrap.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

using GeometryLib::Point;
using test::Tick;

int ratValue(RatTrap& trap) {
    return static_cast<int>(trap.state.value);
}

RatTrapElement ratRecord(float startDelay, float snap, float active, float release, float hold, float rest) {
    RatTrapElement r = test::intervalRecord<RatTrapElement>(49, startDelay, active, rest, Point(2, 2));
    r.coveredCells.insert(Point(3, 2));
    r.snapTime = snap;
    r.releaseTime = release;
    r.holdTime = hold;
    return r;
}

struct RatCase {
    const char* name;
    Point contact;
    float snap;
    std::vector<Tick> ticks;
};

// Failure messages name the case instead of dumping its bytes.
void PrintTo(const RatCase& c, std::ostream* os) {
    *os << c.name;
}

class RatTrapTimeline : public testing::TestWithParam<RatCase> {};

TEST_P(RatTrapTimeline, SequenceFollowsTheSideThatSetItOff) {
    const RatCase& c = GetParam();
    RatTrapElement record = ratRecord(0.5f, c.snap, 0.25f, 0.25f, 0.25f, 0.25f);
    RatTrap trap(record, nullptr);
    trap.enable();
    EXPECT_FALSE(trap.touches(c.contact, nullptr)) << "armed: the contact only sets it off";
    EXPECT_EQ(trap.triggered, 1);
    test::expectTimeline<RatTrap>(trap, c.ticks, ratValue);
    EXPECT_EQ(trap.triggered, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, RatTrapTimeline,
    testing::Values(
        RatCase{"FromRight",
                Point(3, 2),
                0.25f,
                {{0.25f, 0}, {0.25f, 1}, {0.25f, 3}, {0.25f, 5}, {0.25f, 7}, {0.25f, 0}, {0.25f, 0}}},
        RatCase{"FromLeft",
                Point(2, 2),
                0.25f,
                {{0.25f, 0}, {0.25f, 2}, {0.25f, 4}, {0.25f, 6}, {0.25f, 8}, {0.25f, 0}, {0.25f, 0}}},
        // A phase of length 0 is skipped.
        RatCase{
            "NoSnapPhase", Point(2, 2), 0.0f, {{0.5f, 4}, {0.25f, 6}, {0.25f, 8}, {0.25f, 0}, {0.25f, 0}}}),
    [](const testing::TestParamInfo<RatCase>& info) { return info.param.name; });

class RatTrapTest : public testing::Test {
protected:
    RatTrapTest() : record(ratRecord(0.5f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f)), trap(record, nullptr) {
        trap.enable();
    }
    RatTrapElement record;
    RatTrap trap;
};

TEST_F(RatTrapTest, TouchesOnEitherCellOnlyWhileTheSequenceShowsAPhase) {
    trap.touches(Point(3, 2), nullptr);
    trap.update(0.25f);
    EXPECT_FALSE(trap.touches(Point(3, 2), nullptr)) << "start delay";
    trap.update(0.25f);
    EXPECT_TRUE(trap.touches(Point(3, 2), nullptr));
    EXPECT_TRUE(trap.touches(Point(2, 2), nullptr));
    EXPECT_FALSE(trap.touches(Point(4, 2), nullptr));
    for (int i = 0; i < 4; ++i) trap.update(0.25f);
    EXPECT_EQ(trap.state.value, static_cast<ERatTrapState>(0));
    EXPECT_TRUE(trap.triggered);
    EXPECT_FALSE(trap.touches(Point(2, 2), nullptr)) << "final rest";
}

TEST_F(RatTrapTest, AContactDuringTheSequenceDoesNotRestartIt) {
    trap.touches(Point(3, 2), nullptr);
    trap.update(0.75f);
    ASSERT_EQ(ratValue(trap), 3);
    trap.touches(Point(2, 2), nullptr);
    EXPECT_EQ(trap.sequenceTime, 0.75f);
    EXPECT_EQ(trap.fromLeft, 0);
    trap.update(0.25f);
    EXPECT_EQ(ratValue(trap), 5);
}

TEST_F(RatTrapTest, ANewContactAfterTheEndStartsANewSequence) {
    trap.touches(Point(3, 2), nullptr);
    trap.update(2.0f);
    EXPECT_EQ(trap.triggered, 0);
    trap.touches(Point(2, 2), nullptr);
    EXPECT_EQ(trap.triggered, 1);
    EXPECT_EQ(trap.fromLeft, 1);
    EXPECT_EQ(trap.sequenceTime, 0.0f);
    trap.update(0.5f);
    EXPECT_EQ(ratValue(trap), 2);
}

TEST_F(RatTrapTest, DisableHoldsTheSequenceWhereItIs) {
    trap.touches(Point(2, 2), nullptr);
    trap.update(0.75f);
    trap.disable();
    trap.update(1.0f);
    EXPECT_EQ(ratValue(trap), 4);
    EXPECT_EQ(trap.sequenceTime, 0.75f);
    EXPECT_FALSE(trap.touches(Point(2, 2), nullptr)) << "a disabled trap touches nothing";
    trap.enable();
    trap.update(0.25f);
    EXPECT_EQ(ratValue(trap), 6);
}

TEST_F(RatTrapTest, AnyUnitSetsItOffDeadOrAlive) {
    SteerableUnit dead(1);
    dead.state = 5;
    trap.touches(Point(2, 2), &dead);
    EXPECT_EQ(trap.triggered, 1);
}

}  // namespace
}  // namespace Zarn
