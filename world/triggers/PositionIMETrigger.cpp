#include "world/triggers/PositionIMETrigger.h"

#include "world/effects/Effect.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/triggers/EffectEventTrigger.h"

namespace Zarn {

void PositionIMETrigger::addElement(InteractiveMapElement& element,
                                    const std::vector<GeometryLib::Point>& cells) {
    for (const GeometryLib::Point& cell : cells) cells_.add(cell, &element);
}

void PositionIMETrigger::removeElement(InteractiveMapElement& element,
                                       const std::vector<GeometryLib::Point>& cells) {
    for (const GeometryLib::Point& cell : cells) cells_.erase(cell, &element);
}

void PositionIMETrigger::onUnitOnCell(const GeometryLib::Point& cell, u32, SteerableUnit& unit) {
    const bool sameCell = isStoredPosition(unit, cell);
    if (!sameCell) storePosition(unit, cell);
    // By index, looking the cell up again each time: nothing that a contact
    // does may leave this loop reading a list that changed under it.
    for (std::size_t i = 0;; ++i) {
        const PointMultimap<InteractiveMapElement*>::Values* elements = cells_.find(cell);
        if (!elements || i >= elements->size()) return;
        InteractiveMapElement& element = *(*elements)[i];
        if (sameCell && element.reactsOnEnterOnly()) continue;
        if (!element.touches(cell, &unit)) continue;
        std::unique_ptr<EffectResult> result = element.effect->apply(&unit);
        if (result) sink_.onEffect(*result, element);
    }
}

}  // namespace Zarn
