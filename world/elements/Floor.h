#pragma once

#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class WholeTileMapElement;

// A one-cell floor tile without a state of its own: its effect drags the unit
// (zero friction), pushes it (conveyor) or kills it (deadly tiles). Disabled
// when made; the builder enables most floor kinds at once. The record belongs
// to the game map and outlives the floor.
class Floor : public InteractiveMapElement {
public:
    Floor(const WholeTileMapElement& record, std::unique_ptr<Effect> effect);

    void enable() override { enabled = 1; }
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    // Enabled and on the record's cell.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    void reset() override {}
    InteractiveMapElementState& getState() override { return state; }
    // Copies the hidden byte of any state.
    void setState(const InteractiveMapElementState& s) override { state.hidden = s.hidden; }

    InteractiveMapElementState state;
    u8 enabled = 0;
    // The same record as `record`, typed.
    const WholeTileMapElement* floorRecord;
};

// Files a fresh drag modifier (kind 5) on the unit, which lasts one step: the
// unit slides for as long as it stays on the tile. Result kind 8.
class ZeroFriction : public Effect {
public:
    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;
};

// Pushes a unit on a conveyor tile: files a one-tick external steering of
// `push` (map units per second) among the unit's impulses, so the unit is
// pushed once per tick while it stays on the tile. Result kind 6.
class ConveyerEffect : public Effect {
public:
    explicit ConveyerEffect(const GeometryLib::FPoint& push) : push(push) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    GeometryLib::FPoint push;
};

}  // namespace Zarn
