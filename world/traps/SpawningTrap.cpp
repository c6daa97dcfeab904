#include "world/traps/SpawningTrap.h"

#include <algorithm>
#include <random>

#include "world/traps/TrapSpawner.h"

namespace Zarn {

using GeometryLib::Point;

// ---------------------------------------------------------------- BaseSpawningTrap

BaseSpawningTrap::BaseSpawningTrap(const TrapElement& record, std::unique_ptr<Effect> effect,
                                   TrapSpawner& spawner)
    : Trap(record, std::move(effect)), spawner(&spawner) {}

BaseSpawningTrap::~BaseSpawningTrap() = default;

InteractiveMapElementState& BaseSpawningTrap::getState() {
    state.spawned.clear();
    for (const auto& [number, entry] : spawned) {
        IntervalTrapIMEState trapState;
        if (const auto* s = dynamic_cast<const IntervalTrapIMEState*>(&entry.trap->getState())) {
            trapState.hidden = s->hidden;
            trapState.value = s->value;
        } else {
            trapState.hidden = 1;
            trapState.value = EIntervalTrapState::idle;
        }
        state.spawned.emplace_back(entry.record->position, entry.record->elementId, number, trapState);
    }
    return state;
}

void BaseSpawningTrap::setState(const InteractiveMapElementState& other) {
    if (copyState(state, other)) followList();
}

void BaseSpawningTrap::followList() {
    // By listed number; a number listed twice keeps its first entry.
    std::map<u32, const SpawnedIntervalTrapState*> listed;
    for (const SpawnedIntervalTrapState& entry : state.spawned) listed.emplace(entry.trapNumber, &entry);
    for (auto it = spawned.begin(); it != spawned.end();) {
        const auto found = listed.find(it->first);
        const TrapElement& record = *it->second.record;
        if (found != listed.end() && found->second->trapType == record.elementId &&
            found->second->position == record.position) {
            ++it;
            continue;
        }
        spawner->despawnTrap(record.trapNumber);
        it = spawned.erase(it);
    }
    for (const auto& [number, entry] : listed) {
        auto it = spawned.find(number);
        if (it == spawned.end()) {
            std::unique_ptr<TrapElement> record = recordOfType(entry->trapType, entry->position);
            if (!record) continue;
            record->trapNumber = number;
            Trap* trap = spawner->spawnTrap(*record);
            if (!trap) continue;
            SpawnedTrap& made = spawned[number];
            made.record = std::move(record);
            made.trap = trap;
            it = spawned.find(number);
        }
        if (auto* live = dynamic_cast<IntervalTrapIMEState*>(&it->second.trap->getState())) {
            live->hidden = entry->trapState.hidden;
            live->value = entry->trapState.value;
        }
    }
}

u32 BaseSpawningTrap::randomBetween(u32 lo, u32 hi) {
    if (lo > hi) std::swap(lo, hi);
    const u32 seed = seedSource ? seedSource() : std::random_device{}();
    std::mt19937 engine(seed);
    return std::uniform_int_distribution<u32>(lo, hi)(engine);
}

Trap* BaseSpawningTrap::spawn(std::unique_ptr<TrapElement> record) {
    Trap* trap = spawner->spawnTrap(*record);
    if (!trap) return nullptr;
    SpawnedTrap& entry = spawned[record->trapNumber];
    entry.record = std::move(record);
    entry.trap = trap;
    entry.age = 0.0f;
    return trap;
}

void BaseSpawningTrap::despawnAll() {
    for (const auto& [number, entry] : spawned) spawner->despawnTrap(entry.record->trapNumber);
    spawned.clear();
}

// ---------------------------------------------------------------- TrapSpawningTrap

TrapSpawningTrap::TrapSpawningTrap(const TrapSpawningTrapElement& record, std::unique_ptr<Effect> effect,
                                   TrapSpawner& spawner)
    : BaseSpawningTrap(record, std::move(effect), spawner), spawnRecord(&record), cursor(sweep.end()) {}

bool TrapSpawningTrap::touches(const Point& cell, SteerableUnit*) {
    if (!enabled || !spawnRecord->coveredCells.contains(cell)) return false;
    armed = 0;
    return true;
}

void TrapSpawningTrap::reset() {
    removeAll();
    freeCells.clear();
    stepInterval = 0.0f;
    stepped = 0;
    stepTime = 0.0f;
    timer = 0.0f;
    armed = 1;
    allArmed = 0;
    finished = 0;
}

void TrapSpawningTrap::removeAll() {
    // The tables point at the traps that go now.
    bombableByCell.clear();
    delayedByCell.clear();
    sweep.clear();
    cursor = sweep.end();
    despawnAll();
}

void TrapSpawningTrap::computeKindWeights() {
    kindWeights.clear();
    if (spawnRecord->spawnInterval) kindWeights[0] = 0.5f;
    if (spawnRecord->spawnDelayed) kindWeights[1] = 0.3f;
    if (spawnRecord->spawnRadial) kindWeights[2] = 0.2f;
    float sum = 0.0f;
    for (const auto& [kind, weight] : kindWeights) sum += weight;
    if (sum < 1.0f) {
        for (auto& [kind, weight] : kindWeights) weight /= sum;
    }
}

void TrapSpawningTrap::spawnSet() {
    computeKindWeights();
    freeCells.clear();
    for (const Point& cell : spawnRecord->coveredCells) {
        if (excludedCells &&
            std::find(excludedCells->begin(), excludedCells->end(), cell) != excludedCells->end())
            continue;
        freeCells.push_back(cell);
    }
    const u32 drawn = randomBetween(spawnRecord->minCount, spawnRecord->maxCount);
    spawnCount = std::min(static_cast<u32>(freeCells.size()), drawn);
    for (const auto& [kind, weight] : kindWeights) {
        const u32 n = static_cast<u32>(truncated(static_cast<float>(spawnCount) * weight));
        for (u32 i = 0; i < n && !freeCells.empty(); ++i) spawnOne(kind);
    }
    stepInterval =
        spawnCount > 0 ? std::min(spawnRecord->startDelay, 0.5f) / static_cast<float>(spawnCount) : 0.0f;
    cursor = sweep.begin();
}

std::unique_ptr<IntervalTrapElement> TrapSpawningTrap::recordOfKind(u8 kind, const Point& cell) const {
    std::unique_ptr<IntervalTrapElement> record;
    if (kind == 0) {
        record = std::make_unique<IntervalTrapElement>();
        record->elementId = 134;
        record->extra = 20;
        record->activeTime = 1.5f;
        record->restTime = 1.0f;
    } else if (kind == 1) {
        auto delayed = std::make_unique<DelayedTrapElement>();
        delayed->elementId = 46;
        delayed->activeTime = 1.5f;
        delayed->restTime = 0.5f;
        delayed->warnTime = 0.5f;
        record = std::move(delayed);
    } else {
        auto radial = std::make_unique<RadialTrapElement>();
        radial->elementId = 55;
        radial->extra = 20;
        radial->activeTime = spawnRecord->activeTime;
        radial->restTime = 0.0f;
        radial->radius = 100.0f;
        radial->innerPull = 200.0f;
        radial->outerPull = 150.0f;
        record = std::move(radial);
    }
    record->flag = 1;
    record->startDelay = spawnRecord->startDelay;
    record->position = cell;
    record->coveredCells.insert(cell);
    return record;
}

std::unique_ptr<TrapElement> TrapSpawningTrap::recordOfType(u32 trapType, const Point& cell) const {
    switch (trapType) {
        case 43:
        case 134:
            return recordOfKind(0, cell);
        case 46:
            return recordOfKind(1, cell);
        case 55:
            return recordOfKind(2, cell);
        default:
            return nullptr;
    }
}

void TrapSpawningTrap::spawnOne(u8 kind) {
    const u32 i = randomBetween(0, static_cast<u32>(freeCells.size() - 1));
    const Point cell = freeCells[i];
    freeCells.erase(freeCells.begin() + i);

    Trap* trap = spawn(recordOfKind(kind, cell));
    if (!trap) return;
    if (kind == 0) {
        if (auto* bombable = dynamic_cast<BombableIntervalTrap*>(trap)) bombableByCell[cell] = bombable;
    } else if (kind == 1) {
        if (auto* delayed = dynamic_cast<DelayedTrap*>(trap)) delayedByCell[cell] = delayed;
    }
    sweep[{cell.x, cell.y}] = trap;
}

u32 TrapSpawningTrap::dueSteps() const {
    const u32 left = spawnCount - stepped;
    // A step interval of 0 (no start delay) steps every remaining trap at once.
    if (!(stepInterval > 0.0f)) return left;
    const float k = truncated(stepTime / stepInterval);
    return k >= static_cast<float>(left) ? left : static_cast<u32>(k);
}

void TrapSpawningTrap::showNext() {
    if (cursor == sweep.end()) return;
    cursor->second->show();
    ++cursor;
}

void TrapSpawningTrap::hideAndDisableNext() {
    if (cursor == sweep.end()) return;
    cursor->second->hide();
    cursor->second->disable();
    ++cursor;
}

void TrapSpawningTrap::armAll() {
    if (allArmed) return;
    while (cursor != sweep.end()) showNext();
    for (auto& [number, entry] : spawned) entry.trap->enable();
    allArmed = 1;
    stepped = 0;
    cursor = sweep.begin();
    stepTime = 0.0f;
}

void TrapSpawningTrap::update(float dt) {
    if (!enabled || armed || finished) return;
    if (timer == 0.0f && spawned.empty()) spawnSet();
    if (spawned.empty()) return;

    timer += dt;
    const float startDelay = spawnRecord->startDelay;
    const float armedEnd = startDelay + spawnRecord->activeTime;
    if (timer < startDelay) {
        stepTime += dt;
        if (stepTime >= stepInterval && stepped < spawnCount) {
            const u32 k = dueSteps();
            stepped += k;
            for (u32 i = 0; i < k; ++i) showNext();
            stepTime = 0.0f;
        }
    } else if (timer < armedEnd) {
        armAll();
    } else if (timer < armedEnd + spawnRecord->restTime) {
        armAll();
        stepTime += std::min(timer - armedEnd, dt);
        if (stepTime >= stepInterval && stepped < spawnCount) {
            const u32 k = dueSteps();
            stepped += k;
            for (u32 i = 0; i < k; ++i) hideAndDisableNext();
            stepTime = 0.0f;
        }
    } else {
        removeAll();
        finished = 1;
    }
}

// ---------------------------------------------------------------- FollowSpawningTrap

std::unique_ptr<TrapElement> FollowSpawningTrap::recordOfType(u32 trapType, const Point& cell) const {
    if (trapType != 128) return nullptr;
    auto record = std::make_unique<IntervalTrapElement>();
    record->elementId = 128;
    record->startDelay = followRecord->startDelay;
    record->activeTime = followRecord->activeTime;
    record->restTime = followRecord->restTime;
    record->position = cell;
    record->coveredCells.insert(cell);
    return record;
}

FollowSpawningTrap::FollowSpawningTrap(const IntervalTrapElement& record, std::unique_ptr<Effect> effect,
                                       TrapSpawner& spawner)
    : BaseSpawningTrap(record, std::move(effect), spawner), followRecord(&record) {}

bool FollowSpawningTrap::touches(const Point& cell, SteerableUnit*) {
    if (!enabled || !followRecord->coveredCells.contains(cell)) return false;
    if (armed) {
        armed = 0;
        target = cell;
    }
    return true;
}

void FollowSpawningTrap::reset() {
    armed = 1;
    timer = 0.0f;
    despawnAll();
}

void FollowSpawningTrap::update(float dt) {
    for (auto it = spawned.begin(); it != spawned.end();) {
        SpawnedTrap& entry = it->second;
        entry.age += dt;
        const auto& bomb = static_cast<const IntervalTrapElement&>(*entry.record);
        if (entry.age >= bomb.startDelay + bomb.activeTime + bomb.restTime) {
            spawner->despawnTrap(entry.record->trapNumber);
            it = spawned.erase(it);
        } else {
            ++it;
        }
    }

    if (!enabled || armed) return;
    timer += dt;
    if (timer < followRecord->startDelay) return;

    Trap* trap = spawn(recordOfType(128, target));
    armed = 1;
    timer = 0.0f;
    if (!trap) return;
    if (auto* bomb = dynamic_cast<Bomb*>(trap)) {
        bomb->targets = bombTargets;
        bomb->onIntercept = onBombIntercept;
    }
    trap->enable();
}

}  // namespace Zarn
