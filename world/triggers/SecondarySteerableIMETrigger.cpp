#include "world/triggers/SecondarySteerableIMETrigger.h"

#include "world/effects/Effect.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/units/SecondaryUnitIndex.h"

namespace Zarn {

void SecondarySteerableIMETrigger::addElement(u32 number, InteractiveMapElement& element) {
    elements_.emplace(number, &element);
}

void SecondarySteerableIMETrigger::onUnitOnCell(const GeometryLib::Point& cell, u32, SteerableUnit& unit) {
    const ElementNumberSet covering = index_.elementsAtCell(cell);
    for (u32 number : covering) {
        auto it = elements_.find(number);
        if (it == elements_.end()) continue;
        InteractiveMapElement& element = *it->second;
        if (!element.touches(cell, &unit)) continue;
        std::unique_ptr<EffectResult> result = element.effect->apply(&unit);
        if (result) sink_.onEffect(*result, element);
    }
}

}  // namespace Zarn
