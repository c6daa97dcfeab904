#include "world/effects/WaitThenResetModifier.h"

#include "world/units/SteerableUnit.h"

namespace Zarn {

void WaitThenResetModifier::update(float dt) {
    elapsed += dt;
    if (waitTime > elapsed) return;
    unit->state = UnitState::alive;
    SteerableKinematics& body = unit->body();
    body.position = respawnPoint;
    body.velocity = GeometryLib::FPoint(0.0f, 0.0f);
    body.steeringVelocity = GeometryLib::FPoint(0.0f, 0.0f);
    body.externalVelocity = GeometryLib::FPoint(0.0f, 0.0f);
}

}  // namespace Zarn
