#pragma once

#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

#include "foundation/Geometry.h"
#include "world/traps/TrapDirectory.h"

namespace Zarn {

class InteractiveElementGroup;

// The traps of a room by number, by position and by grid cell; the numbers
// and the ownership of traps spawned during play; the per-tick update of the
// traps that belong to no group.
//
// Map traps and groups are observed: the world's trap and group lists own
// them and outlive the store's use of them. Spawned traps are owned here; the
// records they point to are owned by the spawning traps (in the trap list), so
// an owner destroys the store, or calls clearSpawnedTraps, before the trap
// list. One per client game core and per server; used by the thread that owns
// the world.
class InteractiveElementStore : public TrapDirectory {
public:
    using CellMultimap = std::unordered_multimap<GeometryLib::Point, Trap*, GeometryLib::PointHash>;

    InteractiveElementStore();
    ~InteractiveElementStore() override;
    InteractiveElementStore(const InteractiveElementStore&) = delete;
    InteractiveElementStore& operator=(const InteractiveElementStore&) = delete;

    // Registers a trap loaded with the map: appended to the trap vector, filed
    // by its record's trapNumber (a number already filed keeps its trap), by
    // each covered cell and by position; a trap whose record's linkNumber is 0
    // is updated by the store, any other linkNumber is kept among the group
    // numbers.
    void addTrap(Trap& trap);
    // Files a group under its group number (a number already filed keeps its
    // group); hides it when its record's hidden-at-start byte is set.
    void addTrapGroup(InteractiveElementGroup& group);
    // The updated traps anew: every registered trap with linkNumber 0, in
    // registration order.
    void rebuildUpdatedTraps();

    Trap* findTrap(u32 number) override;
    InteractiveMapElement* findTrapGroup(u32 number) override;
    // The group filed under the number, typed, or null.
    InteractiveElementGroup* findGroup(u32 number) const;

    // 0 when the store holds no trap and no spawned trap (nothing changes);
    // else the last freed number, or highest + 1 (which becomes the highest).
    u32 nextTrapNumber();
    // Erases the spawned trap with that number; if there was one, the number
    // is free again. Returns whether there was one.
    bool releaseTrapNumber(u32 number);

    // Takes a spawned trap under the number. A number already held destroys
    // the trap held before; callers check hasSpawnedTrap first.
    void adoptSpawnedTrap(u32 number, std::unique_ptr<Trap> trap);
    bool hasSpawnedTrap(u32 number) const { return spawned_.count(number) != 0; }
    Trap* findSpawnedTrap(u32 number) const;
    std::size_t spawnedTrapCount() const { return spawned_.size(); }
    // Destroys every spawned trap; their numbers are not freed.
    void clearSpawnedTraps() { spawned_.clear(); }

    // dt in seconds: the updated traps in order, then the groups by ascending
    // number, then the spawned traps by ascending number. A spawned trap that
    // an earlier update removed is skipped.
    void updateAll(float dt);

    // Forgets every trap and group and destroys the spawned traps: the store as
    // constructed (the numbering flag kept).
    void clear();

    const std::vector<Trap*>& traps() const { return traps_; }
    const std::vector<Trap*>& updatedTraps() const { return updated_; }
    const std::set<u32>& groupNumbers() const { return groupNumbers_; }
    const std::map<u32, InteractiveElementGroup*>& groups() const { return groups_; }
    std::vector<Trap*> trapsAtPosition(const GeometryLib::Point& position) const;
    std::vector<Trap*> trapsInCell(const GeometryLib::Point& cell) const;
    u32 highestTrapNumber() const { return highest_; }
    const std::vector<u32>& freeNumbers() const { return free_; }

    // When set, spawnTrap gives every spawned trap a number of the store's.
    // Whatever its value, a spawned trap whose number is taken is renumbered.
    u8 numbersSpawnedTraps = 1;

private:
    std::unordered_map<u32, Trap*> byNumber_;
    // Ordered, so every copy of the world updates groups and spawned traps alike.
    std::map<u32, InteractiveElementGroup*> groups_;
    CellMultimap byPosition_;
    CellMultimap byCell_;
    std::vector<Trap*> traps_;
    std::vector<Trap*> updated_;
    std::set<u32> groupNumbers_;
    u32 highest_ = 0;
    std::vector<u32> free_;
    std::map<u32, std::unique_ptr<Trap>> spawned_;
};

}  // namespace Zarn
