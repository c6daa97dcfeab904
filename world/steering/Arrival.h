#pragma once

#include "world/steering/Steering.h"

namespace Zarn {

// Heads for a point and stops on it: at cruising speed outside slowRadius,
// braking in proportion to the distance inside it, and finished (own motion
// stopped) within kArrivalDistance. Gives up when pushed (the stuck rule).
// The unit's motion owns the behaviour; the unit outlives it.
class Arrival : public ExternalTimedSteering {
public:
    Arrival(SteerableUnit* unit, const GeometryLib::FPoint& target, float slowRadius)
        : unit(unit), target(target), slowRadius(slowRadius) {}

    void steer(SteeringForces& out, float dt) override;
    // A fresh Arrival with the same target and slow radius.
    std::unique_ptr<Steering> cloneFor(SteerableUnit* other) const override;

    SteerableUnit* unit;
    GeometryLib::FPoint target;
    // Map units; 16 wherever the game makes one. Not above 0 means no slowing.
    float slowRadius;
};

}  // namespace Zarn
