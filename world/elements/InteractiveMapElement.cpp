#include "world/elements/InteractiveMapElement.h"

#include "map/records/TrapElement.h"

namespace Zarn {

InteractiveMapElement::InteractiveMapElement(const MapElement& record, std::unique_ptr<Effect> effect)
    : record(&record), effect(effect ? std::move(effect) : makeNullEffect()) {}

InteractiveMapElement::~InteractiveMapElement() = default;

Trap::Trap(const TrapElement& record, std::unique_ptr<Effect> effect)
    : UpdatableInteractiveMapElement(record, std::move(effect)), trapRecord(&record) {}

}  // namespace Zarn
