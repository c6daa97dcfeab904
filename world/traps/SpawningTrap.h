#pragma once

#include <functional>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "map/records/TrapElement.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/traps/IntervalTrap.h"
#include "world/traps/SpawningIntervalTrapState.h"

namespace Zarn {

class TrapSpawner;

// Delayed targets: the delayed traps spawned by a trap spawner, by cell. Owned
// by that spawner.
using DelayedTrapTable = std::unordered_map<GeometryLib::Point, DelayedTrap*, GeometryLib::PointHash>;

// A trap that makes other traps during play through the trap spawner (the
// world's trap factory, which owns the made traps and outlives this trap). It
// owns the records of the traps it made. Its state reports the made traps.
// Used on the thread that owns the world; update takes the tick delta in
// seconds.
class BaseSpawningTrap : public Trap {
public:
    // One made trap: its record (owned here, kept alive as long as the trap),
    // the trap (owned by the spawner) and, for bombs, the bomb's age in seconds.
    struct SpawnedTrap {
        std::unique_ptr<TrapElement> record;
        Trap* trap = nullptr;
        float age = 0.0f;
    };

    BaseSpawningTrap(const TrapElement& record, std::unique_ptr<Effect> effect, TrapSpawner& spawner);
    ~BaseSpawningTrap() override;

    void enable() override { enabled = 1; }
    // enabled := 0, no reset.
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    // Rebuilds the state's list from the made traps and returns the state.
    InteractiveMapElementState& getState() override;
    // Copies hidden flag and list of a SpawningIntervalTrapState (ignores
    // other states), then makes the made traps follow the list: a copy of the
    // world that only plays received states (the client's) runs no update, so
    // the list is what its pictures and contacts have. Traps gone from the
    // list (or listed with another kind or cell) are removed through the
    // spawner; listed numbers it has no trap for get one, made from the
    // kind's record at the listed cell; every listed trap takes the listed
    // hidden flag and value. The made traps are filed under the listed
    // numbers, whatever number the spawner gave them.
    void setState(const InteractiveMapElementState& other) override;

    // A uniformly drawn integer in [lo, hi] (the bounds are ordered first) from
    // a fresh mt19937 seeded with seedSource, or with the platform's random
    // device when seedSource is empty.
    virtual u32 randomBetween(u32 lo, u32 hi);

    u8 enabled = 0;
    // Not owned; the world's trap factory.
    TrapSpawner* spawner;
    SpawningIntervalTrapState state;
    // By the trap number the spawner gave.
    std::map<u32, SpawnedTrap> spawned;
    // Seeds for randomBetween; empty in play (the random device seeds).
    std::function<u32()> seedSource;

protected:
    // Has the spawner make the trap of the record and files it under the number
    // the spawner gave; returns the trap (null when the spawner made none).
    Trap* spawn(std::unique_ptr<TrapElement> record);
    // A fresh record for a made trap of this type ID at the cell, as update
    // makes them; null for a type this trap never makes.
    virtual std::unique_ptr<TrapElement> recordOfType(u32 trapType, const GeometryLib::Point& cell) const = 0;
    // Removes every made trap through the spawner and forgets them.
    void despawnAll();

private:
    void followList();
};

// Once a unit sets it off, fills a random set of its cells with small traps
// (kinds: 0 bombable interval trap, 1 delayed trap, 2 vortex), reveals them one
// after another during startDelay, arms them all for activeTime, hides and
// disarms them one after another during restTime, then removes them and is
// finished until reset.
class TrapSpawningTrap : public BaseSpawningTrap {
public:
    TrapSpawningTrap(const TrapSpawningTrapElement& record, std::unique_ptr<Effect> effect,
                     TrapSpawner& spawner);

    // Enabled and on a covered cell: sets the trap off (armed := 0) and answers true.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // Removes the made traps and starts over, armed.
    void reset() override;
    void update(float dt) override;

    // The weights of the kinds the record enables.
    void computeKindWeights();

    // Owned by the game map.
    const TrapSpawningTrapElement* spawnRecord;
    // 1 while waiting to be set off.
    u8 armed = 1;
    float timer = 0.0f;
    std::map<u8, float> kindWeights;
    // Candidate cells, in the record's coverage order.
    std::vector<GeometryLib::Point> freeCells;
    // The made traps by (column, row); the cursor is the next one to show or hide.
    std::map<std::pair<i16, i16>, Trap*> sweep;
    std::map<std::pair<i16, i16>, Trap*>::iterator cursor;
    // Made bombable traps and delayed traps by cell; emptied whenever the
    // traps are removed. Handed to the boss's bomb and arms.
    BombableTrapTable bombableByCell;
    DelayedTrapTable delayedByCell;
    float stepInterval = 0.0f;
    float stepTime = 0.0f;
    u8 allArmed = 0;
    u32 spawnCount = 0;
    u32 stepped = 0;
    u8 finished = 0;
    // Cells that must stay free; not owned, null unless set (by the boss).
    const std::vector<GeometryLib::Point>* excludedCells = nullptr;

protected:
    // 134 (or 43): bombable interval trap; 46: delayed trap; 55: vortex.
    std::unique_ptr<TrapElement> recordOfType(u32 trapType, const GeometryLib::Point& cell) const override;

private:
    // The record of a kind (0 bombable interval trap, 1 delayed trap, 2 vortex).
    std::unique_ptr<IntervalTrapElement> recordOfKind(u8 kind, const GeometryLib::Point& cell) const;
    void spawnSet();
    void spawnOne(u8 kind);
    void armAll();
    // k traps that the step interval has passed, at most those left.
    u32 dueSteps() const;
    void showNext();
    void hideAndDisableNext();
    void removeAll();
};

// Drops a bomb on the cell where a unit last set it off: startDelay after the
// contact a bomb (a record of ID 128 with this trap's three times) is made
// there and enabled, and the trap is armed again. Each bomb is removed once its
// own three times have passed.
class FollowSpawningTrap : public BaseSpawningTrap {
public:
    FollowSpawningTrap(const IntervalTrapElement& record, std::unique_ptr<Effect> effect,
                       TrapSpawner& spawner);

    // Enabled and on a covered cell: remembers the cell when armed (then
    // armed := 0) and answers true.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // Armed, timer 0, the bombs removed.
    void reset() override;
    void update(float dt) override;

    // Owned by the game map.
    const IntervalTrapElement* followRecord;
    GeometryLib::Point target;
    u8 armed = 1;
    float timer = 0.0f;
    // Handed to every bomb; not owned, null unless the boss sets it.
    const BombableTrapTable* bombTargets = nullptr;
    std::function<void()> onBombIntercept;

protected:
    // 128: a bomb with this trap's three times.
    std::unique_ptr<TrapElement> recordOfType(u32 trapType, const GeometryLib::Point& cell) const override;
};

}  // namespace Zarn
