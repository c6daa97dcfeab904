#include <gtest/gtest.h>

#include "TrapTestSupport.h"
#include "foundation/ByteReader.h"
#include "world/traps/FollowHitTrap.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

// The arm stands on (5, 2); its area is x 3..5, y 2..4. Start delay 0.5 s,
// following 1.0 s, warning 0.5 s, strike 0.5 s.
class FollowHitTrapTest : public testing::Test {
protected:
    FollowHitTrapTest() : record(makeRecord()), arm(record, nullptr), unit(1) {
        unit.body().position = FPoint(200.5f, 210.75f);
        arm.enable();
    }
    static DelayedTrapElement makeRecord() {
        DelayedTrapElement r = test::intervalRecord<DelayedTrapElement>(132, 0.5f, 0.5f, 1.0f, Point(5, 2));
        for (i16 x = 3; x <= 5; ++x) {
            for (i16 y = 2; y <= 4; ++y) r.coveredCells.insert(Point(x, y));
        }
        r.warnTime = 0.5f;
        return r;
    }
    // A unit on `cell` (when given), then one update.
    int step(float dt, const Point* cell) {
        if (cell) arm.touches(*cell, &unit);
        arm.update(dt);
        return arm.state.value;
    }
    DelayedTrapElement record;
    FollowHitTrap arm;
    SteerableUnit unit;
};

TEST_F(FollowHitTrapTest, FollowsLocksWarnsStrikesAndFollowsAgain) {
    EXPECT_EQ(arm.state.value, 0);
    EXPECT_EQ(arm.state.armPosition, Point(320, 128));
    const Point cell(3, 3);
    const std::vector<int> expected = {1, 2, 2, 2, 2, 3, 3, 4, 4, 2, 2};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(step(0.25f, &cell), expected[i]) << "row " << i;
        if (expected[i] == 2) {
            EXPECT_EQ(arm.state.armPosition, Point(200, 210)) << "row " << i;
        }
    }
    EXPECT_EQ(arm.target, cell);
}

TEST_F(FollowHitTrapTest, WithNobodyInItsAreaAfterAStrikeTheArmWaitsInFollowing) {
    const Point cell(4, 4);
    for (int i = 0; i < 10; ++i) step(0.25f, &cell);
    ASSERT_EQ(arm.state.value, 2);
    ASSERT_EQ(arm.unitSeen, 0);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(step(0.25f, nullptr), 2);
        EXPECT_EQ(arm.timer, 0.5f);
    }
    // A unit comes back: the sequence runs on.
    for (int i = 0; i < 4; ++i) step(0.25f, &cell);
    EXPECT_EQ(step(0.25f, &cell), 3);
}

TEST_F(FollowHitTrapTest, ArmCellsAreLethalAlwaysTheLockedCellOnlyWhileStriking) {
    const Point target(3, 3);
    const Point armCell(5, 3);
    const Point elsewhere(4, 2);
    for (int i = 0; i < 10; ++i) {
        const int value = step(0.25f, &target);
        EXPECT_TRUE(arm.touches(armCell, &unit)) << "phase " << value;
        EXPECT_FALSE(arm.touches(elsewhere, &unit)) << "phase " << value;
        EXPECT_EQ(arm.touches(target, &unit), value == 4) << "phase " << value;
    }
    arm.disable();
    EXPECT_FALSE(arm.touches(armCell, &unit));
    EXPECT_EQ(arm.unitSeen, 0);
}

TEST_F(FollowHitTrapTest, TheTargetIsLockedWhenTheWarningBegins) {
    const Point first(3, 3);
    const Point away(4, 4);
    for (int i = 0; i < 6; ++i) step(0.25f, &first);
    ASSERT_EQ(arm.state.value, 3);
    step(0.25f, &away);
    EXPECT_EQ(step(0.25f, &away), 4);
    EXPECT_EQ(arm.target, first);
    EXPECT_FALSE(arm.touches(away, &unit)) << "moving away during the warning saves the unit";
    EXPECT_TRUE(arm.touches(first, &unit));
}

TEST_F(FollowHitTrapTest, StrikingAnActiveDelayedTrapSticksTheArmForThreeSeconds) {
    auto delayedRecord = test::intervalRecord<DelayedTrapElement>(46, 0.0f, 5.0f, 0.5f, Point(3, 3));
    DelayedTrap delayed(delayedRecord, nullptr);
    delayed.enable();
    SteerableUnit stepper(2);
    delayed.touches(Point(3, 3), &stepper);
    delayed.update(0.25f);
    ASSERT_EQ(delayed.state.value, EIntervalTrapState::active);
    DelayedTrapTable table{{Point(3, 3), &delayed}};
    int hits = 0;
    arm.trapTargets = &table;
    arm.onTrapHit = [&hits] { ++hits; };

    const Point cell(3, 3);
    for (int i = 0; i < 7; ++i) step(0.25f, &cell);
    ASSERT_EQ(arm.state.value, 3);
    EXPECT_EQ(step(0.25f, &cell), 5);
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(arm.stuck, 1);
    EXPECT_FALSE(arm.touches(cell, &unit)) << "stuck, the arm does not strike the cell";
    for (int i = 0; i < 11; ++i) EXPECT_EQ(step(0.25f, &cell), 5) << i;
    // 3 s stuck: the sequence resumes with stuckTime - activeTime = 2.5 s, which
    // passes the whole strike: the arm follows again.
    EXPECT_EQ(step(0.25f, &cell), 2);
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(arm.stuck, 0);
}

TEST_F(FollowHitTrapTest, ResetAndDisableReturnTheArmToRest) {
    const Point cell(3, 3);
    for (int i = 0; i < 3; ++i) step(0.25f, &cell);
    ASSERT_EQ(arm.state.armPosition, Point(200, 210));
    arm.disable();
    EXPECT_EQ(arm.state.value, 0);
    EXPECT_EQ(arm.state.armPosition, Point(320, 128));
    EXPECT_EQ(arm.timer, 0.0f);
    arm.update(1.0f);
    EXPECT_EQ(arm.state.value, 0) << "disabled";
}

TEST(FollowHitTrapStateTest, BytesAreHiddenValueThenArmPosition) {
    FollowHitTrapState state;
    state.hidden = 1;
    state.value = 4;
    state.armPosition = Point(320, 128);
    const std::vector<u8> expected = {1, 4, 0x80, 0x00, 0x40, 0x01};
    EXPECT_EQ(state.toBytes(), expected);
    EXPECT_EQ(state.serializedSize(), 6u);
    auto back = FollowHitTrapState::fromRaw(expected.data(), expected.size());
    EXPECT_TRUE(*back == state);
    EXPECT_TRUE(*state.clone() == state);
    FollowHitTrapState moved = state;
    moved.armPosition = Point(321, 128);
    EXPECT_TRUE(moved != state);
    const IntervalTrapIMEState interval;
    EXPECT_FALSE(state == static_cast<const InteractiveMapElementState&>(interval));
    for (std::size_t n = 0; n < expected.size(); ++n)
        EXPECT_THROW(FollowHitTrapState::fromRaw(expected.data(), n), Convinience::ReadPastEndError) << n;
}

}  // namespace
}  // namespace Zarn
