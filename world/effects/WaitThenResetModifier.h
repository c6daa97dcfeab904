#pragma once

#include "world/effects/Modifier.h"

namespace Zarn {

// The wait of a killed unit: the unit cannot steer itself, and once waitTime
// seconds have passed it respawns (state word 0, at respawnPoint, at rest) at
// every update until the set drops the modifier. Kind 7.
class WaitThenResetModifier : public Modifier {
public:
    WaitThenResetModifier(SteerableUnit* unit, float waitTime, const GeometryLib::FPoint& respawnPoint)
        : Modifier(unit), waitTime(waitTime), respawnPoint(respawnPoint) {
        kind = ModifierKind::waitThenReset;
    }

    void update(float dt) override;
    void reset() override {}
    // elapsed > waitTime.
    bool isFinished() override { return elapsed > waitTime; }
    // Zeroes the steering force; the other forces pass.
    void modify(SteeringForces& forces) override { forces.steering = GeometryLib::FPoint(0.0f, 0.0f); }

    float waitTime;
    GeometryLib::FPoint respawnPoint;
    float elapsed = 0.0f;
};

}  // namespace Zarn
