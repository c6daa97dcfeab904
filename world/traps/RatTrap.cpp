#include "world/traps/RatTrap.h"

namespace Zarn {

RatTrap::RatTrap(const RatTrapElement& record, std::unique_ptr<Effect> effect)
    : Trap(record, std::move(effect)), ratRecord(&record) {
    t1 = record.startDelay;
    t2 = t1 + record.snapTime;
    t3 = t2 + record.activeTime;
    t4 = t3 + record.releaseTime;
    t5 = t4 + record.holdTime;
    t6 = t5 + record.restTime;
}

bool RatTrap::touches(const GeometryLib::Point& cell, SteerableUnit*) {
    const GeometryLib::Point left = ratRecord->position;
    const bool onLeft = cell == left;
    const bool onRight = cell == left + GeometryLib::Point(1, 0);
    const bool hit = (onLeft || onRight) && enabled;
    const bool result = hit && static_cast<u8>(state.value) != 0;
    if (hit && !triggered) {
        fromLeft = onLeft ? 1 : 0;
        triggered = 1;
        reset();
    }
    return result;
}

void RatTrap::reset() {
    sequenceTime = 0.0f;
    state.value = static_cast<ERatTrapState>(0);
}

void RatTrap::setState(const InteractiveMapElementState& other) {
    copyState(state, other);
}

void RatTrap::update(float dt) {
    if (!enabled || !triggered) return;
    sequenceTime += dt;
    const float t = sequenceTime;
    if (t < t1) return;
    u8 value;
    if (t < t2) {
        value = fromLeft ? 2 : 1;
    } else if (t < t3) {
        value = fromLeft ? 4 : 3;
    } else if (t < t4) {
        value = fromLeft ? 6 : 5;
    } else if (t < t5) {
        value = fromLeft ? 8 : 7;
    } else if (t < t6) {
        value = 0;
    } else {
        triggered = 0;
        return;
    }
    state.value = static_cast<ERatTrapState>(value);
}

}  // namespace Zarn
