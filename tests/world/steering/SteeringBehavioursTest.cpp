#include <gtest/gtest.h>

#include <cmath>

#include "grid/CellGrid.h"
#include "world/steering/Arrival.h"
#include "world/steering/PathedSteering.h"
#include "world/steering/Seek.h"
#include "world/steering/SteerableCollide.h"
#include "world/steering/SteerableProximity.h"
#include "world/units/SecondaryUnitIndex.h"
#include "world/units/SteerableUnit.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;

void expectNear(const FPoint& actual, const FPoint& expected, float eps = 1e-3f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
}

bool isZero(const SteeringForces& f) {
    const FPoint z(0, 0);
    return f.steering == z && f.braking == z && f.avoidance == z && f.external == z && f.externalBraking == z;
}

TEST(SeekTest, AsksForCruisingSpeedTowardTheTarget) {
    SteerableUnit unit(1);
    unit.body().position = {10, 10};
    unit.body().setSteeringVelocity({0, 50});
    Seek seek(&unit, {110, 10});
    SteeringForces out;
    out.avoidance = {9, 9};  // stale content is overwritten
    seek.steer(out, 0.03f);
    expectNear(out.steering, {200, -50});
    EXPECT_EQ(out.avoidance, FPoint(0, 0));
    EXPECT_FALSE(seek.isFinished());

    SteerableUnit onTarget(2);
    onTarget.body().position = {5, 5};
    Seek still(&onTarget, {5, 5});
    still.steer(out, 0.03f);
    EXPECT_TRUE(isZero(out));
}

TEST(ArrivalTest, StopsWithinArrivalDistance) {
    SteerableUnit unit(1);
    unit.body().setSteeringVelocity({30, 0});
    Arrival arrival(&unit, {1.5f, 0}, 16.0f);
    SteeringForces out;
    arrival.steer(out, 0.03f);
    EXPECT_TRUE(arrival.isFinished());
    EXPECT_TRUE(isZero(out));
    EXPECT_EQ(unit.body().steeringVelocity, FPoint(0, 0));
}

TEST(ArrivalTest, BrakesInsideSlowRadiusAndSteersOutside) {
    SteerableUnit unit(1);
    unit.body().setSteeringVelocity({100, 0});
    unit.body().externalVelocity = {0, 0.5f};
    Arrival near(&unit, {10, 0}, 16.0f);
    SteeringForces out;
    near.steer(out, 0.03f);
    expectNear(out.braking, {200.0f * 10.0f / 16.0f - 100.0f, 0});
    expectNear(out.externalBraking, {0, -0.5f});
    EXPECT_EQ(out.steering, FPoint(0, 0));
    EXPECT_FALSE(near.isFinished());

    Arrival far(&unit, {100, 0}, 16.0f);
    far.steer(out, 0.03f);
    expectNear(out.steering, {100, 0});
    EXPECT_EQ(out.braking, FPoint(0, 0));
    EXPECT_EQ(out.externalBraking, FPoint(0, 0));
}

TEST(ArrivalTest, WithoutSlowRadiusStillFinishesOnTarget) {
    SteerableUnit unit(1);
    unit.body().position = {99, 0};
    Arrival arrival(&unit, {100, 0}, 0.0f);
    SteeringForces out;
    arrival.steer(out, 0.03f);
    EXPECT_TRUE(arrival.isFinished());
    EXPECT_FALSE(std::isnan(unit.body().steeringVelocity.x));

    unit.body().position = {50, 0};
    Arrival farAway(&unit, {100, 0}, 0.0f);
    SteeringForces far;
    farAway.steer(far, 0.03f);
    expectNear(far.steering, {200, 0});
    EXPECT_FALSE(std::isnan(far.braking.x));
    EXPECT_EQ(far.braking, FPoint(0, 0));
}

