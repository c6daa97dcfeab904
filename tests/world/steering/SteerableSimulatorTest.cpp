#include <gtest/gtest.h>

#include "grid/CellGrid.h"
#include "world/steering/Arrival.h"
#include "world/steering/PathedSteering.h"
#include "world/steering/Seek.h"
#include "world/steering/SteerableCollide.h"
#include "world/steering/SteerableSimulator.h"
#include "world/units/SecondarySteerableUnit.h"
#include "world/units/SecondaryUnitIndex.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;

constexpr float kTick = 0.03f;

TEST(SteerableSimulatorTest, RegistersUnitsPerClient) {
    SteerableSimulator sim;
    SteerableUnit a(7), b(7);
    sim.addUnit(7, nullptr);
    EXPECT_EQ(sim.clientUnitCount(), 0u);
    sim.addUnit(7, &a);
    sim.addUnit(7, &b);
    EXPECT_EQ(sim.clientUnitCount(), 1u);
    EXPECT_EQ(sim.unitOf(7), &b);
    sim.removeUnit(7);
    EXPECT_EQ(sim.unitOf(7), nullptr);
}

TEST(SteerableSimulatorTest, CountsTicksWithoutUnits) {
    SteerableSimulator sim;
    for (int i = 0; i < 5; ++i) sim.step();
    EXPECT_EQ(sim.tickCount, 5u);
}

TEST(SteerableSimulatorTest, MovesByVelocityTimesTimeStep) {
    SteerableSimulator sim;
    sim.timeStep = kTick;
    SteerableUnit unit(1);
    unit.motion.friction = 0.0f;
    unit.body().setSteeringVelocity({100, -50});
    sim.addUnit(1, &unit);
    sim.step();
    EXPECT_NEAR(unit.body().position.x, 3.0f, 1e-5f);
    EXPECT_NEAR(unit.body().position.y, -1.5f, 1e-5f);
}

// A unit removed from the game while still registered is skipped, not read.
TEST(SteerableSimulatorTest, ForgetsDestroyedUnits) {
    SteerableUnitManager units;
    units.addClient(1);
    units.addClient(2);
    SteerableSimulator sim;
    sim.timeStep = kTick;
    sim.addUnit(1, &units.getUnit(1));
    sim.addUnit(2, &units.getUnit(2));
    auto prop = std::make_unique<SecondarySteerableUnit>(kFirstSecondaryUnitHandle);
    sim.addSecondaryUnit(&prop->unit);
    units.removeClient(1);
    prop.reset();
    sim.step();
    EXPECT_EQ(sim.clientUnitCount(), 1u);
    EXPECT_EQ(sim.secondaryUnitCount(), 0u);
    EXPECT_EQ(sim.unitOf(2), &units.getUnit(2));
}

// A behaviour whose step takes another player out of the simulation (a
// scripted exit) does not break the step.
TEST(SteerableSimulatorTest, UnitsRemovedDuringAStepAreNotVisited) {
    class Remover : public Steering {
    public:
        explicit Remover(std::function<void()> fn) : fn_(std::move(fn)) {}
        void steer(SteeringForces& out, float) override {
            out = SteeringForces();
            fn_();
        }
        std::unique_ptr<Steering> cloneFor(SteerableUnit*) const override { return nullptr; }
        bool isFinished() const override { return false; }

    private:
        std::function<void()> fn_;
    };
    SteerableUnitManager units;
    SteerableSimulator sim;
    sim.timeStep = kTick;
    for (u32 id : {1u, 2u}) {
        units.addClient(id);
        sim.addUnit(id, &units.getUnit(id));
    }
    units.getUnit(2).body().setSteeringVelocity({100, 0});
    units.getUnit(1).motion.addSteering(std::make_unique<Remover>([&] {
        sim.removeUnit(2);
        sim.removeUnit(1);
    }));
    const FPoint before = units.getUnit(2).body().position;
    sim.step();
    EXPECT_EQ(units.getUnit(2).body().position, before);
    EXPECT_EQ(sim.clientUnitCount(), 0u);
}

