#include "level/TrapGroupBuilder.h"

#include "foundation/Error.h"
#include "level/InteractiveElementStore.h"
#include "map/records/GroupedTrapElement.h"
#include "world/traps/TrapGroup.h"

namespace Zarn {

void TrapGroupBuilder::buildTrapGroups(const std::vector<std::unique_ptr<GroupedTrapElement>>& records) {
    for (const auto& record : records) groups_.push_back(buildGroup(record.get()));
}

std::unique_ptr<InteractiveElementGroup> TrapGroupBuilder::buildGroup(const GroupedTrapElement* record) {
    if (!record) throw Convinience::Error("Not group element");
    std::unique_ptr<InteractiveElementGroup> group;
    if (record->elementId == 52) {
        std::vector<Trap*> members;
        for (u32 number : record->memberNumbers) {
            Trap* trap = store_.findTrap(number);
            if (!trap) throw Convinience::Error("Not trap");
            members.push_back(trap);
        }
        group = std::make_unique<TrapGroup>(*record, std::move(members));
    } else if (record->elementId == 53) {
        const auto* sequence = dynamic_cast<const SequentialGroupedIntervalTrapElement*>(record);
        if (!sequence) throw Convinience::Error("Not group element");
        std::vector<IntervalTrap*> members;
        for (u32 number : sequence->memberNumbers) {
            auto* trap = dynamic_cast<IntervalTrap*>(store_.findTrap(number));
            if (!trap) throw Convinience::Error("Not interval trap");
            members.push_back(trap);
        }
        group = std::make_unique<SequentialIntervalTrapGroup>(*sequence, std::move(members));
    } else {
        throw Convinience::Error("Invalid group trap id");
    }
    if (record->sequential != 0) group->setSequential();
    return group;
}

}  // namespace Zarn
