#pragma once

#include <memory>
#include <vector>

#include "level/WorldParts.h"

namespace Zarn {

class GroupedTrapElement;
class InteractiveElementStore;

// Turns the group trap records of a map into trap groups over traps that are
// built and numbered already:
//
// | element ID | record class                         | group and members |
// | 52         | GroupedTrapElement                   | TrapGroup of any traps ("Not trap") |
// | 53         | SequentialGroupedIntervalTrapElement | SequentialIntervalTrapGroup ("Not interval trap") |
//
// A null record throws "Not group element", so does an ID-53 record of
// another class; any other ID throws "Invalid group trap id". The store and
// the group list belong to the world, the records to the game map.
class TrapGroupBuilder {
public:
    TrapGroupBuilder(InteractiveElementStore& store, TrapGroupList& groups)
        : store_(store), groups_(groups) {}

    // One group per record, in order, appended to the group list; a record
    // with its sequential flag set makes a sequential group.
    void buildTrapGroups(const std::vector<std::unique_ptr<GroupedTrapElement>>& records);
    std::unique_ptr<InteractiveElementGroup> buildGroup(const GroupedTrapElement* record);

private:
    InteractiveElementStore& store_;
    TrapGroupList& groups_;
};

}  // namespace Zarn
