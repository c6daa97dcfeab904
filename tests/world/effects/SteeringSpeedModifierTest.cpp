#include <gtest/gtest.h>

#include "world/effects/DragModifier.h"
#include "world/effects/SteeringSpeedModifier.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;

TEST(DragModifierTest, RescalesPushesAboveLengthOne) {
    struct Case {
        FPoint in, out;
    };
    const Case cases[] = {
        {{3, 4}, {3, 4}},
        {{30, 40}, {3, 4}},
        {{0.1f, -0.15f}, {0.1f, -0.15f}},
        {{0.5f, 0.5f}, {0.5f, 0.5f}},
        {{0, -100}, {0, -5}},
    };
    for (const Case& c : cases) {
        SteeringForces f;
        f.steering = c.in;
        f.braking = c.in * 2.0f;
        f.external = {100, 100};
        SteerableUnit unit(1);
        DragModifier(&unit).modify(f);
        EXPECT_NEAR(f.steering.x, c.out.x, 1e-5f);
        EXPECT_NEAR(f.steering.y, c.out.y, 1e-5f);
        EXPECT_EQ(f.braking, DragModifier::drag(c.in * 2.0f));
        EXPECT_EQ(f.external, FPoint(100, 100));
    }
}

TEST(TimedSteeringSpeedModifierTest, LimitsWhileRunning) {
    SteerableUnit unit(1);
    TimedSteeringSpeedModifier slow(&unit, 1.0f, 0.5f, 10);
    unit.body().setSteeringVelocity({0, 150});
    slow.update(0.03f);
    EXPECT_EQ(unit.body().steeringVelocity, FPoint(0, 100));
    unit.body().setSteeringVelocity({0, 80});
    slow.update(0.03f);
    EXPECT_EQ(unit.body().steeringVelocity, FPoint(0, 80));
}

TEST(TimedSteeringSpeedModifierTest, FinishesAfterDurationAndClearsItsStatus) {
    SteerableUnit unit(1);
    unit.statuses.insert(10);
    unit.statuses.insert(10);
    unit.statuses.insert(3);
    TimedSteeringSpeedModifier slow(&unit, 1.0f, 0.5f, 10);
    slow.update(0.6f);
    EXPECT_FALSE(slow.isFinished());
    unit.body().setSteeringVelocity({0, 150});
    slow.update(0.6f);
    EXPECT_EQ(unit.body().steeringVelocity, FPoint(0, 150));  // no longer limiting
    EXPECT_TRUE(slow.isFinished());
    EXPECT_FALSE(unit.statuses.contains(10));
    EXPECT_TRUE(unit.statuses.contains(3));
    slow.reset();
    EXPECT_FALSE(slow.isFinished());
}

TEST(SteeringSpeedModifierTest, BrakesTheExcessOnceInTheBodyAndOnceInTheStep) {
    SteerableUnit unit(1);
    unit.body().setSteeringVelocity({0, 150});
    SteeringSpeedModifier brake(&unit, 0.5f);
    SteeringForces f;
    brake.modify(f);
    EXPECT_EQ(f.braking, FPoint(0, -50));
    brake.update(0.03f);
    EXPECT_EQ(unit.body().steeringVelocity, FPoint(0, 100));
    EXPECT_TRUE(brake.isFinished());
    SteeringForces none;
    brake.modify(none);
    EXPECT_EQ(none.braking, FPoint(0, 0));
}

}  // namespace
}  // namespace Zarn
