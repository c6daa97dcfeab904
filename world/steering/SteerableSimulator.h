#pragma once

#include <map>
#include <vector>

#include "foundation/Types.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

// A stepped simulation with a tick counter.
class Simulator {
public:
    virtual ~Simulator() = default;
    virtual void step() = 0;

    u32 tickCount = 0;
    // Kept with the simulator; step does not read it.
    float spareRate = 1.0f;
    // Seconds per step; the owner sets its tick length.
    float timeStep = 1.0f;
};

// Moves every unit of a world once per step: each unit's motion decides its
// velocity, then its position advances by velocity x timeStep. Player units
// (by client ID, ascending) go first, then the secondary units in the order
// they were added; a unit updated later already sees the new positions of the
// units before it. The units are observed, not owned: a unit destroyed by its
// owner is skipped and forgotten. Used by the thread that owns the world.
class SteerableSimulator : public Simulator {
public:
    // Registers (or replaces) the unit of a client; a null unit is ignored.
    void addUnit(u32 clientId, SteerableUnit* unit);
    void removeUnit(u32 clientId);
    // Registers the unit of a secondary steerable unit (once).
    void addSecondaryUnit(SteerableUnit* unit);

    // moveUnits, then tickCount += 1.
    void step() override;
    void moveUnits();

    // The registered unit of a client, or null (also once it was destroyed).
    SteerableUnit* unitOf(u32 clientId) const;
    std::size_t clientUnitCount() const { return clientUnits_.size(); }
    std::size_t secondaryUnitCount() const { return secondaryUnits_.size(); }

private:
    static void move(SteerableUnit& unit, float dt);

    std::map<u32, WatchedUnit> clientUnits_;
    std::vector<WatchedUnit> secondaryUnits_;
};

}  // namespace Zarn
