#include "world/steering/PathedSteering.h"

#include "world/steering/Arrival.h"
#include "world/steering/Seek.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

using GeometryLib::FPoint;

void PathedSteering::arrive(SteerableKinematics& body) {
    finished = true;
    if (onArrival) {
        // The callback may start the unit's next move, which can replace this
        // behaviour; the body outlives it.
        auto callback = onArrival;
        callback();
    }
    body.setSteeringVelocity(FPoint(0.0f, 0.0f));
}

void PathedSteering::steer(SteeringForces& out, float dt) {
    out = SteeringForces();
    SteerableKinematics& body = unit->body();
    if (checkStuck(body, dt)) return;
    if (waypoints.empty()) {
        if (!finished) arrive(body);
        return;
    }
    if (index >= waypoints.size()) return;
    const FPoint wp = waypoints[index];
    const float dist = SteerableKinematics::length(wp - body.position);
    if (index + 1 == waypoints.size()) {
        if (dist < kArrivalDistance) {
            arrive(body);
            return;
        }
        Arrival(unit, wp, 16.0f).steer(out, dt);
        return;
    }
    Seek seek(unit, wp);
    if (dist < waypointRadius) ++index;
    seek.steer(out, dt);
}

std::unique_ptr<Steering> PathedSteering::cloneFor(SteerableUnit* other) const {
    return std::make_unique<PathedSteering>(other, waypoints, waypointRadius);
}

}  // namespace Zarn
