#pragma once

#include "foundation/Types.h"

namespace Zarn {

class InteractiveMapElement;
class Trap;

// Finds the world's traps and trap groups by number; the boss resolves the
// traps it commands through it. Implemented by the world's element store,
// which owns or observes the traps and outlives every user. Used on the thread
// that owns the world.
class TrapDirectory {
public:
    virtual ~TrapDirectory() = default;
    // The trap with this number, or null.
    virtual Trap* findTrap(u32 number) = 0;
    // The trap group with this number, or null.
    virtual InteractiveMapElement* findTrapGroup(u32 number) = 0;
};

}  // namespace Zarn
