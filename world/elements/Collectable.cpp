#include "world/elements/Collectable.h"

#include "map/records/CoinElement.h"
#include "world/units/MoneyTally.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

Collectable::Collectable(const CoinElement& record, std::unique_ptr<Effect> effect)
    : InteractiveMapElement(record, std::move(effect)), coinRecord(&record) {}

bool Collectable::touches(const GeometryLib::Point&, SteerableUnit* unit) {
    if (!enabled || isTaken() || !unit) return false;
    const float d =
        SteerableKinematics::length(unit->body().position - GeometryLib::FPoint(coinRecord->position));
    if (d > static_cast<float>(coinRecord->radius)) return false;
    state.value = ECollectableState::taken;
    return true;
}

void Collectable::setState(const InteractiveMapElementState& s) {
    copyState(state, s);
}

std::unique_ptr<EffectResult> MoneyEffect::apply(SteerableUnit* unit) {
    const u32 h = unit ? unit->handle() : 0;
    if (unit) tally->add(h, amount);
    return makeEffectResult(EffectKind::money, h);
}

}  // namespace Zarn
