#pragma once

#include "foundation/Types.h"

namespace Zarn {

class Trap;
class TrapElement;

// Makes and removes traps during play; the spawning traps see the trap
// factory through it. Used on the thread that owns the world.
class TrapSpawner {
public:
    virtual ~TrapSpawner() = default;
    // Builds the trap the record describes, registers it on its cells and files
    // it among the spawned traps, which own it. May overwrite the record's
    // trapNumber with a number of its own; the caller keys the trap by the
    // record's trapNumber after the call. The record is owned by the caller and
    // must outlive the trap. Throws the factory's texts for a bad record.
    virtual Trap* spawnTrap(TrapElement& record) = 0;
    // Removes and destroys the spawned trap with this number. Callers pass only
    // numbers of traps they spawned.
    virtual void despawnTrap(u32 trapNumber) = 0;
};

}  // namespace Zarn
