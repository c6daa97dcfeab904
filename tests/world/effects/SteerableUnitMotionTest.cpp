#include <gtest/gtest.h>

#include "world/effects/SteerableUnitMotion.h"
#include "world/effects/SteeringModifierSet.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;

// A push that acts for one step, as traps and belts give them.
class OneStepPush : public Steering {
public:
    OneStepPush(SteerableUnit* unit, FPoint force, int* steps) : unit_(unit), force_(force), steps_(steps) {}
    void steer(SteeringForces& out, float) override {
        out = SteeringForces();
        out.external = force_;
        ++*steps_;
    }
    std::unique_ptr<Steering> cloneFor(SteerableUnit* u) const override {
        return std::make_unique<OneStepPush>(u, force_, steps_);
    }
    bool isFinished() const override { return true; }

private:
    SteerableUnit* unit_;
    FPoint force_;
    int* steps_;
};

// A movement behaviour that runs a hook in its step.
class HookSteering : public Steering {
public:
    explicit HookSteering(std::function<void()> hook) : hook_(std::move(hook)) {}
    void steer(SteeringForces& out, float) override {
        out = SteeringForces();
        out.steering = {10, 0};
        hook_();
    }
    std::unique_ptr<Steering> cloneFor(SteerableUnit*) const override { return nullptr; }
    bool isFinished() const override { return false; }

private:
    std::function<void()> hook_;
};

// Records what the set does with it.
class ProbeModifier : public Modifier {
public:
    struct Log {
        int resets = 0;
        int updates = 0;
        int destroyed = 0;
    };
    ProbeModifier(SteerableUnit* unit, u8 kind, Log* log, bool finishes = false,
                  std::function<void()> onUpdate = {})
        : Modifier(unit), log_(log), finishes_(finishes), onUpdate_(std::move(onUpdate)) {
        this->kind = kind;
    }
    ~ProbeModifier() override { ++log_->destroyed; }
    void update(float) override {
        ++log_->updates;
        if (onUpdate_) onUpdate_();
    }
    void reset() override { ++log_->resets; }
    bool isFinished() override { return finishes_; }
    void modify(SteeringForces& forces) override { forces.steering += FPoint(1, 0); }

private:
    Log* log_;
    bool finishes_;
    std::function<void()> onUpdate_;
};

TEST(SteerableUnitMotionTest, ImpulseActsInExactlyOneUpdate) {
    SteerableUnit unit(1);
    int steps = 0;
    unit.motion.addImpulse(std::make_unique<OneStepPush>(&unit, FPoint(0, 30), &steps));
    unit.motion.update(0.03f);
    EXPECT_EQ(steps, 1);
    EXPECT_TRUE(unit.motion.impulses.empty());
    EXPECT_EQ(unit.body().externalVelocity, FPoint(0, 30));
    unit.motion.update(0.03f);
    EXPECT_EQ(steps, 1);
    // Without impulses friction brakes the outside motion: 30 - 0.3 x 30.
    EXPECT_NEAR(unit.body().externalVelocity.y, 21.0f, 1e-4f);
}

TEST(SteerableUnitMotionTest, PushAppliesOnlyToAFreeUnsteeredUnit) {
    SteerableUnit carried(1);
    carried.state = UnitState::carried;
    carried.motion.push = {50, 0};
    carried.motion.pushFlags[2] = 1;
    carried.motion.update(0.03f);
    EXPECT_EQ(carried.body().steeringVelocity, FPoint(0, 0));
    EXPECT_EQ(carried.motion.push, FPoint(0, 0));  // not applied with a flag set: cleared
    EXPECT_EQ(carried.motion.pushFlags[2], 0);

    SteerableUnit free(2);
    free.motion.push = {50, 0};
    free.motion.pushFlags[0] = 1;
    free.motion.update(0.03f);
    EXPECT_EQ(free.body().steeringVelocity, FPoint(50, 0));
    EXPECT_EQ(free.motion.push, FPoint(50, 0));
}

TEST(SteerableUnitMotionTest, SteeredUnitGetsNoFrictionOnItsOwnMotion) {
    SteerableUnit steered(1), idle(2);
    for (SteerableUnit* u : {&steered, &idle}) u->body().setSteeringVelocity({100, 0});
    steered.motion.addSteering(std::make_unique<HookSteering>([] {}));
    steered.motion.update(0.03f);
    idle.motion.update(0.03f);
    EXPECT_EQ(steered.body().steeringVelocity, FPoint(110, 0));
    EXPECT_EQ(idle.body().steeringVelocity, FPoint(70, 0));
}

