#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "foundation/Geometry.h"
#include "world/traps/TrapSpawner.h"

namespace Zarn {

class ActionEventTrigger;
class CellGrid;
class DelayedTrap;
class InteractiveElementStore;
class PositionIMETrigger;
class SpawnPoints;

// The world's list of traps loaded with the map; it owns them.
using TrapList = std::vector<std::unique_ptr<Trap>>;

// Turns trap records into live traps with their effects: once per trap record
// when a map is loaded, and during play for the spawning traps.
//
// | element IDs      | record class             | trap                 | effect |
// | 43, 356          | IntervalTrapElement      | IntervalTrap         | kill, death state 5 |
// | 127              | IntervalTrapElement      | IntervalTrap         | kill, death state 3 |
// | 44               | IntervalTrapElement      | IntervalTrap         | TimedSlow 1.0 s to 0.2 |
// | 45               | IntervalTrapElement      | IntervalTrap         | Slow 0.0 |
// | 46               | DelayedTrapElement       | DelayedTrap          | kill, death state 3 |
// | 47, 48, 49       | RatTrapElement           | RatTrap              | RatTrapEffect |
// | 50, 51, 132, 136 | DelayedTrapElement       | FollowHitTrap        | BossArmEffect |
// | 55               | RadialTrapElement        | IntervalTrap         | VortexEffect |
// | 56               | IntervalTrapElement      | IntervalTrap         | KillIfMoving, death state 8 |
// | 121 to 126       | ScheduledTrapElement     | ScheduledTrap        | kill, 3 for 122, else 5 |
// | 128              | IntervalTrapElement      | Bomb                 | kill, death state 22 |
// | 129              | IntervalTrapElement      | FollowSpawningTrap   | none |
// | 130              | TrapSpawningTrapElement  | TrapSpawningTrap     | none |
// | 131              | LineIntervalTrapElement  | IntervalTrap         | kill, death state 22 |
// | 133              | BossElement              | Boss                 | kill, death state 22 |
// | 134              | IntervalTrapElement      | BombableIntervalTrap | kill, death state 5 |
//
// Kills are SlowStopKillThenWait over the record's coverage with a 2 s wait.
// Vortex coverage is replaced by the cells within its radius, line coverage by
// a column of length + 2 cells from its position downwards; both only keep the
// cells inside the room.
//
// The grid, spawn points, position trigger, store and trap list belong to the
// world and outlive the factory; the action sink (the world's bindable event
// trigger, handed to the boss; may be null) too. Used by
// the thread that owns the world.
class TrapFactory : public TrapSpawner {
public:
    using DelayedTrapCells =
        std::unordered_multimap<GeometryLib::Point, DelayedTrap*, GeometryLib::PointHash>;

    TrapFactory(const CellGrid& grid, SpawnPoints& spawnPoints, PositionIMETrigger& trigger,
                ActionEventTrigger* actionSink, InteractiveElementStore& store, TrapList& traps);
    ~TrapFactory() override;

    // Builds the trap of the record, disabled, in its starting state. May
    // replace the record's coverage (see above). Throws Convinience::Error:
    // "Not yet Implemented" for an ID the table lacks, the row's text for a
    // record of the wrong class.
    std::unique_ptr<Trap> makeTrap(TrapElement& record);
    // A map's trap: makeTrap, appended to the trap list, hidden when the
    // record's hidden-at-start byte is set, registered on the position
    // trigger with the record's coverage.
    Trap& loadTrap(TrapElement& record);

    // makeTrap, hidden as loadTrap; numbered by the store when its numbering
    // flag is set or the record's number is taken by a spawned trap (the
    // record's trapNumber is overwritten); registered on the position trigger
    // and handed to the store.
    Trap* spawnTrap(TrapElement& record) override;
    // Unregisters and destroys the spawned trap and frees its number. An
    // unknown number is logged at WARN and ignored.
    void despawnTrap(u32 trapNumber) override;

    // Drops the trap from the delayed-trap cells (when it is there).
    void forgetDelayedTrap(const Trap& trap);

    const DelayedTrapCells& delayedTrapCells() const { return delayedCells_; }

private:
    const CellGrid& grid_;
    SpawnPoints& spawnPoints_;
    PositionIMETrigger& trigger_;
    ActionEventTrigger* actionSink_;
    InteractiveElementStore& store_;
    TrapList& traps_;
    // The delayed traps (ID 46) by their record's position.
    DelayedTrapCells delayedCells_;
};

}  // namespace Zarn