// An outside push kept for 0.5 s ends a walk; exactly 1.0 does not count.
TEST(TimedSteeringTest, StuckRuleEndsArrivalAndPath) {
    for (int which = 0; which < 2; ++which) {
        SteerableUnit unit(1);
        std::unique_ptr<ExternalTimedSteering> walk;
        if (which == 0) {
            walk = std::make_unique<Arrival>(&unit, FPoint(500, 0), 16.0f);
        } else {
            walk = std::make_unique<PathedSteering>(&unit, std::vector<FPoint>{{250, 0}, {500, 0}}, 16.0f);
        }
        SteeringForces out;
        unit.body().externalVelocity = {1.5f, 0};
        for (int step = 1; step <= 16; ++step) {
            walk->steer(out, 0.03f);
            ASSERT_FALSE(walk->isFinished()) << "step " << step;
        }
        unit.body().externalVelocity = {1.0f, 0};
        walk->steer(out, 0.03f);
        EXPECT_EQ(walk->stuckTime, 0.0f);
        unit.body().externalVelocity = {1.5f, 0};
        for (int step = 1; step <= 17; ++step) walk->steer(out, 0.03f);
        EXPECT_TRUE(walk->isFinished());
        EXPECT_TRUE(isZero(out));
        EXPECT_EQ(unit.body().steeringVelocity, FPoint(0, 0));
    }
}

TEST(PathedSteeringTest, AdvancesWithinRadiusAndArrivesOnLastWaypoint) {
    SteerableUnit unit(1);
    PathedSteering path(&unit, {{100, 0}, {100, 100}, {0, 100}}, 16.0f);
    int calls = 0;
    FPoint velocityAtCallback(-1, -1);
    path.onArrival = [&] {
        ++calls;
        velocityAtCallback = unit.body().steeringVelocity;
    };
    unit.body().setSteeringVelocity({150, 0});
    SteeringForces out;

    unit.body().position = {50, 0};
    path.steer(out, 0.03f);
    EXPECT_EQ(path.index, 0u);
    unit.body().position = {90, 0};  // within 16 of the first waypoint
    path.steer(out, 0.03f);
    EXPECT_EQ(path.index, 1u);
    expectNear(out.steering, {50, 0});  // this step still points at the first waypoint
    unit.body().position = {100, 90};
    path.steer(out, 0.03f);
    EXPECT_EQ(path.index, 2u);
    unit.body().position = {10, 100};  // within 16 of the last one, not within 2
    path.steer(out, 0.03f);
    EXPECT_FALSE(path.isFinished());
    EXPECT_EQ(calls, 0);
    unit.body().position = {1, 100};
    path.steer(out, 0.03f);
    EXPECT_TRUE(path.isFinished());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(velocityAtCallback, FPoint(150, 0));
    EXPECT_EQ(unit.body().steeringVelocity, FPoint(0, 0));
}

TEST(PathedSteeringTest, IndexPastTheEndReturnsZerosForever) {
    SteerableUnit unit(1);
    unit.body().setSteeringVelocity({20, 0});
    PathedSteering path(&unit, {{100, 0}}, 16.0f);
    path.index = 5;
    SteeringForces out;
    for (int i = 0; i < 3; ++i) {
        path.steer(out, 0.03f);
        EXPECT_TRUE(isZero(out));
        EXPECT_FALSE(path.isFinished());
    }
}

TEST(PathedSteeringTest, EmptyPathFinishesAtOnce) {
    SteerableUnit unit(1);
    PathedSteering path(&unit, {}, 16.0f);
    int calls = 0;
    path.onArrival = [&] { ++calls; };
    SteeringForces out;
    path.steer(out, 0.03f);
    path.steer(out, 0.03f);
    EXPECT_TRUE(path.isFinished());
    EXPECT_EQ(calls, 1);
}

TEST(SteeringCloneTest, ClonesStartFreshOnTheGivenUnit) {
    SteerableUnit a(1), b(2);
    PathedSteering path(&a, {{100, 0}, {200, 0}}, 16.0f);
    path.index = 1;
    path.onArrival = [] {};
    auto copy = path.cloneFor(&b);
    auto* p = dynamic_cast<PathedSteering*>(copy.get());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->unit, &b);
    EXPECT_EQ(p->index, 0u);
    EXPECT_FALSE(p->onArrival);
    EXPECT_EQ(p->waypoints.size(), 2u);

    Arrival arrival(&a, {3, 4}, 16.0f);
    arrival.finished = true;
    auto arrivalCopy = arrival.cloneFor(&b);
    EXPECT_FALSE(arrivalCopy->isFinished());
    EXPECT_EQ(dynamic_cast<Arrival*>(arrivalCopy.get())->unit, &b);

    auto seekCopy = Seek(&a, {1, 2}).cloneFor(&b);
    EXPECT_EQ(dynamic_cast<Seek*>(seekCopy.get())->target, FPoint(1, 2));
    EXPECT_EQ(SteerableCollide(&a, nullptr).cloneFor(&b), nullptr);
}

