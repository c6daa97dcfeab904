#include "world/steering/SteerableSimulator.h"

#include <algorithm>

namespace Zarn {

void SteerableSimulator::addUnit(u32 clientId, SteerableUnit* unit) {
    if (!unit) return;
    clientUnits_[clientId] = WatchedUnit(unit);
}

void SteerableSimulator::removeUnit(u32 clientId) {
    clientUnits_.erase(clientId);
}

void SteerableSimulator::addSecondaryUnit(SteerableUnit* unit) {
    if (!unit) return;
    auto same = [unit](const WatchedUnit& w) { return w.address() == unit; };
    // A dead entry at the same address is replaced by the new unit.
    secondaryUnits_.erase(std::remove_if(secondaryUnits_.begin(), secondaryUnits_.end(),
                                         [&](const WatchedUnit& w) { return same(w) && !w.get(); }),
                          secondaryUnits_.end());
    if (std::none_of(secondaryUnits_.begin(), secondaryUnits_.end(), same))
        secondaryUnits_.emplace_back(unit);
}

SteerableUnit* SteerableSimulator::unitOf(u32 clientId) const {
    auto it = clientUnits_.find(clientId);
    return it == clientUnits_.end() ? nullptr : it->second.get();
}

void SteerableSimulator::move(SteerableUnit& unit, float dt) {
    unit.motion.update(dt);
    SteerableKinematics& body = unit.body();
    body.position.x += body.velocity.x * dt;
    body.position.y += body.velocity.y * dt;
}

void SteerableSimulator::moveUnits() {
    const float dt = timeStep;
    // Looked up by key after each move, so a unit's step may register or
    // remove units without breaking the walk.
    for (auto it = clientUnits_.begin(); it != clientUnits_.end();) {
        const u32 clientId = it->first;
        if (SteerableUnit* unit = it->second.get()) {
            move(*unit, dt);
            it = clientUnits_.upper_bound(clientId);
        } else {
            it = clientUnits_.erase(it);
        }
    }
    for (std::size_t i = 0; i < secondaryUnits_.size();) {
        if (SteerableUnit* unit = secondaryUnits_[i].get()) {
            move(*unit, dt);
            ++i;
        } else {
            secondaryUnits_.erase(secondaryUnits_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void SteerableSimulator::step() {
    moveUnits();
    ++tickCount;
}

}  // namespace Zarn
