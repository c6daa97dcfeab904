#pragma once

#include <memory>
#include <vector>

#include "map/records/PointSet.h"
#include "world/effects/Effect.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

class CellGrid;
class SpawnPoints;

// Kills the unit it is applied to: the unit's state word becomes deathState
// (only while it is 0: the first cause wins), the unit is stopped, and a
// WaitThenResetModifier respawns it at the centre of its respawn cell after
// waitTime seconds. The spawn points and the grid belong to the world and
// outlive the effect. Result kind 1; a null unit gets an unapplied result
// naming handle 0.
class Kill : public Effect {
public:
    Kill(SpawnPoints& spawnPoints, const CellGrid& grid, u32 deathState, float waitTime)
        : spawnPoints(&spawnPoints), grid(&grid), deathState(deathState), waitTime(waitTime) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;
    // Stops the unit of the last apply: empties its modifiers, resets its
    // motion and zeroes its velocity, steering and external velocity. Does
    // nothing when that unit has left the game meanwhile.
    virtual void stop();

    // The unit of the last apply, or null (none yet, or it has left the game).
    SteerableUnit* lastUnit() const { return unit.get(); }

    SpawnPoints* spawnPoints;
    const CellGrid* grid;
    WatchedUnit unit;
    u32 deathState;
    // Scratch value of the last apply: the centre of the respawn cell.
    GeometryLib::FPoint respawnPoint;
    float waitTime;

protected:
    // Steps 2 to 7 of a kill, on a unit already remembered.
    std::unique_ptr<EffectResult> kill(SteerableUnit& target);
};

// A kill that takes effect only on a living unit (state word 0) standing on
// one of its cells; elsewhere it declines (applied 0, kind 1). The cells are
// its own copy, or a table it observes (a trap record's coverage, owned by the
// game map, which outlives the effect).
class KillThenWait : public Kill {
public:
    KillThenWait(SpawnPoints& spawnPoints, const CellGrid& grid, u32 deathState, float waitTime,
                 const std::vector<GeometryLib::Point>& cells);
    KillThenWait(SpawnPoints& spawnPoints, const CellGrid& grid, u32 deathState, float waitTime,
                 const GeometryLib::Point& cell);
    KillThenWait(SpawnPoints& spawnPoints, const CellGrid& grid, u32 deathState, float waitTime,
                 const PointSet& observedCells);

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    // Whether a unit with this state word standing at this position is on a deadly cell.
    bool standsOnDeadlyCell(const SteerableUnit& unit) const;
    const PointSet& cells() const { return *cells_; }

private:
    PointSet ownCells_;
    // Points at ownCells_ or at the observed table.
    const PointSet* cells_;
};

}  // namespace Zarn
