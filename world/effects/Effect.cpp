#include "world/effects/Effect.h"

#include "world/units/SteerableUnit.h"

namespace Zarn {

std::unique_ptr<EffectResult> NullEffect::apply(SteerableUnit* unit) {
    return makeEffectResult(EffectKind::nothing, unit ? unit->handle() : 0u);
}

std::unique_ptr<Effect> makeNullEffect() {
    return std::make_unique<NullEffect>();
}

}  // namespace Zarn
