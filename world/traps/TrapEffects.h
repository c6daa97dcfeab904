#pragma once

#include <memory>

#include "map/records/TrapElement.h"
#include "world/effects/Effect.h"
#include "world/elements/InteractiveMapElementState.h"
#include "world/steering/Steering.h"
#include "world/traps/TrapKills.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

class CellGrid;
class SpawnPoints;

// Slows a unit for `duration` seconds to factor x its cruising speed: files a
// TimedSteeringSpeedModifier (kind 2) carrying effectId as its status value. A
// slow of this kind already running stays and restarts. Result: applied, kind 7.
class TimedSlow : public Effect {
public:
    TimedSlow(float duration, float factor, u32 effectId = 0)
        : duration(duration), factor(factor), effectId(effectId) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    float duration;
    float factor;
    u32 effectId;
};

// Brakes a unit to factor x its cruising speed for the tick: files a
// SteeringSpeedModifier (kind 1). Result: applied, kind 7.
class Slow : public Effect {
public:
    explicit Slow(float factor) : factor(factor) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    float factor;
};

// A push for one tick: drives the unit's external velocity towards `force`.
// Filed among the unit's impulses, whose owner drops it after the tick.
class ExternalSteering : public Steering {
public:
    ExternalSteering(SteerableUnit* unit, const GeometryLib::FPoint& force) : unit(unit), force(force) {}

    // out := zero, then out.external := force - the body's external velocity.
    void steer(SteeringForces& out, float dt) override;
    std::unique_ptr<Steering> cloneFor(SteerableUnit* other) const override;
    bool isFinished() const override { return true; }

    // The unit whose motion owns this behaviour.
    SteerableUnit* unit;
    GeometryLib::FPoint force;
};

// The vortex: pulls a unit within `radius` of the middle of its anchor cell
// towards it, at outerPull on the rim rising to innerPull at the middle (map
// units per second); a unit less than half a cell from the middle is killed
// (death state 6, respawn after 2 s, on the trap's cells). Units carried by a
// pad are left alone, and so is every unit when the radius is not positive.
// Results: kind 4 (applied while pulling, unapplied outside), or the kill's.
// The record (owned by the game map), grid and spawn points outlive the effect.
class VortexEffect : public Effect {
public:
    static constexpr u32 kDeathState = 6;
    static constexpr float kWaitTime = 2.0f;

    VortexEffect(const RadialTrapElement& record, const CellGrid& grid, SpawnPoints& spawnPoints);

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    const RadialTrapElement* record;
    const CellGrid* grid;
    // World position of the middle of the anchor cell.
    GeometryLib::FPoint centre;
    // Scratch values of the last apply.
    WatchedUnit unit;
    GeometryLib::FPoint offset;
    float distance = 0.0f;
    SlowStopKillThenWait kill;
};

// The rat trap's catch: while the trap's sequence shows phase B on the side
// that set it off (4 on the left cell, 3 on the right cell), a unit on that
// cell is slowed (TimedSlow with effect ID 10) and gets 10 among its active
// effect IDs. Results: unapplied kind 3 while the trap is armed (state 0),
// otherwise applied kind 3, also when nothing was caught.
class RatTrapEffect : public Effect {
public:
    static constexpr u32 kCaughtEffectId = 10;

    RatTrapEffect(const GeometryLib::Point& position, const CellGrid& grid, float slowDuration,
                  float slowFactor)
        : leftCell(position),
          rightCell(position + GeometryLib::Point(1, 0)),
          grid(&grid),
          slowDuration(slowDuration),
          slowFactor(slowFactor) {}

    // Throws Convinience::Error "rat trap effect has no trap state!" before
    // trapState is set.
    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    GeometryLib::Point leftCell;
    GeometryLib::Point rightCell;
    const CellGrid* grid;
    // The rat trap's state; set by the trap factory after the trap is built.
    // The trap owns it and this effect, so it outlives the effect's use.
    const RatTrapIMEState* trapState = nullptr;
    // Scratch value of the last apply.
    WatchedUnit unit;
    float slowDuration;
    float slowFactor;
};

}  // namespace Zarn
