#pragma once

#include "world/effects/Modifier.h"

namespace Zarn {

// Makes a unit slide on a zero-friction floor for one step: the unit's own
// steering and braking pushes of the step get a fixed strength of 5.0 (pushes
// of length 1.0 or less pass unchanged). Kind 5.
class DragModifier : public Modifier {
public:
    static constexpr float kPushStrength = 5.0f;

    explicit DragModifier(SteerableUnit* unit) : Modifier(unit) {}

    void update(float) override {}
    void reset() override {}
    bool isFinished() override { return true; }
    void modify(SteeringForces& forces) override;

    // The rule for one vector.
    static GeometryLib::FPoint drag(const GeometryLib::FPoint& w);
};

}  // namespace Zarn
