#include "world/steering/Arrival.h"

#include "world/units/SteerableUnit.h"

namespace Zarn {

using GeometryLib::FPoint;

void Arrival::steer(SteeringForces& out, float dt) {
    out = SteeringForces();
    SteerableKinematics& body = unit->body();
    if (checkStuck(body, dt)) return;
    const FPoint offset = target - body.position;
    const FPoint dir = SteerableKinematics::normalize(offset);
    const float dist = SteerableKinematics::length(offset);
    if (dist < kArrivalDistance) {
        body.setSteeringVelocity(FPoint(0.0f, 0.0f));
        finished = true;
        return;
    }
    if (dist < slowRadius) {
        const FPoint desired = ((dir * body.maxSteeringSpeed) * dist) / slowRadius;
        out.braking = desired - body.steeringVelocity;
        if (SteerableKinematics::length(body.externalVelocity) > 0.0f)
            out.externalBraking = body.externalVelocity * -1.0f;
    } else {
        out.steering = dir * body.maxSteeringSpeed - body.steeringVelocity;
    }
}

std::unique_ptr<Steering> Arrival::cloneFor(SteerableUnit* other) const {
    return std::make_unique<Arrival>(other, target, slowRadius);
}

}  // namespace Zarn
