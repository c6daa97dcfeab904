#include "world/steering/Steering.h"

namespace Zarn {

bool ExternalTimedSteering::checkStuck(SteerableKinematics& body, float dt) {
    if (SteerableKinematics::length(body.externalVelocity) > kStuckSpeed) {
        stuckTime += dt;
    } else {
        stuckTime = 0.0f;
    }
    if (stuckTime >= stuckLimit) {
        body.setSteeringVelocity(GeometryLib::FPoint(0.0f, 0.0f));
        finished = true;
        return true;
    }
    return false;
}

}  // namespace Zarn
