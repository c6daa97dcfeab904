#include "world/traps/ScheduledTrap.h"

#include <algorithm>
#include <iterator>

#include "world/traps/IntervalTrap.h"

namespace Zarn {

namespace {

using S = EIntervalTrapState;

// The flip of a kind 2 entry.
S toggled(S s) {
    switch (s) {
        case S::arming:
        case S::idle:
            return S::active;
        case S::active:
            return S::disarming;
        case S::disarming:
            return S::arming;
        default:
            return s;
    }
}

}  // namespace

ScheduledTrap::ScheduledTrap(const ScheduledTrapElement& record, std::unique_ptr<Effect> effect)
    : Trap(record, std::move(effect)), scheduleRecord(&record) {
    state.value = restValue();
    for (const ScheduledTrapEntry& entry : record.entries) timetable.emplace(entry.time, &entry);
}

EIntervalTrapState ScheduledTrap::restValue() const {
    return scheduleRecord->startsActive ? S::active : S::idle;
}

void ScheduledTrap::disable() {
    enabled = 0;
    reset();
}

void ScheduledTrap::reset() {
    clock = 0.0f;
    current = nullptr;
    begun = 0;
    delayTime = 0.0f;
    state.value = restValue();
}

void ScheduledTrap::setState(const InteractiveMapElementState& other) {
    copyState(state, other);
}

bool ScheduledTrap::touches(const GeometryLib::Point& cell, SteerableUnit*) {
    if (!enabled) return scheduleRecord->startsActive != 0;
    return cell == scheduleRecord->position && state.value == S::active;
}

void ScheduledTrap::beginEntry(const ScheduledTrapEntry& entry, const ScheduledTrapEntry* next) {
    const float lead = scheduleRecord->warningLead;
    warningTime = entry.time + entry.duration - lead;
    u8 kind = entry.kind;
    if (kind == 2) {
        if (state.value == S::arming || state.value == S::disarming) {
            kind = 1;
        } else if (state.value == S::active || state.value == S::idle) {
            kind = 0;
        }
    }
    if (kind == 1 && next) {
        warningTime = entry.time + std::min(next->time - entry.time, entry.duration);
    } else if (kind == 0 && next && next->time - entry.time <= entry.duration && next->kind <= 2) {
        warningTime = next->time - lead;
    }
    current = &entry;
    begun = 0;
    warned = 0;
    ended = 0;
    announced = 0;
}

void ScheduledTrap::update(float dt) {
    if (!enabled || timetable.empty()) return;
    const ScheduledTrapElement& r = *scheduleRecord;

    // 1. Start delay, then the schedule clock.
    float step = dt;
    if (delayTime < r.startDelay) {
        delayTime += dt;
        if (delayTime < r.startDelay) return;
        step = delayTime - truncated(delayTime / r.startDelay) * r.startDelay;
    }
    clock += step;

    // 2. The entry in force and the one after it.
    const auto after = timetable.upper_bound(clock);
    const ScheduledTrapEntry* next = after == timetable.end() ? nullptr : after->second;
    const ScheduledTrapEntry* entry = nullptr;
    if (after == timetable.begin()) {
        entry = next;
    } else {
        entry = std::prev(after)->second;
    }

    // 3. A new entry begins.
    if (entry != current) beginEntry(*entry, next);
    const ScheduledTrapEntry& cur = *current;

    // 4. Before the first entry: the warning for a lethal first entry.
    if (cur.time > clock) {
        if (r.warningLead <= cur.time && cur.kind == 1 && cur.time - clock <= r.warningLead &&
            (state.value == S::idle || state.value == S::disarming)) {
            state.value = S::arming;
        }
        return;
    }

    // 5. Hold step.
    if (!begun || clock < warningTime) {
        if (cur.kind == 1) {
            state.value = S::active;
        } else if (cur.kind == 2) {
            if (!begun) state.value = toggled(state.value);
        } else {
            state.value = S::disarming;
        }
        begun = 1;
        return;
    }

    const float end = cur.time + cur.duration;

    // 6. Warning step.
    if (!warned && clock < end) {
        if (cur.kind != 3) {
            if (state.value == S::arming) {
                state.value = S::active;
            } else if (state.value == S::disarming) {
                state.value = S::arming;
            } else if (state.value == S::idle) {
                if (cur.kind == 0) state.value = S::active;
                if (cur.kind == 1) state.value = S::arming;
            }
        }
        const ScheduledTrapEntry& first = *timetable.begin()->second;
        if (r.loop && !next && state.value == S::disarming && first.kind == 1 && r.warningLead > first.time &&
            cur.kind == 3 && cur.duration >= r.warningLead && end - clock <= r.warningLead) {
            state.value = S::arming;
        }
        warned = 1;
        return;
    }

    // 7. End step.
    if (!ended && clock >= end) {
        if (cur.kind != 3) {
            if (state.value == S::active) {
                state.value = S::disarming;
            } else if (state.value == S::arming) {
                state.value = S::active;
            }
        }
        ended = 1;
        if (r.loop && !next) {
            clock -= end;
            delayTime = r.startDelay;
            begun = 0;
            // The entry that comes up after the wrap begins afresh, also when
            // it is this one (a timetable of one entry).
            current = nullptr;
        }
        return;
    }

    // 8. Warning for the next entry.
    if (!announced && next && clock >= next->time - r.warningLead) {
        if (state.value == S::disarming && next->kind != 0 && next->kind != 3) state.value = S::arming;
        announced = 1;
    }
}

}  // namespace Zarn
