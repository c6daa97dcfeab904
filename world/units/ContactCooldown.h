#pragma once

#include <unordered_map>

#include "foundation/Types.h"

namespace Zarn {

class SteerableUnit;

// Remembers when each unit last touched its owner, so that a contact counts at
// most once per cooldown. Keyed by unit handle, so a unit that leaves the game
// and a new one never share an entry. Times are seconds on the owner's clock,
// which the owner advances.
class ContactCooldown {
public:
    explicit ContactCooldown(float cooldown = 1.0f) : cooldown(cooldown) {}

    // True when the unit has no entry, false while cooldown > clock - its entry;
    // otherwise its entry is erased and true.
    bool isReady(u32 handle);
    bool isReady(const SteerableUnit* unit);
    // Records the clock as the unit's contact time (made when missing).
    void touch(u32 handle) { contacts[handle] = clock; }
    void touch(const SteerableUnit* unit);

    void advance(float dt) { clock += dt; }
    // Forgets every contact and restarts the clock.
    void clear() {
        contacts.clear();
        clock = 0.0f;
    }

    std::unordered_map<u32, float> contacts;
    float cooldown;
    float clock = 0.0f;
};

}  // namespace Zarn