TEST(SteerableSimulatorTest, SeekAndArrivalReachTheirTargets) {
    SteerableSimulator sim;
    sim.timeStep = kTick;
    SteerableUnit seeker(1), arriver(2), walker(3);
    for (SteerableUnit* u : {&seeker, &arriver, &walker}) u->body().position = {32, 32};
    seeker.motion.addSteering(std::make_unique<Seek>(&seeker, FPoint(232, 32)));
    arriver.motion.addSteering(std::make_unique<Arrival>(&arriver, FPoint(232, 132), 16.0f));
    walker.motion.addSteering(std::make_unique<PathedSteering>(
        &walker, std::vector<FPoint>{{132, 32}, {132, 132}, {32, 132}}, 16.0f));
    sim.addUnit(1, &seeker);
    sim.addUnit(2, &arriver);
    sim.addUnit(3, &walker);

    bool seekerPassed = false;
    for (int i = 0; i < 400; ++i) {
        sim.step();
        if (seeker.body().position.x > 220.0f) seekerPassed = true;
    }
    EXPECT_TRUE(seekerPassed);
    EXPECT_EQ(seeker.motion.steering.size(), 1u);  // a seek never ends

    EXPECT_TRUE(arriver.motion.steering.empty());
    EXPECT_NEAR(arriver.body().position.x, 232.0f, 2.5f);
    EXPECT_NEAR(arriver.body().position.y, 132.0f, 2.5f);
    EXPECT_LT(SteerableKinematics::length(arriver.body().velocity), 1.0f);

    EXPECT_TRUE(walker.motion.steering.empty());
    EXPECT_NEAR(walker.body().position.x, 32.0f, 2.5f);
    EXPECT_NEAR(walker.body().position.y, 132.0f, 2.5f);
}

// Two props heading into each other stop short instead of passing through.
TEST(SteerableSimulatorTest, CollideKeepsTwoPropsApart) {
    CellGrid grid;
    grid.setProperties(MapProperties{640, 320, 32});
    grid.resize();
    SecondaryUnitIndex index(grid);
    SteerableSimulator sim;
    sim.timeStep = kTick;
    std::vector<std::unique_ptr<SecondarySteerableUnit>> props;
    const FPoint starts[] = {{100, 100}, {160, 100}};
    const FPoint targets[] = {{400, 100}, {-100, 100}};
    for (u32 i = 0; i < 2; ++i) {
        auto p = std::make_unique<SecondarySteerableUnit>(kFirstSecondaryUnitHandle + i);
        p->cellSize = 32;
        p->radius = 10;
        p->unit.body().position = starts[i];
        p->unit.motion.addSteering(std::make_unique<Seek>(&p->unit, targets[i]));
        p->unit.motion.addLateSteering(std::make_unique<SteerableCollide>(&p->unit, &index));
        index.add(p.get());
        sim.addSecondaryUnit(&p->unit);
        props.push_back(std::move(p));
    }
    float closest = 1e9f;
    for (int i = 0; i < 200; ++i) {
        sim.step();
        index.refresh();
        closest = std::min(closest, props[1]->position().x - props[0]->position().x);
    }
    EXPECT_GT(closest, 5.0f);
    EXPECT_GT(props[1]->position().x, props[0]->position().x);
}

// Two copies of a world (server and client) that add the same players in a
// different order step to bit-identical positions.
TEST(SteerableSimulatorTest, CopiesOfAWorldStepAlike) {
    struct World {
        SteerableUnitManager units;
        SteerableSimulator sim;
        explicit World(const std::vector<u32>& joinOrder) {
            sim.timeStep = kTick;
            for (u32 id : joinOrder) units.addClient(id);
            units.forEachUnit([&](u32 id, SteerableUnit& unit) {
                unit.body().position = FPoint(32.0f + 7.0f * static_cast<float>(id), 32.0f);
                unit.motion.addSteering(std::make_unique<Seek>(&unit, FPoint(300, 200)));
                unit.motion.addSteering(
                    std::make_unique<Arrival>(&unit, FPoint(100.0f + static_cast<float>(id), 50), 16.0f));
                unit.motion.push = FPoint(3, -1);
                sim.addUnit(id, &unit);
            });
        }
    };
    World server({1, 2, 3, 4}), client({4, 2, 3, 1});
    for (int i = 0; i < 300; ++i) {
        server.sim.step();
        client.sim.step();
    }
    server.units.forEachUnit([&](u32 id, SteerableUnit& unit) {
        const SteerableKinematics& other = client.units.getUnit(id).body();
        EXPECT_EQ(unit.body().position, other.position);
        EXPECT_EQ(unit.body().velocity, other.velocity);
        EXPECT_EQ(unit.body().heading, other.heading);
    });
}

}  // namespace
}  // namespace Zarn
