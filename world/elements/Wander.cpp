#include "world/elements/Wander.h"

#include <cmath>

#include "world/steering/WorldRandom.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

GeometryLib::FPoint rotated(const GeometryLib::FPoint& v, float a) {
    const float c = std::cos(a);
    const float s = std::sin(a);
    return GeometryLib::FPoint(v.x * c - v.y * s, v.x * s + v.y * c);
}

std::unique_ptr<Wander> Wander::fromDegrees(SteerableUnit* unit, float distance, float angleDegrees) {
    return std::make_unique<Wander>(unit, distance, angleDegrees * 0.5f * 3.14159f / 180.0f);
}

void Wander::steer(SteeringForces& out, float) {
    out = SteeringForces();
    const GeometryLib::FPoint ahead = SteerableKinematics::normalize(unit->body().velocity) * distance;
    const GeometryLib::FPoint offset = rotated(GeometryLib::FPoint(0.0f, distance), angle);
    angle += (worldRandomUnit() * 2.0f - 1.0f) * jitter;
    out.steering += ahead + offset;
}

std::unique_ptr<Steering> Wander::cloneFor(SteerableUnit* other) const {
    return std::make_unique<Wander>(other, kDefaultDistance, kDefaultJitter);
}

}  // namespace Zarn
