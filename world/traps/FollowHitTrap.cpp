#include "world/traps/FollowHitTrap.h"

#include "world/units/SteerableUnit.h"

namespace Zarn {

using GeometryLib::Point;

std::unique_ptr<FollowHitTrapState> FollowHitTrapState::fromRaw(const u8* bytes, std::size_t length) {
    Convinience::ByteReader reader(bytes, length);
    return std::make_unique<FollowHitTrapState>(reader);
}

void FollowHitTrapState::serialize(Convinience::Buffer& buffer) const {
    InteractiveMapElementState::serialize(buffer);
    buffer.appendU8(value);
    armPosition.serialize(buffer);
}

bool FollowHitTrapState::operator==(const InteractiveMapElementState& other) const {
    const auto* o = dynamic_cast<const FollowHitTrapState*>(&other);
    return o && hidden == o->hidden && armPosition == o->armPosition && value == o->value;
}

FollowHitTrap::FollowHitTrap(const DelayedTrapElement& record, std::unique_ptr<Effect> effect)
    : Trap(record, std::move(effect)), armRecord(&record) {
    state.armPosition = restPosition();
    for (const Point& cell : armColumn(record.position)) armCells.insert(cell);
}

std::vector<Point> armColumn(const Point& p) {
    return {p, Point(p.x, static_cast<i16>(p.y + 1)), Point(p.x, static_cast<i16>(p.y + 2))};
}

Point FollowHitTrap::restPosition() const {
    const Point p = armRecord->position;
    return Point(static_cast<i16>(p.x * 64), static_cast<i16>(p.y * 64));
}

void FollowHitTrap::disable() {
    enabled = 0;
    reset();
}

void FollowHitTrap::reset() {
    state.value = 0;
    state.armPosition = restPosition();
    timer = 0.0f;
    stuckTime = 0.0f;
    stuck = 0;
    unitSeen = 0;
}

void FollowHitTrap::setState(const InteractiveMapElementState& other) {
    copyState(state, other);
}

bool FollowHitTrap::touches(const Point& cell, SteerableUnit* unit) {
    if (!enabled || !armRecord->coveredCells.contains(cell)) {
        unitSeen = 0;
        return false;
    }
    lastTouched = cell;
    unitSeen = 1;
    if (unit) unitPosition = Point(unit->body().position);
    if (state.value == 4 && cell == target) return true;
    return armCells.count(cell) != 0;
}

bool FollowHitTrap::hitsTrap() {
    if (!trapTargets) return false;
    const auto it = trapTargets->find(target);
    if (it == trapTargets->end() || !it->second || it->second->state.value != EIntervalTrapState::active)
        return false;
    state.value = 5;
    stuck = 1;
    if (onTrapHit) onTrapHit();
    return true;
}

void FollowHitTrap::update(float dt) {
    if (!enabled) return;
    const DelayedTrapElement& r = *armRecord;

    float step = dt;
    if (stuck) {
        stuckTime += dt;
        if (stuckTime < kStuckTime) return;
        stuck = 0;
        timer = r.startDelay;
        step = stuckTime - r.activeTime;
        stuckTime = 0.0f;
    }
    timer += step;

    if (timer < r.startDelay) {
        state.value = 1;
        return;
    }
    if (!unitSeen && state.value == 2) {
        timer = r.startDelay;
        return;
    }
    const float followEnd = r.startDelay + r.restTime;
    const float warnEnd = followEnd + r.warnTime;
    if (timer < followEnd) {
        state.value = 2;
        state.armPosition = unitPosition;
    } else if (timer < warnEnd) {
        if (state.value != 3) target = lastTouched;
        state.value = 3;
    } else if (timer < warnEnd + r.activeTime) {
        if (!hitsTrap()) state.value = 4;
    } else {
        unitSeen = 0;
        state.value = 2;
        timer = r.startDelay;
    }
}

}  // namespace Zarn
