#include "world/units/ContactCooldown.h"

#include "world/units/SteerableUnit.h"

namespace Zarn {

bool ContactCooldown::isReady(u32 handle) {
    auto it = contacts.find(handle);
    if (it == contacts.end()) return true;
    if (cooldown > clock - it->second) return false;
    contacts.erase(it);
    return true;
}

bool ContactCooldown::isReady(const SteerableUnit* unit) {
    return isReady(unit->handle());
}

void ContactCooldown::touch(const SteerableUnit* unit) {
    touch(unit->handle());
}

}  // namespace Zarn