class CollideTest : public testing::Test {
protected:
    CollideTest() {
        grid.setProperties(MapProperties{320, 320, 32});
        grid.resize();
    }
    std::unique_ptr<SecondarySteerableUnit> prop(u32 n, FPoint at, float radius) {
        auto p = std::make_unique<SecondarySteerableUnit>(kFirstSecondaryUnitHandle + n);
        p->cellSize = 32;
        p->radius = radius;
        p->unit.body().position = at;
        return p;
    }
    CellGrid grid;
};

TEST_F(CollideTest, PushesAwayFromOthersThatHoldTheProbe) {
    SecondaryUnitIndex index(grid);
    auto mover = prop(1, {100, 100}, 10);
    auto blocker = prop(2, {115, 100}, 10);
    auto distant = prop(3, {100, 125}, 10);  // same cell area, probe outside its radius
    index.add(1, mover.get());
    index.add(2, blocker.get());
    index.add(3, distant.get());
    mover->unit.body().setSteeringVelocity({50, 0});

    SteerableCollide collide(&mover->unit, &index);
    SteeringForces out;
    collide.steer(out, 0.03f);
    // probe (108, 100) is inside the blocker: pushed back along -x at speed 50
    expectNear(out.avoidance, {-50, 0});

    blocker->unit.body().position = {130, 100};
    index.refresh();
    collide.steer(out, 0.03f);
    EXPECT_EQ(out.avoidance, FPoint(0, 0));
}

TEST_F(CollideTest, SeparatesTwoPropsUnderTheSimulatorForces) {
    SecondaryUnitIndex index(grid);
    auto a = prop(1, {100, 100}, 10);
    auto b = prop(2, {112, 100}, 10);
    index.add(1, a.get());
    index.add(2, b.get());
    a->unit.motion.addSteering(std::make_unique<Seek>(&a->unit, FPoint(200, 100)));
    a->unit.motion.addLateSteering(std::make_unique<SteerableCollide>(&a->unit, &index));
    for (int i = 0; i < 5; ++i) {
        a->unit.motion.update(0.03f);
        a->unit.body().position += a->unit.body().velocity * 0.03f;
        index.refresh();
    }
    // A heads into B and is held back: its avoidance cancels its approach.
    EXPECT_LT(a->unit.body().avoidanceVelocity.x, 0.0f);
    EXPECT_LT(a->unit.body().position.x, 102.0f);
}

TEST(SteerableProximityTest, PruneDropsUnitsThatLeftTheirCellOrTheGame) {
    CellGrid grid;
    grid.setProperties(MapProperties{320, 320, 32});
    grid.resize();
    SteerableUnitManager units;
    units.addClient(1);
    units.addClient(2);
    units.addClient(3);
    SteerableUnit* stays = &units.getUnit(1);
    SteerableUnit* walks = &units.getUnit(2);
    SteerableUnit* leaves = &units.getUnit(3);
    for (SteerableUnit* u : {stays, walks, leaves}) u->body().position = {40, 40};

    SteerableProximityImpl proximity(units, grid);
    EXPECT_FALSE(proximity.hasUnits());
    for (SteerableUnit* u : {stays, walks, leaves}) proximity.setUnitCell(u, {1, 1});
    EXPECT_TRUE(proximity.isUnitAt(stays, {1, 1}));
    EXPECT_FALSE(proximity.isUnitAt(stays, {1, 2}));

    walks->body().position = {70, 40};
    units.removeClient(3);
    proximity.prune();
    EXPECT_EQ(proximity.entries().size(), 1u);
    EXPECT_TRUE(proximity.isUnitAt(stays, {1, 1}));
}

}  // namespace
}  // namespace Zarn
