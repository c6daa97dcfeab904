#pragma once

#include <vector>

#include "foundation/Interfaces.h"
#include "map/records/GroupedTrapElement.h"
#include "world/elements/ElementGroup.h"
#include "world/traps/IntervalTrap.h"

namespace Zarn {

// A group of traps switched as one, which also ticks its members itself while
// enabled. Its number is its record's trapNumber; its step interval for
// sequential show and hide is the record's stepDelay. The record is owned by
// the game map; the members by the world's trap lists; both outlive the group.
class TrapGroup : public GenericElementGroup<std::vector<Trap*>> {
public:
    TrapGroup(const GroupedTrapElement& record, std::vector<Trap*> members);

    // The staggered show/hide step, then, while enabled, every member's update.
    void update(float dt) override;
    u32 getGroupNumber() const override { return groupRecord->trapNumber; }

    // Owned by the game map.
    const GroupedTrapElement* groupRecord;
};

// A group of interval traps that does not tick its members: they are ticked
// as traps of their own.
class IntervalTrapGroup : public GenericElementGroup<std::vector<IntervalTrap*>> {
public:
    IntervalTrapGroup(const GroupedTrapElement& record, std::vector<IntervalTrap*> members);

    u32 getGroupNumber() const override { return groupRecord->trapNumber; }

    // Owned by the game map.
    const GroupedTrapElement* groupRecord;
};

// Runs its interval traps one after another, each for one of its own cycles
// (its own start delay included), the first after the record's sequenceDelay;
// after the last member the first starts again. Only the current member is
// enabled and ticked; the leftover time of a finished cycle carries into the
// next member in the same update.
class SequentialIntervalTrapGroup : public IntervalTrapGroup {
public:
    SequentialIntervalTrapGroup(const SequentialGroupedIntervalTrapElement& record,
                                std::vector<IntervalTrap*> members);

    // The sequence step only.
    void update(float dt) override;

    u32 currentIndex = 0;
    // Owned by the game map.
    const SequentialGroupedIntervalTrapElement* sequenceRecord;
    float delayTime = 0.0f;
};

// Ticks a list of elements in list order. The elements are not owned; the
// world's element lists outlive the updater.
class InteractiveElementUpdater : public Convinience::Updatable {
public:
    void add(UpdatableInteractiveMapElement* element) { elements.push_back(element); }
    void update(float dt) override;

    std::vector<UpdatableInteractiveMapElement*> elements;
};

}  // namespace Zarn
