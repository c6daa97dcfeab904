#include "world/elements/Floor.h"

#include "map/records/MapElement.h"
#include "world/effects/DragModifier.h"
#include "world/traps/TrapEffects.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

Floor::Floor(const WholeTileMapElement& record, std::unique_ptr<Effect> effect)
    : InteractiveMapElement(record, std::move(effect)), floorRecord(&record) {}

bool Floor::touches(const GeometryLib::Point& cell, SteerableUnit*) {
    return enabled != 0 && cell == floorRecord->cell;
}

std::unique_ptr<EffectResult> ZeroFriction::apply(SteerableUnit* unit) {
    if (!unit) return makeUnappliedEffectResult(EffectKind::zeroFriction, 0);
    auto drag = std::make_unique<DragModifier>(unit);
    drag->kind = ModifierKind::drag;
    unit->motion.modifiers.add(std::move(drag));
    return makeEffectResult(EffectKind::zeroFriction, unit->handle());
}

std::unique_ptr<EffectResult> ConveyerEffect::apply(SteerableUnit* unit) {
    if (!unit) return makeUnappliedEffectResult(EffectKind::conveyor, 0);
    unit->motion.addImpulse(std::make_unique<ExternalSteering>(unit, push));
    return makeEffectResult(EffectKind::conveyor, unit->handle());
}

}  // namespace Zarn
