#pragma once

#include "world/steering/Steering.h"

namespace Zarn {

class SecondaryUnitIndex;

// Keeps secondary units apart: when the point 8 map units ahead of the unit
// lies inside another secondary unit of the same cell, the unit is pushed away
// from that unit's centre at its own speed (as avoidance). The unit's motion
// owns the behaviour; the unit and the world's index outlive it.
class SteerableCollide : public Steering {
public:
    static constexpr float kLookAhead = 8.0f;

    SteerableCollide(SteerableUnit* unit, const SecondaryUnitIndex* index) : unit(unit), index(index) {}

    void steer(SteeringForces& out, float dt) override;
    // Not copied: null.
    std::unique_ptr<Steering> cloneFor(SteerableUnit*) const override { return nullptr; }
    bool isFinished() const override { return false; }

    SteerableUnit* unit;
    const SecondaryUnitIndex* index;
};

}  // namespace Zarn
