#include "world/effects/DragModifier.h"

namespace Zarn {

GeometryLib::FPoint DragModifier::drag(const GeometryLib::FPoint& w) {
    if (w.x > -0.2f && w.x < 0.2f && w.y > -0.2f && w.y < 0.2f) return w;
    const float len = SteerableKinematics::length(w);
    if (len > 1.0f) return (w * kPushStrength) / len;
    return w;
}

void DragModifier::modify(SteeringForces& forces) {
    forces.steering = drag(forces.steering);
    forces.braking = drag(forces.braking);
}

}  // namespace Zarn
