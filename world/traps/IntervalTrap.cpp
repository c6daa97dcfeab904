#include "world/traps/IntervalTrap.h"

#include <cmath>

#include "world/units/SteerableUnit.h"

namespace Zarn {

float truncated(float x) {
    return std::trunc(x);
}

bool isAliveForTraps(const SteerableUnit& unit) {
    return unit.state < 3 || (unit.state > 8 && unit.state != 22);
}

BaseIntervalTrap::BaseIntervalTrap(const IntervalTrapElement& record, std::unique_ptr<Effect> effect)
    : Trap(record, std::move(effect)), intervalRecord_(&record) {
    state.value = restValue();
}

EIntervalTrapState BaseIntervalTrap::restValue() const {
    return intervalRecord_->startsActive ? EIntervalTrapState::active : EIntervalTrapState::idle;
}

void BaseIntervalTrap::disable() {
    enabled = 0;
    reset();
}

void BaseIntervalTrap::reset() {
    cycleTime = 0.0f;
    delayTime = 0.0f;
    state.value = restValue();
}

void BaseIntervalTrap::setState(const InteractiveMapElementState& other) {
    copyState(state, other);
}

bool BaseIntervalTrap::spendStartDelay(float dt, float& step) {
    const float startDelay = intervalRecord_->startDelay;
    if (delayTime < startDelay) {
        delayTime += dt;
        if (delayTime < startDelay) return false;
        step = delayTime - truncated(delayTime / startDelay) * startDelay;
        return true;
    }
    step = dt;
    return true;
}

void BaseIntervalTrap::advanceCycle(float step) {
    const float activeTime = intervalRecord_->activeTime;
    const float restTime = intervalRecord_->restTime;
    cycleTime += step;
    const float period = activeTime + restTime;
    // A cycle of length 0 (or less) is not wrapped: the division would be by zero.
    if (period > 0.0f && cycleTime >= period) cycleTime -= truncated(cycleTime / period) * period;

    if (cycleTime < restTime * 0.5f) {
        state.value = EIntervalTrapState::arming;
    } else if (cycleTime < restTime * 0.5f + activeTime) {
        state.value = EIntervalTrapState::active;
    } else if (cycleTime < activeTime + restTime) {
        state.value = EIntervalTrapState::disarming;
    }
}

bool IntervalTrap::touches(const GeometryLib::Point&, SteerableUnit*) {
    if (enabled) return state.value == EIntervalTrapState::active;
    return intervalRecord().startsActive != 0;
}

void IntervalTrap::update(float dt) {
    if (!enabled) return;
    float step = 0.0f;
    if (!spendStartDelay(dt, step)) return;
    advanceCycle(step);
}

bool Bomb::touches(const GeometryLib::Point&, SteerableUnit*) {
    return enabled && state.value == EIntervalTrapState::active;
}

void Bomb::update(float dt) {
    if (!enabled || finished || intercepted) return;
    const IntervalTrapElement& r = intervalRecord();
    cycleTime += dt;
    if (cycleTime < r.startDelay) {
        if (!landOnTarget()) state.value = EIntervalTrapState::arming;
        return;
    }
    if (cycleTime < r.startDelay + r.activeTime) {
        state.value = EIntervalTrapState::active;
    } else if (cycleTime < r.startDelay + r.activeTime + r.restTime) {
        state.value = EIntervalTrapState::disarming;
    } else {
        finished = 1;
        state.value = EIntervalTrapState::idle;
    }
}

bool Bomb::landOnTarget() {
    if (!targets || intervalRecord().startDelay - cycleTime > 0.06f) return false;
    const auto it = targets->find(intervalRecord().position);
    if (it == targets->end() || !it->second || it->second->state.value != EIntervalTrapState::active)
        return false;
    it->second->bombed = 1;
    if (onIntercept) onIntercept();
    state.value = EIntervalTrapState::intercepted;
    intercepted = 1;
    return true;
}

void BombableIntervalTrap::disable() {
    if (bombed) return;
    BaseIntervalTrap::disable();
}

void BombableIntervalTrap::reset() {
    BaseIntervalTrap::reset();
    bombed = 0;
    bombedTime = 0.0f;
}

bool BombableIntervalTrap::touches(const GeometryLib::Point&, SteerableUnit*) {
    return enabled &&
           (state.value == EIntervalTrapState::active || state.value == EIntervalTrapState::destroyed);
}

void BombableIntervalTrap::update(float dt) {
    if (!enabled) return;
    if (bombed) {
        bombedTime += dt;
        state.value = bombedTime < 0.5f ? EIntervalTrapState::active : EIntervalTrapState::destroyed;
        return;
    }
    float step = 0.0f;
    if (!spendStartDelay(dt, step)) return;
    advanceCycle(step);
}

bool DelayedTrap::touches(const GeometryLib::Point& cell, SteerableUnit* unit) {
    const bool hit = cell == intervalRecord().position && enabled && unit && isAliveForTraps(*unit);
    const bool lethal = hit && state.value == EIntervalTrapState::active;
    if (hit && !triggered) {
        triggered = 1;
        reset();
    }
    return lethal;
}

void DelayedTrap::update(float dt) {
    if (!enabled || !triggered) return;
    float step = 0.0f;
    if (!spendStartDelay(dt, step)) {
        // The delay after a step is the trap's warning: it arms (harmless)
        // where it rests harmless, so its picture can show what is coming.
        if (restValue() == EIntervalTrapState::idle) state.value = EIntervalTrapState::arming;
        return;
    }
    const IntervalTrapElement& r = intervalRecord();
    cycleTime += step;
    if (cycleTime >= r.activeTime + r.restTime) triggered = 0;
    state.value = cycleTime < r.activeTime ? EIntervalTrapState::active : EIntervalTrapState::idle;
}

}  // namespace Zarn
