#pragma once

#include <memory>

#include "world/steering/SteerableKinematics.h"

namespace Zarn {

class SteerableUnit;

// A steering behaviour: one contribution to a unit's forces per step. A
// behaviour observes the unit it steers (the unit's motion owns the behaviour,
// so the unit outlives it) and reads the unit's body through it.
class Steering {
public:
    virtual ~Steering() = default;
    // Fills `out` (reset to all zero first) with the forces of a step of dt seconds.
    virtual void steer(SteeringForces& out, float dt) = 0;
    // A copy of the behaviour bound to another unit, or null when the behaviour
    // cannot be copied.
    virtual std::unique_ptr<Steering> cloneFor(SteerableUnit* unit) const = 0;
    // True when the owner is to drop the behaviour after this step.
    virtual bool isFinished() const = 0;
};

// Base of the walks that end by themselves (Arrival, PathedSteering). A walk
// gives up when an outside force keeps pushing its unit (|externalVelocity|
// above kStuckSpeed) for stuckLimit seconds.
class ExternalTimedSteering : public Steering {
public:
    static constexpr float kArrivalDistance = 2.0f;
    static constexpr float kStuckSpeed = 1.0f;

    bool isFinished() const override { return finished; }

    bool finished = false;
    float stuckTime = 0.0f;
    float stuckLimit = 0.5f;

protected:
    // The stuck rule: counts the time the body is pushed; once it reaches the
    // limit the unit's own motion stops and the walk finishes. True when the
    // walk ended in this call (the caller then returns the zero record).
    bool checkStuck(SteerableKinematics& body, float dt);
};

}  // namespace Zarn
