#include "world/effects/SteerableUnitMotion.h"

#include "world/units/SteerableUnit.h"

namespace Zarn {

SteerableUnitMotion::SteerableUnitMotion(SteerableUnit& unit) : unit_(&unit) {}

SteerableUnitMotion::~SteerableUnitMotion() = default;

void SteerableUnitMotion::addSteering(std::unique_ptr<Steering> behaviour) {
    if (steerable) steering.add(std::move(behaviour));
}

void SteerableUnitMotion::addImpulse(std::unique_ptr<Steering> behaviour) {
    impulses.add(std::move(behaviour));
}

void SteerableUnitMotion::addLateSteering(std::unique_ptr<Steering> behaviour) {
    lateSteering.add(std::move(behaviour));
}

void SteerableUnitMotion::reset() {
    steering.clear();
    impulses.clear();
    push = GeometryLib::FPoint(0.0f, 0.0f);
    pushFlags.fill(0);
}

void SteerableUnitMotion::update(float dt) {
    SteerableKinematics& body = unit_->body();
    steering.beginDeferral();
    impulses.beginDeferral();
    lateSteering.beginDeferral();

    SteeringForces first;
    bool pushed = false;
    if (steering.empty() && unit_->state != UnitState::carried && steerable) {
        first.steering += push;
        pushed = true;
    }
    if (!pushed && anyPushFlag()) {
        push = GeometryLib::FPoint(0.0f, 0.0f);
        pushFlags.fill(0);
    }

    SteeringForces step;
    steering.forEach([&](Steering& s) {
        s.steer(step, dt);
        first += step;
        if (s.isFinished()) finishedSteering_.push_back(&s);
    });
    impulses.forEach([&](Steering& s) {
        s.steer(step, dt);
        first += step;
        if (s.isFinished()) finishedImpulses_.push_back(&s);
    });

    if (impulses.empty()) first.externalBraking += body.externalVelocity * friction;
    if (steering.empty() && !anyPushFlag()) first.braking += body.steeringVelocity * friction;

    modifiers.modifyAll(first);
    body.applyForces(first);

    SteeringForces second;
    lateSteering.forEach([&](Steering& s) {
        s.steer(step, dt);
        second += step;
    });
    body.applyForces(second);

    modifiers.updateAll(dt);

    for (const Steering* key : finishedSteering_) steering.remove(key);
    for (const Steering* key : finishedImpulses_) impulses.remove(key);
    finishedSteering_.clear();
    finishedImpulses_.clear();

    lateSteering.endDeferral();
    impulses.endDeferral();
    steering.endDeferral();
}

}  // namespace Zarn
