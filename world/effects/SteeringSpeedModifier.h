#pragma once

#include "world/effects/Modifier.h"

namespace Zarn {

// Slows a unit for `duration` seconds: while it runs, each update cuts the
// unit's steering velocity to maxSteeringSpeed x factor (direction kept). When
// it finishes it erases its status value from the unit's status set. Kind 2.
class TimedSteeringSpeedModifier : public Modifier {
public:
    TimedSteeringSpeedModifier(SteerableUnit* unit, float duration, float factor, u32 status)
        : Modifier(unit), duration(duration), factor(factor), status(status) {}

    void update(float dt) override;
    // Restarts the slow.
    void reset() override { elapsed = 0.0f; }
    bool isFinished() override;
    void modify(SteeringForces&) override {}

    float duration;
    float factor;
    float elapsed = 0.0f;
    // The status value the filing effect put into the unit's status set.
    u32 status;
};

// Brakes the part of a unit's steering velocity above maxSteeringSpeed x
// factor, for the one step in which it was filed or reset. Kind 1.
class SteeringSpeedModifier : public Modifier {
public:
    SteeringSpeedModifier(SteerableUnit* unit, float factor) : Modifier(unit), factor(factor) {}

    // Adds the brake to the body.
    void update(float dt) override;
    void reset() override {}
    bool isFinished() override { return true; }
    // Adds the brake to the step's braking force.
    void modify(SteeringForces& forces) override;

    float factor;
};

}  // namespace Zarn
