#pragma once

#include <array>

#include "world/steering/Steering.h"

namespace Zarn {

class BlockableManager;

// Obstacle avoidance for props: five feelers of 8 map units (ahead, turned by
// 45, 315, 90 and 270 degrees; straight down when the unit stands still)
// probe the blockable manager; each distinct blocking normal pushes the unit
// away with the size of its velocity. With nothing to avoid it cancels the
// avoidance of the previous step. Meant for the late steering group, after the
// unit's own forces are applied. The blockable manager belongs to the loaded
// map and the unit owns the behaviour; both outlive it.
class BlockableAvoid : public Steering {
public:
    static constexpr float kFeelerLength = 8.0f;
    static constexpr float kSameNormal = 0.2f;

    BlockableAvoid(SteerableUnit* unit, BlockableManager& blockables) : blockables(&blockables), unit(unit) {}

    void steer(SteeringForces& out, float dt) override;
    // A new BlockableAvoid over the same blockables, steering the given unit.
    std::unique_ptr<Steering> cloneFor(SteerableUnit* other) const override;
    bool isFinished() const override { return false; }

    // The five feeler vectors for a velocity, in probing order.
    static std::array<GeometryLib::FPoint, 5> feelers(const GeometryLib::FPoint& velocity);

    BlockableManager* blockables;
    SteerableUnit* unit;
};

}  // namespace Zarn
