#include "world/elements/ElementGroup.h"

#include "map/records/GroupedNumberedElement.h"

namespace Zarn {

NumberedInteractiveElementGroup::NumberedInteractiveElementGroup(const GroupedNumberedElement& record,
                                                                 std::vector<InteractiveMapElement*> members)
    : GenericElementGroup(record, std::move(members)), groupRecord(&record) {
    stepper.interval = record.groupTime;
}

u32 NumberedInteractiveElementGroup::getGroupNumber() const {
    return groupRecord->number;
}

}  // namespace Zarn
