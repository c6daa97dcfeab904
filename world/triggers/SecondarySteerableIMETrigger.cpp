#include "world/triggers/SecondarySteerableIMETrigger.h"

#include "world/effects/Effect.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/units/SecondaryUnitIndex.h"

namespace Zarn {

void SecondarySteerableIMETrigger::addElement(u32 unitHandle, InteractiveMapElement& element) {
    elements_.emplace(unitHandle, &element);
}

void SecondarySteerableIMETrigger::onUnitOnCell(const GeometryLib::Point& cell, u32, SteerableUnit& unit) {
    const SecondaryUnitSet covering = index_.unitsAtCell(cell);
    for (const SecondarySteerableUnit* prop : covering) {
        auto it = elements_.find(prop->handle());
        if (it == elements_.end()) continue;
        InteractiveMapElement& element = *it->second;
        if (!element.touches(cell, &unit)) continue;
        std::unique_ptr<EffectResult> result = element.effect->apply(&unit);
        if (result) sink_.onEffect(*result, element);
    }
}

}  // namespace Zarn
