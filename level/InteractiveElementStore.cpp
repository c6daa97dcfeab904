#include "level/InteractiveElementStore.h"

#include "map/records/TrapElement.h"
#include "world/elements/ElementGroup.h"

namespace Zarn {

namespace {

std::vector<Trap*> valuesOf(const InteractiveElementStore::CellMultimap& table,
                            const GeometryLib::Point& key) {
    std::vector<Trap*> out;
    auto [first, last] = table.equal_range(key);
    for (auto it = first; it != last; ++it) out.push_back(it->second);
    return out;
}

}  // namespace

InteractiveElementStore::InteractiveElementStore() = default;
InteractiveElementStore::~InteractiveElementStore() = default;

void InteractiveElementStore::addTrap(Trap& trap) {
    const TrapElement& record = *trap.trapRecord;
    traps_.push_back(&trap);
    byNumber_.emplace(record.trapNumber, &trap);
    for (const GeometryLib::Point& cell : record.coveredCells) byCell_.emplace(cell, &trap);
    byPosition_.emplace(record.position, &trap);
    if (record.linkNumber == 0) {
        updated_.push_back(&trap);
    } else {
        groupNumbers_.insert(record.linkNumber);
    }
    if (record.trapNumber > highest_) highest_ = record.trapNumber;
}

void InteractiveElementStore::addTrapGroup(InteractiveElementGroup& group) {
    groups_.emplace(group.getGroupNumber(), &group);
    if (group.record->flag != 0) group.hide();
}

void InteractiveElementStore::rebuildUpdatedTraps() {
    updated_.clear();
    for (Trap* trap : traps_) {
        if (trap->trapRecord->linkNumber == 0) updated_.push_back(trap);
    }
}

Trap* InteractiveElementStore::findTrap(u32 number) {
    auto it = byNumber_.find(number);
    return it == byNumber_.end() ? nullptr : it->second;
}

InteractiveMapElement* InteractiveElementStore::findTrapGroup(u32 number) {
    return findGroup(number);
}

InteractiveElementGroup* InteractiveElementStore::findGroup(u32 number) const {
    auto it = groups_.find(number);
    return it == groups_.end() ? nullptr : it->second;
}

u32 InteractiveElementStore::nextTrapNumber() {
    if (traps_.empty() && spawned_.empty()) return 0;
    if (!free_.empty()) {
        const u32 number = free_.back();
        free_.pop_back();
        return number;
    }
    return ++highest_;
}

bool InteractiveElementStore::releaseTrapNumber(u32 number) {
    if (spawned_.erase(number) == 0) return false;
    free_.push_back(number);
    return true;
}

void InteractiveElementStore::adoptSpawnedTrap(u32 number, std::unique_ptr<Trap> trap) {
    spawned_[number] = std::move(trap);
}

Trap* InteractiveElementStore::findSpawnedTrap(u32 number) const {
    auto it = spawned_.find(number);
    return it == spawned_.end() ? nullptr : it->second.get();
}

void InteractiveElementStore::updateAll(float dt) {
    for (Trap* trap : updated_) trap->update(dt);
    for (auto& [number, group] : groups_) group->update(dt);
    // A spawned trap's update may make or remove spawned traps (a bomb that
    // hits the boss resets its spawners): walk a copy of the numbers and look
    // each one up again.
    std::vector<std::pair<u32, Trap*>> now;
    now.reserve(spawned_.size());
    for (auto& [number, trap] : spawned_) now.emplace_back(number, trap.get());
    for (const auto& [number, trap] : now) {
        auto it = spawned_.find(number);
        if (it != spawned_.end() && it->second.get() == trap) trap->update(dt);
    }
}

void InteractiveElementStore::clear() {
    byNumber_.clear();
    groups_.clear();
    byPosition_.clear();
    byCell_.clear();
    traps_.clear();
    updated_.clear();
    groupNumbers_.clear();
    highest_ = 0;
    free_.clear();
    spawned_.clear();
}

std::vector<Trap*> InteractiveElementStore::trapsAtPosition(const GeometryLib::Point& position) const {
    return valuesOf(byPosition_, position);
}

std::vector<Trap*> InteractiveElementStore::trapsInCell(const GeometryLib::Point& cell) const {
    return valuesOf(byCell_, cell);
}

}  // namespace Zarn
