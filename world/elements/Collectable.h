#pragma once

#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class CoinElement;
class MoneyTally;

// A coin: taken once (value 3) by the first unit whose body comes within the
// record's radius of the record's position; lying (0) again only after reset
// or setState. The record belongs to the game map and outlives the coin.
class Collectable : public InteractiveMapElement {
public:
    Collectable(const CoinElement& record, std::unique_ptr<Effect> effect);

    void enable() override { enabled = 1; }
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    // Needs the unit; a null unit takes nothing. The cell is not looked at.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    void reset() override { state.value = ECollectableState::lying; }
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState& s) override;

    bool isTaken() const { return state.value == ECollectableState::taken; }

    // The same record as `record`, typed.
    const CoinElement* coinRecord;
    u8 enabled = 1;
    CollectableIMEState state;
};

// Pays a coin's worth into the row of the unit in the money tally; a unit
// without a row gets nothing. Always applied, kind 12. The tally belongs to
// the game and outlives the effect.
class MoneyEffect : public Effect {
public:
    MoneyEffect(MoneyTally& tally, u32 amount) : tally(&tally), amount(amount) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    MoneyTally* tally;
    u32 amount;
};

}  // namespace Zarn
