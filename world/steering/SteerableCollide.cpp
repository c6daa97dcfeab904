#include "world/steering/SteerableCollide.h"

#include "world/units/SecondaryUnitIndex.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

using GeometryLib::FPoint;

void SteerableCollide::steer(SteeringForces& out, float) {
    out = SteeringForces();
    if (!index) return;
    const SteerableKinematics& body = unit->body();
    const float speed = SteerableKinematics::length(body.velocity);
    const FPoint probe = body.position + SteerableKinematics::normalize(body.velocity) * kLookAhead;
    const SecondaryUnitSet others = index->unitsInCell(GeometryLib::Point(body.position));
    for (const SecondarySteerableUnit* other : others) {
        if (&other->unit == unit) continue;
        if (other->contains(probe)) out.avoidance += other->pushDirection(probe) * speed;
    }
}

}  // namespace Zarn
