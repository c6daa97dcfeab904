#pragma once

#include "world/steering/Steering.h"

namespace Zarn {

// Heads for a point at cruising speed (the body's maxSteeringSpeed) and never
// finishes. The unit's motion owns the behaviour; the unit outlives it.
class Seek : public Steering {
public:
    Seek(SteerableUnit* unit, const GeometryLib::FPoint& target) : unit(unit), target(target) {}

    // steering := normalize(target - position) x maxSteeringSpeed - steeringVelocity.
    void steer(SteeringForces& out, float dt) override;
    std::unique_ptr<Steering> cloneFor(SteerableUnit* other) const override;
    bool isFinished() const override { return false; }

    SteerableUnit* unit;
    GeometryLib::FPoint target;
};

}  // namespace Zarn