TEST(SteerableUnitMotionTest, NotSteerableDropsMovementSteering) {
    SteerableUnit unit(1);
    unit.motion.steerable = 0;
    unit.motion.addSteering(std::make_unique<HookSteering>([] {}));
    EXPECT_TRUE(unit.motion.steering.empty());
}

// A behaviour whose step resets its own unit's motion (as a scripted arrival
// that plans the next move does) is not destroyed while it runs.
TEST(SteerableUnitMotionTest, ResetFromInsideABehavioursStepIsSafe) {
    SteerableUnit unit(1);
    int steps = 0;
    unit.motion.addSteering(std::make_unique<HookSteering>([&] {
        unit.motion.reset();
        unit.motion.addSteering(std::make_unique<HookSteering>([&] { ++steps; }));
    }));
    unit.motion.update(0.03f);
    EXPECT_EQ(unit.motion.steering.size(), 1u);
    EXPECT_EQ(steps, 1);  // the new behaviour ran in the same step
    unit.motion.update(0.03f);
    EXPECT_EQ(steps, 2);
}

TEST(SteeringModifierSetTest, FilesOnePerKindAndResetsTheFiledOne) {
    SteerableUnit unit(1);
    ProbeModifier::Log first, second, other;
    auto& set = unit.motion.modifiers;
    set.add(std::make_unique<ProbeModifier>(&unit, 2, &first));
    EXPECT_EQ(first.resets, 1);
    set.add(std::make_unique<ProbeModifier>(&unit, 2, &second));
    EXPECT_EQ(first.resets, 2);
    EXPECT_EQ(second.resets, 0);
    EXPECT_EQ(second.destroyed, 1);
    set.add(std::make_unique<ProbeModifier>(&unit, 7, &other));
    EXPECT_EQ(set.size(), 2u);

    ProbeModifier::Log locked;
    set.locked = 1;
    set.add(std::make_unique<ProbeModifier>(&unit, 5, &locked));
    EXPECT_EQ(locked.resets, 0);
    EXPECT_EQ(locked.destroyed, 1);
    EXPECT_FALSE(set.contains(5));
    set.add(std::make_unique<ProbeModifier>(&unit, 2, &second));
    EXPECT_EQ(first.resets, 2);  // locked: not even the filed one is reset
}

TEST(SteeringModifierSetTest, ModifiersShapeTheStepAndFinishedOnesAreDropped) {
    SteerableUnit unit(1);
    ProbeModifier::Log stays, goes;
    unit.motion.friction = 0.0f;
    unit.motion.modifiers.add(std::make_unique<ProbeModifier>(&unit, 1, &goes, true));
    unit.motion.modifiers.add(std::make_unique<ProbeModifier>(&unit, 2, &stays, false));
    unit.motion.update(0.03f);
    EXPECT_EQ(unit.body().steeringVelocity, FPoint(2, 0));
    EXPECT_EQ(goes.updates, 1);
    EXPECT_EQ(goes.destroyed, 1);
    EXPECT_TRUE(unit.motion.modifiers.contains(2));
    EXPECT_FALSE(unit.motion.modifiers.contains(1));
}

// A modifier whose update empties the set (a kill from inside a step) is not
// destroyed while it runs, and the others are not visited afterwards.
TEST(SteeringModifierSetTest, ClearingFromInsideAnUpdateIsSafe) {
    SteerableUnit unit(1);
    ProbeModifier::Log clearer, later;
    unit.motion.modifiers.add(
        std::make_unique<ProbeModifier>(&unit, 1, &clearer, false, [&] { unit.motion.modifiers.clear(); }));
    unit.motion.modifiers.add(std::make_unique<ProbeModifier>(&unit, 2, &later));
    unit.motion.update(0.03f);
    EXPECT_EQ(clearer.updates, 1);
    EXPECT_EQ(clearer.destroyed, 1);
    EXPECT_EQ(later.updates, 0);
    EXPECT_EQ(later.destroyed, 1);
    EXPECT_TRUE(unit.motion.modifiers.empty());
}

}  // namespace
}  // namespace Zarn
