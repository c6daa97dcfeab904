#pragma once

#include "world/steering/Steering.h"

namespace Zarn {

// A random walk: pushes the unit along its heading (distance map units ahead)
// plus a sideways part, the point (0, distance) turned by an angle that drifts
// by a uniform draw in [-jitter, jitter) radians every step. Draws from the
// calling thread's world random engine. The unit's motion owns the behaviour;
// the unit outlives it.
class Wander : public Steering {
public:
    static constexpr float kDefaultDistance = 30.0f;
    static constexpr float kDefaultJitter = 0.2617992f;

    Wander(SteerableUnit* unit, float distance, float jitter)
        : unit(unit), distance(distance), jitter(jitter) {}
    // From an angle in degrees: jitter = angle x 0.5 x pi / 180.
    static std::unique_ptr<Wander> fromDegrees(SteerableUnit* unit, float distance, float angleDegrees);

    void steer(SteeringForces& out, float dt) override;
    // A new Wander for the unit with distance 30, jitter 15 degrees, angle 0.
    std::unique_ptr<Steering> cloneFor(SteerableUnit* other) const override;
    bool isFinished() const override { return false; }

    SteerableUnit* unit;
    float distance;
    float jitter;
    float angle = 0.0f;
};

// (x cos a - y sin a, x sin a + y cos a).
GeometryLib::FPoint rotated(const GeometryLib::FPoint& v, float a);

}  // namespace Zarn
