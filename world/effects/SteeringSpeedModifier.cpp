#include "world/effects/SteeringSpeedModifier.h"

#include "world/units/SteerableUnit.h"

namespace Zarn {

using GeometryLib::FPoint;

namespace {

// The braking force that takes v down to limit: normalize(v) x -(|v| - limit),
// or (0, 0) when v is within the limit.
FPoint excessBrake(const FPoint& v, float limit) {
    const float speed = SteerableKinematics::length(v);
    if (!(speed > limit)) return FPoint(0.0f, 0.0f);
    return SteerableKinematics::normalize(v) * -(speed - limit);
}

}  // namespace

void TimedSteeringSpeedModifier::update(float dt) {
    elapsed += dt;
    if (elapsed > duration) return;
    SteerableKinematics& body = unit->body();
    const float limit = body.maxSteeringSpeed * factor;
    const FPoint v = body.steeringVelocity;
    if (SteerableKinematics::length(v) > limit)
        body.setSteeringVelocity(SteerableKinematics::normalize(v) * limit);
}

bool TimedSteeringSpeedModifier::isFinished() {
    if (!(elapsed > duration)) return false;
    unit->statuses.eraseAll(status);
    return true;
}

void SteeringSpeedModifier::update(float) {
    SteerableKinematics& body = unit->body();
    const float limit = body.maxSteeringSpeed * factor;
    if (SteerableKinematics::length(body.steeringVelocity) > limit) {
        body.addBrakingForce(excessBrake(body.steeringVelocity, limit));
    }
}

void SteeringSpeedModifier::modify(SteeringForces& forces) {
    const SteerableKinematics& body = unit->body();
    forces.braking += excessBrake(body.steeringVelocity, body.maxSteeringSpeed * factor);
}

}  // namespace Zarn
