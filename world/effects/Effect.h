#pragma once

#include <memory>

#include "world/effects/EffectResult.h"

namespace Zarn {

class SteerableUnit;

// What an element does to a unit that it touches: it changes the unit (kills,
// carries, slows, pays it) or the world, and reports what happened. Owned by
// its element (or by the command that embeds it). Called on the thread that
// owns the world.
class Effect {
public:
    virtual ~Effect() = default;
    // Always returns a result; applied 0 when the effect declines. The unit is
    // observed for the call only, unless the effect says otherwise.
    virtual std::unique_ptr<EffectResult> apply(SteerableUnit* unit) = 0;
};

// The effect of elements that have none: an applied result of kind 0 for the
// unit, nothing changed. A null unit is reported with handle 0.
class NullEffect : public Effect {
public:
    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;
};

std::unique_ptr<Effect> makeNullEffect();

}  // namespace Zarn
