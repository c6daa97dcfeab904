#include "world/elements/BlockableAvoid.h"

#include <cmath>
#include <vector>

#include "grid/BlockableManager.h"
#include "world/elements/Wander.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

namespace {

bool within(float v, float limit) {
    return v > -limit && v < limit;
}

}  // namespace

std::array<GeometryLib::FPoint, 5> BlockableAvoid::feelers(const GeometryLib::FPoint& velocity) {
    GeometryLib::FPoint d = SteerableKinematics::normalize(velocity);
    if (within(d.x, 0.2f) && within(d.y, 0.2f)) d.y = -1.0f;
    const GeometryLib::FPoint f0 = d * kFeelerLength;
    return {f0, rotated(f0, 0.785398f), rotated(f0, 5.4977899f), rotated(f0, 1.5708f), rotated(f0, 4.71239f)};
}

void BlockableAvoid::steer(SteeringForces& out, float) {
    out = SteeringForces();
    SteerableKinematics& body = unit->body();
    const GeometryLib::FPoint p = body.position;
    const GeometryLib::FPoint v = body.velocity;
    GeometryLib::FPoint taken[5];
    std::size_t takenCount = 0;
    for (const GeometryLib::FPoint& f : feelers(v)) {
        Blockable* b = blockables->blockerAt(f + p);
        if (!b) continue;
        const GeometryLib::FPoint n = b->blockingNormal(p, f);
        bool seen = false;
        for (std::size_t i = 0; i < takenCount && !seen; ++i) {
            seen = std::fabs(taken[i].x - n.x) <= kSameNormal && std::fabs(taken[i].y - n.y) <= kSameNormal;
        }
        if (seen) continue;
        out.avoidance += GeometryLib::FPoint(std::fabs(v.x) * n.x, std::fabs(v.y) * n.y);
        taken[takenCount++] = n;
    }
    if (within(out.avoidance.x, 0.2f) && within(out.avoidance.y, 0.2f))
        out.avoidance = body.avoidanceVelocity * -1.0f;
}

std::unique_ptr<Steering> BlockableAvoid::cloneFor(SteerableUnit* other) const {
    return std::make_unique<BlockableAvoid>(other, *blockables);
}

}  // namespace Zarn
