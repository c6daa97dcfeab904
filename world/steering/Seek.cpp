#include "world/steering/Seek.h"

#include "world/units/SteerableUnit.h"

namespace Zarn {

void Seek::steer(SteeringForces& out, float) {
    out = SteeringForces();
    const SteerableKinematics& body = unit->body();
    const GeometryLib::FPoint desired =
        SteerableKinematics::normalize(target - body.position) * body.maxSteeringSpeed;
    out.steering = desired - body.steeringVelocity;
}

std::unique_ptr<Steering> Seek::cloneFor(SteerableUnit* other) const {
    return std::make_unique<Seek>(other, target);
}

}  // namespace Zarn
