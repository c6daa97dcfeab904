#pragma once

#include <memory>
#include <vector>

#include "map/records/TrapElement.h"
#include "world/effects/Kill.h"

namespace Zarn {

// The kill of the traps: a KillThenWait whose stop lets the unit slide to a
// halt (its velocity is kept; friction brakes it) instead of freezing it:
// stop empties the unit's movement steering, impulses and push, its active
// effect IDs and its modifiers.
class SlowStopKillThenWait : public KillThenWait {
public:
    using KillThenWait::KillThenWait;

    void stop() override;
};

// Kills a unit only while it walks: when the length of its own steering
// velocity is at least 10 map units per second and it stands on one of the
// cells, it is killed as a KillThenWait; otherwise an unapplied kill result.
// The spawn points, grid and cell table belong to the world and the game map
// and outlive the effect.
class KillIfMoving : public Effect {
public:
    static constexpr float kMovingSpeed = 10.0f;

    KillIfMoving(SpawnPoints& spawnPoints, u32 deathState, float waitTime, const CellGrid& grid,
                 const PointSet& cells)
        : kill(spawnPoints, grid, deathState, waitTime, cells) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    KillThenWait kill;
};

// The effect of a boss arm: a unit on the arm's own column of three cells
// (from the arm record's position upwards) dies with death state 5, a unit
// elsewhere on the arm trap's cells with 22; both respawn after 2 s. The
// record (owned by the game map), the spawn points and the grid outlive the
// effect.
class BossArmEffect : public Effect {
public:
    static constexpr u32 kOnArmDeathState = 5;
    static constexpr u32 kOffArmDeathState = 22;
    static constexpr float kWaitTime = 2.0f;

    BossArmEffect(SpawnPoints& spawnPoints, const DelayedTrapElement& armRecord, const CellGrid& grid);

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    // armColumn of the arm record's position.
    std::vector<GeometryLib::Point> armCells;
    const CellGrid* grid;
    // Owned by the game map.
    const DelayedTrapElement* armRecord;
    SlowStopKillThenWait onArm;
    SlowStopKillThenWait offArm;
};

}  // namespace Zarn
