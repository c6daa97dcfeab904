#include "world/triggers/PositionEventTrigger.h"

#include "world/triggers/MapEventRegistry.h"
#include "world/triggers/MapEventRunner.h"

namespace Zarn {

void PositionEventTrigger::addPositionTrigger(const MapEventData& event) {
    if (const auto* trigger = dynamic_cast<const PositionTriggerData*>(event.trigger.get())) {
        cells_.add(trigger->cell, &event);
    }
}

void PositionEventTrigger::addAreaTrigger(const MapEventData& event) {
    if (const auto* trigger = dynamic_cast<const AreaTriggerData*>(event.trigger.get())) {
        for (const GeometryLib::Point& cell : trigger->cells) cells_.add(cell, &event);
    }
}

void PositionEventTrigger::onUnitOnCell(const GeometryLib::Point& cell, u32 clientId, SteerableUnit& unit) {
    if (isStoredPosition(unit, cell)) return;
    storePosition(unit, cell);
    for (std::size_t i = 0;;) {
        const PointMultimap<const MapEventData*>::Values* events = cells_.find(cell);
        if (!events || i >= events->size()) return;
        const MapEventData& event = *(*events)[i];
        if (runner_.fire(event, clientId) && runner_.registry.remainingFirings(event.eventId) == 0) {
            cells_.eraseAt(cell, i);
        } else {
            ++i;
        }
    }
}

}  // namespace Zarn
